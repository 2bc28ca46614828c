// The buddy pane on real Win32: rows as sightings come and go, removal, locating and joining a buddy's
// server, sorting. Who is online, the counts and the order are the model's rules (tested natively).
#include "resources/resource.h"
#include "views/list_pane.h"
#include "views/win32/tests/pane_test_support.h"

namespace views_test {
namespace {

using Texts = std::vector<std::string>;

class BuddyPaneTest : public PaneTest {
  protected:
    // Buddies of these names, shown in the pane.
    void Buddies(std::initializer_list<const char*> names) {
        for (const char* name : names)
            AddBuddyRecord(name);
        Send(buddyPane, PM_BUDDIES_RELOAD);
    }
    // A server on a row with these players.
    catalogue::ServerRecord* Server(const char* address, const char* host, std::initializer_list<PlayerSpec> players) {
        catalogue::ServerRecord* s = AddRow(address, host, 40);
        base::CopyText(s->gameTypeDisplay, "CTF");
        SetPlayers(s, players);
        return s;
    }
};

TEST_F(BuddyPaneTest, RemovingSelectedBuddiesClearsTheirMarksInThePlayerPane) {
    Start();
    Buddies({"Ann", "Bob", "Cid", "Dan"});
    catalogue::ServerRecord* s = Server("10.0.0.1", "Lab", {{"Ann", 1, 10}, {"bob", 2, 20}, {"Dan", 3, 30}});
    Send(buddyPane, PM_PLAYER_SEEN, 0, s->PlayerAt(1));
    Send(playerPane, PM_SHOW_SERVER, 0, s);
    ASSERT_EQ(RowImage(playerList, 1), views::kPaneImageBuddy);
    Send(buddyPane, PM_REMOVE_SELECTED);
    EXPECT_EQ(profile->buddies.count, 4u);  // nothing selected

    SelectRows(buddyList, {0, 1, 3});
    Send(buddyPane, PM_REMOVE_SELECTED);
    EXPECT_EQ(ColumnTexts(buddyList, 0), Texts{"Cid"});
    EXPECT_EQ(std::pair(profile->buddies.count, profile->onlineBuddies), std::pair(1u, 0u));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(RowImage(playerList, row), views::kNoIcon) << row;

    // The context menu's command and the Delete key do the same.
    Send(buddyPane, PM_ADD_BUDDY_NAME, 0, "Eve");
    SelectRows(buddyList, {1});
    SendMessageA(buddyPane, WM_COMMAND, IDM_PANE_REMOVE_BUDDY, 0);
    SelectRows(buddyList, {0});
    KeyDown(buddyPane, buddyList, VK_DELETE);
    EXPECT_EQ(std::pair(RowCount(buddyList), profile->buddies.count), std::pair(0, 0u));
    Send(buddyPane, PM_ADD_BUDDY_NAME, 0, "Fay");
    Send(buddyPane, PM_CLEAR);  // the rows go, the buddies stay
    EXPECT_EQ(std::pair(RowCount(buddyList), profile->buddies.count), std::pair(0, 1u));
}

TEST_F(BuddyPaneTest, ClickingAnOnlineBuddyLocatesItsServerAndDoubleClickJoins) {
    Start();
    Buddies({"Bob", "Jim"});
    AddRow("10.0.0.1");
    catalogue::ServerRecord* s = Server("10.0.0.2", "Lab", {{"Bob", 1, 10}, {"Ann", 2, 20}});
    Send(buddyPane, PM_PLAYER_SEEN, 0, s->PlayerAt(0));
    EXPECT_EQ(std::tuple(CellText(buddyList, 0, 1), CellText(buddyList, 0, 2), RowImage(buddyList, 0)),
              std::tuple(std::string("Lab"), std::string("CTF"), views::kPaneImageBuddy));

    Click(buddyPane, buddyList, 1, true);  // offline: nothing
    EXPECT_TRUE(Selected(serverList).empty() && fake->actions.joins.empty());
    Click(buddyPane, buddyList, 0, false);
    EXPECT_EQ(Selected(serverList), std::vector<int>{1});
    EXPECT_EQ(ColumnTexts(playerList, 0), (Texts{"Bob", "Ann"}));
    EXPECT_TRUE(fake->actions.joins.empty());
    Click(buddyPane, buddyList, 0, true);
    ASSERT_EQ(fake->actions.joins.size(), 1u);
    EXPECT_EQ(fake->actions.joins[0], std::make_pair(s, false));

    // A buddy on a server that a filter hides joins that server, never the row selected before.
    s->playerCount = 0;
    fake->display.HideEmpty = 1;
    Send(serverPane, PM_CLEAR);  // the rows again, as the main window does on a filter change
    for (catalogue::ServerRecord* r = profile->servers.head; r; r = r->next)
        Send(serverPane, PM_ADD_SERVER_ROW, 0, r);
    ASSERT_EQ(RowCount(serverList), 1);
    SelectRows(serverList, {0});
    Click(buddyPane, buddyList, 0, true);
    ASSERT_EQ(fake->actions.joins.size(), 2u);
    EXPECT_EQ(fake->actions.joins[1].first, s);
}

TEST_F(BuddyPaneTest, ColumnClickSortsKeepingTheSelectionAndIsRemembered) {
    Start();
    Buddies({"Zed", "cat", "Amy", "Bob"});
    catalogue::ServerRecord* a = Server("10.0.0.1", "Beta", {{"Zed", 1, 10}});
    catalogue::ServerRecord* b = Server("10.0.0.2", "Alpha", {{"Bob", 1, 10}});
    Send(buddyPane, PM_PLAYER_SEEN, 0, a->PlayerAt(0));
    Send(buddyPane, PM_PLAYER_SEEN, 0, b->PlayerAt(0));
    SelectRows(buddyList, {1});  // "cat"
    ColumnClick(buddyPane, buddyList, 0);
    EXPECT_EQ(ColumnTexts(buddyList, 0), (Texts{"Bob", "Zed", "cat", "Amy"}));
    EXPECT_EQ(std::pair(Selected(buddyList), HeaderImage(buddyList, 0)),
              std::pair(std::vector<int>{2}, views::kPaneImageSortMarker));
    ColumnClick(buddyPane, buddyList, 1);
    EXPECT_EQ(std::pair(HeaderImage(buddyList, 0), fake->settings.ReadDword(base::kGeometryKey, "COBDY")),
              std::pair(-1, std::optional<uint32_t>(1)));

    // A player made a buddy goes online and the list is sorted again.
    catalogue::ServerRecord* c = Server("10.0.0.3", "Gamma", {{"Kim", 1, 10}});
    Send(buddyPane, PM_ADD_BUDDY_PLAYER, 0, c->PlayerAt(0));
    EXPECT_EQ(ColumnTexts(buddyList, 0), (Texts{"Bob", "Zed", "Kim", "cat", "Amy"}));
    EXPECT_EQ(std::pair(profile->onlineBuddies, Selected(buddyList)), std::pair(3u, std::vector<int>{3}));
}

}  // namespace
}  // namespace views_test
