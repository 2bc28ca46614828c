// The server list pane on real Win32: rows, sorting, selection, commands, removal, columns and replies.
// Cell texts, filters and orders are the model's (tested natively); here the list control follows them.
#include "views/win32/server_pane.h"
#include "resources/resource.h"
#include "views/list_pane.h"
#include "views/server_columns.h"
#include "views/server_sort.h"
#include "views/win32/panes.h"
#include "views/win32/tests/pane_test_support.h"

namespace views_test {
namespace {

using namespace views;
using testing_support::PrivateMessages;
using testing_support::RecordMessages;
using Records = std::vector<LPARAM>;
using Texts = std::vector<std::string>;

// The records named by the given private message that a pane received.
Records Received(HWND pane, UINT message) {
    Records records;
    for (const auto& m : PrivateMessages(pane)) {
        if (m.message == message)
            records.push_back(m.lParam);
    }
    return records;
}

LPARAM L(const void* p) {
    return reinterpret_cast<LPARAM>(p);
}

class ServerPaneTest : public PaneTest {
  protected:
    // n rows 10.0.0.1, 10.0.0.2, ...
    std::vector<catalogue::ServerRecord*> Rows(int n) {
        std::vector<catalogue::ServerRecord*> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back(AddRow(("10.0.0." + std::to_string(i)).c_str()));
        return rows;
    }
    Texts Addresses() { return ColumnTexts(serverList, kColumnAddress); }
};

TEST_F(ServerPaneTest, RowsShowTheModelsTextsFollowChangesAndHandThePlayersOn) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1", "^1Alpha", 40);
    catalogue::ServerRecord* b = NewServer("10.0.0.2", 27961);
    base::CopyText(b->mapName, "q3dm17");
    b->isFavourite = 1;
    b->privateSlots = 2;
    Send(serverPane, PM_ADD_SERVER_ROW, 0, b);
    Send(serverPane, PM_ADD_SERVER_ROW, 0, a);  // a record never gets a second row
    ASSERT_EQ(RowCount(serverList), 2);
    for (int c = 0; c < kServerColumnCount; ++c)
        EXPECT_EQ(CellText(serverList, 1, c), ServerCellText(*b, c)) << c;

