// The player pane on real Win32: which players get rows, icons, sorting, widths, copy, buddies.
#include "views/win32/tests/pane_test_support.h"
#include "resources/resource.h"
#include "views/list_pane.h"
#include "views/player_rows.h"

namespace views_test {
namespace {

using testing_support::PrivateMessages;
using testing_support::RecordMessages;

class PlayerPaneTest : public PaneTest {
  protected:
    uint32_t RegValue(const char* name) {
        return fake->settings.ReadDword(base::kGeometryKey, name).value_or(0xDEADBEEF);
    }
    // A server on a row with Bob, his twin bob (one row for both), a bot and ^1Alice.
    catalogue::ServerRecord* ServerWithPlayers() {
        catalogue::ServerRecord* s = AddRow("10.0.0.1", "^4Lab", 40);
        base::CopyText(s->mapName, "oa_dm1");
        SetPlayers(s, {{"Bob", 10, 50}, {"bob", 5, 60}, {"Bot", 3, 0}, {"^1Al^7ice", -3, 80}});
        return s;
    }
};

TEST_F(PlayerPaneTest, TheListShowsTheModelsRowsAndPlayersReachTheBuddyPane) {
    // Which players get a row (bots, twins, Renegade) is the model's rule, tested natively.
    Start();
    AddBuddyRecord("^1AL^7ICE");
    catalogue::ServerRecord* s = ServerWithPlayers();
    SendPlayer(PM_SHOW_SERVER, 0, s);
    EXPECT_EQ(ColumnTexts(playerList, 0), (std::vector<std::string>{"Bob", "^1Al^7ice"}));
    EXPECT_EQ(ColumnTexts(playerList, 1), (std::vector<std::string>{"10", "-3"}));
    EXPECT_EQ(ColumnTexts(playerList, 2), (std::vector<std::string>{"50", "80"}));
    EXPECT_EQ(RowImage(playerList, 0), views::kNoIcon);
    EXPECT_EQ(RowImage(playerList, 1), views::kPaneImageBuddy);

    // Forwarded players are each shown to the buddy pane.
    RecordMessages(buddyPane);
    SendPlayer(PM_SERVER_PLAYERS, 0, s);
    auto seen = PrivateMessages(buddyPane);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].message, PM_PLAYER_SEEN);
    EXPECT_EQ(seen[3].lParam, reinterpret_cast<LPARAM>(s->PlayerAt(3)));
    EXPECT_TRUE(fake->sink.shown.empty());
}

TEST_F(PlayerPaneTest, ColumnClickSortsAscendingAndIsRemembered) {
    Start();
    catalogue::ServerRecord* s = ServerWithPlayers();
    SendPlayer(PM_SHOW_SERVER, 0, s);
    for (int click = 0; click < 2; ++click) {
        ColumnClick(playerPane, playerList, 1);
        EXPECT_EQ(ColumnTexts(playerList, 1), (std::vector<std::string>{"-3", "10"})) << click;
    }
    EXPECT_EQ(RegValue("COPLR"), 1u);
    EXPECT_EQ(HeaderImage(playerList, 1), views::kPaneImageSortMarker);
    ColumnClick(playerPane, playerList, 0);
    EXPECT_EQ(ColumnTexts(playerList, 0), (std::vector<std::string>{"Bob", "^1Al^7ice"}));
    EXPECT_EQ(HeaderImage(playerList, 1), -1);
    EXPECT_EQ(HeaderImage(playerList, 0), views::kPaneImageSortMarker);

    // The stored column is restored (and sorts the rows) when the lists are loaded.
    fake->settings.WriteDword(base::kGeometryKey, "COPLR", 2);
    SendPlayer(PM_RESTORE_SORT);
    EXPECT_EQ(ColumnTexts(playerList, 2), (std::vector<std::string>{"50", "80"}));
    EXPECT_EQ(HeaderImage(playerList, 2), views::kPaneImageSortMarker);
    s->PlayerAt(0)->ping = 999;  // the row texts are copies; the order follows the records
    SendPlayer(PM_RESORT);
    EXPECT_EQ(ColumnTexts(playerList, 0), (std::vector<std::string>{"^1Al^7ice", "Bob"}));
}

