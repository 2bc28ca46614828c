// The buddy pane on real Win32: rows, sightings, removal, copy, locating a buddy's server, sorting.
#include "views/win32/tests/pane_test_support.h"
#include "resources/resource.h"
#include "views/list_pane.h"

namespace views_test {
namespace {

class BuddyPaneTest : public PaneTest {
  protected:
    // A server on a row whose players are forwarded (their server reference set).
    catalogue::ServerRecord* Server(const char* address, const char* host, std::initializer_list<PlayerSpec> players) {
        catalogue::ServerRecord* s = AddRow(address, host, 40);
        base::CopyText(s->gameTypeDisplay, "CTF");
        base::CopyText(s->mapName, "oa_dm1");
        SetPlayers(s, players);
        for (int i = 0; i < s->playerCount; ++i)
            s->PlayerAt(i)->server = s;
        return s;
    }
};

TEST_F(BuddyPaneTest, TheListShowsTheModelsRowsAsSightingsComeAndGo) {
    // Who goes online and the counting are the model's rules, tested natively.
    Start();
    AddBuddyRecord("^1Bob");
    AddBuddyRecord("Jim");
    SendBuddy(PM_BUDDIES_RELOAD);
    SendBuddy(PM_ADD_BUDDY_NAME, 0, "Ann");
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"^1Bob", "Jim", "Ann"}));
    EXPECT_EQ(RowImage(buddyList, 0), views::kPaneImageBuddyOffline);

    catalogue::ServerRecord* lab = Server("10.0.0.1", "^4Lab", {{"^1bob", 7, 40}});
    SendBuddy(PM_PLAYER_SEEN, 0, lab->PlayerAt(0));
    EXPECT_EQ(CellText(buddyList, 0, 1), "^4Lab");
    EXPECT_EQ(CellText(buddyList, 0, 2), "CTF");
    EXPECT_EQ(RowImage(buddyList, 0), views::kPaneImageBuddy);
    SendBuddy(PM_SERVER_REMOVED, 0, lab);
    EXPECT_EQ(CellText(buddyList, 0, 1), "");
    EXPECT_EQ(RowImage(buddyList, 0), views::kPaneImageBuddyOffline);

    SendBuddy(PM_CLEAR);
    EXPECT_EQ(RowCount(buddyList), 0);
    EXPECT_EQ(profile->buddies.count, 3u);
}

