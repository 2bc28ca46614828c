// The program's shell on real Win32 (under Wine): the main window (the command table with one command
// of each kind of target, display toggles, filter items, web links, layout and splitters, tabs, start-up,
// timers, the tray and closing), registry and INI access, and the network parts it drives (the master
// query and the version check). What the closed program stored, the asynchronous sockets and whole
// refresh cycles are checked end to end.
#include <windows.h>
#include <winsock2.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>

#include "app/layout.h"
#include "app/startup_settings.h"
#include "app/win32/commands/filter_menu.h"
#include "app/win32/commands/weblinks.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tray.h"
#include "app/win32/network/network_glue.h"
#include "app/win32/settings/registry.h"
#include "app/win32/settings/win32_settings.h"
#include "catalogue/profiles.h"
#include "net/win32/socket_owner.h"
#include "resources/resource.h"
#include "testing/temp_folder.h"
#include "testing/win32/dialog_script.h"
#include "testing/win32/shell_fixture.h"
#include "views/win32/pane_messages.h"

namespace {

using namespace app::win32;
using namespace views::win32;
using testing_support::PrivateMessages;
using testing_support::RecordMessages;
using testing_support::ShellTest;
using namespace app;

using Message = std::pair<UINT, WPARAM>;

class CommandsTest : public ShellTest {
  protected:
    void Start() {
        StartShell();
        ASSERT_NE(CurrentProfile(*shell), nullptr);
        panes = PanesOf(*shell, CurrentProfile(*shell));
        for (HWND pane : {panes.server, panes.buddy, panes.player})
            RecordMessages(pane);
        network.calls.clear();
    }
    void Command(UINT id) { SendMessageA(main, WM_COMMAND, id, 0); }
    bool Checked(UINT item) { return (GetMenuState(GetMenu(main), item, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    // The single private message a pane received since the last call.
    Message LastPaneMessage(HWND pane) {
        auto messages = PrivateMessages(pane);
        testing_support::RecordedFor(pane).clear();
        return messages.size() == 1 ? Message(messages[0].message, messages[0].wParam) : Message(0, 0);
    }
    std::string Ini(const char* section, const char* key) {
        char value[64] = "";
        GetPrivateProfileStringA(section, key, "", value, sizeof value, folder.File("vexar.ini").c_str());
        return value;
    }
    PaneSet panes;
};

TEST_F(CommandsTest, CommandsReachThePanesTheNetworkPartsAndTheDialogs) {
    Start();
    Command(IDM_JOIN_SPECTATOR);
    EXPECT_EQ(LastPaneMessage(panes.server), Message(PM_JOIN_SELECTED, 1));
    Command(IDM_REMOVE_BUDDY);
    EXPECT_EQ(LastPaneMessage(panes.buddy), Message(PM_REMOVE_SELECTED, 0));
    // Edit commands go to the focused pane only; from the server list's context menu to that list.
    SetFocus(panes.playerList);
    Command(IDM_COPY_IRC);
    EXPECT_EQ(LastPaneMessage(panes.player), Message(PM_COPY_SELECTED, 1));
    SetFocus(panes.buddyList);
    Command(IDM_SELECT_ALL);
    EXPECT_EQ(LastPaneMessage(panes.buddy), Message(PM_SELECT_ALL, 0));
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_COPY_TEXT, 0);
    EXPECT_EQ(LastPaneMessage(panes.server), Message(PM_COPY_SELECTED, 0));
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_OPEN_WEBSITE, 0);
    EXPECT_EQ(LastPaneMessage(panes.server), Message(PM_OPEN_WEBSITE, 0));
    SetFocus(shell->tab);
    Command(IDM_COPY_IRC);
    for (HWND pane : {panes.server, panes.buddy, panes.player})
        EXPECT_TRUE(PrivateMessages(pane).empty());

    for (UINT id : {IDM_REFRESH_FAVOURITES, IDM_GET_MASTER_LIST, IDM_STOP_REFRESH, IDM_TRAY_REFRESH})
        Command(id);
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_SERVER_INFO, 0);
    EXPECT_EQ(network.calls, (std::vector<std::string>{"refresh 5", "master", "stop", "refresh 0", "refresh 6"}));
    Command(IDM_ADD_SERVER);
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_MONITOR, 0);
    EXPECT_EQ(dialogs.opened, (std::vector<UINT>{IDM_ADD_SERVER, IDM_MONITOR_SERVER}));
    // The shell's own dialogs, from the main menu and the server list's menu.
    for (auto [window, command, caption] : {std::tuple{main, IDM_GAME_SETUP, "Installed Game(s)"},
                                            {panes.server, IDM_SRV_COLOUR_PREFERENCES, "Game Colour Scheme"},
                                            {main, IDM_NETWORK_PREFERENCES, "Network Preferences"}}) {
        testing_support::RunDialogScript([&] { SendMessageA(window, WM_COMMAND, command, 0); },
                                         [&](HWND dialog) {
                                             char shown[64] = "";
                                             GetWindowTextA(dialog, shown, sizeof shown);
                                             EXPECT_STREQ(shown, caption);
                                         });
    }
    // The menu asks the server list about the selected server when it opens.
    testing_support::RecordedFor(panes.server).clear();
    SendMessageA(main, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(main)), 0);
    auto asked = PrivateMessages(panes.server);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(std::pair(asked[0].message, asked[1].message),
              std::pair(UINT(PM_QUERY_FAVOURITE), UINT(PM_QUERY_AUTO_REFRESH)));
}

