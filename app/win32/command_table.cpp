// The routed commands of the main window and the server list's context menu.
#include "app/win32/command_table.h"

#include <iterator>

#include "app/win32/app_messages.h"
#include "app/win32/commands.h"
#include "app/win32/shell.h"
#include "net/status_engine.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

using namespace views::win32;
using T = CommandTarget;

namespace {

constexpr CommandRoute kRoutes[] = {
    {IDM_EXIT, 0, T::kMainPosted, WM_CLOSE, 0},
    {IDM_GET_MASTER_LIST, IDM_SRV_GET_MASTER_LIST, T::kMain, WM_APP_MASTERQUERY, 0},
    {IDM_REFRESH_ALL, IDM_SRV_REFRESH_ALL, T::kMain, WM_APP_REFRESH, net::kRefreshAll},
    {IDM_REFRESH_SELECTED, IDM_SRV_REFRESH_SELECTED, T::kMain, WM_APP_REFRESH, net::kRefreshSelected},
    {IDM_REFRESH_FAVOURITES, IDM_SRV_REFRESH_FAVOURITES, T::kMain, WM_APP_REFRESH, net::kRefreshFavourites},
    {IDM_SERVER_INFO, IDM_SRV_SERVER_INFO, T::kMain, WM_APP_REFRESH, net::kRefreshServerInfo},
    {IDM_ADD_SERVER, IDM_SRV_ADD_SERVER, T::kMain, WM_APP_ADDSERVER, 0},
    {IDM_MONITOR_SERVER, IDM_SRV_MONITOR, T::kMain, WM_APP_MONITOR, 0},
    {IDM_JOIN, IDM_SRV_JOIN, T::kServerPane, PM_JOIN_SELECTED, 0},
    {IDM_JOIN_SPECTATOR, IDM_SRV_JOIN_SPECTATOR, T::kServerPane, PM_JOIN_SELECTED, 1},
    {IDM_REMOVE_SERVER, IDM_SRV_REMOVE_SERVER, T::kServerPane, PM_REMOVE_SELECTED_SERVERS, 0},
    {IDM_REMOTE_CONTROL, IDM_SRV_REMOTE_CONTROL, T::kServerPane, PM_OPEN_RCON, 0},
    {IDM_AUTO_REFRESH_SELECTED, IDM_SRV_AUTO_REFRESH, T::kServerPane, PM_TOGGLE_AUTO_REFRESH, 0},
    {IDM_MARK_FAVOURITE, IDM_SRV_MARK_FAVOURITE, T::kServerPane, PM_TOGGLE_FAVOURITE, 0},
    {IDM_EDIT_PLAYER_CONFIG, 0, T::kServerPane, PM_EDIT_PLAYER_CONFIG, 0},
    {0, IDM_SRV_OPEN_WEBSITE, T::kServerPane, PM_OPEN_WEBSITE, 0},
    {IDM_COPY_TEXT, IDM_SRV_COPY_TEXT, T::kFocusedPane, PM_COPY_SELECTED, 0},
    {IDM_COPY_IRC, IDM_SRV_COPY_IRC, T::kFocusedPane, PM_COPY_SELECTED, 1},
    {IDM_SELECT_ALL, 0, T::kFocusedPane, PM_SELECT_ALL, 0},
    {IDM_DESELECT_ALL, 0, T::kFocusedPane, PM_DESELECT_ALL, 0},
    {IDM_REMOVE_BUDDY, 0, T::kBuddyPane, PM_REMOVE_SELECTED, 0},
    {IDM_FIND_PLAYER, 0, T::kDialog, 0, 0},
    {IDM_ADD_BUDDY, 0, T::kDialog, 0, 0},
    {IDM_GAME_SETUP, 0, T::kDialog, 0, 0},
    {IDM_COLOUR_PREFERENCES, IDM_SRV_COLOUR_PREFERENCES, T::kDialog, 0, 0},
    {IDM_NETWORK_PREFERENCES, 0, T::kDialog, 0, 0},
};

}  // namespace

const CommandRoute* FindCommandRoute(UINT command) {
    if (command == 0)
        return nullptr;
    for (const CommandRoute& r : kRoutes) {
        if (r.command == command || r.contextCommand == command)
            return &r;
    }
    return nullptr;
}

bool RouteCommand(HWND main, UINT command) {
    const CommandRoute* route = FindCommandRoute(command);
    if (!route)
        return false;
    const bool fromContextMenu = command == route->contextCommand;
    PaneSet panes = PanesOf(CurrentProfile());
    switch (route->target) {
        case T::kMain:
            SendMessageA(main, route->message, route->wParam, 0);
            break;
        case T::kMainPosted:
            PostMessageA(main, route->message, route->wParam, 0);
            break;
        case T::kServerPane:
            SendToPane(panes.server, route->message, route->wParam);
            break;
        case T::kBuddyPane:
            SendToPane(panes.buddy, route->message, route->wParam);
            break;
        case T::kFocusedPane:
            SendToPane(fromContextMenu ? panes.server : FocusedPane(), route->message, route->wParam);
            break;
        case T::kDialog:
            OpenShellDialog(route->command);
            break;
    }
    return true;
}

}  // namespace app::win32
