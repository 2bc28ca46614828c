// Tests of the colour-code table, drawing through a recording painter, IRC conversion and stripping.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "views/colour_text.h"

namespace {

using namespace views;

// Records every call as text: "C<colour>" for a colour change, "<char>@x" for a drawn glyph.
class RecordingPainter : public GlyphPainter {
  public:
    void SetTextColour(uint32_t colour) override {
        current = colour;
        calls.push_back(std::string("C") + std::to_string(colour));
    }
    void DrawGlyph(int x, int y, char c, const TextRect& clip) override {
        calls.push_back(std::string(1, c) + "@" + std::to_string(x));
        drawn += c;
        colours.push_back(current);
        lastY = y;
        lastClip = clip;
    }
    int GlyphWidth(unsigned char c) override {
        widthAsked.push_back(c);
        return c >= 128 ? 11 : 7;  // accented letters are wider in this fake font
    }

    uint32_t current = 0xFFFFFFFF;
    std::vector<std::string> calls;
    std::string drawn;
    std::vector<uint32_t> colours;
    std::vector<unsigned char> widthAsked;
    int lastY = -1;
    TextRect lastClip;
};

std::string Irc(const char* source) {
    std::vector<char> buffer(IrcBufferSize(std::strlen(source)), '\x7F');
    char* closing = ColourTextToIrc(source, buffer.data());
    std::string out(buffer.data());
    // The returned pointer is where the closing black control starts.
    EXPECT_EQ(std::string(closing), std::string("\0031,0"));
    return out;
}

std::string Wrap(const std::string& body) {
    return std::string("\0031,0 ") + body + "\0031,0";
}

uint32_t RuleColour(char last) {
    static constexpr uint32_t kPalette[8] = {kColourBlack, kColourRed,  kColourGreen,   kColourYellow,
                                             kColourBlue,  kColourCyan, kColourMagenta, kColourBlack};
    return kPalette[(static_cast<unsigned char>(last) - '0') & 7];
}

TEST(ColourCodeTable, SixtyEntriesFollowThePaletteRuleAndTheirIrcText) {
    static constexpr const char* kIrcOfColour[] = {"1,0", "4,0", "9,0", "8,0", "12,0", "11,0", "13,0"};
    static constexpr uint32_t kColours[] = {kColourBlack, kColourRed,  kColourGreen,  kColourYellow,
                                            kColourBlue,  kColourCyan, kColourMagenta};
    int kept = 0;
    for (int i = 0; i < kColourCodeCount; ++i) {
        const ColourCode& e = ColourCodeTable[i];
        size_t n = std::strlen(e.code);
        SCOPED_TRACE(i);
        ASSERT_TRUE(n == 2 || n == 3);
        EXPECT_EQ(e.code[0], '^');
        if (n == 3) {
            EXPECT_EQ(e.code[1], '^');
        }
        EXPECT_EQ(e.colour, RuleColour(e.code[n - 1]));
        std::string irc = e.ircText;
        if (irc[0] == '^') {
            ++kept;
            EXPECT_EQ(irc, std::string("^\0031,0"));
            EXPECT_EQ(e.colour, kColourBlack);
        } else {
            int p = 0;
            while (kColours[p] != e.colour)
                ++p;
            EXPECT_EQ(irc, std::string("\003") + kIrcOfColour[p]);
        }
    }
    EXPECT_EQ(kept, 6);
    // Spot checks of the order, including the pound-sign code.
    EXPECT_STREQ(ColourCodeTable[0].code, "^&");
    EXPECT_STREQ(ColourCodeTable[15].code, "^\xA3");
    EXPECT_STREQ(ColourCodeTable[26].code, "^^8");
    EXPECT_STREQ(ColourCodeTable[56].code, "^^x");
    EXPECT_STREQ(ColourCodeTable[59].code, "^z");
}

TEST(MatchColourCode, CaseFoldsOnlyLettersAndNeedsTheWholeCode) {
    EXPECT_EQ(MatchColourCode("^A", 0), MatchColourCode("^a", 0));
    EXPECT_EQ(MatchColourCode("^^X", 0), &ColourCodeTable[56]);
    EXPECT_EQ(MatchColourCode("^+", 0), nullptr);
    EXPECT_EQ(MatchColourCode("^%", 0), nullptr);
    EXPECT_EQ(MatchColourCode("^:", 0), nullptr);
    EXPECT_EQ(MatchColourCode("^\\", 0), nullptr);
    EXPECT_EQ(MatchColourCode("^", 0), nullptr);
    EXPECT_EQ(MatchColourCode("^^", 0), nullptr);
    EXPECT_EQ(MatchColourCode("x^1", 0), nullptr);
    EXPECT_EQ(MatchColourCode("x^1", 1)->colour, kColourRed);
    EXPECT_EQ(MatchColourCode("^\xA3", 0)->colour, kColourYellow);
    // 0xC3 is not 0xE3 folded: only A-Z fold.
    EXPECT_EQ(MatchColourCode("^\xC3", 0), nullptr);
    // "^^a" has no three-character entry, and "^^" is no two-character code.
    EXPECT_EQ(MatchColourCode("^^a", 0), nullptr);
    EXPECT_EQ(MatchColourCode(std::string_view("^1", 1), 0), nullptr);  // cut off by the end
}

TEST(DrawColourText, CodesSwitchColoursAndAreNotDrawn) {
    RecordingPainter p;
    DrawColourText({100, 20, 180, 36}, p, "^1Red^7Name");
    EXPECT_EQ(p.drawn, "RedName");
    std::vector<uint32_t> expected = {kColourRed, kColourRed, kColourRed, 0, 0, 0, 0};
    EXPECT_EQ(p.colours, expected);
    EXPECT_EQ(p.calls.front(), "C0");  // black before the first character
    EXPECT_EQ(p.calls[2], "R@100");
    EXPECT_EQ(p.calls[3], "e@107");
    EXPECT_EQ(p.lastY, 20);
    EXPECT_EQ(p.lastClip.left, 100);
    EXPECT_EQ(p.lastClip.right, 180);
    EXPECT_EQ(p.lastClip.bottom, 36);
}

TEST(DrawColourText, UpperCaseLettersAndNonCodes) {
    RecordingPainter a;
    DrawColourText({0, 0, 50, 10}, a, "^Ax");
    EXPECT_EQ(a.drawn, "x");
    EXPECT_EQ(a.colours[0], kColourRed);

    RecordingPainter b;
    DrawColourText({0, 0, 50, 10}, b, "^+x");
    EXPECT_EQ(b.drawn, "^+x");
    EXPECT_EQ(b.colours, std::vector<uint32_t>(3, kColourBlack));
}

TEST(DrawColourText, CaretKeptCodeLoneCaretAndTrailingCode) {
    RecordingPainter a;
    DrawColourText({0, 0, 50, 10}, a, "^^8abc");
    EXPECT_EQ(a.drawn, "abc");
    EXPECT_EQ(a.colours, std::vector<uint32_t>(3, kColourBlack));

    RecordingPainter b;
    DrawColourText({0, 0, 50, 10}, b, "ab^");
    EXPECT_EQ(b.drawn, "ab^");

    RecordingPainter c;
    DrawColourText({0, 0, 50, 10}, c, "abc^4");
    EXPECT_EQ(c.drawn, "abc");
    EXPECT_EQ(c.calls.back(), std::string("C") + std::to_string(kColourBlue));
    EXPECT_EQ(c.current, kColourBlue);
}

TEST(DrawColourText, EmptyNameOnlySetsBlack) {
    RecordingPainter p;
    DrawColourText({0, 0, 50, 10}, p, "");
    EXPECT_EQ(p.calls, std::vector<std::string>{"C0"});
    RecordingPainter q;
    DrawColourText({0, 0, 50, 10}, q, nullptr);
    EXPECT_EQ(q.calls, std::vector<std::string>{"C0"});
}

TEST(DrawColourText, HighBytesAdvanceByTheirOwnWidthAndDrawingGoesPastTheRightEdge) {
    RecordingPainter p;
    // 0xE9 (e acute) is 11 wide in the fake font; the pound sign alone is a plain character.
    DrawColourText({10, 0, 20, 10}, p, "a\xE9\xA3zzzz");
    EXPECT_EQ(p.drawn, "a\xE9\xA3zzzz");
    EXPECT_EQ(p.calls[2], "\xE9@17");
    EXPECT_EQ(p.calls[3], "\xA3@28");
    EXPECT_EQ(p.calls.back(), "z@60");  // beyond right: still drawn, the painter clips it
    EXPECT_EQ(p.widthAsked[1], 0xE9);
    EXPECT_EQ(p.widthAsked[2], 0xA3);
}

TEST(ColourTextToIrc, CodesBecomeMircControls) {
    EXPECT_EQ(Irc("^1Red^7Name"), Wrap("\0034,0Red\0031,0Name"));
    EXPECT_EQ(Irc("^^8abc"), Wrap("^\0031,0abc"));
    EXPECT_EQ(Irc("abc^4"), Wrap("abc\00312,0"));
    EXPECT_EQ(Irc("^+x"), Wrap("^+x"));
    EXPECT_EQ(Irc("x^"), Wrap("x^"));
    EXPECT_EQ(Irc("^\xA3"
                  "gold"),
              Wrap("\0038,0gold"));
    EXPECT_EQ(Irc("^Zed"), Wrap("\0039,0ed"));
}

TEST(ColourTextToIrc, DigitRightAfterACodeGetsABoldPair) {
    EXPECT_EQ(Irc("^17up"), Wrap("\0034,0\002\0027up"));
    EXPECT_EQ(Irc("^1x7"), Wrap("\0034,0x7"));
    // After two codes in a row the note still stands.
    EXPECT_EQ(Irc("^1^29"), Wrap("\0034,0\0039,0\002\0029"));
}

TEST(ColourTextToIrc, EmptyNameIsOpeningAndClosingOnly) {
    char buffer[IrcBufferSize(0)];
    char* closing = ColourTextToIrc("", buffer);
    EXPECT_EQ(closing, buffer + 5);
    EXPECT_EQ(std::memcmp(buffer, "\0031,0 \0031,0", 10),
              0);  // includes the terminator
}

TEST(ColourTextToIrc, WorstCaseFitsTheDocumentedBuffer) {
    // Blue codes each followed by a digit: 8 bytes for 3 characters; a long run of them.
    std::string source;
    for (int i = 0; i < 40; ++i)
        source += "^47";
    std::vector<char> buffer(IrcBufferSize(source.size()) + 16, '\x7F');
    char* closing = ColourTextToIrc(source.c_str(), buffer.data());
    size_t used = static_cast<size_t>(closing - buffer.data()) + 5;
    EXPECT_LE(used, IrcBufferSize(source.size()));
    EXPECT_EQ(buffer[IrcBufferSize(source.size())], '\x7F');
    EXPECT_EQ(ColourTextToIrc(std::string_view(source)), std::string(buffer.data()));
}

TEST(StripColourCodes, RemovesCaretAndFollowerCodeOrNot) {
    EXPECT_EQ(StripColourCodes("^1Red^7Name"), "RedName");
    EXPECT_EQ(StripColourCodes("^+x"), "x");
    EXPECT_EQ(StripColourCodes("^^8abc"), "abc");
    EXPECT_EQ(StripColourCodes("^^a^1b"), "b");
    EXPECT_EQ(StripColourCodes("abc^"), "abc");
    EXPECT_EQ(StripColourCodes("abc^4"), "abc");
    EXPECT_EQ(StripColourCodes("^^"), "");
    EXPECT_EQ(StripColourCodes("a^^"), "a");
    EXPECT_EQ(StripColourCodes("^1B^2ob"), "Bob");
    EXPECT_EQ(StripColourCodes(""), "");
    EXPECT_EQ(StripColourCodes("\xC9t\xE9"), "\xC9t\xE9");
}

TEST(StripColourCodes, ProcessesExactlyTheCountAndWritesNoTerminator) {
    // The source is a buffer without a terminator; the guard bytes after it must not be read as text.
    const char source[5] = {'a', '^', '1', 'b', '^'};
    char dest[8];
    std::memset(dest, '#', sizeof dest);
    EXPECT_EQ(StripColourCodes(source, dest, 5), 2u);
    EXPECT_EQ(std::string(dest, 3), "ab#");

    std::memset(dest, '#', sizeof dest);
    EXPECT_EQ(StripColourCodes("a^1b", dest, 2), 1u);  // the code is cut by the count
    EXPECT_EQ(dest[1], '#');

    std::memset(dest, '#', sizeof dest);
    EXPECT_EQ(StripColourCodes("^^8c", dest, 3), 0u);
    EXPECT_EQ(dest[0], '#');
    EXPECT_EQ(StripColourCodes("xyz", dest, 0), 0u);
}

}  // namespace
