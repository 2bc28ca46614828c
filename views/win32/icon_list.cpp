// Image lists drawn from strips.
#include "views/win32/icon_list.h"

namespace views::win32 {

bool IconList::Prepare(HDC dc, COLORREF background) const {
    int count = ImageList_GetImageCount(list_.get());
    int cx = 0;
    int cy = 0;
    if (count <= 0 || !ImageList_GetIconSize(list_.get(), &cx, &cy) || cx <= 0 || cy <= 0)
        return false;
    Strip& s = strip_;
    const bool fits = s.dc && s.count == count && s.cx == cx && s.cy == cy;
    if (fits && s.background == background)
        return true;
    if (!fits) {
        s = Strip{};
        base::win32::MemoryDc memory(CreateCompatibleDC(dc));
        base::win32::GdiObject bitmap(CreateCompatibleBitmap(dc, cx * count, cy));
        if (!memory || !bitmap)
            return false;
        SelectObject(memory.get(), bitmap.get());
        s.bitmap = std::move(bitmap);
        s.dc = std::move(memory);
        s.count = count;
        s.cx = cx;
        s.cy = cy;
    }
    s.background = background;
    RECT all = {0, 0, cx * count, cy};
    base::win32::GdiObject brush(CreateSolidBrush(background));
    FillRect(s.dc.get(), &all, static_cast<HBRUSH>(brush.get()));
    for (int i = 0; i < count; ++i)
        ImageList_Draw(list_.get(), i, s.dc.get(), i * cx, 0, ILD_TRANSPARENT);
    return true;
}

void IconList::Draw(HDC dc, int index, int x, int y, COLORREF background) const {
    if (!list_ || index < 0 || !Prepare(dc, background) || index >= strip_.count)
        return;
    BitBlt(dc, x, y, strip_.cx, strip_.cy, strip_.dc.get(), index * strip_.cx, 0, SRCCOPY);
}

}  // namespace views::win32
