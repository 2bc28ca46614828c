// Main window geometry on screen: fixed children, panes, background bands and splitters.
#include "app/win32/frame/main_layout.h"

#include "app/layout.h"
#include "app/win32/frame/logo_bar.h"
#include "app/win32/frame/shell.h"

namespace app::win32 {

namespace {

void Move(HWND window, const Rect& r) {
    if (window)
        MoveWindow(window, r.x, r.y, r.width, r.height, TRUE);
}

SIZE ClientSize(Shell& shell) {
    RECT r = {};
    GetClientRect(shell.main, &r);
    return {r.right, r.bottom};
}

}  // namespace

void LayoutFixedChildren(Shell& shell) {
    SIZE size = ClientSize(shell);
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
    LayoutPanes(shell, 0);
}

void LayoutPanes(Shell& shell, int movedBar) {
    catalogue::GameProfile* p = CurrentProfile(shell);
    if (!p)
        return;
    SIZE size = ClientSize(shell);
    Band band = LayoutInvalidation(size.cx, size.cy, shell.ctx->splitters, movedBar);
    RECT r = {band.left, band.top, band.right, band.bottom};
    InvalidateRect(shell.main, &r, FALSE);
    PaneLayout l = ComputePaneLayout(size.cx, size.cy, shell.ctx->splitters);
    views::win32::PaneSet panes = PanesOf(shell, p);
    Move(panes.server, l.serverList);
    Move(panes.buddy, l.buddy);
    Move(panes.player, l.player);
}

void PaintBackground(Shell& shell) {
    HWND main = shell.main;
    base::win32::PaintScope paint(main);
    HDC dc = paint.dc();
    SIZE size = ClientSize(shell);
    for (const Band& b : BackgroundBands(size.cx, size.cy, shell.ctx->splitters)) {
        RECT r = {b.left, b.top, b.right, b.bottom};
        FillWithBackground(shell, dc, r);
    }
}

void OnSplitterMouseMove(Shell& shell, int x, int y) {
    SIZE size = ClientSize(shell);
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
    LayoutPanes(shell, shell.activeBar);
}

void OnSplitterButtonDown(Shell& shell, int x, int y) {
    HWND main = shell.main;
    SIZE size = ClientSize(shell);
    shell.activeBar = HitTestSplitter(x, y, size.cy, shell.ctx->splitters);
    if (!shell.activeBar)
        return;
    shell.dragging = true;
    SetCapture(main);
}

void OnSplitterButtonUp(Shell& shell, int x, int y) {
    if (!shell.dragging)
        return;
    shell.dragging = false;
    SIZE size = ClientSize(shell);
    Splitters& s = shell.ctx->splitters;
    if (shell.activeBar == 1)
        MoveBarTo(s.bars[0], ClampVerticalDrag(x, size.cx));
    else if (shell.activeBar > 1)
        MoveBarTo(s.bars[shell.activeBar - 1], ClampHorizontalDrag(y, size.cy));
    LayoutPanes(shell, shell.activeBar);
    ReleaseCapture();
}

void OnSplitterCaptureChanged(Shell& shell, HWND newCapture) {
    HWND main = shell.main;
    // A box that opens mid-drag takes the capture, and the button's release goes to it: without
    // this the bar would follow the mouse until the next click.
    if (!shell.dragging || newCapture == main)
        return;
    shell.dragging = false;
    LayoutPanes(shell, shell.activeBar);
}

void FitSplittersToClient(Shell& shell) {
    if (!shell.main)
        return;
    SIZE size = ClientSize(shell);
    ClampSplitters(shell.ctx->splitters, size.cx, size.cy);
}

}  // namespace app::win32
