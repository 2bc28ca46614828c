// The server list pane on real Win32: rows and cell texts, sorting, filters, replies and removal.
#include <cstring>

#include "views/win32/tests/pane_test_support.h"
#include "resources/resource.h"
#include "views/list_pane.h"
#include "views/server_sort.h"
#include "views/win32/panes.h"
#include "views/win32/server_pane.h"

namespace views_test {
namespace {

using testing_support::PrivateMessages;
using testing_support::RecordMessages;

// The PM_SERVER_REMOVED messages a pane received, as the records they named.
std::vector<LPARAM> RemovedRecords(HWND pane) {
    std::vector<LPARAM> records;
    for (const auto& m : PrivateMessages(pane)) {
        if (m.message == PM_SERVER_REMOVED)
            records.push_back(m.lParam);
    }
    return records;
}

LPARAM L(const void* p) {
    return reinterpret_cast<LPARAM>(p);
}

using ServerPaneTest = PaneTest;

TEST_F(ServerPaneTest, RowsShowTheCellTextsAndFollowChanges) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1", "^1Alpha", 40);
    catalogue::ServerRecord* b = NewServer("10.0.0.2", 27961);
    base::CopyText(b->hostName, "^4Bravo");
    base::CopyText(b->passwordText, "1");
    b->isFavourite = 1;
    b->autoRefresh = 1;
    base::CopyText(b->mapName, "q3dm17");
    base::CopyText(b->gameTypeDisplay, "CTF");
    base::CopyText(b->modDisplay, "baseq3");
    b->playerCount = 3;
    b->privateSlots = 2;
    b->ping = 120;
    SendServer(PM_ADD_SERVER_ROW, 0, b);

    ASSERT_EQ(RowCount(serverList), 2);
    const char* expected[] = {"Y",      "Y",   "Y",      "^4Bravo",   "120",
                              "q3dm17", "CTF", "baseq3", "3/16 (-2)", "10.0.0.2:27961"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(CellText(serverList, 1, c), expected[c]) << "column " << c;
    EXPECT_EQ(CellText(serverList, 0, 0), " ");
    EXPECT_EQ(CellText(serverList, 0, 3), "^1Alpha");
    EXPECT_EQ(CellText(serverList, 0, 8), "1/16");

    // A record never gets a second row.
    SendServer(PM_ADD_SERVER_ROW, 0, a);
    EXPECT_EQ(RowCount(serverList), 2);

    RecordMessages(playerPane);
    b->ping = 300;
    base::CopyText(b->mapName, "q3dm1");
    SendServer(PM_SERVER_CHANGED, 0, b);
    EXPECT_EQ(CellText(serverList, 1, 4), "300");
    EXPECT_EQ(CellText(serverList, 1, 5), "q3dm1");

    // No reply: the row goes (no-reply servers are hidden), and comes back at the end with the reply.
    b->ping = catalogue::kNoPing;
    SendServer(PM_SERVER_CHANGED, 0, a);
    SendServer(PM_SERVER_CHANGED, 0, b);
    ASSERT_EQ(RowCount(serverList), 1);
    EXPECT_EQ(CellText(serverList, 0, 9), "10.0.0.1:27960");
    b->ping = 60;
    SendServer(PM_SERVER_CHANGED, 0, b);
    ASSERT_EQ(RowCount(serverList), 2);
    EXPECT_EQ(CellText(serverList, 1, 4), "60");

    // Every change that keeps or makes a row hands the players on; a deleted row does not.
    std::vector<LPARAM> forwarded;
    for (const auto& m : PrivateMessages(playerPane)) {
        if (m.message == PM_SERVER_PLAYERS)
            forwarded.push_back(m.lParam);
    }
    EXPECT_EQ(forwarded, (std::vector<LPARAM>{L(b), L(a), L(b)}));

    auto* pane = ServerPaneFrom(serverPane);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->model.VisibleText(), "2/2 Servers visible");

    SendServer(PM_CLEAR);
    EXPECT_EQ(RowCount(serverList), 0);
    EXPECT_EQ(profile->servers.count, 2u);
    EXPECT_EQ(pane->model.VisibleText(), "0/2 Servers visible");
}

TEST_F(ServerPaneTest, StaleRecordIsTakenOffTheOtherPanesBeforeItIsFreed) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1");
    catalogue::ServerRecord* b = AddRow("10.0.0.2");
    catalogue::ServerRecord* hidden = NewServer("10.0.0.3");
    hidden->ping = catalogue::kNoPing;
    SendServer(PM_ADD_SERVER_ROW, 0, hidden);
    ASSERT_EQ(RowCount(serverList), 2);
    RecordMessages(buddyPane);
    RecordMessages(playerPane);

