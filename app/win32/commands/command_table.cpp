// The command table of the main window and the routing and greying it drives.
#include "app/win32/commands/command_table.h"

#include <commctrl.h>

#include "app/win32/commands/commands.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "net/status_engine.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

using namespace views::win32;
using K = CommandKind;
using N = CommandNeeds;
using T = CommandTarget;

namespace {

// Every id of the main menu, the toolbar, the accelerators, the tray menu and the server list's
// context menu, once. The server list's context menu holds the main menu's commands under ids of
// its own, so that its copy commands can go to the server list whichever pane has the focus.
constexpr CommandRow kCommands[] = {
    {IDM_EXIT, 0, 0, K::kRouted, N::kNothing, T::kMainPosted, WM_CLOSE, 0},
    {IDM_GET_MASTER_LIST, 0, IDM_SRV_GET_MASTER_LIST, K::kRouted, N::kIdle, T::kMain, WM_APP_MASTERQUERY, 0},
    {IDM_REFRESH_ALL, 0, IDM_SRV_REFRESH_ALL, K::kRouted, N::kIdle, T::kMain, WM_APP_REFRESH, net::kRefreshAll},
    {IDM_REFRESH_SELECTED, 0, IDM_SRV_REFRESH_SELECTED, K::kRouted, N::kServerIdle, T::kMain, WM_APP_REFRESH,
     net::kRefreshSelected},
    {IDM_REFRESH_FAVOURITES, 0, IDM_SRV_REFRESH_FAVOURITES, K::kRouted, N::kIdle, T::kMain, WM_APP_REFRESH,
     net::kRefreshFavourites},
    {IDM_SERVER_INFO, 0, IDM_SRV_SERVER_INFO, K::kRouted, N::kServer, T::kMain, WM_APP_REFRESH,
     net::kRefreshServerInfo},
    {IDM_ADD_SERVER, 0, IDM_SRV_ADD_SERVER, K::kRouted, N::kNothing, T::kMain, WM_APP_ADDSERVER, 0},
    {IDM_MONITOR_SERVER, 0, IDM_SRV_MONITOR, K::kRouted, N::kServer, T::kMain, WM_APP_MONITOR, 0},
    {IDM_JOIN, 0, IDM_SRV_JOIN, K::kRouted, N::kServer, T::kServerPane, PM_JOIN_SELECTED, 0},
    {IDM_JOIN_SPECTATOR, 0, IDM_SRV_JOIN_SPECTATOR, K::kRouted, N::kServer, T::kServerPane, PM_JOIN_SELECTED, 1},
    {IDM_REMOVE_SERVER, 0, IDM_SRV_REMOVE_SERVER, K::kRouted, N::kServer, T::kServerPane, PM_REMOVE_SELECTED_SERVERS,
     0},
    {IDM_REMOTE_CONTROL, 0, IDM_SRV_REMOTE_CONTROL, K::kRouted, N::kRemoteServer, T::kServerPane, PM_OPEN_RCON, 0},
    {IDM_AUTO_REFRESH_SELECTED, 0, IDM_SRV_AUTO_REFRESH, K::kRouted, N::kServer, T::kServerPane, PM_TOGGLE_AUTO_REFRESH,
     0},
    {IDM_MARK_FAVOURITE, 0, IDM_SRV_MARK_FAVOURITE, K::kRouted, N::kServer, T::kServerPane, PM_TOGGLE_FAVOURITE, 0},
    {IDM_EDIT_PLAYER_CONFIG, 0, 0, K::kRouted, N::kServer, T::kServerPane, PM_EDIT_PLAYER_CONFIG, 0},
    {0, 0, IDM_SRV_OPEN_WEBSITE, K::kRouted, N::kServerWebSite, T::kServerPane, PM_OPEN_WEBSITE, 0},
    {IDM_COPY_TEXT, 0, IDM_SRV_COPY_TEXT, K::kRouted, N::kNothing, T::kFocusedPane, PM_COPY_SELECTED, 0},
    {IDM_COPY_IRC, 0, IDM_SRV_COPY_IRC, K::kRouted, N::kNothing, T::kFocusedPane, PM_COPY_SELECTED, 1},
    {IDM_SELECT_ALL, 0, 0, K::kRouted, N::kNothing, T::kFocusedPane, PM_SELECT_ALL, 0},
    {IDM_DESELECT_ALL, 0, 0, K::kRouted, N::kNothing, T::kFocusedPane, PM_DESELECT_ALL, 0},
    {IDM_REMOVE_BUDDY, 0, 0, K::kRouted, N::kNothing, T::kBuddyPane, PM_REMOVE_SELECTED, 0},
    {IDM_FIND_PLAYER, 0, 0, K::kDialog, N::kNothing, T::kDialog, 0, 0},
    {IDM_ADD_BUDDY, 0, 0, K::kDialog, N::kNothing, T::kDialog, 0, 0},
    {IDM_GAME_SETUP, 0, 0, K::kDialog, N::kNothing, T::kDialog, 0, 0},
    {IDM_COLOUR_PREFERENCES, 0, IDM_SRV_COLOUR_PREFERENCES, K::kDialog, N::kNothing, T::kDialog, 0, 0},
    {IDM_NETWORK_PREFERENCES, 0, 0, K::kDialog, N::kNothing, T::kDialog, 0, 0},
    {IDM_ABOUT, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_FEEDBACK, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_WEBSITE, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_STOP_REFRESH, 0, 0, K::kShell, N::kRefreshing, T::kNone, 0, 0},
    {IDM_GAMETYPE_ALL, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_MOD_ALL, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_TRAY_OPEN, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_TRAY_EXIT, 0, 0, K::kShell, N::kNothing, T::kNone, 0, 0},
    {IDM_TRAY_REFRESH, 0, 0, K::kRouted, N::kIdle, T::kMain, WM_APP_REFRESH, net::kRefreshAll},
    {IDM_TRAY_REFRESH_FAVOURITES, 0, 0, K::kRouted, N::kIdle, T::kMain, WM_APP_REFRESH, net::kRefreshFavourites},
    {IDM_SHOW_PASSWORDED, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_SHOW_FULL, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_SHOW_EMPTY, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_SHOW_BOTS, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_SHOW_NO_REPLY, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_VISITED_ON_TOP, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_FAVOURITES_ON_TOP, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_MINIMISE_TO_TRAY, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_TRAY_AUTO_REFRESH, 0, 0, K::kToggle, N::kNothing, T::kNone, 0, 0},
    {IDM_WEBLINK_FIRST, IDM_WEBLINK_LAST, 0, K::kRange, N::kNothing, T::kNone, 0, 0},
    {IDM_MOD_FIRST + 1, IDM_MOD_LAST, 0, K::kRange, N::kNothing, T::kNone, 0, 0},
    {IDM_GAMETYPE_FIRST + 1, IDM_GAMETYPE_LAST, 0, K::kRange, N::kNothing, T::kNone, 0, 0},
    // The drop-down button's body opens nothing; its arrow shows the Filter menu.
    {IDM_FILTER_DROPDOWN, 0, 0, K::kInert, N::kNothing, T::kNone, 0, 0},
    {IDM_IMPORT_BUDDIES, IDM_EXPORT_SERVERS, 0, K::kInert, N::kNothing, T::kNone, 0, 0},
    {IDM_UNUSED_CTRL_E, 0, 0, K::kInert, N::kNothing, T::kNone, 0, 0},
    {IDM_WEBLINKS_PLACEHOLDER, 0, 0, K::kInert, N::kNothing, T::kNone, 0, 0},
};

bool Matches(const CommandRow& row, UINT command) {
    if (row.last)
        return command >= row.command && command <= row.last;
    return row.command == command || row.contextCommand == command;
}

UINT MenuFlag(bool enabled) {
    return enabled ? MF_ENABLED : MF_GRAYED;
}

}  // namespace

