// The main window on real Win32: layout numbers, splitters, tabs, start-up and closing.
#include <windows.h>

#include <commctrl.h>

#include "app/layout.h"
#include "app/win32/app_messages.h"
#include "app/win32/registry.h"
#include "app/win32/shell.h"
#include "base/file_io.h"
#include "catalogue/profiles.h"
#include "resources/resource.h"
#include "testing/win32/shell_fixture.h"

namespace {

using namespace app::win32;
using testing_support::ShellTest;

DWORD RegValue(const char* name) {
    DWORD v = 0xDEADBEEF;
    ReadRegDword(HKEY_CURRENT_USER, &v, base::kGeometryKey, name);
    return v;
}

void ExpectRect(const RECT& r, int x, int y, int w, int h, const char* what) {
    EXPECT_EQ(r.left, x) << what;
    EXPECT_EQ(r.top, y) << what;
    EXPECT_EQ(r.right - r.left, w) << what;
    EXPECT_EQ(r.bottom - r.top, h) << what;
}

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
    Shell& shell = TheShell();
    auto expect = [this](HWND window, const app::Rect& r, const char* what) {
        ExpectRect(ChildRect(window), r.x, r.y, r.width, r.height, what);
    };
    app::FixedLayout fixed = app::ComputeFixedLayout(800, 600);
    expect(shell.tab, fixed.tab, "tab");
    expect(shell.bannerBar, fixed.bannerBar, "BannerBar");
    views::win32::PaneSet panes = PanesOf(CurrentProfile());
    auto expectPanes = [&](const char* when) {
        app::PaneLayout l = app::ComputePaneLayout(800, 600, ctx.splitters);
        expect(panes.server, l.serverList, when);
        expect(panes.buddy, l.buddy, when);
        expect(panes.player, l.player, when);
    };
    expectPanes("start");
    EXPECT_TRUE(IsWindowVisible(panes.server));

    // A drag of the vertical bar far to the left stops at its clamp and moves the panes with it.
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(202, 200));
    SendMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 200));
    EXPECT_EQ(ctx.splitters.bars[0].position, app::ClampVerticalDrag(50, 800) - 2);
    expectPanes("dragging");
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(ctx.splitters.bars[0].position, 298);
    expectPanes("dropped");
    SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(500, 200));  // not dragging: nothing moves
    EXPECT_EQ(ctx.splitters.bars[0].position, 298);
    // The players' bar.
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 302));
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(50, 250));
    EXPECT_EQ(ctx.splitters.bars[1].position, 248);
    expectPanes("second bar");
}

TEST_F(MainWindowTest, TabChangeIsRefusedWhileBusyAndSwitchesPanesOtherwise) {
    WriteProfiles(folder.path(), {{"Elite", 0}, {"Quake", 1}});
    StartShell();
    Shell& shell = TheShell();
    ASSERT_EQ(SendMessageA(shell.tab, TCM_GETITEMCOUNT, 0, 0), 2);
    catalogue::GameProfile* first = CurrentProfile();
    NMHDR changing = {shell.tab, 0, static_cast<UINT>(TCN_SELCHANGING)};
    ctx.refreshBusy = true;
    EXPECT_EQ(SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changing)), TRUE);
    ctx.refreshBusy = false;
    EXPECT_EQ(SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changing)), FALSE);
    SendMessageA(shell.tab, TCM_SETCURSEL, 1, 0);
    NMHDR changed = {shell.tab, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
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
}

TEST_F(MainWindowTest, EachGameKeepsItsOwnModAndGameTypeFilter) {
    WriteProfiles(folder.path(), {{"Elite", 0}, {"Quake", 1}});
    StartShell();
    Shell& shell = TheShell();
    auto checked = [this](UINT item) { return (GetMenuState(GetMenu(main), item, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    auto selectTab = [&](int index) {
        NMHDR changing = {shell.tab, 0, static_cast<UINT>(TCN_SELCHANGING)};
        SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changing));
        SendMessageA(shell.tab, TCM_SETCURSEL, index, 0);
        NMHDR changed = {shell.tab, 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
    };
    SendMessageA(main, WM_COMMAND, IDM_MOD_FIRST + 6, 0);
    SendMessageA(main, WM_COMMAND, IDM_GAMETYPE_FIRST + 2, 0);
    ASSERT_EQ(ctx.display.ModFilter, 6u);
    // The other game has its own items: no filter there, and "All" is checked.
    selectTab(1);
    EXPECT_EQ(ctx.display.ModFilter, 0u);
    EXPECT_EQ(ctx.display.GameTypeFilter, 0u);
    EXPECT_TRUE(checked(IDM_MOD_ALL));
    EXPECT_TRUE(checked(IDM_GAMETYPE_ALL));
    // Back again, the first game's choice filters and is checked.
    selectTab(0);
    EXPECT_EQ(ctx.display.ModFilter, 6u);
    EXPECT_EQ(ctx.display.GameTypeFilter, 2u);
    EXPECT_TRUE(checked(IDM_MOD_FIRST + 6));
    EXPECT_FALSE(checked(IDM_MOD_ALL));
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

TEST_F(MainWindowTest, ClosingStoresGeometryTabStateProfilesAndClosesSocketsFirst) {
    StartShell();
    SetClientSize(700, 500);
    CloseShell();
    EXPECT_EQ(base::FileSize(folder.File("gamesets.vexar")), 756);
    EXPECT_TRUE(base::FileExists(folder.File("GS001.vexar")));
    EXPECT_TRUE(base::FileExists(folder.File("BL001.vexar")));
    EXPECT_EQ(RegValue("WSP"), 200u);
    EXPECT_EQ(RegValue("WSPSD"), 300u);
    EXPECT_EQ(RegValue("WSPPL"), 300u);
    EXPECT_NE(RegValue("WXY"), 0xDEADBEEFu);
    EXPECT_EQ(RegValue("WST"), DWORD(SW_SHOWNORMAL));
    char value[16];
    GetPrivateProfileStringA("games", "active", "", value, sizeof value, folder.File("vexar.ini").c_str());
    EXPECT_STREQ(value, "0");
    GetPrivateProfileStringA("window", "state", "", value, sizeof value, folder.File("vexar.ini").c_str());
    EXPECT_STREQ(value, "0");
    EXPECT_EQ(network.calls.back(), "close sockets");
}

TEST_F(MainWindowTest, AutoRefreshTimerRespectsBusyAndMinimisedState) {
    StartShell();
    network.calls.clear();
    SendMessageA(main, WM_TIMER, kTimerAutoRefresh, 0);
    ASSERT_EQ(network.calls.size(), 1u);
    EXPECT_EQ(network.calls[0], "refresh 3");
    ctx.refreshBusy = true;
    SendMessageA(main, WM_TIMER, kTimerAutoRefresh, 0);
    ctx.refreshBusy = false;
    ctx.windowState = 1;
    SendMessageA(main, WM_TIMER, kTimerAutoRefresh, 0);
    EXPECT_EQ(network.calls.size(), 1u);
    ctx.autoRefreshMinimised = true;
    SendMessageA(main, WM_TIMER, kTimerAutoRefresh, 0);
    EXPECT_EQ(network.calls.size(), 2u);
    SendMessageA(main, WM_TIMER, kTimerRefreshClose, 0);
    EXPECT_EQ(network.calls.back(), "timer 2");
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
