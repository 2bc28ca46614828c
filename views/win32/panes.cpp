// The three list panes of a game tab: frame, list control and the messages they answer so far.
#include "views/win32/panes.h"

#include <windows.h>

#include <commctrl.h>

#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"

namespace views::win32 {

namespace {

LRESULT CommonPaneMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* countFormat) {
    switch (message) {
        case WM_CREATE:
            CreatePaneList(window, 0);
            return 0;
        case WM_SIZE:
            InvalidateRect(window, nullptr, TRUE);
            LayoutPaneList(window);
            return 0;
        case WM_PAINT: {
            char text[64];
            int rows = static_cast<int>(SendMessageA(PaneList(window), LVM_GETITEMCOUNT, 0, 0));
            wsprintfA(text, countFormat, rows, 0);
            PaintPaneFrame(window, nullptr, -1, text, 5, "");
            return 0;
        }
        case PM_CLEAR:
            SendMessageA(PaneList(window), LVM_DELETEALLITEMS, 0, 0);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ServerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CommonPaneMessage(window, message, wParam, lParam, "%d/%d Servers visible");
}

LRESULT CALLBACK PlayerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CommonPaneMessage(window, message, wParam, lParam, "%d/%d Players visible");
}

LRESULT CALLBACK BuddyPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CommonPaneMessage(window, message, wParam, lParam, "%d/%d Buddies online");
}

}  // namespace views::win32