    SendServer(PM_REMOVE_SERVER, 0, a);
    EXPECT_EQ(RowCount(serverList), 1);
    EXPECT_EQ(CellText(serverList, 0, 9), "10.0.0.2:27960");
    EXPECT_EQ(profile->servers.count, 2u);
    EXPECT_EQ(profile->servers.head, b);
    EXPECT_EQ(RemovedRecords(buddyPane), std::vector<LPARAM>{L(a)});
    EXPECT_EQ(RemovedRecords(playerPane), std::vector<LPARAM>{L(a)});

    // A filtered-out record has no row: it stays in the list and nobody is told.
    SendServer(PM_REMOVE_SERVER, 0, hidden);
    EXPECT_EQ(profile->servers.count, 2u);
    EXPECT_EQ(RemovedRecords(buddyPane).size(), 1u);
}

TEST_F(ServerPaneTest, ColumnClicksSortTheRowsAndMoveTheMarkersKeepingTheSelection) {
    // The order of every column is the model's (tested natively); here the list follows it.
    Start();
    AddRow("10.0.0.3", "^1Charlie", 300);
    AddRow("10.0.0.1", "Alpha", 20);
    AddRow("10.0.0.2", "bravo", 100);
    using Order = std::vector<std::string>;
    const int former = profile->sortColumn;
    ColumnClick(serverPane, serverList, 4);
    EXPECT_EQ(ColumnTexts(serverList, 4), (Order{"20", "100", "300"}));
    EXPECT_EQ(HeaderImage(serverList, 4), views::kImageAscending);
    EXPECT_EQ(HeaderImage(serverList, former), views::kImageSortedBefore);
    ColumnClick(serverPane, serverList, 4);
    EXPECT_EQ(ColumnTexts(serverList, 4), (Order{"300", "100", "20"}));
    EXPECT_EQ(HeaderImage(serverList, 4), views::kImageDescending);
    EXPECT_EQ(profile->sortColumn, 4);

    // A sort keeps the selection on its record.
    SelectRows(serverList, {2});
    ColumnClick(serverPane, serverList, 3);
    EXPECT_EQ(ColumnTexts(serverList, 3), (Order{"Alpha", "^1Charlie", "bravo"}));
    ASSERT_EQ(Selected(serverList).size(), 1u);
    EXPECT_EQ(CellText(serverList, Selected(serverList)[0], 9), "10.0.0.1:27960");
    profile->servers.head->joinCount = 1;
    fake->display.VisitedOnTop = 1;
    SendServer(PM_RESORT);
    EXPECT_EQ(CellText(serverList, 0, 9), "10.0.0.3:27960");
    EXPECT_EQ(CellText(serverList, Selected(serverList)[0], 9), "10.0.0.1:27960");
}

TEST_F(ServerPaneTest, CopyPutsTheFirstSelectedServerOnTheClipboard) {
    // The line formats are the model's (tested natively); here the first selected row is copied.
    Start();
    AddRow("10.0.0.1", "^1Al^7pha", 99);
    AddRow("10.0.0.2", "Other", 100);
    SelectRows(serverList, {1, 0});
    SendServer(PM_COPY_SELECTED, 0);
    EXPECT_EQ(ClipboardText(), "Alpha | 10.0.0.1:27960 |  | 1/16 | 99 ms");
    SendServer(PM_COPY_SELECTED, 1);
    EXPECT_EQ(ClipboardText().substr(0, 4), "\x03"
                                            "1,0");
    // Nothing selected: the clipboard keeps what it had.
    SelectRows(serverList, {});
    PutOnClipboard("kept");
    SendServer(PM_COPY_SELECTED, 0);
    EXPECT_EQ(ClipboardText(), "kept");
}