TEST_F(BuddyPaneTest, RemovingSelectedBuddiesClearsTheirMarksInThePlayerPane) {
    Start();
    for (const char* name : {"Ann", "Bob", "Cid", "Dan"})
        AddBuddyRecord(name);
    SendBuddy(PM_BUDDIES_RELOAD);
    catalogue::ServerRecord* s = Server("10.0.0.1", "Lab", {{"Ann", 1, 10}, {"bob", 2, 20}, {"Dan", 3, 30}});
    SendBuddy(PM_PLAYER_SEEN, 0, s->PlayerAt(1));
    SendPlayer(PM_SHOW_SERVER, 0, s);
    ASSERT_EQ(RowImage(playerList, 1), views::kPaneImageBuddy);
    SendBuddy(PM_REMOVE_SELECTED);
    EXPECT_EQ(profile->buddies.count, 4u);  // nothing selected

    SelectRows(buddyList, {0, 1, 3});
    SendBuddy(PM_REMOVE_SELECTED);
    EXPECT_EQ(ColumnTexts(buddyList, 0), std::vector<std::string>{"Cid"});
    EXPECT_EQ(profile->buddies.count, 1u);
    EXPECT_EQ(profile->onlineBuddies, 0u);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(RowImage(playerList, row), views::kNoIcon) << row;

    // The Delete key and the context menu's command do the same.
    SendBuddy(PM_ADD_BUDDY_NAME, 0, "Eve");
    SelectRows(buddyList, {1});
    SendMessageA(buddyPane, WM_COMMAND, IDM_PANE_REMOVE_BUDDY, 0);
    SelectRows(buddyList, {0});
    NMLVKEYDOWN key = {};
    key.hdr.hwndFrom = buddyList;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_DELETE;
    SendMessageA(buddyPane, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(RowCount(buddyList), 0);
    EXPECT_EQ(profile->buddies.count, 0u);
}

TEST_F(BuddyPaneTest, CopyPutsTheFirstSelectedBuddyOnTheClipboard) {
    Start();
    AddBuddyRecord("^1Bob");
    AddBuddyRecord("Jim");
    SendBuddy(PM_BUDDIES_RELOAD);
    SelectRows(buddyList, {1, 0});
    SendMessageA(buddyPane, WM_COMMAND, IDM_PANE_COPY_TEXT, 0);
    EXPECT_EQ(ClipboardText(), "Bob | Not online | 0 | 0 ms");
    SendMessageA(buddyPane, WM_COMMAND, IDM_PANE_COPY_IRC, 0);
    EXPECT_EQ(ClipboardText().substr(0, 4), "\x03"
                                            "1,0");
}

TEST_F(BuddyPaneTest, ClickingAnOnlineBuddyLocatesItsServerAndDoubleClickJoins) {
    Start();
    AddBuddyRecord("Bob");
    AddBuddyRecord("Jim");
    SendBuddy(PM_BUDDIES_RELOAD);
    AddRow("10.0.0.1");
    catalogue::ServerRecord* s = Server("10.0.0.2", "Lab", {{"Bob", 1, 10}, {"Ann", 2, 20}});
    SendBuddy(PM_PLAYER_SEEN, 0, s->PlayerAt(0));

    Click(buddyPane, buddyList, 1, true);  // offline: nothing
    EXPECT_TRUE(Selected(serverList).empty());
    EXPECT_TRUE(fake->actions.joins.empty());
    Click(buddyPane, buddyList, 0, false);
    EXPECT_EQ(Selected(serverList), std::vector<int>{1});
    EXPECT_EQ(ColumnTexts(playerList, 0), (std::vector<std::string>{"Bob", "Ann"}));
    EXPECT_TRUE(fake->actions.joins.empty());
    Click(buddyPane, buddyList, 0, true);
    ASSERT_EQ(fake->actions.joins.size(), 1u);
    EXPECT_EQ(fake->actions.joins[0], std::make_pair(s, false));

    // A buddy on a server that a filter hides joins that server, never the row selected before.
    fake->actions.joins.clear();
    s->playerCount = 0;
    fake->display.HideEmpty = 1;
    Refilter();
    ASSERT_EQ(RowCount(serverList), 1);
    SelectRows(serverList, {0});
    Click(buddyPane, buddyList, 0, true);
    ASSERT_EQ(fake->actions.joins.size(), 1u);
    EXPECT_EQ(fake->actions.joins[0].first, s);
}

TEST_F(BuddyPaneTest, BuddiesSortOnlineFirstAndTheColumnIsRemembered) {
    Start();
    for (const char* name : {"Zed", "cat", "Amy", "Bob"})
        AddBuddyRecord(name);
    SendBuddy(PM_BUDDIES_RELOAD);
    catalogue::ServerRecord* a = Server("10.0.0.1", "Beta", {{"Zed", 1, 10}});
    catalogue::ServerRecord* b = Server("10.0.0.2", "Alpha", {{"Bob", 1, 10}});
    SendBuddy(PM_PLAYER_SEEN, 0, a->PlayerAt(0));
    SendBuddy(PM_PLAYER_SEEN, 0, b->PlayerAt(0));
    SelectRows(buddyList, {1});  // "cat"

    ColumnClick(buddyPane, buddyList, 0);
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"Bob", "Zed", "cat", "Amy"}));
    EXPECT_EQ(Selected(buddyList), std::vector<int>{2});
    EXPECT_EQ(HeaderImage(buddyList, 0), views::kPaneImageSortMarker);
    ColumnClick(buddyPane, buddyList, 1);
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"Bob", "Zed", "cat", "Amy"}));
    EXPECT_EQ(HeaderImage(buddyList, 0), -1);
    EXPECT_EQ(fake->settings.ReadDword(base::kGeometryKey, "COBDY"), 1u);

    // A player made a buddy goes online and the list is sorted again.
    catalogue::ServerRecord* c = Server("10.0.0.3", "Gamma", {{"Kim", 1, 10}});
    SendBuddy(PM_ADD_BUDDY_PLAYER, 0, c->PlayerAt(0));
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"Bob", "Zed", "Kim", "cat", "Amy"}));
    EXPECT_EQ(profile->onlineBuddies, 3u);
    EXPECT_EQ(Selected(buddyList), std::vector<int>{3});
}

}  // namespace
}  // namespace views_test
