// Command dispatch of the main window.
#include "app/win32/commands.h"

#include "app/win32/app_messages.h"
#include "app/win32/banner_bar.h"
#include "app/win32/filter_menu.h"
#include "app/win32/shell.h"
#include "app/win32/tabs.h"
#include "app/win32/tray.h"
#include "app/win32/weblinks.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

using namespace views::win32;

namespace {

void ApplyMark(HWND main, const std::optional<MenuMark>& mark) {
    if (!mark)
        return;
    CheckItem(GetMenu(main), mark->item, mark->checked);
    SendMessageA(main, WM_APP_REFILTER, 0, 0);
}

void ApplyFilterChoice(HWND main, const std::optional<std::pair<uint32_t, uint32_t>>& marks) {
    if (!marks)
        return;
    CheckItem(GetMenu(main), marks->first, false);
    CheckItem(GetMenu(main), marks->second, true);
    SendMessageA(main, WM_APP_REFILTER, 0, 0);
}

}  // namespace

HWND FocusedPane() {
    catalogue::GameProfile* p = CurrentProfile();
    HWND focus = GetFocus();
    if (!p || !focus)
        return nullptr;
    if (focus == ServerListOf(p))
        return ServerPaneOf(p);
    if (focus == BuddyListOf(p))
        return BuddyPaneOf(p);
    if (focus == PlayerListOf(p))
        return PlayerPaneOf(p);
    return nullptr;
}

void SetStartupMenuMarks(HWND main) {
    Shell& shell = TheShell();
    for (const MenuMark& m : StartupMenuMarks(shell.ctx->display, shell.ctx->useTray))
        CheckItem(GetMenu(main), m.item, m.checked);
}

void OnCommand(HWND main, WPARAM wParam, LPARAM lParam) {
    Shell& shell = TheShell();
    AppContext& ctx = *shell.ctx;
    UINT command = LOWORD(wParam);
    catalogue::GameProfile* p = CurrentProfile();
    HWND serverPane = ServerPaneOf(p);

    if (command == 0) {
        if (lParam && reinterpret_cast<HWND>(lParam) == shell.logoPicture)
            OpenWebSite();
        return;
    }
    if (auto mark = ToggleDisplayOption(command, ctx.display, *ctx.settings)) {
        ApplyMark(main, mark);
        return;
    }
    if (OnTrayCommand(main, command))
        return;
    if (command >= IDM_WEBLINK_FIRST && command <= IDM_WEBLINK_LAST) {
        OpenWebLink(command);
        return;
    }
    if (command > IDM_MOD_FIRST && command <= IDM_MOD_LAST) {
        ApplyFilterChoice(main, ChooseModFilter(command - IDM_MOD_FIRST, ctx.display, *ctx.settings));
        return;
    }
    if (command > IDM_GAMETYPE_FIRST && command <= IDM_GAMETYPE_LAST) {
        ApplyFilterChoice(main, ChooseGameTypeFilter(command - IDM_GAMETYPE_FIRST, ctx.display, *ctx.settings));
        return;
    }

    switch (command) {
        case IDM_EXIT:
            PostMessageA(main, WM_CLOSE, 0, 0);
            break;
        case IDM_GET_MASTER_LIST:
            SendMessageA(main, WM_APP_MASTERQUERY, 0, 0);
            break;
        case IDM_ABOUT:
            ShowAboutBox(main);
            break;
        case IDM_FEEDBACK:
            OpenFeedbackMail();
            break;
        case IDM_JOIN:
            SendToPane(serverPane, PM_JOIN_SELECTED, 0);
            break;
        case IDM_JOIN_SPECTATOR:
            SendToPane(serverPane, PM_JOIN_SELECTED, 1);
            break;
        case IDM_REFRESH_ALL:
            SendMessageA(main, WM_APP_REFRESH, kRefreshAll, 0);
            break;
        case IDM_REFRESH_SELECTED:
            SendMessageA(main, WM_APP_REFRESH, kRefreshSelected, 0);
            break;
        case IDM_REFRESH_FAVOURITES:
            SendMessageA(main, WM_APP_REFRESH, kRefreshFavourites, 0);
            break;
        case IDM_SERVER_INFO:
            SendMessageA(main, WM_APP_REFRESH, kRefreshServerInfo, 0);
            break;
        case IDM_WEBSITE:
            OpenWebSite();
            break;
        case IDM_ADD_SERVER:
            SendMessageA(main, WM_APP_ADDSERVER, 0, 0);
            break;
        case IDM_MONITOR_SERVER:
            SendMessageA(main, WM_APP_MONITOR, 0, 0);
            break;
        case IDM_REMOVE_SERVER:
            SendToPane(serverPane, PM_REMOVE_SELECTED_SERVERS);
            break;
        case IDM_COPY_TEXT:
            SendToPane(FocusedPane(), PM_COPY_SELECTED, 0);
            break;
        case IDM_COPY_IRC:
            SendToPane(FocusedPane(), PM_COPY_SELECTED, 1);
            break;
        case IDM_SELECT_ALL:
            SendToPane(FocusedPane(), PM_SELECT_ALL);
            break;
        case IDM_DESELECT_ALL:
            SendToPane(FocusedPane(), PM_DESELECT_ALL);
            break;
        case IDM_REMOVE_BUDDY:
            SendToPane(BuddyPaneOf(p), PM_REMOVE_SELECTED);
            break;
        case IDM_REMOTE_CONTROL:
            SendToPane(serverPane, PM_OPEN_RCON);
            break;
        case IDM_AUTO_REFRESH_SELECTED:
            SendToPane(serverPane, PM_TOGGLE_AUTO_REFRESH);
            break;
        case IDM_MARK_FAVOURITE:
            SendToPane(serverPane, PM_TOGGLE_FAVOURITE);
            break;
        case IDM_EDIT_PLAYER_CONFIG:
            SendToPane(serverPane, PM_EDIT_PLAYER_CONFIG);
            break;
        case IDM_STOP_REFRESH:
            if (shell.network)
                shell.network->RequestStop();
            break;
        case IDM_GAMETYPE_ALL:
            ApplyFilterChoice(main, ChooseGameTypeFilter(0, ctx.display, *ctx.settings));
            break;
        case IDM_MOD_ALL:
            ApplyFilterChoice(main, ChooseModFilter(0, ctx.display, *ctx.settings));
            break;
        case IDM_MINIMISE_TO_TRAY:
            ctx.useTray = !ctx.useTray;
            CheckItem(GetMenu(main), IDM_MINIMISE_TO_TRAY, ctx.useTray);
            ctx.settings->WriteIni(base::kIniFile, base::ini::kUseTray.section, base::ini::kUseTray.key, ctx.useTray ? "1" : "0");
            break;
        case IDM_FIND_PLAYER:
        case IDM_ADD_BUDDY:
        case IDM_GAME_SETUP:
        case IDM_COLOUR_PREFERENCES:
            if (shell.dialogs)
                shell.dialogs->Open(command);
            break;
        default:
            break;  // Import, Export and Ctrl+E have no action.
    }
}

}  // namespace app::win32