TEST_F(ServerPaneTest, MarkingForRefreshCountsTheSelectionAndTellsTheOtherPanes) {
    Start();
    catalogue::ServerRecord* r[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = AddRow(("10.0.0." + std::to_string(i + 1)).c_str());
        r[i]->awaitingReply = 1;
    }
    EXPECT_EQ(SendServer(PM_MARK_SELECTED_FOR_REFRESH), 0);
    EXPECT_EQ(r[0]->refreshPending, 0u);

    RecordMessages(buddyPane);
    RecordMessages(playerPane);
    SelectRows(serverList, {0, 2});
    EXPECT_EQ(SendServer(PM_MARK_SELECTED_FOR_REFRESH), 2);
    EXPECT_EQ(r[0]->refreshPending, 1u);
    EXPECT_EQ(r[0]->awaitingReply, 0u);
    EXPECT_EQ(r[1]->refreshPending, 0u);
    EXPECT_EQ(r[1]->awaitingReply, 1u);
    EXPECT_EQ(r[2]->refreshPending, 1u);
    EXPECT_EQ(RemovedRecords(buddyPane), (std::vector<LPARAM>{L(r[0]), L(r[2])}));
    EXPECT_EQ(RemovedRecords(playerPane), (std::vector<LPARAM>{L(r[0]), L(r[2])}));

    r[0]->refreshPending = r[2]->refreshPending = 0;
    SelectRows(serverList, {1, 2});
    EXPECT_EQ(SendServer(PM_MARK_FIRST_FOR_REFRESH), 2);
    EXPECT_EQ(r[1]->refreshPending, 1u);
    EXPECT_EQ(r[2]->refreshPending, 0u);
}

TEST_F(ServerPaneTest, RemovingSelectedServersFreesThemAfterTheOtherPanesLetGo) {
    Start();
    catalogue::ServerRecord* r[4];
    for (int i = 0; i < 4; ++i)
        r[i] = AddRow(("10.0.0." + std::to_string(i + 1)).c_str());
    SendServer(PM_REMOVE_SELECTED_SERVERS);
    EXPECT_EQ(fake->sink.shown, std::vector<std::string>{"nothing selected!"});
    EXPECT_EQ(fake->sink.captions, std::vector<std::string>{"OK"});
    EXPECT_EQ(RowCount(serverList), 4);

    RecordMessages(buddyPane);
    RecordMessages(playerPane);
    SelectRows(serverList, {0, 2});
    SendServer(PM_REMOVE_SELECTED_SERVERS);
    EXPECT_EQ(ColumnTexts(serverList, 9), (std::vector<std::string>{"10.0.0.2:27960", "10.0.0.4:27960"}));
    EXPECT_EQ(profile->servers.count, 2u);
    EXPECT_EQ(RemovedRecords(buddyPane), (std::vector<LPARAM>{L(r[0]), L(r[2])}));
    EXPECT_EQ(RemovedRecords(playerPane), (std::vector<LPARAM>{L(r[0]), L(r[2])}));
    EXPECT_TRUE(Selected(serverList).empty());
    EXPECT_EQ(fake->toolbar[IDM_REMOVE_SERVER] & TBSTATE_INDETERMINATE, TBSTATE_INDETERMINATE);

    // Not while a refresh runs: its worker walks the list.
    SelectRows(serverList, {1});
    fake->refreshBusy = true;
    SendServer(PM_REMOVE_SELECTED_SERVERS);
    EXPECT_EQ(profile->servers.count, 2u);
    EXPECT_EQ(RowCount(serverList), 2);
    fake->refreshBusy = false;

    // The Delete key on the list does the same.
    SelectRows(serverList, {1});
    NMLVKEYDOWN key = {};
    key.hdr.hwndFrom = serverList;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_DELETE;
    SendMessageA(serverPane, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(ColumnTexts(serverList, 9), std::vector<std::string>{"10.0.0.2:27960"});
    EXPECT_EQ(profile->servers.count, 1u);
}

TEST_F(ServerPaneTest, JoinNeedsExactlyOneSelectedServer) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1");
    catalogue::ServerRecord* b = AddRow("10.0.0.2");
    SelectRows(serverList, {0, 1});
    SendServer(PM_JOIN_SELECTED, 0);
    EXPECT_TRUE(fake->actions.joins.empty());
    ASSERT_EQ(fake->sink.shown.size(), 1u);
    EXPECT_EQ(fake->sink.shown[0], kJoinMultipleMessage);

    SelectRows(serverList, {1});
    SendServer(PM_JOIN_SELECTED, 1);
    SendServer(PM_JOIN_SELECTED, 0);
    Notify(serverPane, serverList, NM_RETURN);
    Notify(serverPane, serverList, NM_DBLCLK);
    SendServer(PM_JOIN_SELECTED, 1);
    using Join = std::pair<catalogue::ServerRecord*, bool>;
    EXPECT_EQ(fake->actions.joins, (std::vector<Join>{{b, true}, {b, false}, {b, false}, {b, false}, {b, true}}));

    // A double click beside the rows joins nothing.
    SelectRows(serverList, {});
    Notify(serverPane, serverList, NM_DBLCLK);
    EXPECT_EQ(fake->actions.joins.size(), 5u);

    // With visited servers on top the joined server moves up; joining a server chosen elsewhere
    // selects its row alone.
    fake->display.VisitedOnTop = 1;
    a->joinCount = b->joinCount = 0;
    SelectRows(serverList, {0});
    SendServer(PM_JOIN_SERVER, 0, b);
    EXPECT_EQ(fake->actions.joins.back(), Join(b, false));
    EXPECT_EQ(CellText(serverList, 0, 9), "10.0.0.2:27960");
    EXPECT_EQ(Selected(serverList), std::vector<int>{0});
}

