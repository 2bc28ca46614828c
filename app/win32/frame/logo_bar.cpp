// The top strip: toolbar with its drop-down menus and tool tips, and the logo picture.
#include "app/win32/frame/logo_bar.h"

#include <windows.h>

#include <commctrl.h>

#include "app/win32/commands/weblinks.h"
#include "app/win32/frame/shell.h"
#include "base/win32/handles.h"
#include "resources/resource.h"

namespace app::win32 {

namespace {

struct ButtonSpec {
    int image;
    int command;
    BYTE style;
};

// Left to right; image -1 is a separator.
const ButtonSpec kButtons[] = {
    {8, IDM_GET_MASTER_LIST, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {1, IDM_REFRESH_ALL, BTNS_BUTTON},
    {0, IDM_REFRESH_SELECTED, BTNS_BUTTON},
    {11, IDM_STOP_REFRESH, BTNS_BUTTON},
    {13, IDM_ADD_SERVER, BTNS_BUTTON},
    {12, IDM_REMOVE_SERVER, BTNS_BUTTON},
    {10, IDM_REMOTE_CONTROL, BTNS_BUTTON},
    {9, IDM_FILTER_DROPDOWN, BTNS_DROPDOWN},
    {2, IDM_JOIN, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {5, IDM_FIND_PLAYER, BTNS_BUTTON},
    {6, IDM_ADD_BUDDY, BTNS_BUTTON},
    {-1, 0, BTNS_SEP},
    {3, IDM_FEEDBACK, BTNS_BUTTON},
    {7, IDM_WEBSITE, BTNS_DROPDOWN},
    {-1, 0, BTNS_SEP},
    {4, IDM_EXIT, BTNS_BUTTON},
};
constexpr int kToolbarImages = 14;

// The "Filter" pop-up of the main menu (Servers menu, position of "Filter").
HMENU FindFilterMenu(HMENU mainMenu) {
    HMENU servers = GetSubMenu(mainMenu, 2);
    int n = GetMenuItemCount(servers);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(servers, i);
        if (sub && GetMenuState(sub, IDM_SHOW_PASSWORDED, MF_BYCOMMAND) != UINT(-1))
            return sub;
    }
    return nullptr;
}

void ShowDropDown(Shell& shell, const NMTOOLBARA* info) {
    RECT button;
    SendMessageA(info->hdr.hwndFrom, TB_GETRECT, info->iItem, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(info->hdr.hwndFrom, HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS exclude = {sizeof exclude, button};
    if (info->iItem == IDM_FILTER_DROPDOWN) {
        HMENU filter = FindFilterMenu(GetMenu(shell.main));
        if (filter)
            TrackPopupMenuEx(filter, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, button.left, button.bottom,
                             shell.main, &exclude);
    } else if (info->iItem == IDM_WEBSITE) {
        base::win32::Menu resource(LoadMenuA(shell.instance, MAKEINTRESOURCEA(IDR_MAINMENU)));
        HMENU links = resource ? GetSubMenu(resource.get(), 4) : nullptr;
        if (!links)
            return;
        BuildWebLinksMenu(shell, links);
        TrackPopupMenuEx(links, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, button.left, button.bottom, shell.main,
                         &exclude);
    }
}

}  // namespace

COLORREF BackgroundColour(Shell& shell) {
    if (const catalogue::GameProfile* p = CurrentProfile(shell))
        return p->colours[catalogue::kSchemeColours - 1];
    return GetSysColor(COLOR_BTNFACE);
}

void FillWithBackground(Shell& shell, HDC dc, const RECT& rect) {
    base::win32::GdiObject brush(CreateSolidBrush(BackgroundColour(shell)));
    FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

HWND CreateToolbar(HINSTANCE instance, HWND logoBar) {
    HWND toolbar = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, "",
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, 2,
        2, 488, 25, logoBar, reinterpret_cast<HMENU>(IDC_TOOLBAR), instance, nullptr);
    if (!toolbar)
        return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELONG(16, 16));
    TBADDBITMAP bitmap = {instance, IDB_TOOLBAR};
    SendMessageA(toolbar, TB_ADDBITMAP, kToolbarImages, reinterpret_cast<LPARAM>(&bitmap));
    TBBUTTON buttons[sizeof kButtons / sizeof kButtons[0]] = {};
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i) {
        buttons[i].iBitmap = kButtons[i].image < 0 ? 0 : kButtons[i].image;
        buttons[i].idCommand = kButtons[i].command;
        // Start-up greys them as the command table says (ShowCommandStates).
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = kButtons[i].style;
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, sizeof kButtons / sizeof kButtons[0], reinterpret_cast<LPARAM>(buttons));
    return toolbar;
}

LRESULT CALLBACK LogoBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        KeepShellIn(window, lParam);
    Shell* found = ShellOf(window);
    if (!found)
        return DefWindowProcA(window, message, wParam, lParam);
    Shell& shell = *found;
    switch (message) {
        case WM_SIZE:
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(window, &r);
            FillWithBackground(shell, reinterpret_cast<HDC>(wParam), r);
            return 1;
        }
        case WM_PAINT: {
            base::win32::PaintScope paint(window);
            RECT r;
            GetClientRect(window, &r);
            FillWithBackground(shell, paint.dc(), r);
            return 0;
        }
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->code == TBN_DROPDOWN) {
                ShowDropDown(shell, reinterpret_cast<NMTOOLBARA*>(lParam));
                return TBDDRET_DEFAULT;
            }
            if (hdr->code == TTN_NEEDTEXTA) {
                // Tips are the string whose id is the command, up to 100 characters.
                static char tipText[101];
                auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                tipText[0] = '\0';
                LoadStringA(shell.instance, static_cast<UINT>(hdr->idFrom), tipText, sizeof tipText);
                tip->lpszText = tipText;
                return 0;
            }
            break;
        }
        case WM_COMMAND:
            // Toolbar buttons and the logo picture: everything goes to the main window.
            PostMessageA(shell.main, WM_COMMAND, wParam, lParam);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace app::win32
