// Colour-coded names drawn on a Win32 device context.
#include "views/win32/colour_painter.h"

namespace views::win32 {

void DcGlyphPainter::SetTextColour(uint32_t colour) {
    SetTextColor(dc_, colour);
}

void DcGlyphPainter::DrawGlyph(int x, int y, char c, const TextRect& clip) {
    RECT r = {clip.left, clip.top, clip.right, clip.bottom};
    ExtTextOutA(dc_, x, y, ETO_CLIPPED, &r, &c, 1, nullptr);
}

int DcGlyphPainter::GlyphWidth(unsigned char c) {
    INT width = 0;
    if (!GetCharWidthA(dc_, c, c, &width))
        return 0;
    return width;
}

void DrawColourName(HDC dc, const RECT& rect, int indent, const char* text, ColourDialect dialect) {
    DcGlyphPainter painter(dc);
    TextRect r{rect.left + indent, rect.top, rect.right, rect.bottom};
    DrawColourText(r, painter, text ? text : "", dialect);
}

}  // namespace views::win32
