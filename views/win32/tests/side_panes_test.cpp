// The player and buddy panes and their dialogs on real Win32. Player pane: rows and icons, sorting,
// widths, buddy marks and adding buddies. Buddy pane: removal, locating and joining a buddy's server,
// sorting. Add Buddy and Find Player on the fake host. Which players get a row, who is online, the counts,
// the orders and the buttons a found player enables are the models' rules (tested natively).
#include "resources/resource.h"
#include "testing/win32/modal_loop.h"
#include "views/list_pane.h"
#include "views/player_rows.h"
#include "views/win32/panes.h"
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

class PaneDialogsTest : public PaneTest {
  protected:
    // Two servers of players for the searches.
    void Players() {
        lab = AddRow("10.0.0.1", "^1Lab", 40);
        SetPlayers(lab, {{"JimBo", 1, 10}, {"Bob", 2, 20}});
        arena = AddRow("10.0.0.2", "Arena", 40);
        SetPlayers(arena, {{"bob", 3, 30}, {"BOB", 4, 40}, {"^1B^2ob", 5, 50}});
    }

    catalogue::ServerRecord* lab = nullptr;
    catalogue::ServerRecord* arena = nullptr;
};

// Types a search and presses "Find!"; returns the result names.
std::vector<std::string> Find(HWND dialog, const char* text) {
    SetDlgItemTextA(dialog, IDC_FIND_TEXT, text);
    PressButton(dialog, IDC_FIND_GO);
    return ColumnTexts(GetDlgItem(dialog, IDC_FIND_LIST), 0);
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

TEST_F(PaneDialogsTest, AddBuddyAddsEachTypedNameAndStaysOpen) {
    Start();
    AddBuddyRecord("^1Bob");
    Send(buddyPane, PM_BUDDIES_RELOAD);
    RunDialogScript([&] { views::win32::RunAddBuddy(*fake, *profile); },
                    [&](HWND dialog) {
                        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_BUDDY_NAME, EM_GETLIMITTEXT, 0, 0), 50);
                        for (const char* name : {"Jim", "", "^1BOB", "Ann"}) {
                            SetDlgItemTextA(dialog, IDC_BUDDY_NAME, name);
                            PressButton(dialog, IDOK);
                            char left[64] = "?";
                            GetDlgItemTextA(dialog, IDC_BUDDY_NAME, left, sizeof left);
                            EXPECT_STREQ(left, "") << name;
                            EXPECT_TRUE(IsWindowVisible(dialog));
                        }
                        PressButton(dialog, IDCANCEL);
                    });
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"^1Bob", "Jim", "Ann"}));
    EXPECT_EQ(profile->buddies.count, 3u);
}

TEST_F(PaneDialogsTest, FindPlayerAddsBuddiesAndFavouritesAndJoinsOnlyWhatIsStillThereAfterRefreshes) {
    Start();
    Players();
    AddBuddyRecord("JimBo");
    Send(buddyPane, PM_BUDDIES_RELOAD);
    INT_PTR result = 0;
    testing_support::FreedMemoryWatch watch;
    // Which buttons a row enables is the model's rule (tested natively); here they follow the selection.
    RunDialogScript([&] { result = views::win32::RunFindPlayer(*fake, *profile); },
                    [&](HWND dialog) {
                        HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
                        Find(dialog, "");
                        ASSERT_EQ(RowCount(list), 5);
                        EXPECT_EQ(RowImage(list, 0), views::kPaneImageBuddy);
                        SelectRows(list, {0});  // JimBo, a buddy already
                        EXPECT_TRUE(Enabled(dialog, IDC_FIND_JOIN) && !Enabled(dialog, IDC_FIND_ADD_BUDDY));
                        SelectRows(list, {2});  // bob on Arena
                        PressButton(dialog, IDC_FIND_ADD_BUDDY);
                        EXPECT_FALSE(Enabled(dialog, IDC_FIND_ADD_BUDDY));
                        EXPECT_EQ(RowImage(list, 2), views::kPaneImageBuddy);
                        PressButton(dialog, IDC_FIND_ADD_FAVOURITE);
                        EXPECT_EQ(arena->isFavourite, 1u);
                        SelectRows(list, {});
                        EXPECT_FALSE(Enabled(dialog, IDC_FIND_JOIN));
                        // Refreshes ran meanwhile (in the dialog's loop): Lab went stale and was
                        // freed, and BOB's slot on Arena now holds Eve.
                        Send(serverPane, PM_REMOVE_SERVER, 0, lab);
                        base::CopyText(arena->PlayerAt(1)->name, "Eve");
                        SelectRows(list, {1});  // Bob on Lab
                        for (int button : {IDC_FIND_ADD_FAVOURITE, IDC_FIND_ADD_BUDDY, IDC_FIND_JOIN})
                            PressButton(dialog, button);
                        EXPECT_FALSE(Enabled(dialog, IDC_FIND_JOIN) || Enabled(dialog, IDC_FIND_ADD_BUDDY));
                        SelectRows(list, {3});  // BOB's row: Arena is there, BOB is not
                        PressButton(dialog, IDC_FIND_ADD_BUDDY);
                        EXPECT_FALSE(Enabled(dialog, IDC_FIND_ADD_BUDDY));
                        PressButton(dialog, IDC_FIND_JOIN);
                    });
    EXPECT_EQ(std::pair(result, watch.TouchedAfterFree()), std::pair(INT_PTR(1), size_t(0)));
    // The new buddy is online (sorted first), the new favourite went to the top and got the selection.
    EXPECT_EQ(std::pair(ColumnTexts(buddyList, 0), CellText(buddyList, 0, 1)),
              std::pair(std::vector<std::string>{"bob", "JimBo"}, std::string("Arena")));
    EXPECT_EQ(fake->actions.joins, (std::vector<std::pair<catalogue::ServerRecord*, bool>>{{arena, false}}));
    EXPECT_EQ(std::pair(Selected(serverList), CellText(serverList, 0, 9)),
              std::pair(std::vector<int>{0}, std::string("10.0.0.2:27960")));
}

}  // namespace
}  // namespace views_test
