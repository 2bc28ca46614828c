// The frame shared by the panes: the list control, the caption strip, columns, markers and rows.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/settings_store.h"
#include "views/buddy_model.h"
#include "views/list_pane.h"
#include "views/win32/icon_list.h"
#include "views/win32/list_control.h"

namespace views::win32 {

// Creates the pane's report-style owner-data list control as its first child (x 2, y 2, client
// size less 4), sharing its image lists with the other panes.
HWND CreatePaneList(HWND pane, DWORD extraStyle);
HWND PaneList(HWND pane);
// Moves the list below the 25-pixel strip (x 2, y 25, width - 4, height - 27).
void LayoutPaneList(HWND pane);
// Sunken edge, button-face strip, optional icon at (5, 5) and the strip texts (the right one
// right-aligned 7 pixels from the edge).
void PaintPaneFrame(HWND pane,
                    const IconList* icons,
                    int icon,
                    const std::string& left,
                    int leftX,
                    const std::string& right);
// Invalidates the strip only (its count changed), without erasing.
void InvalidateStrip(HWND pane);

// The three columns of a list pane: full-row select, the shared image list, headers that may carry
// an image (none at first), widths as given.
void SetUpPaneColumns(HWND list,
                      HIMAGELIST icons,
                      const ListPaneColumn (&columns)[kListPaneColumns],
                      const PaneWidths& widths);
PaneWidths CurrentPaneWidths(HWND list);
void ApplyPaneMarkers(HWND list, const PaneSortMarkers& markers);

// Mirrors the model's row changes on an owner-data list that ends with `rows` rows (drawing
// suspended until the burst of changes is over). A reorder only
// redraws: the pane keeps the selection by identity around it (SaveSelection, RestoreSelection).
void ApplyRowEvents(ListDrawing& drawing, HWND list, const std::vector<RowEvent>& events, int rows);

// The list panes' context menu (resource 115) at the cursor with one command enabled.
void ShowListPaneMenu(HINSTANCE instance, HWND pane, UINT enabledCommand);

// Writes the list's three column widths under "PLCW%02d" / "BLCW%02d" and destroys the list.
void SaveWidthsAndDestroyList(HWND list, base::SettingsStore& store, const char* widthFormat);

// The window procedure of the player and buddy panes. The pane object that `create` makes lives in
// GWLP_USERDATA until WM_NCDESTROY deletes it; layout and the strip with the model's count line are
// handled here, and every other message goes to `handle`, which says whether it took it.
template <typename Pane>
Pane* ListPaneFrom(HWND window) {
    return reinterpret_cast<Pane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

template <typename Pane>
LRESULT ListPaneProc(HWND window,
                     UINT message,
                     WPARAM wParam,
                     LPARAM lParam,
                     void (*create)(HWND, const CREATESTRUCTA&),
                     LRESULT (*handle)(Pane&, UINT, WPARAM, LPARAM, bool&)) {
    Pane* pane = ListPaneFrom<Pane>(window);
    switch (message) {
        case WM_CREATE:
            create(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
            return 0;
        case WM_SIZE:
            LayoutPaneList(window);
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_PAINT:
            PaintPaneFrame(window, nullptr, -1, pane ? pane->model.CountText() : "", 5, "");
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            delete pane;
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            break;
    }
    if (pane) {
        bool handled = false;
        LRESULT result = handle(*pane, message, wParam, lParam, handled);
        if (handled)
            return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace views::win32