TEST_F(PlayerPaneTest, ColumnWidthsComeFromAndGoToTheRegistry) {
    fake = std::make_unique<testing_support::FakePaneHost>();
    fake->settings.WriteDword(base::kGeometryKey, "PLCW01", 0);
    fake->settings.WriteDword(base::kGeometryKey, "PLCW00", 0x10000 + 150);
    Start();
    EXPECT_EQ(SendMessageA(playerList, LVM_GETCOLUMNWIDTH, 0, 0), 150);
    EXPECT_EQ(SendMessageA(playerList, LVM_GETCOLUMNWIDTH, 1, 0), 60);
    EXPECT_EQ(SendMessageA(playerList, LVM_GETCOLUMNWIDTH, 2, 0), 70);
    SendMessageA(playerList, LVM_SETCOLUMNWIDTH, 2, 93);
    DestroyWindow(playerPane);
    EXPECT_EQ(RegValue("PLCW00"), 150u);
    EXPECT_EQ(RegValue("PLCW01"), 60u);
    EXPECT_EQ(RegValue("PLCW02"), 93u);
}

TEST_F(PlayerPaneTest, RowsGoWithTheirServerAndFollowTheBuddyMarks) {
    Start();
    catalogue::ServerRecord* s = ServerWithPlayers();
    catalogue::ServerRecord* other = AddRow("10.0.0.2");
    SendPlayer(PM_SHOW_SERVER, 0, s);
    SendPlayer(PM_BUDDY_MARK, 0, "BOB");
    EXPECT_EQ(RowImage(playerList, 0), views::kPaneImageBuddy);
    SendPlayer(PM_BUDDY_MARK, 1, "bob");
    EXPECT_EQ(RowImage(playerList, 0), views::kNoIcon);
    SendPlayer(PM_BUDDY_MARK, 0, "Nobody");
    EXPECT_EQ(RowImage(playerList, 1), views::kNoIcon);

    SendPlayer(PM_SERVER_REMOVED, 0, other);
    EXPECT_EQ(RowCount(playerList), 2);
    SendPlayer(PM_SERVER_REMOVED, 0, s);
    EXPECT_EQ(RowCount(playerList), 0);
    SendPlayer(PM_SHOW_SERVER, 0, s);
    SendPlayer(PM_CLEAR);
    EXPECT_EQ(RowCount(playerList), 0);
}

TEST_F(PlayerPaneTest, CopyAndSelectionWorkOnTheFirstSelectedRow) {
    // The line formats are the model's (tested natively).
    Start();
    catalogue::ServerRecord* s = ServerWithPlayers();
    SendPlayer(PM_SERVER_PLAYERS, 0, s);
    SendPlayer(PM_SHOW_SERVER, 0, s);
    SelectRows(playerList, {1, 0});
    SendMessageA(playerPane, WM_COMMAND, IDM_PANE_COPY_TEXT, 0);
    EXPECT_EQ(ClipboardText(), "Bob | Lab (10.0.0.1:27960) | oa_dm1 | 10 | 50 ms");
    SelectRows(playerList, {1});
    SendMessageA(playerPane, WM_COMMAND, IDM_PANE_COPY_IRC, 0);
    EXPECT_EQ(ClipboardText().substr(0, 4), "\x03"
                                            "1,0");
    SendPlayer(PM_SELECT_ALL);
    EXPECT_EQ(Selected(playerList), (std::vector<int>{0, 1}));
    SendPlayer(PM_DESELECT_ALL);
    PutOnClipboard("kept");
    SendPlayer(PM_COPY_SELECTED, 1);
    EXPECT_EQ(ClipboardText(), "kept");
}

TEST_F(PlayerPaneTest, AddToBuddyListMakesEverySelectedPlayerABuddy) {
    Start();
    catalogue::ServerRecord* s = ServerWithPlayers();
    SendPlayer(PM_SERVER_PLAYERS, 0, s);
    SendPlayer(PM_SHOW_SERVER, 0, s);
    SendMessageA(playerPane, WM_COMMAND, IDM_PANE_ADD_BUDDY, 0);
    EXPECT_EQ(profile->buddies.count, 0u);  // nothing selected

    SelectRows(playerList, {0, 1});
    SendMessageA(playerPane, WM_COMMAND, IDM_PANE_ADD_BUDDY, 0);
    EXPECT_EQ(RowImage(playerList, 0), views::kPaneImageBuddy);
    EXPECT_EQ(RowImage(playerList, 1), views::kPaneImageBuddy);
    ASSERT_EQ(profile->buddies.count, 2u);
    EXPECT_STREQ(profile->buddies.head->name, "Bob");
    EXPECT_STREQ(profile->buddies.tail->name, "^1Al^7ice");
    EXPECT_EQ(ColumnTexts(buddyList, 1), (std::vector<std::string>{"^4Lab", "^4Lab"}));
    EXPECT_EQ(profile->onlineBuddies, 2u);
}

}  // namespace
}  // namespace views_test
