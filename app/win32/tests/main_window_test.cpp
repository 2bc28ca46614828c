// The main window on real Win32: layout, splitters, tabs, start-up, timers, tray and closing (what the
// closed program stored is checked end to end).
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "app/layout.h"
#include "app/win32/app_messages.h"
#include "app/win32/shell.h"
#include "catalogue/profiles.h"
#include "resources/resource.h"
#include "testing/win32/shell_fixture.h"

namespace {

using namespace app::win32;
using testing_support::ShellTest;

// Writes a profile file with the given titles and kinds (file numbers 1, 2, ...).
void WriteProfiles(const std::string& folder, std::initializer_list<std::pair<const char*, uint32_t>> profiles) {
    catalogue::ProfileList list(folder, 0xC0C0C0);
    for (const auto& [title, kind] : profiles) {
        auto p = std::make_unique<catalogue::GameProfile>();
        snprintf(p->title, sizeof p->title, "%s", title);
        p->kind = kind;
        list.registerProfile(std::move(p), true, true);
    }
    list.saveProfiles();
}

using MainWindowTest = ShellTest;

TEST_F(MainWindowTest, ChildrenAndPanesSitWhereTheLayoutPutsThemAndFollowASplitterDrag) {
    // The numbers and clamps are the layout's (tested natively); here the windows follow them.
    StartShell();
    SetClientSize(800, 600);
    auto at = [this](HWND window) {
        RECT r = ChildRect(window);
        return app::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    app::FixedLayout fixed = app::ComputeFixedLayout(800, 600);
    EXPECT_EQ(std::pair(at(TheShell().tab), at(TheShell().bannerBar)), std::pair(fixed.tab, fixed.bannerBar));
    views::win32::PaneSet panes = PanesOf(CurrentProfile());
    EXPECT_TRUE(IsWindowVisible(panes.server));
    auto expectPanes = [&](const char* when) {
        app::PaneLayout l = app::ComputePaneLayout(800, 600, ctx.splitters);
        EXPECT_EQ((std::array<app::Rect, 3>{at(panes.server), at(panes.buddy), at(panes.player)}),
                  (std::array<app::Rect, 3>{l.serverList, l.buddy, l.player}))
            << when;
    };
    expectPanes("start");

    // A drag of the vertical bar far to the left stops at its clamp and moves the panes with it.
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(202, 200));
    SendMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 200));
    EXPECT_EQ(ctx.splitters.bars[0].position, app::ClampVerticalDrag(50, 800) - 2);
    expectPanes("dragging");
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(500, 200));  // not dragging: nothing moves
    EXPECT_EQ(ctx.splitters.bars[0].position, 298);
    expectPanes("dropped");
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 302));  // the players' bar
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(50, 250));
    EXPECT_EQ(ctx.splitters.bars[1].position, 248);
    expectPanes("second bar");
}

TEST_F(MainWindowTest, TabChangeIsRefusedWhileBusyAndSwitchesPanesAndFilterItemsOtherwise) {
    WriteProfiles(folder.path(), {{"Elite", 0}, {"Quake", 1}});
    StartShell();
    Shell& shell = TheShell();
    ASSERT_EQ(SendMessageA(shell.tab, TCM_GETITEMCOUNT, 0, 0), 2);
    auto checked = [this](UINT item) { return (GetMenuState(GetMenu(main), item, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    auto selectTab = [&](int index) {
        NMHDR changing = {shell.tab, 0, static_cast<UINT>(TCN_SELCHANGING)};
        if (SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changing)))
            return false;
        SendMessageA(shell.tab, TCM_SETCURSEL, index, 0);
        NMHDR changed = {shell.tab, 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
        return true;
    };
    catalogue::GameProfile* first = CurrentProfile();
    SendMessageA(main, WM_COMMAND, IDM_MOD_FIRST + 6, 0);
    SendMessageA(main, WM_COMMAND, IDM_GAMETYPE_FIRST + 2, 0);
    ctx.refreshBusy = true;
    EXPECT_FALSE(selectTab(1));
    ctx.refreshBusy = false;
    ASSERT_TRUE(selectTab(1));
    catalogue::GameProfile* second = CurrentProfile();
    ASSERT_NE(second, first);
    EXPECT_STREQ(second->title, "Quake");
    EXPECT_FALSE(IsWindowVisible(PanesOf(first).server));
    EXPECT_TRUE(IsWindowVisible(PanesOf(second).server));
    // Both new profiles had empty lists: two offers of a master query, answered No.
    EXPECT_EQ(std::count(sink.shown.begin(), sink.shown.end(),
                         "You don't have any servers to view,\nwould you like Vexar! to retrieve the\nMaster server "
                         "list?"),
              2);
    // Each game keeps its own filter: none in the other one, and "All" checked.
    EXPECT_EQ(std::pair(ctx.display.ModFilter, ctx.display.GameTypeFilter), std::pair(0u, 0u));
    EXPECT_TRUE(checked(IDM_MOD_ALL) && checked(IDM_GAMETYPE_ALL));
    selectTab(0);
    EXPECT_EQ(std::pair(ctx.display.ModFilter, ctx.display.GameTypeFilter), std::pair(6u, 2u));
    EXPECT_TRUE(checked(IDM_MOD_FIRST + 6) && !checked(IDM_MOD_ALL));
}

TEST_F(MainWindowTest, RememberedTabIsSelectedAndItsListsLoaded) {
    WriteProfiles(folder.path(), {{"A", 0}, {"B", 1}});
    WriteIni("games", "active", "1");
    StartShell();
    EXPECT_EQ(SendMessageA(TheShell().tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_STREQ(CurrentProfile()->title, "B");
    EXPECT_TRUE(CurrentProfile()->listsLoaded);
    EXPECT_FALSE(ctx.profiles->head()->listsLoaded);
}

TEST_F(MainWindowTest, AutoRefreshTimerRespectsBusyAndMinimisedStateAndTheSocketsCloseWithTheWindow) {
    StartShell();
    network.calls.clear();
    auto tick = [this] { SendMessageA(main, WM_TIMER, kTimerAutoRefresh, 0); };
    tick();
    ctx.refreshBusy = true;  // not while busy
    tick();
    ctx.refreshBusy = false;
    ctx.windowState = 1;  // nor while minimised, unless asked to
    tick();
    ctx.autoRefreshMinimised = true;
    tick();
    SendMessageA(main, WM_TIMER, kTimerRefreshClose, 0);
    EXPECT_EQ(network.calls, (std::vector<std::string>{"refresh 3", "refresh 3", "timer 2"}));
    CloseShell();  // the sockets close before anything is stored
    EXPECT_EQ(network.calls.back(), "close sockets");
}

TEST_F(MainWindowTest, MinimisingWithTrayHidesTheWindowWithoutTrayKeepsIt) {
    WriteIni("WINDOW", "USETRAY", "1");
    StartShell();
    ASSERT_TRUE(ctx.useTray);
    ShowWindow(main, SW_MINIMIZE);
    Pump();
    EXPECT_EQ(ctx.windowState, 1);
    EXPECT_FALSE(IsWindowVisible(main));
    SendMessageA(main, WM_APP_TRAY, 107, WM_LBUTTONDOWN);
    Pump();
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(ctx.windowState, 0);

    SendMessageA(main, WM_COMMAND, IDM_MINIMISE_TO_TRAY, 0);
    EXPECT_FALSE(ctx.useTray);
    ShowWindow(main, SW_MINIMIZE);
    Pump();
    EXPECT_EQ(ctx.windowState, 1);
    EXPECT_TRUE(IsWindowVisible(main));
}

}  // namespace