TEST_F(CommandsTest, TogglesMarkTheirItemsRedisplayTheListAndTrayOptionsGoToTheIni) {
    Start();
    ASSERT_TRUE(Checked(IDM_SHOW_EMPTY));
    Command(IDM_SHOW_EMPTY);
    EXPECT_EQ(std::pair(ctx.display.HideEmpty, Checked(IDM_SHOW_EMPTY)), std::pair(1u, false));
    auto messages = PrivateMessages(panes.server);  // the list is filled and sorted again
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(std::pair(messages.front().message, messages.back().message), std::pair(UINT(PM_CLEAR), UINT(PM_RESORT)));
    Command(IDM_SHOW_EMPTY);
    EXPECT_EQ(std::pair(ctx.display.HideEmpty, Checked(IDM_SHOW_EMPTY)), std::pair(0u, true));

    Command(IDM_TRAY_AUTO_REFRESH);
    Command(IDM_MINIMISE_TO_TRAY);
    EXPECT_TRUE(ctx.autoRefreshMinimised && ctx.useTray && Checked(IDM_MINIMISE_TO_TRAY));
    EXPECT_EQ(Ini("TRAY", "AUTOREFRESH") + Ini("WINDOW", "USETRAY"), "11");
}

TEST_F(CommandsTest, TheGamesModAndGameTypeItemsAreListedAndChoosingOneFilters) {
    Start();
    HMENU mods = ModMenu(GetMenu(main));
    ASSERT_NE(mods, nullptr);
    // "All", a separator, then the six Elite Force mods, each inserted at position 2.
    EXPECT_EQ(std::tuple(GetMenuItemCount(mods), GetMenuItemID(mods, 2), GetMenuItemID(mods, 7)),
              std::tuple(8, UINT(IDM_MOD_FIRST + 6), UINT(IDM_MOD_FIRST + 1)));
    EXPECT_TRUE(Checked(IDM_MOD_ALL));
    Command(IDM_MOD_FIRST + 6);
    EXPECT_EQ(ctx.display.ModFilter, 6u);
    EXPECT_TRUE(Checked(IDM_MOD_FIRST + 6) && !Checked(IDM_MOD_ALL));
    EXPECT_EQ(ctx.settings->ReadDword(base::kRegistryKey, "FSMD"), std::optional<uint32_t>(6));
    Command(IDM_MOD_ALL);
    EXPECT_TRUE(Checked(IDM_MOD_ALL) && !Checked(IDM_MOD_FIRST + 6));
    Command(IDM_GAMETYPE_FIRST + 4);
    EXPECT_TRUE(Checked(IDM_GAMETYPE_FIRST + 4));
    EXPECT_EQ(GetMenuState(GetMenu(main), IDM_GAMETYPE_FIRST + 5, MF_BYCOMMAND), UINT(-1));  // four game types
}

std::vector<std::string> g_opened;

