// Icons drawn from the strip give the pixels a transparent ImageList_Draw gives on a cell of the same
// colour, for every image and after the cell colour changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "views/win32/pane_images.h"

namespace {

// A 32-bit memory DC of w x h pixels, filled with one colour.
class Canvas {
  public:
    Canvas(int w, int h, COLORREF fill) : w_(w), h_(h) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        former_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, former_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    std::vector<DWORD> Pixels() const {
        GdiFlush();
        return std::vector<DWORD>(bits_, bits_ + w_ * h_);
    }

  private:
    int w_, h_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ former_;
    DWORD* bits_ = nullptr;
};

TEST(IconListTest, StripIconsMatchTransparentImageListDrawing) {
    views::win32::PaneImages images = views::win32::LoadPaneImages(GetModuleHandleA(nullptr));
    const views::win32::IconList& icons = images.servers;
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(icons.handle(), &cx, &cy));
    const int count = ImageList_GetImageCount(icons.handle());
    ASSERT_GT(count, 1);
    for (COLORREF background : {RGB(255, 255, 255), RGB(212, 208, 200), RGB(255, 255, 255)}) {
        for (int i = 0; i < count; ++i) {
            Canvas expected(cx + 4, cy + 4, background);
            Canvas drawn(cx + 4, cy + 4, background);
            ImageList_Draw(icons.handle(), i, expected.dc(), 2, 2, ILD_TRANSPARENT);
            icons.Draw(drawn.dc(), i, 2, 2, background);
            EXPECT_EQ(drawn.Pixels(), expected.Pixels()) << "image " << i << " on " << std::hex << background;
        }
    }
    Canvas untouched(cx, cy, RGB(1, 2, 3));
    const std::vector<DWORD> before = untouched.Pixels();
    icons.Draw(untouched.dc(), count, 0, 0, RGB(255, 255, 255));
    icons.Draw(untouched.dc(), -1, 0, 0, RGB(255, 255, 255));
    views::win32::IconList().Draw(untouched.dc(), 0, 0, 0, RGB(255, 255, 255));
    EXPECT_EQ(untouched.Pixels(), before);
}

}  // namespace
