// Colour codes of today's games: per-engine code rules and palettes, drawing, IRC text, stripping.
#include "views/game_colours.h"

#include <cstring>

#include "base/text.h"
#include "catalogue/catalogue.h"

namespace views {

namespace {

constexpr uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

// The eight colours of Quake III's rule (c - '0') & 7, white drawn black as in the classic table.
constexpr uint32_t kEight[8] = {kColourBlack, kColourRed,  kColourGreen,   kColourYellow,
                                kColourBlue,  kColourCyan, kColourMagenta, kColourBlack};
constexpr uint32_t kOrange = Rgb(224, 112, 0);
constexpr uint32_t kGrey = Rgb(128, 128, 128);

// ET's 32 colours, index (c - '0') & 31, scaled like the classic palette (224 for full); white and
// the near-white entries are drawn black.
constexpr uint32_t kEtColours[32] = {
    kColourBlack,        kColourRed,           kColourGreen,        kColourYellow,       kColourBlue,
    kColourCyan,         kColourMagenta,       kColourBlack,        kOrange,             kGrey,
    Rgb(168, 168, 168),  Rgb(168, 168, 168),   Rgb(0, 112, 0),      Rgb(112, 112, 0),    Rgb(0, 0, 112),
    Rgb(112, 0, 0),      Rgb(112, 56, 0),      Rgb(224, 134, 22),   Rgb(0, 112, 112),    Rgb(112, 0, 112),
    Rgb(0, 112, 224),    Rgb(112, 0, 224),     Rgb(45, 134, 179),   kColourBlack,        Rgb(0, 90, 45),
    Rgb(224, 0, 45),     Rgb(157, 22, 22),     Rgb(134, 45, 0),     Rgb(179, 134, 45),   Rgb(134, 134, 45),
    kColourBlack,        kColourBlack};

// DarkPlaces ^0..^9: Quake III's eight, then half-transparent white (black here) and half grey.
constexpr uint32_t kDarkPlacesDigits[10] = {kColourBlack, kColourRed,     kColourGreen, kColourYellow, kColourBlue,
                                            kColourCyan,  kColourMagenta, kColourBlack, kColourBlack,  kGrey};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAlnum(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// ^xRGB in its own colour; a colour whose channels are all near full reads as the games' white.
std::optional<GameColourCode> DarkPlacesRgb(std::string_view text, size_t pos) {
    if (pos + 5 > text.size())
        return std::nullopt;
    int r = base::HexDigitValue(text[pos + 2]), g = base::HexDigitValue(text[pos + 3]), b = base::HexDigitValue(text[pos + 4]);
    if (r < 0 || g < 0 || b < 0)
        return std::nullopt;
    uint32_t colour = (r >= 14 && g >= 14 && b >= 14) ? kColourBlack : Rgb(r * 17, g * 17, b * 17);
    return GameColourCode{5, colour, false};
}

struct IrcColour {
    int number;
    int r, g, b;
};
// mIRC's colours 1..15 (0, white, is never written: the text would vanish on a white background).
constexpr IrcColour kIrcColours[] = {{1, 0, 0, 0},       {2, 0, 0, 127},   {3, 0, 147, 0},     {4, 255, 0, 0},
                                     {5, 127, 0, 0},     {6, 156, 0, 156}, {7, 252, 127, 0},   {8, 255, 255, 0},
                                     {9, 0, 252, 0},     {10, 0, 147, 147}, {11, 0, 255, 255}, {12, 0, 0, 252},
                                     {13, 255, 0, 255},  {14, 127, 127, 127}, {15, 210, 210, 210}};

}  // namespace

ColourDialect ColourDialectOf(uint32_t kind) {
    switch (kind) {
        case catalogue::kOpenArena:
            return ColourDialect::kOpenArena;
        case catalogue::kIoQuake3:
            return ColourDialect::kIoQuake3;
        case catalogue::kUrbanTerror:
            return ColourDialect::kUrbanTerror;
        case catalogue::kEtLegacy:
            return ColourDialect::kEtLegacy;
        case catalogue::kXonotic:
        case catalogue::kNexuiz:
            return ColourDialect::kDarkPlaces;
        default:
            return ColourDialect::kClassic;
    }
}

std::optional<GameColourCode> MatchGameColourCode(ColourDialect dialect, std::string_view text, size_t pos) {
    if (pos + 1 >= text.size() || text[pos] != '^')
        return std::nullopt;
    const char c = text[pos + 1];
    switch (dialect) {
        case ColourDialect::kOpenArena:  // ^0..^8, ^8 orange; ^9 and letters are text
            if (c >= '0' && c <= '8')
                return GameColourCode{2, c == '8' ? kOrange : kEight[c - '0'], false};
            return std::nullopt;
        case ColourDialect::kIoQuake3:
            if (IsAlnum(c))
                return GameColourCode{2, kEight[(c - '0') & 7], false};
            return std::nullopt;
        case ColourDialect::kUrbanTerror:
            if (IsDigit(c))
                return GameColourCode{2, kEight[(c - '0') & 7], false};
            return std::nullopt;
        case ColourDialect::kEtLegacy:  // any printable character but a caret
            if (c >= 0x20 && c < 0x7F && c != '^')
                return GameColourCode{2, kEtColours[(c - '0') & 31], false};
            return std::nullopt;
        case ColourDialect::kDarkPlaces:
            if (c == '^')
                return GameColourCode{2, kColourBlack, true};
            if (IsDigit(c))
                return GameColourCode{2, kDarkPlacesDigits[c - '0'], false};
            if (c == 'x')
                return DarkPlacesRgb(text, pos);
            return std::nullopt;
        case ColourDialect::kClassic:
            break;
    }
    return std::nullopt;
}

int NearestIrcColour(uint32_t colour) {
    const int r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    int best = 1;
    long bestDistance = -1;
    for (const IrcColour& c : kIrcColours) {
        const long d = long(r - c.r) * (r - c.r) + long(g - c.g) * (g - c.g) + long(b - c.b) * (b - c.b);
        if (bestDistance < 0 || d < bestDistance) {
            best = c.number;
            bestDistance = d;
        }
    }
    return best;
}

void DrawColourText(const TextRect& rect, GlyphPainter& painter, const char* text, ColourDialect dialect) {
    if (dialect == ColourDialect::kClassic) {
        DrawColourText(rect, painter, text);
        return;
    }
    painter.SetTextColour(kColourBlack);
    if (!text)
        return;
    std::string_view s(text);
    int x = rect.left;
    size_t i = 0;
    while (i < s.size()) {
        char glyph = s[i];
        size_t step = 1;
        if (auto code = MatchGameColourCode(dialect, s, i)) {
            step = code->length;
            if (!code->literalCaret) {
                painter.SetTextColour(code->colour);
                i += step;
                continue;
            }
        }
        painter.DrawGlyph(x, rect.top, glyph, rect);
        x += painter.GlyphWidth(static_cast<unsigned char>(glyph));
        i += step;
    }
}

std::string ColourTextToIrc(std::string_view source, ColourDialect dialect) {
    if (dialect == ColourDialect::kClassic)
        return ColourTextToIrc(source);
    std::string out = "\0031,0 ";
    bool afterCode = false;
    size_t i = 0;
    while (i < source.size()) {
        auto code = MatchGameColourCode(dialect, source, i);
        if (code && !code->literalCaret) {
            out += '\003';
            out += std::to_string(NearestIrcColour(code->colour));
            out += ",0";
            i += code->length;
            afterCode = true;
            continue;
        }
        if (afterCode && IsDigit(source[i]))
            out += "\002\002";  // so that the digit is not read as part of the colour number
        out += source[i];
        i += code ? code->length : 1;
        afterCode = false;
    }
    return out + "\0031,0";
}

std::string StripColourCodes(std::string_view source, ColourDialect dialect) {
    if (dialect == ColourDialect::kClassic)
        return StripColourCodes(source);
    std::string out;
    out.reserve(source.size());
    size_t i = 0;
    while (i < source.size()) {
        auto code = MatchGameColourCode(dialect, source, i);
        if (!code) {
            out += source[i++];
            continue;
        }
        if (code->literalCaret)
            out += '^';
        i += code->length;
    }
    return out;
}

}  // namespace views