TEST_F(CommandsTest, WebLinksEndAtTheFirstGapAndOpenOnlyWebAddressesAndTheLogoOpensTheSiteOnce) {
    // A link named "-" is a separator; the one after the gap is not read.
    for (auto [n, name, url] : {std::tuple("000", "Link zero", "http://127.0.0.1/0"),
                                {"001", "-", "-"},
                                {"002", "Link two", "http://127.0.0.1/2"},
                                {"003", "A program", "C:\\windows\\notepad.exe"},
                                {"005", "After", "http://127.0.0.1/5"}}) {
        WriteIni("weblinks", (std::string("urlmenuname") + n).c_str(), name);
        WriteIni("weblinks", (std::string("url") + n).c_str(), url);
    }
    Start();
    HMENU links = GetSubMenu(GetMenu(main), 4);
    ASSERT_EQ(GetMenuItemCount(links), 6);
    char text[64];
    GetMenuStringA(links, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Vexar! Website");
    GetMenuStringA(links, 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Link two");
    EXPECT_EQ(std::pair(GetMenuItemID(links, 3), GetMenuItemID(links, 5)),
              std::pair(UINT(IDM_WEBLINK_FIRST + 2), UINT(IDM_WEBLINK_FIRST)));
    for (int separator : {1, 4})
        EXPECT_EQ(GetMenuState(links, separator, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR)) << separator;
    EXPECT_EQ(GetMenuState(links, IDM_WEBLINKS_PLACEHOLDER, MF_BYCOMMAND), UINT(-1));
    // The program is greyed and, chosen all the same, not opened.
    EXPECT_TRUE((GetMenuState(links, 2, MF_BYPOSITION) & MF_GRAYED) && GetMenuState(links, 3, MF_BYPOSITION) == 0);
    g_opened.clear();
    SetTargetOpener([](const std::string& target) { g_opened.push_back(target); });
    Command(IDM_WEBLINK_FIRST + 3);
    Command(IDM_WEBLINK_FIRST + 2);
    // The logo opens the web site once per double-click.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageA(shell->logoPicture, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    Pump();
    SetTargetOpener(nullptr);
    EXPECT_EQ(g_opened, (std::vector<std::string>{"http://127.0.0.1/2", ctx.endpoints.webSite}));
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

using MainWindowTest = CommandsTest;

TEST_F(MainWindowTest, ChildrenAndPanesSitWhereTheLayoutPutsThemAndFollowASplitterDrag) {
    // The numbers and clamps are the layout's (tested natively); here the windows follow them.
    StartShell();
    SetClientSize(800, 600);
    auto at = [this](HWND window) {
        RECT r = ChildRect(window);
        return app::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    app::FixedLayout fixed = app::ComputeFixedLayout(800, 600);
    EXPECT_EQ(std::pair(at(shell->tab), at(shell->bannerBar)), std::pair(fixed.tab, fixed.bannerBar));
    views::win32::PaneSet panes = PanesOf(*shell, CurrentProfile(*shell));
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
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 302));  // the players' bar, not the second
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(50, 250));
    EXPECT_EQ(std::pair(ctx.splitters.bars[2].position, ctx.splitters.bars[1].position), std::pair(248, 300));
    expectPanes("players' bar");
    // A drag whose capture is taken (a box opening mid-drag) ends there.
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
    ReleaseCapture();
    SendMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 200));
    EXPECT_EQ(ctx.splitters.bars[0].position, 298);
}

TEST_F(MainWindowTest, StoredSplittersBeyondTheWindowAndAShrinkingWindowKeepTheBarsWithinReach) {
    WriteRegDword(HKEY_CURRENT_USER, 5000, base::kRegistryKey, "WSP");
    WriteRegDword(HKEY_CURRENT_USER, 0xFFFFFFF0, base::kRegistryKey, "WSPPL");
    StartShell();
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(std::pair(ctx.splitters.bars[0].position, ctx.splitters.bars[2].position),
              std::pair(app::ClampVerticalDrag(5002, client.right) - 2, 110));
    SetClientSize(500, 400);
    EXPECT_EQ(ctx.splitters.bars[0].position, 478);
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 112));
    SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(50, 242));
    SetClientSize(500, 300);  // the players' bar moves up with the bottom edge
    EXPECT_EQ(ctx.splitters.bars[2].position, 148);
    RECT player = ChildRect(PanesOf(*shell, CurrentProfile(*shell)).player);
    EXPECT_EQ(std::pair(player.top, player.bottom), std::pair(152L, 200L));
    CloseShell();
    EXPECT_EQ(std::pair(ctx.settings->ReadDword(base::kRegistryKey, "WSP"),
                        ctx.settings->ReadDword(base::kRegistryKey, "WSPPL")),
              std::pair(std::optional<uint32_t>(478), std::optional<uint32_t>(148)));
}

