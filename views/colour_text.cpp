// Colour-coded names: the 60-entry code table and the draw, IRC and strip routines.
#include "views/colour_text.h"

#include <cstring>

#include "base/text.h"

namespace views {

// ircText: the mIRC colour control 0x03 (octal \003) with "foreground,white"; a "caret kept" code writes a
// visible caret first and turns the following text black.
// clang-format off
const ColourCode ColourCodeTable[kColourCodeCount] = {
    {"^&", "\00313,0", kColourMagenta},
    {"^.", "\00313,0", kColourMagenta},
    {"^/", "\0031,0", kColourBlack},
    {"^'", "\0031,0", kColourBlack},
    {"^?", "\0031,0", kColourBlack},
    {"^_", "\0031,0", kColourBlack},
    {"^=", "\00311,0", kColourCyan},
    {"^-", "\00311,0", kColourCyan},
    {"^]", "\00311,0", kColourCyan},
    {"^1", "\0034,0", kColourRed},
    {"^!", "\0034,0", kColourRed},
    {"^)", "\0034,0", kColourRed},
    {"^2", "\0039,0", kColourGreen},
    {"^*", "\0039,0", kColourGreen},
    {"^3", "\0038,0", kColourYellow},
    {"^\xA3", "\0038,0", kColourYellow},  // the pound sign of the ANSI code page
    {"^#", "\0038,0", kColourYellow},
    {"^{", "\0038,0", kColourYellow},
    {"^[", "\0038,0", kColourYellow},
    {"^4", "\00312,0", kColourBlue},
    {"^$", "\00312,0", kColourBlue},
    {"^<", "\00312,0", kColourBlue},
    {"^5", "\00311,0", kColourCyan},
    {"^6", "\00313,0", kColourMagenta},
    {"^7", "\0031,0", kColourBlack},
    {"^8", "\0031,0", kColourBlack},
    {"^^8", "^\0031,0", kColourBlack},
    {"^(", "^\0031,0", kColourBlack},
    {"^@", "^\0031,0", kColourBlack},
    {"^9", "\0034,0", kColourRed},
    {"^0", "\0031,0", kColourBlack},
    {"^a", "\0034,0", kColourRed},
    {"^b", "\0039,0", kColourGreen},
    {"^c", "\0038,0", kColourYellow},
    {"^d", "\00312,0", kColourBlue},
    {"^e", "\00311,0", kColourCyan},
    {"^f", "\00313,0", kColourMagenta},
    {"^g", "\0031,0", kColourBlack},
    {"^h", "\0031,0", kColourBlack},
    {"^^h", "^\0031,0", kColourBlack},
    {"^i", "\0034,0", kColourRed},
    {"^j", "\0039,0", kColourGreen},
    {"^k", "\0038,0", kColourYellow},
    {"^l", "\00312,0", kColourBlue},
    {"^m", "\00311,0", kColourCyan},
    {"^n", "\00313,0", kColourMagenta},
    {"^o", "\0031,0", kColourBlack},
    {"^p", "\0031,0", kColourBlack},
    {"^^p", "^\0031,0", kColourBlack},
    {"^q", "\0034,0", kColourRed},
    {"^r", "\0039,0", kColourGreen},
    {"^s", "\0038,0", kColourYellow},
    {"^t", "\00312,0", kColourBlue},
    {"^u", "\00311,0", kColourCyan},
    {"^v", "\00313,0", kColourMagenta},
    {"^w", "\0031,0", kColourBlack},
    {"^^x", "^\0031,0", kColourBlack},
    {"^x", "\0031,0", kColourBlack},
    {"^y", "\0034,0", kColourRed},
    {"^z", "\0039,0", kColourGreen},
};
// clang-format on

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
    static constexpr char kOpening[] = "\0031,0 ";
    static constexpr char kClosing[] = "\0031,0";
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
            *d++ = '\002';
            *d++ = '\002';
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
