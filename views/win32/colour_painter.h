// Colour-coded names drawn on a Win32 device context.
#pragma once

#include <windows.h>

#include "views/game_colours.h"

namespace views::win32 {

// A GlyphPainter on a device context: SetTextColor, one ExtTextOutA (ETO_CLIPPED, no spacing
// array) per character and GetCharWidthA for its advance. The caller selects the font and sets the
// background colour and mode.
class DcGlyphPainter : public GlyphPainter {
  public:
    explicit DcGlyphPainter(HDC dc) : dc_(dc) {}
    void SetTextColour(uint32_t colour) override;
    void DrawGlyph(int x, int y, char c, const TextRect& clip) override;
    int GlyphWidth(unsigned char c) override;

  private:
    HDC dc_;
};

// Draws a colour-coded name into rect with its left edge moved right by indent.
void DrawColourName(HDC dc, const RECT& rect, int indent, const char* text, ColourDialect dialect);

}  // namespace views::win32