    RecordMessages(playerPane);
    b->ping = 300;
    Send(serverPane, PM_SERVER_CHANGED, 0, b);
    EXPECT_EQ(CellText(serverList, 1, kColumnPing), "300");
    b->ping = catalogue::kNoPing;  // no reply: the row goes (rows going are the drawing tests')
    Send(serverPane, PM_SERVER_CHANGED, 0, a);
    Send(serverPane, PM_SERVER_CHANGED, 0, b);
    EXPECT_EQ(Addresses(), Texts{"10.0.0.1:27960"});
    // Every change that keeps a row hands the players on; a deleted row does not.
    EXPECT_EQ(Received(playerPane, PM_SERVER_PLAYERS), (Records{L(b), L(a)}));
    Send(serverPane, PM_CLEAR);
    EXPECT_EQ(std::pair(RowCount(serverList), profile->servers.count), std::pair(0, 2u));
}

TEST_F(ServerPaneTest, MarkedAndRemovedServersAreTakenOffTheOtherPanesFirst) {
    Start();
    auto r = Rows(5);
    catalogue::ServerRecord* hidden = NewServer("10.0.0.9");
    hidden->ping = catalogue::kNoPing;
    Send(serverPane, PM_ADD_SERVER_ROW, 0, hidden);
    RecordMessages(buddyPane);
    RecordMessages(playerPane);
    // Marked for a refresh: the selection, or its first row (the count is the selection's).
    r[0]->awaitingReply = r[1]->awaitingReply = 1;
    SelectRows(serverList, {0, 2});
    EXPECT_EQ(Send(serverPane, PM_MARK_SELECTED_FOR_REFRESH), 2);
    EXPECT_EQ(std::tuple(r[0]->refreshPending, r[0]->awaitingReply, r[1]->refreshPending, r[1]->awaitingReply,
                         r[2]->refreshPending),
              std::tuple(1u, 0u, 0u, 1u, 1u));
    r[0]->refreshPending = r[2]->refreshPending = 0;
    SelectRows(serverList, {1, 2});
    EXPECT_EQ(Send(serverPane, PM_MARK_FIRST_FOR_REFRESH), 2);
    EXPECT_EQ(std::pair(r[1]->refreshPending, r[2]->refreshPending), std::pair(1u, 0u));

    // A stale server goes with its row; a filtered-out record has no row: it stays and nobody is told.
    SelectRows(serverList, {});
    Send(serverPane, PM_REMOVE_SERVER, 0, r[0]);
    Send(serverPane, PM_REMOVE_SERVER, 0, hidden);
    EXPECT_EQ(std::pair(profile->servers.count, profile->servers.head), std::pair(5u, r[1]));
    Send(serverPane, PM_REMOVE_SELECTED_SERVERS);
    EXPECT_EQ(fake->sink.shown, Texts{kNothingSelectedMessage});
    SelectRows(serverList, {0, 2});
    Send(serverPane, PM_REMOVE_SELECTED_SERVERS);
    EXPECT_EQ(Addresses(), (Texts{"10.0.0.3:27960", "10.0.0.5:27960"}));
    EXPECT_EQ(std::pair(profile->servers.count, Selected(serverList).size()), std::pair(3u, size_t(0)));
    EXPECT_FALSE(fake->selection.selected);  // the server commands grey
    for (HWND pane : {buddyPane, playerPane})
        EXPECT_EQ(Received(pane, PM_SERVER_REMOVED), (Records{L(r[0]), L(r[2]), L(r[1]), L(r[0]), L(r[1]), L(r[3])}));

    // The Delete key removes too, but not while a refresh runs: its worker walks the list.
    SelectRows(serverList, {1});
    fake->refreshBusy = true;
    KeyDown(serverPane, serverList, VK_DELETE);
    EXPECT_EQ(RowCount(serverList), 2);
    fake->refreshBusy = false;
    KeyDown(serverPane, serverList, VK_DELETE);
    EXPECT_EQ(Addresses(), Texts{"10.0.0.3:27960"});
}

TEST_F(ServerPaneTest, ColumnClicksSortTheRowsMoveTheHeaderImagesAndKeepTheSelection) {
    Start();
    AddRow("10.0.0.3", "^1Charlie", 300);
    AddRow("10.0.0.1", "Alpha", 20);
    AddRow("10.0.0.2", "bravo", 100);
    SelectRows(serverList, {1});
    ColumnClick(serverPane, serverList, kColumnPing);
    EXPECT_EQ(HeaderImage(serverList, kColumnPing), kImageAscending);
    ColumnClick(serverPane, serverList, kColumnPing);
    EXPECT_EQ(ColumnTexts(serverList, kColumnPing), (Texts{"300", "100", "20"}));
    EXPECT_EQ(HeaderImage(serverList, kColumnPing), kImageDescending);
    ColumnClick(serverPane, serverList, kColumnTitle);
    EXPECT_EQ(ColumnTexts(serverList, kColumnTitle), (Texts{"Alpha", "^1Charlie", "bravo"}));
    EXPECT_EQ(HeaderImage(serverList, kColumnPing), kImageSortedBefore);
    auto selected = [this] {
        std::vector<int> rows = Selected(serverList);
        return rows.size() == 1 ? CellText(serverList, rows[0], kColumnAddress) : "";
    };
    EXPECT_EQ(selected(), "10.0.0.1:27960");
    profile->servers.head->joinCount = 1;  // a resort with visited servers on top keeps it too
    fake->display.VisitedOnTop = 1;
    Send(serverPane, PM_RESORT);
    EXPECT_EQ(std::pair(Addresses()[0], selected()),
              std::pair(std::string("10.0.0.3:27960"), std::string("10.0.0.1:27960")));
}

TEST_F(ServerPaneTest, JoinNeedsExactlyOneSelectedServer) {
    Start();
    auto r = Rows(2);
    SelectRows(serverList, {0, 1});
    Send(serverPane, PM_JOIN_SELECTED, 0);
    EXPECT_EQ(fake->sink.shown, Texts{kJoinMultipleMessage});
    SelectRows(serverList, {1});
    Send(serverPane, PM_JOIN_SELECTED, 1);
    Notify(serverPane, serverList, NM_RETURN);
    Notify(serverPane, serverList, NM_DBLCLK);
    SelectRows(serverList, {});
    Notify(serverPane, serverList, NM_DBLCLK);  // beside the rows: nothing
    using Join = std::pair<catalogue::ServerRecord*, bool>;
    EXPECT_EQ(fake->actions.joins, (std::vector<Join>{{r[1], true}, {r[1], false}, {r[1], false}}));

    // With visited servers on top the joined server moves up; one chosen elsewhere gets the selection.
    fake->display.VisitedOnTop = 1;
    r[1]->joinCount = 0;
    SelectRows(serverList, {0});
    Send(serverPane, PM_JOIN_SERVER, 0, r[1]);
    EXPECT_EQ(fake->actions.joins.back(), Join(r[1], false));
    EXPECT_EQ(std::pair(Addresses()[0], Selected(serverList)),
              std::pair(std::string("10.0.0.2:27960"), std::vector<int>{0}));
}

TEST_F(ServerPaneTest, SelectionEnablesTheServerCommandsAndShowsThePlayers) {
    Start();
    auto r = Rows(2);
    SetPlayers(r[0], {{"One", 1, 10}, {"Two", 2, 20}});
    r[0]->isFavourite = 1;
    auto selection = [this] {
        const views::win32::ServerSelection& s = fake->selection;
        return std::tuple(s.selected, s.remoteControl, s.webSite);
    };
    SelectRows(serverList, {0});
    EXPECT_EQ(selection(), std::tuple(true, true, false));
    EXPECT_TRUE(fake->checkedCommands[IDM_MARK_FAVOURITE] && Send(serverPane, PM_QUERY_FAVOURITE) == 1);
    EXPECT_EQ(RowCount(playerList), 2);
    Send(serverPane, PM_DESELECT_ALL);
    EXPECT_TRUE(Selected(serverList).empty() && selection() == std::tuple(false, false, false));
    EXPECT_FALSE(Send(serverPane, PM_QUERY_FAVOURITE));
    profile->kind = catalogue::kUnrealTournament;  // no remote control
    base::CopyText(r[1]->webAddress, "http://lab.example/");
    SelectRows(serverList, {1});
    EXPECT_TRUE(selection() == std::tuple(true, false, true) && !fake->checkedCommands[IDM_MARK_FAVOURITE]);
    Send(serverPane, PM_SELECT_ALL);
    EXPECT_EQ(Selected(serverList), (std::vector<int>{0, 1}));
    // Locating one server leaves it the only selected row and shows its players.
    Send(playerPane, PM_CLEAR);
    Send(serverPane, PM_LOCATE_SERVER, 0, r[0]);
    EXPECT_EQ(std::pair(Selected(serverList), RowCount(playerList)), std::pair(std::vector<int>{0}, 2));
}

TEST_F(ServerPaneTest, TogglesAndActionsWorkOnTheSelectedServers) {
    Start();
    auto r = Rows(2);
    r[0]->isFavourite = 1;
    SelectRows(serverList, {0, 1});
    Send(serverPane, PM_TOGGLE_FAVOURITE);
    Send(serverPane, PM_TOGGLE_AUTO_REFRESH);
    EXPECT_EQ(ColumnTexts(serverList, kColumnFavourite), (Texts{" ", "Y"}));
    EXPECT_EQ(ColumnTexts(serverList, kColumnAutoRefresh), (Texts{"Y", "Y"}));
    EXPECT_EQ(Send(serverPane, PM_QUERY_AUTO_REFRESH), 1);
    // Remote control: the first selected server, at most five consoles, never Unreal Tournament.
    Send(serverPane, PM_OPEN_RCON);
    Send(serverPane, PM_EDIT_PLAYER_CONFIG);
    EXPECT_EQ(std::pair(fake->actions.consoles, fake->actions.edited),
              std::pair(std::vector<catalogue::ServerRecord*>{r[0]}, std::vector<catalogue::ServerRecord*>{r[0]}));
    fake->actions.openConsoles = kRemoteControlLimit;
    Send(serverPane, PM_OPEN_RCON);
    EXPECT_EQ(fake->sink.shown, Texts{kRemoteControlLimitMessage});
    fake->actions.openConsoles = 0;
    profile->kind = catalogue::kUnrealTournament;
    Send(serverPane, PM_OPEN_RCON);
    EXPECT_EQ(fake->actions.consoles.size(), 1u);
}

TEST_F(ServerPaneTest, InfoTipIsTheModelsTextCutToTheBufferOrAppendsNoInfo) {
    Start();
    AddRow("10.0.0.1", "^1Lab", 40);
    char cut[12] = "", more[64] = "x ";
    NMLVGETINFOTIPA tip = {{serverList, 0, UINT(LVN_GETINFOTIPA)}, 0, cut, sizeof cut};
    Send(serverPane, WM_NOTIFY, 0, &tip);
    EXPECT_STREQ(cut, "Server: Lab");
    tip.pszText = more;  // a row without a record: after what the control put there
    tip.cchTextMax = sizeof more;
    tip.iItem = 5;
    Send(serverPane, WM_NOTIFY, 0, &tip);
    EXPECT_STREQ(more, "x No info available!");
}

TEST_F(ServerPaneTest, ContextMenuFollowsTheFirstSelectedServer) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_SERVER_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    auto state = [&](UINT id) {
        PrepareServerMenu(popup, *fake, *profile, *a);
        return UINT(GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED);
    };
    EXPECT_EQ(std::pair(state(IDM_SRV_MARK_FAVOURITE), fake->menuSelection.selected), std::pair(0u, true));
    a->isFavourite = a->autoRefresh = 1;
    EXPECT_EQ(std::pair(state(IDM_SRV_MARK_FAVOURITE), state(IDM_SRV_AUTO_REFRESH)),
              std::pair(UINT(MF_CHECKED), UINT(MF_CHECKED)));
    DestroyMenu(menu);  // (its commands reach the main window's command table: tested with that)
}