TEST_F(MainWindowTest, TabChangeIsRefusedWhileBusyAndSwitchesPanesAndFilterItemsOtherwise) {
    WriteProfiles(folder.path(), {{"Elite", 0}, {"Quake", 1}});
    StartShell();
    ASSERT_EQ(SendMessageA(shell->tab, TCM_GETITEMCOUNT, 0, 0), 2);
    auto selectTab = [&](int index) {
        NMHDR changing = {shell->tab, 0, static_cast<UINT>(TCN_SELCHANGING)};
        if (SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changing)))
            return false;
        SendMessageA(shell->tab, TCM_SETCURSEL, index, 0);
        NMHDR changed = {shell->tab, 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
        return true;
    };
    catalogue::GameProfile* first = CurrentProfile(*shell);
    Command(IDM_MOD_FIRST + 6);
    Command(IDM_GAMETYPE_FIRST + 2);
    ctx.refreshBusy = true;
    EXPECT_FALSE(selectTab(1));
    ctx.refreshBusy = false;
    ASSERT_TRUE(selectTab(1));
    catalogue::GameProfile* second = CurrentProfile(*shell);
    ASSERT_NE(second, first);
    EXPECT_STREQ(second->title, "Quake");
    EXPECT_FALSE(IsWindowVisible(PanesOf(*shell, first).server));
    EXPECT_TRUE(IsWindowVisible(PanesOf(*shell, second).server));
    // Both new profiles had empty lists: two offers of a master query, answered No.
    EXPECT_EQ(std::count(sink.shown.begin(), sink.shown.end(),
                         "You don't have any servers to view,\nwould you like Vexar! to retrieve the\nMaster server "
                         "list?"),
              2);
    // Each game keeps its own filter: none in the other one, and "All" checked.
    EXPECT_EQ(std::pair(ctx.display.ModFilter, ctx.display.GameTypeFilter), std::pair(0u, 0u));
    EXPECT_TRUE(Checked(IDM_MOD_ALL) && Checked(IDM_GAMETYPE_ALL));
    selectTab(0);
    EXPECT_EQ(std::pair(ctx.display.ModFilter, ctx.display.GameTypeFilter), std::pair(6u, 2u));
    EXPECT_TRUE(Checked(IDM_MOD_FIRST + 6) && !Checked(IDM_MOD_ALL));
}

TEST_F(MainWindowTest, RememberedTabIsSelectedAndItsListsLoaded) {
    WriteProfiles(folder.path(), {{"A", 0}, {"B", 1}});
    WriteIni("games", "active", "1");
    StartShell();
    EXPECT_EQ(SendMessageA(shell->tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_STREQ(CurrentProfile(*shell)->title, "B");
    EXPECT_TRUE(CurrentProfile(*shell)->listsLoaded);
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
    // A second start leaves a maximised window maximised, and brings a hidden one back without
    // its tray icon.
    ShowWindow(main, SW_MAXIMIZE);
    ShowFirstCopy(main);
    Pump();
    EXPECT_TRUE(IsZoomed(main));
    ShowWindow(main, SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(shell->trayIconShown && !IsWindowVisible(main));
    ShowFirstCopy(main);
    Pump();
    EXPECT_TRUE(IsWindowVisible(main) && IsZoomed(main));
    EXPECT_FALSE(shell->trayIconShown);
    ShowWindow(main, SW_RESTORE);

    Command(IDM_MINIMISE_TO_TRAY);
    EXPECT_FALSE(ctx.useTray);
    ShowWindow(main, SW_MINIMIZE);
    Pump();
    EXPECT_EQ(ctx.windowState, 1);
    EXPECT_TRUE(IsWindowVisible(main));
}

struct WinsockSession {
    WinsockSession() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 0), &wsa);
    }
    ~WinsockSession() { WSACleanup(); }
};

