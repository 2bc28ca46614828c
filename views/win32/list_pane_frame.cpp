// Shared frame of the list panes.
#include "views/win32/list_pane_frame.h"

#include <windows.h>

#include <commctrl.h>

namespace views::win32 {

HWND CreatePaneList(HWND pane, DWORD extraStyle) {
    RECT r;
    GetClientRect(pane, &r);
    return CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | extraStyle, 2,
                           2, r.right - 4, r.bottom - 4, pane, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(pane, GWLP_HINSTANCE)), nullptr);
}

HWND PaneList(HWND pane) {
    return GetWindow(pane, GW_CHILD);
}

void LayoutPaneList(HWND pane) {
    RECT r;
    GetClientRect(pane, &r);
    if (HWND list = PaneList(pane))
        MoveWindow(list, 2, 25, r.right - 4, r.bottom - 27, TRUE);
}

void PaintPaneFrame(HWND pane, HIMAGELIST icons, int icon, const std::string& left, int leftX,
                    const std::string& right) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(pane, &ps);
    RECT r;
    GetClientRect(pane, &r);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    RECT strip = {2, 2, r.right - 2, 25};
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    if (icons && icon >= 0)
        ImageList_Draw(icons, icon, dc, 5, 5, ILD_TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, leftX, 5, left.c_str(), static_cast<int>(left.size()));
    if (!right.empty()) {
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        TextOutA(dc, r.right - 7, 5, right.c_str(), static_cast<int>(right.size()));
        SetTextAlign(dc, TA_LEFT | TA_TOP);
    }
    SelectObject(dc, oldFont);
    EndPaint(pane, &ps);
}

}  // namespace views::win32
