// Command dispatch of the main window.
#include "app/win32/commands/commands.h"

#include "app/win32/commands/command_table.h"
#include "app/win32/commands/filter_menu.h"
#include "app/win32/commands/game_setup.h"
#include "app/win32/commands/weblinks.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/banner_bar.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tabs.h"
#include "app/win32/frame/tray.h"
#include "app/win32/settings/network_preferences.h"
#include "app/win32/settings/saves.h"
#include "base/file_io.h"
#include "base/settings_index.h"
#include "resources/resource.h"
#include "views/colour_scheme.h"
#include "views/win32/colour_scheme_dialog.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

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

void OnShellCommand(Shell& shell, UINT command) {
    HWND main = shell.main;
    AppContext& ctx = *shell.ctx;
    switch (command) {
        case IDM_ABOUT:
            ShowAboutBox(shell.instance, main);
            break;
        case IDM_FEEDBACK:
            OpenFeedbackMail(shell);
            break;
        case IDM_WEBSITE:
            OpenWebSite(shell);
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
        default:
            OnTrayCommand(shell, command);
            break;
    }
}

}  // namespace

HWND FocusedPane(Shell& shell) {
    PaneSet p = PanesOf(shell, CurrentProfile(shell));
    HWND focus = GetFocus();
    if (!focus)
        return nullptr;
    if (focus == p.serverList)
        return p.server;
    if (focus == p.buddyList)
        return p.buddy;
    if (focus == p.playerList)
        return p.player;
    return nullptr;
}

void SetStartupMenuMarks(Shell& shell) {
    for (const MenuMark& m : StartupMenuMarks(shell.ctx->display, shell.ctx->useTray))
        CheckItem(GetMenu(shell.main), m.item, m.checked);
}

void OnCommand(Shell& shell, WPARAM wParam, LPARAM lParam) {
    HWND main = shell.main;
    AppContext& ctx = *shell.ctx;
    UINT command = LOWORD(wParam);
    if (command == 0) {
        // The logo's click; the second click of a double-click comes as STN_DBLCLK and opens nothing.
        if (lParam && reinterpret_cast<HWND>(lParam) == shell.logoPicture && HIWORD(wParam) == STN_CLICKED)
            OpenWebSite(shell);
        return;
    }
    const CommandRow* row = FindCommand(command);
    if (!row)
        return;  // not one of the main window's commands
    switch (row->kind) {
        case CommandKind::kRouted:
        case CommandKind::kDialog:
            RouteCommand(shell, command);
            break;
        case CommandKind::kToggle:
            if (auto mark = ToggleDisplayOption(command, ctx.display, *ctx.settings)) {
                ApplyMark(main, mark);
            } else if (command == IDM_MINIMISE_TO_TRAY) {
                ctx.useTray = !ctx.useTray;
                CheckItem(GetMenu(main), IDM_MINIMISE_TO_TRAY, ctx.useTray);
                base::WriteIniFlag(*ctx.settings, base::ini::kUseTray, ctx.useTray);
            } else {
                OnTrayCommand(shell, command);
            }
            break;
        case CommandKind::kRange:
            if (command >= IDM_WEBLINK_FIRST && command <= IDM_WEBLINK_LAST)
                OpenWebLink(shell, command);
            else if (command > IDM_MOD_FIRST && command <= IDM_MOD_LAST)
                ApplyFilterChoice(main, ChooseModFilter(command - IDM_MOD_FIRST, ctx.display, *ctx.settings));
            else
                ApplyFilterChoice(main, ChooseGameTypeFilter(command - IDM_GAMETYPE_FIRST, ctx.display, *ctx.settings));
            break;
        case CommandKind::kShell:
            OnShellCommand(shell, command);
            break;
        case CommandKind::kInert:
            break;  // Import, Export and Ctrl+E have no action.
    }
}

namespace {

void OpenColourScheme(Shell& shell, catalogue::GameProfile& profile) {
    views::win32::ColourSchemeRequest request{
        profile, {}, base::JoinPath(shell.ctx->installFolder, views::kSchemeFolder)};
    for (const auto& each : shell.ctx->profiles->profiles())
        request.allProfiles.push_back(each.get());
    if (views::win32::RunColourSchemeDialog(shell.host, request) == IDOK)
        NoteStoredChange(shell, 0, catalogue::StoredFile::kProfiles);
}

}  // namespace

void OpenShellDialog(Shell& shell, UINT command) {
    catalogue::GameProfile* profile = CurrentProfile(shell);
    switch (command) {
        case IDM_FIND_PLAYER:
            if (profile)
                RunFindPlayer(shell.host, *profile);
            break;
        case IDM_ADD_BUDDY:
            if (profile)
                RunAddBuddy(shell.host, *profile);
            break;
        case IDM_COLOUR_PREFERENCES:
            if (profile)
                OpenColourScheme(shell, *profile);
            break;
        case IDM_NETWORK_PREFERENCES:
            RunNetworkPreferences(shell.instance, shell.main, *shell.ctx->settings);
            break;
        case IDM_GAME_SETUP:
            // The profiles are tabs of the main window: the shell sets them up itself.
            showInstalledGames(shell);
            break;
        default:
            if (shell.dialogs)
                shell.dialogs->Open(shell, command);
            break;
    }
}

}  // namespace app::win32
