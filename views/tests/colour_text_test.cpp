// Tests of colour-coded names: every code's colour and match, drawing, IRC text and stripping.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "views/colour_text.h"

namespace {

using namespace views;

// Records every call: "C<colour>" for a colour change, "<char>@<x>,<y>" for a drawn glyph.
class RecordingPainter : public GlyphPainter {
  public:
    void SetTextColour(uint32_t colour) override { calls.push_back("C" + std::to_string(colour)); }
    void DrawGlyph(int x, int y, char c, const TextRect& clip) override {
        calls.push_back(std::string(1, c) + "@" + std::to_string(x) + "," + std::to_string(y));
        clipRight = clip.right;
    }
    int GlyphWidth(unsigned char c) override { return c >= 128 ? 11 : 7; }  // accented letters are wider

    std::vector<std::string> calls;
    int clipRight = -1;
};

const auto Wrap = [](const std::string& body) { return "\0031,0 " + body + "\0031,0"; };

TEST(ColourCodes, EveryCodeDrawsTheGamesColourOfItsLastCharacterHasItsMircTextAndMatchesWhole) {
    // The games' rule: colour (c - '0') & 7 of black, red, green, yellow, blue, cyan, magenta, black.
    const uint32_t palette[8] = {kColourBlack, kColourRed,  kColourGreen,   kColourYellow,
                                 kColourBlue,  kColourCyan, kColourMagenta, kColourBlack};
    const std::map<uint32_t, std::string> mirc = {{kColourBlack, "1,0"},   {kColourRed, "4,0"},   {kColourGreen, "9,0"},
                                                  {kColourYellow, "8,0"},  {kColourBlue, "12,0"}, {kColourCyan, "11,0"},
                                                  {kColourMagenta, "13,0"}};
    const std::set<std::string> caretKept = {"^^8", "^(", "^@", "^^h", "^^p", "^^x"};
    for (const ColourCode& entry : ColourCodeTable) {
        const std::string code = entry.code;
        const uint32_t colour = palette[(static_cast<unsigned char>(code.back()) - '0') & 7];
        RecordingPainter p;
        DrawColourText({0, 0, 50, 10}, p, (code + "x").c_str());
        EXPECT_EQ(p.calls, (std::vector<std::string>{"C0", "C" + std::to_string(colour), "x@0,0"})) << code;
        const std::string irc = caretKept.count(code) ? std::string("^\0031,0") : "\003" + mirc.at(colour);
        EXPECT_TRUE(!caretKept.count(code) || colour == kColourBlack) << code;
        EXPECT_EQ(ColourTextToIrc(code + "x"), Wrap(irc + "x")) << code;
        EXPECT_EQ(StripColourCodes(code + "x"), "x") << code;
    }
    // Matching folds only ASCII letters and needs the whole code.
    EXPECT_EQ(MatchColourCode("^A", 0), MatchColourCode("^a", 0));
    EXPECT_STREQ(MatchColourCode("^^X", 0)->code, "^^x");
    for (const char* none : {"^+", "^\\", "^", "^^", "x^1", "^\xC3", "^^a"})
        EXPECT_EQ(MatchColourCode(none, 0), nullptr) << none;           // 0xC3 is no folded 0xE3
    EXPECT_EQ(MatchColourCode(std::string_view("^1", 1), 0), nullptr);  // cut off by the end
}

TEST(DrawColourText, StartsBlackSwitchesAtCodesAndAdvancesByEachGlyphsWidth) {
    RecordingPainter p;  // "^+" is no code; a lone caret at the end is drawn; glyphs beyond the right edge too
    DrawColourText({100, 20, 130, 36}, p, "^1Red^7N\xE9^Ax^+^");
    EXPECT_EQ(p.calls,
              (std::vector<std::string>{"C0", "C224", "R@100,20", "e@107,20", "d@114,20", "C0", "N@121,20",
                                        "\xE9@128,20", "C224", "x@139,20", "^@146,20", "+@153,20", "^@160,20"}));
    EXPECT_EQ(p.clipRight, 130);
    RecordingPainter empty;
    DrawColourText({0, 0, 50, 10}, empty, nullptr);
    EXPECT_EQ(empty.calls, std::vector<std::string>{"C0"});
}

TEST(ColourTextToIrc, DigitsAfterACodeGetABoldPairAndTheWorstCaseFitsItsBuffer) {
    EXPECT_EQ(ColourTextToIrc("^1Red^7Name"), Wrap("\0034,0Red\0031,0Name"));
    EXPECT_EQ(ColourTextToIrc("^17up"), Wrap("\0034,0\002\0027up"));
    EXPECT_EQ(ColourTextToIrc("^1x7"), Wrap("\0034,0x7"));
    EXPECT_EQ(ColourTextToIrc("^1^29"), Wrap("\0034,0\0039,0\002\0029"));  // after two codes in a row too
    EXPECT_EQ(ColourTextToIrc("^+x^"), Wrap("^+x^"));
    char empty[IrcBufferSize(0)];
    EXPECT_EQ(ColourTextToIrc("", empty), empty + 5);
    EXPECT_EQ(std::memcmp(empty, "\0031,0 \0031,0", 10), 0);  // with its terminator
    std::string source;  // blue codes, each followed by a digit: 8 bytes for 3 characters
    for (int i = 0; i < 40; ++i)
        source += "^47";
    std::vector<char> buffer(IrcBufferSize(source.size()) + 16, '\x7F');
    char* closing = ColourTextToIrc(source.c_str(), buffer.data());
    EXPECT_EQ(std::string(closing), "\0031,0");
    EXPECT_LE(static_cast<size_t>(closing - buffer.data()) + 5, IrcBufferSize(source.size()));
    EXPECT_EQ(buffer[IrcBufferSize(source.size())], '\x7F');
    EXPECT_EQ(ColourTextToIrc(std::string_view(source)), std::string(buffer.data()));
}

TEST(StripColourCodes, DropsACaretWithItsFollowerAndReadsExactlyTheCount) {
    // Pairs of a text and the text without codes.
    const char* const pairs[] = {"^+x", "x", "^^a^1b",  "b",   "abc^", "abc", "^^",        "",
                                 "a^^", "a", "^1B^2ob", "Bob", "",     "",    "\xC9t\xE9", "\xC9t\xE9"};
    for (size_t i = 0; i < std::size(pairs); i += 2)
        EXPECT_EQ(StripColourCodes(pairs[i]), pairs[i + 1]) << pairs[i];
    const char source[5] = {'a', '^', '1', 'b', '^'};  // no terminator: the bytes after it are not text
    char dest[8] = "#######";
    EXPECT_EQ(StripColourCodes(source, dest, 5), 2u);
    EXPECT_EQ(std::string(dest, 3), "ab#");            // no terminator written
    EXPECT_EQ(StripColourCodes("a^1b", dest, 2), 1u);  // the code is cut by the count
    EXPECT_EQ(StripColourCodes("^^8c", dest, 3), 0u);
    EXPECT_EQ(StripColourCodes("xyz", dest, 0), 0u);
}

}  // namespace
