// Main window geometry on screen: fixed children, panes, background bands and splitters.
#include "app/win32/main_layout.h"

#include "app/layout.h"
#include "app/win32/logo_bar.h"
#include "app/win32/shell.h"

namespace app::win32 {

namespace {

void Move(HWND window, const Rect& r) {
    if (window)
        MoveWindow(window, r.x, r.y, r.width, r.height, TRUE);
}

SIZE ClientSize() {
    RECT r = {};
    GetClientRect(TheShell().main, &r);
    return {r.right, r.bottom};
}

}  // namespace

void LayoutFixedChildren() {
    Shell& shell = TheShell();
    SIZE size = ClientSize();
    FixedLayout l = ComputeFixedLayout(size.cx, size.cy);
    Move(shell.tab, l.tab);
    Move(shell.logoPicture, l.logoPicture);
    Move(shell.bannerBar, l.bannerBar);
    Move(shell.logoBar, l.logoBar);
    Move(shell.toolbar, l.toolbar);
    if (shell.logoPicture)
        InvalidateRect(shell.logoPicture, nullptr, FALSE);
    if (shell.bannerBar)
        InvalidateRect(shell.bannerBar, nullptr, FALSE);
    LayoutPanes(0);
}

void LayoutPanes(int movedBar) {
    Shell& shell = TheShell();
    catalogue::GameProfile* p = CurrentProfile();
    if (!p || !shell.ctx)
        return;
    SIZE size = ClientSize();
    Band band = LayoutInvalidation(size.cx, size.cy, shell.ctx->splitters, movedBar);
    RECT r = {band.left, band.top, band.right, band.bottom};
    InvalidateRect(shell.main, &r, FALSE);
    PaneLayout l = ComputePaneLayout(size.cx, size.cy, shell.ctx->splitters);
    views::win32::PaneSet panes = PanesOf(p);
    Move(panes.server, l.serverList);
    Move(panes.buddy, l.buddy);
    Move(panes.player, l.player);
}

void PaintBackground(HWND main) {
    Shell& shell = TheShell();
    base::win32::PaintScope paint(main);
    HDC dc = paint.dc();
    if (shell.ctx) {
        SIZE size = ClientSize();
        for (const Band& b : BackgroundBands(size.cx, size.cy, shell.ctx->splitters)) {
            RECT r = {b.left, b.top, b.right, b.bottom};
            FillWithBackground(dc, r);
        }
    }
}

void OnSplitterMouseMove(HWND main, int x, int y) {
    Shell& shell = TheShell();
    if (!shell.ctx)
        return;
    SIZE size = ClientSize();
    Splitters& s = shell.ctx->splitters;
    if (!shell.dragging) {
        int bar = HitTestSplitter(x, y, size.cy, s);
        if (bar) {
            SetCursor(LoadCursorA(nullptr, bar == 1 ? IDC_SIZEWE : IDC_SIZENS));
            shell.hover = true;
        } else if (shell.hover) {
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            shell.hover = false;
        }
        shell.activeBar = bar;
        return;
    }
    if (shell.activeBar == 1)
        MoveBarTo(s.bars[0], ClampVerticalDrag(x, size.cx));
    else
        MoveBarTo(s.bars[shell.activeBar - 1], ClampHorizontalDrag(y, size.cy));
    LayoutPanes(shell.activeBar);
}

void OnSplitterButtonDown(HWND main, int x, int y) {
    Shell& shell = TheShell();
    if (!shell.ctx)
        return;
    SIZE size = ClientSize();
    shell.activeBar = HitTestSplitter(x, y, size.cy, shell.ctx->splitters);
    if (!shell.activeBar)
        return;
    shell.dragging = true;
    SetCapture(main);
}

void OnSplitterButtonUp(HWND main, int x, int y) {
    Shell& shell = TheShell();
    if (!shell.dragging || !shell.ctx)
        return;
    shell.dragging = false;
    SIZE size = ClientSize();
    Splitters& s = shell.ctx->splitters;
    if (shell.activeBar == 1)
        MoveBarTo(s.bars[0], ClampVerticalDrag(x, size.cx));
    else if (shell.activeBar > 1)
        MoveBarTo(s.bars[shell.activeBar - 1], ClampHorizontalDrag(y, size.cy));
    LayoutPanes(shell.activeBar);
    ReleaseCapture();
}

void OnSplitterCaptureChanged(HWND main, HWND newCapture) {
    Shell& shell = TheShell();
    // A box that opens mid-drag takes the capture, and the button's release goes to it: without
    // this the bar would follow the mouse until the next click.
    if (!shell.dragging || newCapture == main)
        return;
    shell.dragging = false;
    LayoutPanes(shell.activeBar);
}

void FitSplittersToClient() {
    Shell& shell = TheShell();
    if (!shell.ctx || !shell.main)
        return;
    SIZE size = ClientSize();
    ClampSplitters(shell.ctx->splitters, size.cx, size.cy);
}

}  // namespace app::win32