// A version server on 127.0.0.1:2048 answering one connection from a thread of its own; it keeps what
// it was asked.
class VersionServer {
  public:
    explicit VersionServer(std::string answer) : socket_(socket(AF_INET, SOCK_STREAM, 0)) {
        const SOCKET listening = socket_.get();
        sockaddr_in a = {AF_INET, htons(2048)};
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        BOOL yes = TRUE;
        setsockopt(listening, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
        bound = bind(listening, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(listening, 1) == 0;
        thread_ = std::thread([this, listening, answer] {
            net::win32::OwnedSocket c(accept(listening, nullptr, nullptr));
            if (!c)
                return;
            char text[16];
            int n = recv(c.get(), text, sizeof text, 0);
            request = std::string(text, n > 0 ? n : 0);
            send(c.get(), answer.data(), static_cast<int>(answer.size()), 0);
            Sleep(200);
        });
    }
    ~VersionServer() {
        socket_.Reset();  // ends a wait in accept
        thread_.join();
    }
    bool bound = false;
    std::string request;

  private:
    net::win32::OwnedSocket socket_;
    std::thread thread_;
};

class NetworkTest : public ShellTest {
  protected:
    WinsockSession winsock;
    app::win32::Network realNetwork;
};

TEST_F(NetworkTest, AMasterNameThatDoesNotResolveIsToldWithoutBlockingTheWindowAndWindsDown) {
    attachedNetwork = &realNetwork;
    StartShell();
    catalogue::GameProfile* p = app::win32::CurrentProfile(*shell);
    snprintf(p->masterAddress, sizeof p->masterAddress, "master.invalid");
    SendMessageA(main, app::win32::WM_APP_MASTERQUERY, 0, 0);
    EXPECT_TRUE(ctx.refreshBusy);  // the lookup goes on while the window takes its messages
    for (DWORD start = GetTickCount(); ctx.refreshBusy && GetTickCount() - start < 12000; Sleep(10))
        Pump();
    EXPECT_FALSE(ctx.refreshBusy);
    Pump();  // the message comes once the handler that wound the query down is over
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown.back(), "Could not find the master server \"master.invalid\"!");
}

TEST_F(NetworkTest, TheLookupTimeOutIsToldOnlyOnceTheQueryHasWoundDown) {
    attachedNetwork = &realNetwork;
    StartShell();
    catalogue::GameProfile* p = app::win32::CurrentProfile(*shell);
    snprintf(p->masterAddress, sizeof p->masterAddress, "master.invalid");
    catalogue::findOrCreateServer(p->servers, catalogue::MakeServerTemplate("127.0.0.1", 9));  // a refresh could follow
    // The box's modal loop: the master query's timers still armed fire (KillTimer tells which).
    std::vector<std::string> inside;
    sink.During("Could not find the master server \"master.invalid\"!", [&](HWND) {
        for (UINT_PTR id : {app::win32::kTimerMasterAttempt, app::win32::kTimerMasterBatch}) {
            if (KillTimer(main, id)) {
                inside.push_back("timer " + std::to_string(id));
                SendMessageA(main, WM_TIMER, id, 0);
            }
        }
        inside.push_back(ctx.refreshBusy ? "busy" : "idle");
    });
    SendMessageA(main, app::win32::WM_APP_MASTERQUERY, 0, 0);
    ASSERT_TRUE(ctx.refreshBusy);
    SendMessageA(main, WM_TIMER, app::win32::kTimerMasterAttempt, 0);  // ten seconds of lookup
    EXPECT_TRUE(inside.empty());                                       // the message waits for the handler's end
    Pump();
    EXPECT_EQ(inside, std::vector<std::string>{"idle"});
    EXPECT_FALSE(ctx.refreshBusy);
}

TEST_F(NetworkTest, VersionCheckAsksTheVersionServerAndOffersTheDownloadOfAnotherVersion) {
    // Which answers offer it is the judgement's rule (tested natively).
    WriteIni("endpoints", "versionserver", "127.0.0.1");
    VersionServer server("1.9");
    ASSERT_TRUE(server.bound);
    attachedNetwork = &realNetwork;
    StartShell();
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1500; Sleep(10))
        Pump();
    EXPECT_EQ(server.request, "getver");
    EXPECT_NE(std::find(sink.shown.begin(), sink.shown.end(),
                        "Version 1.9 of Vexar! is now available,\nwould you like to download it now?"),
              sink.shown.end());
}

}  // namespace
