// Colour-coded names: the code table, drawing through a glyph painter, IRC conversion, stripping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace views {

// Drawing palette (COLORREF, 0x00BBGGRR). Channels are 224, never 255; the games' white is black.
constexpr uint32_t kColourBlack = 0x00000000;
constexpr uint32_t kColourRed = 0x000000E0;
constexpr uint32_t kColourGreen = 0x0000E000;
constexpr uint32_t kColourYellow = 0x0000E0E0;
constexpr uint32_t kColourBlue = 0x00E00000;
constexpr uint32_t kColourCyan = 0x00E0E000;
constexpr uint32_t kColourMagenta = 0x00E000E0;

struct ColourCode {
    char code[20];     // "^x" or "^^x", zero-terminated
    char ircText[20];  // replacement in IRC text (mIRC colour controls)
    uint32_t colour;   // text colour after the code
};

constexpr int kColourCodeCount = 60;
extern const ColourCode ColourCodeTable[kColourCodeCount];

// The entry whose code stands at text[pos] (first in table order; letters A-Z compare as a-z; a
// code cut off by the end of text does not match), or nullptr.
const ColourCode* MatchColourCode(std::string_view text, size_t pos);

struct TextRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What DrawColourText needs from a device context. The Win32 side implements it with
// SetTextColor, ExtTextOutA (ETO_CLIPPED, one character, no spacing array) and GetCharWidthA.
class GlyphPainter {
  public:
    virtual ~GlyphPainter() = default;
    virtual void SetTextColour(uint32_t colour) = 0;
    // Draws the single character c at (x, y), clipped to clip.
    virtual void DrawGlyph(int x, int y, char c, const TextRect& clip) = 0;
    // Advance width of the character with code c (0-255).
    virtual int GlyphWidth(unsigned char c) = 0;
};

// Draws a zero-terminated name character by character from (rect.left, rect.top), starting in
// black and switching colour at every recognised code (codes are not drawn). No ellipsis, no
// wrapping: characters beyond rect.right are clipped away. The caller has selected the font,
// filled the background and set the background colour and mode.
void DrawColourText(const TextRect& rect, GlyphPainter& painter, const char* text);

// Size a destination of ColourTextToIrc must have for a source of sourceLength characters.
constexpr size_t IrcBufferSize(size_t sourceLength) {
    return 3 * sourceLength + 10;
}

// Rewrites a zero-terminated name as mIRC text: 0x03 "1,0 " first, each recognised code replaced
// by its ircText (a digit right after a code is preceded by 0x02 0x02), 0x03 "1,0" and a
// terminator last. destination must hold IrcBufferSize(strlen(source)) bytes. Returns the position
// in destination where the closing control begins.
char* ColourTextToIrc(const char* source, char* destination);
// The same into a string (for texts that are not zero-terminated fields).
std::string ColourTextToIrc(std::string_view source);

// Copies the first count characters of source without colour codes: "^^" and the character after
// it, and "^" with whatever follows it, are dropped; a code cut short by the end is dropped too.
// Writes no terminator (pass a zero-filled destination of at least count bytes) and reads nothing
// beyond source[count - 1]. Returns the number of characters written.
size_t StripColourCodes(const char* source, char* destination, size_t count);
std::string StripColourCodes(std::string_view source);

}  // namespace views
