// The player pane on real Win32: rows and icons, sorting, widths, buddy marks and adding buddies.
// Which players get a row and the orders are the model's rules (tested natively).
#include "resources/resource.h"
#include "views/list_pane.h"
#include "views/player_rows.h"
#include "views/win32/tests/pane_test_support.h"

namespace views_test {
namespace {

using testing_support::PrivateMessages;
using testing_support::RecordMessages;
using Texts = std::vector<std::string>;

class PlayerPaneTest : public PaneTest {
  protected:
    uint32_t RegValue(const char* name) {
        return fake->settings.ReadDword(base::kGeometryKey, name).value_or(0xDEADBEEF);
    }
    // A server on a row with Bob, his twin bob (one row for both), a bot and ^1Alice, shown in the pane.
    catalogue::ServerRecord* ShowServerWithPlayers() {
        catalogue::ServerRecord* s = AddRow("10.0.0.1", "^4Lab", 40);
        SetPlayers(s, {{"Bob", 10, 50}, {"bob", 5, 60}, {"Bot", 3, 0}, {"^1Al^7ice", -3, 80}});
        Send(playerPane, PM_SHOW_SERVER, 0, s);
        return s;
    }
};

TEST_F(PlayerPaneTest, ColumnsSortTheRowsWithTheirMarkerAndKeepTheirWidthsInTheRegistry) {
    // Which column is stored and how widths are read are the model's rules (tested natively).
    fake = std::make_unique<testing_support::FakePaneHost>();
    fake->settings.WriteDword(base::kGeometryKey, "PLCW00", 150);
    Start();
    catalogue::ServerRecord* s = ShowServerWithPlayers();
    ColumnClick(playerPane, playerList, 1);
    EXPECT_EQ(ColumnTexts(playerList, 1), (Texts{"-3", "10"}));
    EXPECT_EQ(std::pair(HeaderImage(playerList, 1), HeaderImage(playerList, 0)),
              std::pair(views::kPaneImageSortMarker, -1));
    ColumnClick(playerPane, playerList, 0);
    EXPECT_EQ(std::pair(HeaderImage(playerList, 1), HeaderImage(playerList, 0)),
              std::pair(-1, views::kPaneImageSortMarker));
    // The stored column is restored when the lists are loaded; the order follows the records.
    fake->settings.WriteDword(base::kGeometryKey, "COPLR", 2);
    Send(playerPane, PM_RESTORE_SORT);
    s->PlayerAt(0)->ping = 999;
    Send(playerPane, PM_RESORT);
    EXPECT_EQ(std::pair(ColumnTexts(playerList, 0), HeaderImage(playerList, 2)),
              std::pair(Texts{"^1Al^7ice", "Bob"}, views::kPaneImageSortMarker));

    EXPECT_EQ(SendMessageA(playerList, LVM_GETCOLUMNWIDTH, 0, 0), 150);
    SendMessageA(playerList, LVM_SETCOLUMNWIDTH, 2, 93);
    DestroyWindow(playerPane);
    EXPECT_EQ(std::pair(RegValue("PLCW00"), RegValue("PLCW02")), std::pair(150u, 93u));
}

TEST_F(PlayerPaneTest, RowsFollowTheBuddyMarksAndGoWithTheirServerWhosePlayersReachTheBuddyPane) {
    Start();
    catalogue::ServerRecord* s = ShowServerWithPlayers();
    EXPECT_EQ(ColumnTexts(playerList, 2), (Texts{"50", "80"}));
    RecordMessages(buddyPane);  // forwarded players are each shown to the buddy pane
    Send(playerPane, PM_SERVER_PLAYERS, 0, s);
    auto seen = PrivateMessages(buddyPane);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(std::pair(seen[0].message, seen[3].lParam),
              std::pair(UINT(PM_PLAYER_SEEN), reinterpret_cast<LPARAM>(s->PlayerAt(3))));
    catalogue::ServerRecord* other = AddRow("10.0.0.2");
    Send(playerPane, PM_BUDDY_MARK, 0, "BOB");
    EXPECT_EQ(RowImage(playerList, 0), views::kPaneImageBuddy);
    Send(playerPane, PM_BUDDY_MARK, 1, "bob");
    Send(playerPane, PM_BUDDY_MARK, 0, "Nobody");
    EXPECT_EQ(std::pair(RowImage(playerList, 0), RowImage(playerList, 1)), std::pair(views::kNoIcon, views::kNoIcon));

    Send(playerPane, PM_SERVER_REMOVED, 0, other);
    EXPECT_EQ(RowCount(playerList), 2);
    Send(playerPane, PM_SERVER_REMOVED, 0, s);
    EXPECT_EQ(RowCount(playerList), 0);
    Send(playerPane, PM_SHOW_SERVER, 0, s);
    Send(playerPane, PM_CLEAR);
    EXPECT_EQ(RowCount(playerList), 0);
}

TEST_F(PlayerPaneTest, AddToBuddyListMakesEverySelectedPlayerABuddy) {
    Start();
    ShowServerWithPlayers();
    SendMessageA(playerPane, WM_COMMAND, IDM_PANE_ADD_BUDDY, 0);
    EXPECT_EQ(profile->buddies.count, 0u);  // nothing selected
    Send(playerPane, PM_SELECT_ALL);
    SendMessageA(playerPane, WM_COMMAND, IDM_PANE_ADD_BUDDY, 0);
    EXPECT_EQ(std::pair(RowImage(playerList, 0), RowImage(playerList, 1)),
              std::pair(views::kPaneImageBuddy, views::kPaneImageBuddy));
    ASSERT_EQ(profile->buddies.count, 2u);
    EXPECT_EQ(std::pair(std::string(profile->buddies.head->name), std::string(profile->buddies.tail->name)),
              std::pair(std::string("Bob"), std::string("^1Al^7ice")));
    EXPECT_EQ(ColumnTexts(buddyList, 1), (Texts{"^4Lab", "^4Lab"}));
    EXPECT_EQ(profile->onlineBuddies, 2u);
    Send(playerPane, PM_DESELECT_ALL);
    EXPECT_TRUE(Selected(playerList).empty());
}

}  // namespace
}  // namespace views_test