TEST_F(ServerPaneTest, SelectionEnablesTheServerCommandsAndShowsThePlayers) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1");
    SetPlayers(a, {{"One", 1, 10}, {"Two", 2, 20}});
    a->isFavourite = 1;
    AddRow("10.0.0.2");

    SelectRows(serverList, {0});
    EXPECT_TRUE(fake->toolbar[IDM_JOIN] & TBSTATE_ENABLED);
    EXPECT_TRUE(fake->toolbar[IDM_REMOTE_CONTROL] & TBSTATE_ENABLED);
    for (UINT item :
         {IDM_JOIN, IDM_JOIN_SPECTATOR, IDM_SERVER_INFO, IDM_AUTO_REFRESH_SELECTED, IDM_REFRESH_SELECTED,
          IDM_REMOVE_SERVER, IDM_MARK_FAVOURITE, IDM_MONITOR_SERVER, IDM_EDIT_PLAYER_CONFIG, IDM_REMOTE_CONTROL})
        EXPECT_TRUE(fake->enabledCommands[item]) << item;
    EXPECT_TRUE(fake->checkedCommands[IDM_MARK_FAVOURITE]);
    EXPECT_EQ(RowCount(playerList), 2);
    EXPECT_EQ(SendServer(PM_QUERY_FAVOURITE), 1);
    EXPECT_EQ(SendServer(PM_QUERY_AUTO_REFRESH), 0);

    SendServer(PM_DESELECT_ALL);
    EXPECT_TRUE(Selected(serverList).empty());
    EXPECT_TRUE(fake->toolbar[IDM_JOIN] & TBSTATE_INDETERMINATE);
    for (UINT item : {IDM_JOIN, IDM_EDIT_PLAYER_CONFIG, IDM_AUTO_REFRESH_SELECTED, IDM_REMOTE_CONTROL})
        EXPECT_FALSE(fake->enabledCommands[item]) << item;
    EXPECT_EQ(SendServer(PM_QUERY_FAVOURITE), 0);

    // Unreal Tournament has no remote control.
    profile->kind = catalogue::kUnrealTournament;
    SelectRows(serverList, {1});
    EXPECT_TRUE(fake->enabledCommands[IDM_JOIN]);
    EXPECT_FALSE(fake->enabledCommands[IDM_REMOTE_CONTROL]);
    EXPECT_FALSE(fake->checkedCommands[IDM_MARK_FAVOURITE]);

    SendServer(PM_SELECT_ALL);
    EXPECT_EQ(Selected(serverList), (std::vector<int>{0, 1}));
    // Locating one server leaves it the only selected row and shows its players.
    SendServer(PM_LOCATE_SERVER, 0, a);
    EXPECT_EQ(Selected(serverList), std::vector<int>{0});
    EXPECT_EQ(RowCount(playerList), 2);
}

TEST_F(ServerPaneTest, TogglesAndActionsWorkOnTheSelectedServers) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1");
    catalogue::ServerRecord* b = AddRow("10.0.0.2");
    a->isFavourite = 1;
    SelectRows(serverList, {0, 1});
    SendServer(PM_TOGGLE_FAVOURITE);
    EXPECT_EQ(a->isFavourite, 0u);
    EXPECT_EQ(b->isFavourite, 1u);
    EXPECT_EQ(ColumnTexts(serverList, 1), (std::vector<std::string>{" ", "Y"}));
    SendServer(PM_TOGGLE_AUTO_REFRESH);
    EXPECT_EQ(ColumnTexts(serverList, 2), (std::vector<std::string>{"Y", "Y"}));
    EXPECT_EQ(SendServer(PM_QUERY_AUTO_REFRESH), 1);

    // Remote control: the first selected server, at most five consoles, never Unreal Tournament.
    SendServer(PM_OPEN_RCON);
    SendServer(PM_EDIT_PLAYER_CONFIG);
    EXPECT_EQ(fake->actions.consoles, std::vector<catalogue::ServerRecord*>{a});
    EXPECT_EQ(fake->actions.edited, std::vector<catalogue::ServerRecord*>{a});
    fake->actions.openConsoles = kRemoteControlLimit;
    SendServer(PM_OPEN_RCON);
    EXPECT_EQ(fake->actions.consoles.size(), 1u);
    EXPECT_EQ(fake->sink.shown, std::vector<std::string>{kRemoteControlLimitMessage});
    fake->actions.openConsoles = 0;
    profile->kind = catalogue::kUnrealTournament;
    SendServer(PM_OPEN_RCON);
    EXPECT_EQ(fake->actions.consoles.size(), 1u);
}

