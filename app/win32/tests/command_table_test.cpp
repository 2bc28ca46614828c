// The command table against the program's own resources: every menu item, accelerator and toolbar
// button of the main window has a row, and the loaded menus, popup menus and toolbar are greyed as
// the state asks (nothing selected, a server selected, a refresh running).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/win32/commands/command_table.h"
#include "app/win32/frame/shell.h"
#include "catalogue/records.h"
#include "resources/resource.h"
#include "testing/win32/shell_fixture.h"
#include "views/win32/pane_messages.h"
#include "views/win32/tests/pane_test_support.h"

namespace {

using namespace app::win32;
using Ids = std::set<UINT>;

// The ids of a menu's items, pop-ups walked; with greyedOnly, the greyed ones.
void CollectItems(HMENU menu, bool greyedOnly, Ids& ids) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectItems(sub, greyedOnly, ids);
        } else if (UINT id = GetMenuItemID(menu, i); id != 0 && id != UINT(-1)) {
            if (!greyedOnly || (GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED))
                ids.insert(id);
        }
    }
}

Ids Greyed(HMENU menu) {
    Ids ids;
    CollectItems(menu, true, ids);
    return ids;
}

Ids IndeterminateButtons(HWND toolbar, Ids* all = nullptr) {
    Ids ids;
    for (int i = 0, n = int(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)); i < n; ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        if (b.idCommand && all)
            all->insert(b.idCommand);
        if (b.idCommand && (SendMessageA(toolbar, TB_GETSTATE, b.idCommand, 0) & TBSTATE_INDETERMINATE))
            ids.insert(b.idCommand);
    }
    return ids;
}

using CommandStatesTest = testing_support::ShellTest;

TEST_F(CommandStatesTest, EveryIdIsClassifiedAndMenusPopupsAndToolbarAreGreyedAsTheStateAsks) {
    StartShell();
    HINSTANCE module = GetModuleHandleA(nullptr);
    HWND toolbar = shell->toolbar;
    std::vector<UINT> menus;
    EnumResourceNamesA(
        nullptr, RT_MENU,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<UINT>*>(found)->push_back(UINT(reinterpret_cast<UINT_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&menus));
    // The other menus belong to the windows that open them, which handle their commands themselves.
    const Ids mainWindowMenus{IDR_MAINMENU, IDR_TRAYMENU, IDR_SERVER_MENU};
    const Ids ownMenus{IDR_LIST_PANE_MENU, IDR_SERVER_PROPERTIES_MENU, IDR_RCON_PLAYER_MENU, IDR_RCON_AUTOSTATUS_MENU};
    EXPECT_EQ(menus.size(), mainWindowMenus.size() + ownMenus.size());
    Ids ids;
    for (UINT menu : menus) {
        ASSERT_TRUE(mainWindowMenus.count(menu) || ownMenus.count(menu)) << "menu " << menu << " has no owner";
        HMENU loaded = LoadMenuA(module, MAKEINTRESOURCEA(menu));
        if (mainWindowMenus.count(menu))
            CollectItems(loaded, false, ids);
        DestroyMenu(loaded);
    }
    ACCEL keys[64];
    for (int i = 0, n = CopyAcceleratorTableA(shell->accelerators.get(), keys, 64); i < n; ++i)
        ids.insert(keys[i].cmd);
    IndeterminateButtons(toolbar, &ids);
    CollectItems(GetMenu(main), false, ids);  // with the web links and the game's filter items
    EXPECT_GT(ids.size(), 60u);
    for (UINT id : ids)
        EXPECT_NE(FindCommand(id), nullptr) << "command " << id << " is not in the command table";

    catalogue::GameProfile& profile = *CurrentProfile(*shell);
    catalogue::findOrCreateServer(profile.servers, catalogue::MakeServerTemplate("127.0.0.1", 27960));
    views::win32::PaneSet panes = PanesOf(*shell, &profile);
    ctx.display.ShowNoReply = 0xFFFFFFFF;  // the new server has not answered yet
    SendMessageA(panes.server, views::win32::PM_ADD_SERVER_ROW, 0, reinterpret_cast<LPARAM>(profile.servers.tail));
    const Ids idle{IDM_JOIN,
                   IDM_JOIN_SPECTATOR,
                   IDM_SERVER_INFO,
                   IDM_REMOTE_CONTROL,
                   IDM_MARK_FAVOURITE,
                   IDM_MONITOR_SERVER,
                   IDM_REMOVE_SERVER,
                   IDM_STOP_REFRESH,
                   IDM_EDIT_PLAYER_CONFIG,
                   IDM_REFRESH_SELECTED,
                   IDM_AUTO_REFRESH_SELECTED};
    const Ids idleButtons{IDM_JOIN, IDM_REMOVE_SERVER, IDM_REMOTE_CONTROL, IDM_REFRESH_SELECTED, IDM_STOP_REFRESH};
    EXPECT_EQ(std::pair(Greyed(GetMenu(main)), IndeterminateButtons(toolbar)), std::pair(idle, idleButtons));

    views_test::SelectRows(panes.serverList, {0});
    EXPECT_EQ(std::pair(Greyed(GetMenu(main)), IndeterminateButtons(toolbar)),
              std::pair(Ids{IDM_STOP_REFRESH}, Ids{IDM_STOP_REFRESH}));
    // Its context menu: no web site named; an Unreal Tournament server takes no remote control.
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_SERVER_MENU));
    shell->host.PrepareCommandMenu(GetSubMenu(menu, 0), {true, false, false});
    EXPECT_EQ(Greyed(menu), (Ids{IDM_SRV_REMOTE_CONTROL, IDM_SRV_OPEN_WEBSITE}));

    SetRefreshCommandsRunning(*shell, true);
    EXPECT_EQ(std::pair(Greyed(GetMenu(main)), IndeterminateButtons(toolbar)),
              std::pair(Ids{IDM_GET_MASTER_LIST, IDM_REFRESH_ALL, IDM_REFRESH_SELECTED, IDM_REFRESH_FAVOURITES},
                        Ids{IDM_GET_MASTER_LIST, IDM_REFRESH_ALL, IDM_REFRESH_SELECTED}));
    shell->host.PrepareCommandMenu(GetSubMenu(menu, 0), {true, true, true});
    EXPECT_EQ(Greyed(menu), (Ids{IDM_SRV_GET_MASTER_LIST, IDM_SRV_REFRESH_ALL, IDM_SRV_REFRESH_SELECTED,
                                 IDM_SRV_REFRESH_FAVOURITES}));
    DestroyMenu(menu);
    HMENU tray = LoadMenuA(module, MAKEINTRESOURCEA(IDR_TRAYMENU));
    ApplyCommandStates(tray, shell->commands);
    EXPECT_EQ(Greyed(tray), (Ids{IDM_TRAY_REFRESH, IDM_TRAY_REFRESH_FAVOURITES}));
    DestroyMenu(tray);

    // The refresh ends after the user deselected: back to nothing selected.
    SendMessageA(panes.server, views::win32::PM_DESELECT_ALL, 0, 0);
    SetRefreshCommandsRunning(*shell, false);
    EXPECT_EQ(std::pair(Greyed(GetMenu(main)), IndeterminateButtons(toolbar)), std::pair(idle, idleButtons));
}

}  // namespace
