// Colour-coded names: the 60-entry code table and the draw, IRC and strip routines.
#include "views/colour_text.h"

#include <cstring>

#include "base/text.h"

namespace views {

// The ircText of each palette colour: the mIRC colour control 0x03 with "foreground,white". A
// "caret kept" code writes a visible caret first and turns the following text black.
#define VX_IRC_BLACK \
    "\x03"           \
    "1,0"
#define VX_IRC_RED \
    "\x03"         \
    "4,0"
#define VX_IRC_GREEN \
    "\x03"           \
    "9,0"
#define VX_IRC_YELLOW \
    "\x03"            \
    "8,0"
#define VX_IRC_BLUE \
    "\x03"          \
    "12,0"
#define VX_IRC_CYAN \
    "\x03"          \
    "11,0"
#define VX_IRC_MAGENTA \
    "\x03"             \
    "13,0"
#define VX_IRC_KEPT \
    "^\x03"         \
    "1,0"

const ColourCode ColourCodeTable[kColourCodeCount] = {
    {"^&", VX_IRC_MAGENTA, kColourMagenta},
    {"^.", VX_IRC_MAGENTA, kColourMagenta},
    {"^/", VX_IRC_BLACK, kColourBlack},
    {"^'", VX_IRC_BLACK, kColourBlack},
    {"^?", VX_IRC_BLACK, kColourBlack},
    {"^_", VX_IRC_BLACK, kColourBlack},
    {"^=", VX_IRC_CYAN, kColourCyan},
    {"^-", VX_IRC_CYAN, kColourCyan},
    {"^]", VX_IRC_CYAN, kColourCyan},
    {"^1", VX_IRC_RED, kColourRed},
    {"^!", VX_IRC_RED, kColourRed},
    {"^)", VX_IRC_RED, kColourRed},
    {"^2", VX_IRC_GREEN, kColourGreen},
    {"^*", VX_IRC_GREEN, kColourGreen},
    {"^3", VX_IRC_YELLOW, kColourYellow},
    {"^\xA3", VX_IRC_YELLOW, kColourYellow},  // the pound sign of the ANSI code page
    {"^#", VX_IRC_YELLOW, kColourYellow},
    {"^{", VX_IRC_YELLOW, kColourYellow},
    {"^[", VX_IRC_YELLOW, kColourYellow},
    {"^4", VX_IRC_BLUE, kColourBlue},
    {"^$", VX_IRC_BLUE, kColourBlue},
    {"^<", VX_IRC_BLUE, kColourBlue},
    {"^5", VX_IRC_CYAN, kColourCyan},
    {"^6", VX_IRC_MAGENTA, kColourMagenta},
    {"^7", VX_IRC_BLACK, kColourBlack},
    {"^8", VX_IRC_BLACK, kColourBlack},
    {"^^8", VX_IRC_KEPT, kColourBlack},
    {"^(", VX_IRC_KEPT, kColourBlack},
    {"^@", VX_IRC_KEPT, kColourBlack},
    {"^9", VX_IRC_RED, kColourRed},
    {"^0", VX_IRC_BLACK, kColourBlack},
    {"^a", VX_IRC_RED, kColourRed},
    {"^b", VX_IRC_GREEN, kColourGreen},
    {"^c", VX_IRC_YELLOW, kColourYellow},
    {"^d", VX_IRC_BLUE, kColourBlue},
    {"^e", VX_IRC_CYAN, kColourCyan},
    {"^f", VX_IRC_MAGENTA, kColourMagenta},
    {"^g", VX_IRC_BLACK, kColourBlack},
    {"^h", VX_IRC_BLACK, kColourBlack},
    {"^^h", VX_IRC_KEPT, kColourBlack},
    {"^i", VX_IRC_RED, kColourRed},
    {"^j", VX_IRC_GREEN, kColourGreen},
    {"^k", VX_IRC_YELLOW, kColourYellow},
    {"^l", VX_IRC_BLUE, kColourBlue},
    {"^m", VX_IRC_CYAN, kColourCyan},
    {"^n", VX_IRC_MAGENTA, kColourMagenta},
    {"^o", VX_IRC_BLACK, kColourBlack},
    {"^p", VX_IRC_BLACK, kColourBlack},
    {"^^p", VX_IRC_KEPT, kColourBlack},
    {"^q", VX_IRC_RED, kColourRed},
    {"^r", VX_IRC_GREEN, kColourGreen},
    {"^s", VX_IRC_YELLOW, kColourYellow},
    {"^t", VX_IRC_BLUE, kColourBlue},
    {"^u", VX_IRC_CYAN, kColourCyan},
    {"^v", VX_IRC_MAGENTA, kColourMagenta},
    {"^w", VX_IRC_BLACK, kColourBlack},
    {"^^x", VX_IRC_KEPT, kColourBlack},
    {"^x", VX_IRC_BLACK, kColourBlack},
    {"^y", VX_IRC_RED, kColourRed},
    {"^z", VX_IRC_GREEN, kColourGreen},
};

#undef VX_IRC_BLACK
#undef VX_IRC_RED
#undef VX_IRC_GREEN
#undef VX_IRC_YELLOW
#undef VX_IRC_BLUE
#undef VX_IRC_CYAN
#undef VX_IRC_MAGENTA
#undef VX_IRC_KEPT

namespace {

// Every code starts with a caret, so most positions are rejected by one comparison; the table is
// then scanned in order, as the first matching entry must win.
bool CodeMatchesAt(const ColourCode& entry, std::string_view text, size_t pos) {
    for (size_t k = 0; entry.code[k]; ++k) {
        if (pos + k >= text.size())
            return false;
        if (base::ToLowerAscii(text[pos + k]) != base::ToLowerAscii(entry.code[k]))
            return false;
    }
    return true;
}

size_t AppendIrc(std::string_view source, char* out) {
    char* d = out;
    static constexpr char kOpening[] =
        "\x03"
        "1,0 ";
    static constexpr char kClosing[] =
        "\x03"
        "1,0";
    std::memcpy(d, kOpening, 5);
    d += 5;
    bool afterCode = false;
    size_t i = 0;
    while (i < source.size()) {
        if (const ColourCode* code = MatchColourCode(source, i)) {
            size_t n = std::strlen(code->ircText);
            std::memcpy(d, code->ircText, n);
            d += n;
            i += std::strlen(code->code);
            afterCode = true;
            continue;
        }
        char c = source[i++];
        if (afterCode && c >= '0' && c <= '9') {
            // Bold on and off, so that the digit is not read as part of the colour number.
            *d++ = '\x02';
            *d++ = '\x02';
        }
        *d++ = c;
        afterCode = false;
    }
    size_t closingAt = static_cast<size_t>(d - out);
    std::memcpy(d, kClosing, 4);
    d += 4;
    *d = '\0';
    return closingAt;
}

}  // namespace

const ColourCode* MatchColourCode(std::string_view text, size_t pos) {
    if (pos >= text.size() || text[pos] != '^')
        return nullptr;
    for (const ColourCode& entry : ColourCodeTable) {
        if (CodeMatchesAt(entry, text, pos))
            return &entry;
    }
    return nullptr;
}

void DrawColourText(const TextRect& rect, GlyphPainter& painter, const char* text) {
    painter.SetTextColour(kColourBlack);
    if (!text)
        return;
    std::string_view s(text);
    int x = rect.left;
    size_t i = 0;
    while (i < s.size()) {
        if (const ColourCode* code = MatchColourCode(s, i)) {
            painter.SetTextColour(code->colour);
            i += std::strlen(code->code);
            continue;
        }
        painter.DrawGlyph(x, rect.top, s[i], rect);
        x += painter.GlyphWidth(static_cast<unsigned char>(s[i]));
        ++i;
    }
}

char* ColourTextToIrc(const char* source, char* destination) {
    return destination + AppendIrc(source ? std::string_view(source) : std::string_view(), destination);
}

std::string ColourTextToIrc(std::string_view source) {
    std::string out(IrcBufferSize(source.size()), '\0');
    size_t closingAt = AppendIrc(source, out.data());
    out.resize(closingAt + 4);
    return out;
}

size_t StripColourCodes(const char* source, char* destination, size_t count) {
    size_t i = 0;
    size_t written = 0;
    while (i < count) {
        if (i + 1 < count && source[i] == '^' && source[i + 1] == '^') {
            i += 3;  // the three-character form
            if (i >= count)
                break;
        }
        if (source[i] == '^') {
            i += 2;  // a caret and whatever follows it, code or not
            continue;
        }
        destination[written++] = source[i++];
    }
    return written;
}

std::string StripColourCodes(std::string_view source) {
    std::string out(source.size(), '\0');
    out.resize(StripColourCodes(source.data(), out.data(), source.size()));
    return out;
}

}  // namespace views