TEST_F(ServerPaneTest, InfoTipIsTheModelsTextCutToTheBuffer) {
    Start();
    AddRow("10.0.0.1", "^1Lab", 40);
    char buffer[12] = "";
    NMLVGETINFOTIPA tip = {};
    tip.hdr.hwndFrom = serverList;
    tip.hdr.code = LVN_GETINFOTIPA;
    tip.pszText = buffer;
    tip.cchTextMax = sizeof buffer;
    SendMessageA(serverPane, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(buffer, "Server: Lab");
    // A row without a record appends the "no info" text to what the control put there.
    char more[64] = "x ";
    tip.pszText = more;
    tip.cchTextMax = sizeof more;
    tip.iItem = 5;
    SendMessageA(serverPane, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(more, "x No info available!");
}

TEST_F(ServerPaneTest, ContextMenuFollowsTheFirstSelectedServer) {
    Start();
    catalogue::ServerRecord* a = AddRow("10.0.0.1");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_SERVER_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    auto state = [popup](UINT id) { return GetMenuState(popup, id, MF_BYCOMMAND); };

    PrepareServerMenu(popup, *profile, *a);
    EXPECT_FALSE(state(IDM_SRV_REMOTE_CONTROL) & MF_GRAYED);
    EXPECT_FALSE(state(IDM_SRV_MARK_FAVOURITE) & MF_CHECKED);
    EXPECT_TRUE(state(IDM_SRV_OPEN_WEBSITE) & MF_GRAYED);

    a->isFavourite = 1;
    a->autoRefresh = 1;
    base::CopyText(a->webAddress, "http://lab.example/");
    profile->kind = catalogue::kUnrealTournament;
    PrepareServerMenu(popup, *profile, *a);
    EXPECT_TRUE(state(IDM_SRV_REMOTE_CONTROL) & MF_GRAYED);
    EXPECT_TRUE(state(IDM_SRV_MARK_FAVOURITE) & MF_CHECKED);
    EXPECT_TRUE(state(IDM_SRV_AUTO_REFRESH) & MF_CHECKED);
    EXPECT_FALSE(state(IDM_SRV_OPEN_WEBSITE) & MF_GRAYED);
    // The item is enabled exactly when the address will be opened.
    base::CopyText(a->webAddress, "www.clan.org");
    PrepareServerMenu(popup, *profile, *a);
    EXPECT_FALSE(state(IDM_SRV_OPEN_WEBSITE) & MF_GRAYED);
    base::CopyText(a->webAddress, "file:///c:/x.bat");
    PrepareServerMenu(popup, *profile, *a);
    EXPECT_TRUE(state(IDM_SRV_OPEN_WEBSITE) & MF_GRAYED);
    DestroyMenu(menu);

    // Its commands are the main window's: they go to the host, whose command table maps them.
    for (UINT id : {IDM_SRV_JOIN, IDM_SRV_REFRESH_ALL, IDM_SRV_COLOUR_PREFERENCES})
        SendMessageA(serverPane, WM_COMMAND, id, 0);
    EXPECT_EQ(fake->commands, (std::vector<UINT>{IDM_SRV_JOIN, IDM_SRV_REFRESH_ALL, IDM_SRV_COLOUR_PREFERENCES}));
}

TEST_F(ServerPaneTest, DestroyingThePaneKeepsColumnWidthsAndOrderInTheProfile) {
    Start();
    SendMessageA(serverList, LVM_SETCOLUMNWIDTH, 3, 321);
    int order[10] = {3, 0, 1, 2, 4, 5, 6, 7, 8, 9};
    SendMessageA(serverList, LVM_SETCOLUMNORDERARRAY, 10, reinterpret_cast<LPARAM>(order));
    fake->actions.openConsoles = 1;
    DestroyWindow(serverPane);
    EXPECT_EQ(profile->columnWidth[3], 321u);
    EXPECT_EQ(profile->columnWidth[4], 80u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(profile->columnOrder[i], static_cast<uint32_t>(order[i])) << i;
    EXPECT_EQ(fake->actions.closed, 1);
}

TEST_F(ServerPaneTest, StoredColumnsAreAppliedWhenThePaneIsCreated) {
    Start();
    catalogue::GameProfile& p = *profile;
    p.columnWidth[5] = 123;
    p.columnWidth[6] = 999999;  // damaged
    uint32_t order[10] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    std::copy(order, order + 10, p.columnOrder);
    PaneCreation creation{*fake, p};
    HWND pane = CreateWindowExA(0, kServerPaneClass, "", WS_CHILD, 0, 0, 400, 300, fake->owner, nullptr,
                                GetModuleHandleA(nullptr), &creation);
    HWND list = GetWindow(pane, GW_CHILD);
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 5, 0), 123);
    EXPECT_LE(SendMessageA(list, LVM_GETCOLUMNWIDTH, 6, 0), 4000);
    int read[10] = {};
    SendMessageA(list, LVM_GETCOLUMNORDERARRAY, 10, reinterpret_cast<LPARAM>(read));
    EXPECT_EQ(read[0], 9);
    EXPECT_EQ(read[9], 0);
    char caption[32] = "";
    LVCOLUMNA c = {};
    c.mask = LVCF_TEXT;
    c.pszText = caption;
    c.cchTextMax = sizeof caption;
    SendMessageA(list, LVM_GETCOLUMNA, 9, reinterpret_cast<LPARAM>(&c));
    EXPECT_STREQ(caption, "Server Address");

    // An order that is not a permutation of the ten columns is not applied.
    p.columnOrder[0] = 42;
    HWND second = CreateWindowExA(0, kServerPaneClass, "", WS_CHILD, 0, 0, 400, 300, fake->owner, nullptr,
                                  GetModuleHandleA(nullptr), &creation);
    SendMessageA(GetWindow(second, GW_CHILD), LVM_GETCOLUMNORDERARRAY, 10, reinterpret_cast<LPARAM>(read));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(read[i], i);
    DestroyWindow(pane);
    DestroyWindow(second);
}

TEST_F(ServerPaneTest, ReplyReachesTheRowThePlayersAndTheBuddies) {
    Start();
    AddBuddyRecord("^2bob");
    SendBuddy(PM_BUDDIES_RELOAD);
    catalogue::ServerRecord* a = AddRow("10.0.0.1", "~ 10.0.0.1", 40);
    const std::string reply =
        std::string("\xFF\xFF\xFF\xFFstatusResponse\n") +
        "\\sv_hostname\\^1Lab\\sv_maxclients\\16\\mapname\\oa_dm1\n12 50 \"^2Bob\"\n0 0 \"Bot\"\n";
    net::RawReply kept;
    ReplyToApply apply{a, reinterpret_cast<const uint8_t*>(reply.data()), reply.size(), &kept};

    SendServer(PM_APPLY_REPLY, 0, &apply);
    EXPECT_STREQ(a->hostName, "^1Lab");
    EXPECT_EQ(a->playerCount, 2);
    EXPECT_EQ(kept.size, reply.size());
    SendServer(PM_SERVER_CHANGED, 0, a);
    EXPECT_EQ(CellText(serverList, 0, 3), "^1Lab");
    EXPECT_EQ(CellText(serverList, 0, 8), "2/16");

    ASSERT_EQ(RowCount(buddyList), 1);
    EXPECT_EQ(CellText(buddyList, 0, 1), "^1Lab");
    EXPECT_EQ(RowImage(buddyList, 0), views::kPaneImageBuddy);
    EXPECT_EQ(profile->onlineBuddies, 1u);
    EXPECT_EQ(a->PlayerAt(0)->server, a);

    // An empty datagram is no reply: the server is marked unanswered and its row goes.
    ReplyToApply empty{a, reinterpret_cast<const uint8_t*>(""), 0, nullptr};
    SendServer(PM_APPLY_REPLY, 0, &empty);
    EXPECT_EQ(a->ping, catalogue::kNoPing);
    EXPECT_STREQ(a->hostName, "~ 10.0.0.1");
    SendServer(PM_SERVER_CHANGED, 0, a);
    EXPECT_EQ(RowCount(serverList), 0);
}

}  // namespace
}  // namespace views_test