TEST_F(ServerPaneTest, ColumnsGoToTheProfileWithThePaneAndComeBackCheckedWithTheNext) {
    Start();
    SendMessageA(serverList, LVM_SETCOLUMNWIDTH, kColumnTitle, 321);
    int order[kServerColumnCount] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    SendMessageA(serverList, LVM_SETCOLUMNORDERARRAY, kServerColumnCount, L(order));
    fake->actions.openConsoles = 1;
    DestroyWindow(serverPane);
    EXPECT_EQ(fake->actions.closed, 1);  // the remote consoles close with it
    EXPECT_EQ(std::tuple(profile->columnWidth[kColumnTitle], profile->columnWidth[kColumnPing], profile->columnOrder[0],
                         profile->columnOrder[9]),
              std::tuple(321u, 80u, 9u, 0u));
    // A damaged width is limited; an order that is not a permutation of the columns is not applied.
    profile->columnWidth[kColumnMap] = 999999;
    PaneCreation creation{*fake, *profile};
    for (uint32_t first : {9u, 42u}) {
        profile->columnOrder[0] = first;
        HWND pane = CreateWindowExA(0, kServerPaneClass, "", WS_CHILD, 0, 0, 400, 300, fake->owner, nullptr,
                                    GetModuleHandleA(nullptr), &creation);
        HWND list = GetWindow(pane, GW_CHILD);
        int read[kServerColumnCount] = {};
        SendMessageA(list, LVM_GETCOLUMNORDERARRAY, kServerColumnCount, L(read));
        EXPECT_EQ(std::pair(read[0], read[9]), first == 9 ? std::pair(9, 0) : std::pair(0, 9));
        EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, kColumnTitle, 0), 321);
        EXPECT_LE(SendMessageA(list, LVM_GETCOLUMNWIDTH, kColumnMap, 0), 4000);
        for (int column = 0; column < kServerColumnCount; ++column) {  // each caption over its own cells
            char caption[32] = "";
            LVCOLUMNA c = {LVCF_TEXT, 0, 0, caption, sizeof caption};
            SendMessageA(list, LVM_GETCOLUMNA, column, L(&c));
            EXPECT_STREQ(caption, ServerColumnCaption(column)) << column;
        }
        DestroyWindow(pane);
    }
}

}  // namespace
}  // namespace views_test