const CommandRow* FindCommand(UINT command) {
    if (command == 0)
        return nullptr;
    for (const CommandRow& row : kCommands) {
        if (Matches(row, command))
            return &row;
    }
    return nullptr;
}

bool CommandEnabled(const CommandRow& row, const CommandState& s) {
    switch (row.needs) {
        case N::kNothing:
            return true;
        case N::kIdle:
            return !s.refreshing;
        case N::kRefreshing:
            return s.refreshing;
        case N::kServer:
            return s.serverSelected;
        case N::kServerIdle:
            return s.serverSelected && !s.refreshing;
        case N::kRemoteServer:
            return s.serverSelected && s.remoteControl;
        case N::kServerWebSite:
            return s.serverSelected && s.webSite;
    }
    return true;
}

void ApplyCommandStates(HMENU menu, const CommandState& state) {
    const int n = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            ApplyCommandStates(sub, state);
            continue;
        }
        // Items offered in every state are left as their menus made them (a web link that is no
        // web address stays grey).
        const CommandRow* row = FindCommand(GetMenuItemID(menu, i));
        if (row && row->needs != N::kNothing)
            EnableMenuItem(menu, i, MF_BYPOSITION | MenuFlag(CommandEnabled(*row, state)));
    }
}

void ApplyToolbarStates(HWND toolbar, const CommandState& state) {
    const int n = toolbar ? static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)) : 0;
    for (int i = 0; i < n; ++i) {
        TBBUTTON button = {};
        if (!SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)))
            continue;
        if (const CommandRow* row = FindCommand(static_cast<UINT>(button.idCommand))) {
            BYTE s = CommandEnabled(*row, state) ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE;
            SendMessageA(toolbar, TB_SETSTATE, button.idCommand, MAKELONG(s, 0));
        }
    }
}

bool RouteCommand(Shell& shell, UINT command) {
    HWND main = shell.main;
    const CommandRow* row = FindCommand(command);
    if (!row || row->target == T::kNone)
        return false;
    const bool fromContextMenu = command == row->contextCommand;
    PaneSet panes = PanesOf(shell, CurrentProfile(shell));
    switch (row->target) {
        case T::kNone:
            break;
        case T::kMain:
            SendMessageA(main, row->message, row->wParam, 0);
            break;
        case T::kMainPosted:
            PostMessageA(main, row->message, row->wParam, 0);
            break;
        case T::kServerPane:
            SendToPane(panes.server, row->message, row->wParam);
            break;
        case T::kBuddyPane:
            SendToPane(panes.buddy, row->message, row->wParam);
            break;
        case T::kFocusedPane:
            SendToPane(fromContextMenu ? panes.server : FocusedPane(shell), row->message, row->wParam);
            break;
        case T::kDialog:
            OpenShellDialog(shell, row->command);
            break;
    }
    return true;
}

}  // namespace app::win32
