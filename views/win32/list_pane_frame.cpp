// Shared frame of the panes.
#include "views/win32/list_pane_frame.h"

#include "base/win32/handles.h"
#include "resources/resource.h"
#include "views/win32/list_control.h"

namespace views::win32 {

HWND CreatePaneList(HWND pane, DWORD extraStyle) {
    RECT r;
    GetClientRect(pane, &r);
    return CreateWindowExA(
        0, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SHAREIMAGELISTS | extraStyle, 2, 2,
        r.right - 4, r.bottom - 4, pane, nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(pane, GWLP_HINSTANCE)),
        nullptr);
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

void PaintPaneFrame(HWND pane,
                    const IconList* icons,
                    int icon,
                    const std::string& left,
                    int leftX,
                    const std::string& right) {
    base::win32::PaintScope paint(pane);
    HDC dc = paint.dc();
    RECT r;
    GetClientRect(pane, &r);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    RECT strip = {2, 2, r.right - 2, 25};
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    if (icons && icon >= 0)
        icons->Draw(dc, icon, 5, 5, GetSysColor(COLOR_BTNFACE));
    base::win32::SelectedObject font(dc, GetStockObject(ANSI_VAR_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, leftX, 5, left.c_str(), static_cast<int>(left.size()));
    if (!right.empty()) {
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        TextOutA(dc, r.right - 7, 5, right.c_str(), static_cast<int>(right.size()));
        SetTextAlign(dc, TA_LEFT | TA_TOP);
    }
}

void InvalidateStrip(HWND pane) {
    RECT r;
    GetClientRect(pane, &r);
    RECT strip = {2, 2, r.right - 2, 25};
    InvalidateRect(pane, &strip, FALSE);
}

void SetUpPaneColumns(HWND list,
                      HIMAGELIST icons,
                      const ListPaneColumn (&columns)[kListPaneColumns],
                      const PaneWidths& widths) {
    if (icons)
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int c = kListPaneColumns - 1; c >= 0; --c)
        InsertColumnAtZero(list, columns[c].header, widths[static_cast<size_t>(c)]);
}

PaneWidths CurrentPaneWidths(HWND list) {
    PaneWidths widths{};
    for (int c = 0; c < kListPaneColumns; ++c)
        widths[static_cast<size_t>(c)] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
    return widths;
}

void ApplyPaneMarkers(HWND list, const PaneSortMarkers& markers) {
    SetHeaderImage(list, markers.clearColumn, -1);
    SetHeaderImage(list, markers.markColumn, kPaneImageSortMarker);
}

void ApplyRowEvents(ListDrawing& drawing, HWND list, const std::vector<RowEvent>& events, int rows) {
    bool changesRows = false;
    for (const RowEvent& e : events)
        changesRows |= e.kind != RowEvent::kUpdate && e.kind != RowEvent::kReorder;
    if (changesRows)
        drawing.Suspend();
    for (const RowEvent& e : events) {
        switch (e.kind) {
            case RowEvent::kInsert:
                SendMessageA(list, LVM_SETITEMCOUNT, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) + 1,
                             LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
                RedrawRow(list, e.row);
                break;
            case RowEvent::kUpdate:
                RedrawRow(list, e.row);
                break;
            case RowEvent::kDelete:
                SendMessageA(list, LVM_DELETEITEM, e.row, 0);
                break;
            case RowEvent::kRebuild:
                SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
                SendMessageA(list, LVM_SETITEMCOUNT, rows, 0);
                InvalidateRect(list, nullptr, FALSE);
                break;
            case RowEvent::kReorder:
                InvalidateRect(list, nullptr, FALSE);
                break;
        }
    }
    // Whatever happened on the way, the control ends with the model's number of rows.
    SetRowCount(list, rows);
}

void ShowListPaneMenu(HINSTANCE instance, HWND pane, UINT enabledCommand) {
    base::win32::Menu menu(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_LIST_PANE_MENU)));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    EnableMenuItem(popup, enabledCommand, MF_BYCOMMAND | MF_ENABLED);
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, pane, nullptr);
}

void SaveWidthsAndDestroyList(HWND list, base::SettingsStore& store, const char* widthFormat) {
    WritePaneWidths(store, widthFormat, CurrentPaneWidths(list));
    DestroyWindow(list);
}

}  // namespace views::win32
