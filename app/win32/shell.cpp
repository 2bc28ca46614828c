// The main window's process-wide state and small accessors.
#include "app/win32/shell.h"

#include "resources/resource.h"

namespace app::win32 {

namespace {
Shell g_shell;
}

Shell& TheShell() {
    return g_shell;
}

catalogue::GameProfile* CurrentProfile() {
    return g_shell.ctx ? g_shell.ctx->current() : nullptr;
}

HWND ServerPaneOf(const catalogue::GameProfile* p) {
    return p ? reinterpret_cast<HWND>(p->paneWindows[0]) : nullptr;
}
HWND BuddyPaneOf(const catalogue::GameProfile* p) {
    return p ? reinterpret_cast<HWND>(p->paneWindows[1]) : nullptr;
}
HWND PlayerPaneOf(const catalogue::GameProfile* p) {
    return p ? reinterpret_cast<HWND>(p->paneWindows[2]) : nullptr;
}
HWND ServerListOf(const catalogue::GameProfile* p) {
    return p ? reinterpret_cast<HWND>(p->controlWindows[0]) : nullptr;
}
HWND BuddyListOf(const catalogue::GameProfile* p) {
    return p ? reinterpret_cast<HWND>(p->controlWindows[1]) : nullptr;
}
HWND PlayerListOf(const catalogue::GameProfile* p) {
    return p ? reinterpret_cast<HWND>(p->controlWindows[2]) : nullptr;
}

LRESULT SendToPane(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    return pane ? SendMessageA(pane, message, wParam, lParam) : 0;
}

void SetToolbarState(int command, BYTE state) {
    if (g_shell.toolbar)
        SendMessageA(g_shell.toolbar, TB_SETSTATE, command, MAKELONG(state, 0));
}

void SetRefreshCommandsRunning(bool running) {
    BYTE refresh = running ? TBSTATE_INDETERMINATE : TBSTATE_ENABLED;
    SetToolbarState(IDM_REFRESH_ALL, refresh);
    SetToolbarState(IDM_GET_MASTER_LIST, refresh);
    SetToolbarState(IDM_REFRESH_SELECTED, refresh);
    SetToolbarState(IDM_STOP_REFRESH, running ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE);
}

}  // namespace app::win32
