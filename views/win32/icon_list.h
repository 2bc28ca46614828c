// An image list whose images are drawn from copies made once per background colour.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "base/win32/handles.h"

namespace views::win32 {

// Every ImageList_Draw asks the display for its capabilities while it prepares the blend, and under
// Wine each question is several round trips to the server: a quarter of a millisecond per icon, when
// a list page paints hundreds of them. Draw() instead copies the image from a strip of all the
// images, drawn once on the cell's background colour (again when that colour changes), which gives
// the same pixels as a transparent ImageList_Draw on a cell of that colour.
class IconList {
  public:
    IconList() = default;
    explicit IconList(HIMAGELIST list) : list_(list) {}
    IconList(IconList&&) noexcept = default;
    IconList& operator=(IconList&&) noexcept = default;

    HIMAGELIST handle() const { return list_.get(); }
    explicit operator bool() const { return static_cast<bool>(list_); }

    // Draws image `index` with its top left corner at (x, y) on a cell of colour `background`.
    // Nothing for an index outside the list.
    void Draw(HDC dc, int index, int x, int y, COLORREF background) const;

  private:
    // The strip: the images side by side on one background, in a memory DC of its own.
    struct Strip {
        base::win32::GdiObject bitmap;  // goes after the DC it is selected into
        base::win32::MemoryDc dc;
        COLORREF background = CLR_NONE;
        int count = 0;
        int cx = 0;
        int cy = 0;
    };
    bool Prepare(HDC dc, COLORREF background) const;

    base::win32::ImageList list_;
    mutable Strip strip_;
};

}  // namespace views::win32
