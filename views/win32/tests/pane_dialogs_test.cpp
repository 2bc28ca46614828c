// The Add Buddy and Find Player dialogs on real Win32, on the fake host.
#include "resources/resource.h"
#include "views/list_pane.h"
#include "views/win32/panes.h"
#include "views/win32/tests/pane_test_support.h"

namespace views_test {
namespace {

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
    ClickButton(dialog, IDC_FIND_GO);
    return ColumnTexts(GetDlgItem(dialog, IDC_FIND_LIST), 0);
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

TEST_F(PaneDialogsTest, AddBuddyAddsEachTypedNameAndStaysOpen) {
    Start();
    AddBuddyRecord("^1Bob");
    Send(buddyPane, PM_BUDDIES_RELOAD);
    RunWithDialog([&] { views::win32::RunAddBuddy(*fake, *profile); },
                  [&](HWND dialog) {
                      EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_BUDDY_NAME, EM_GETLIMITTEXT, 0, 0), 50);
                      for (const char* name : {"Jim", "", "^1BOB", "Ann"}) {
                          SetDlgItemTextA(dialog, IDC_BUDDY_NAME, name);
                          ClickButton(dialog, IDOK);
                          char left[64] = "?";
                          GetDlgItemTextA(dialog, IDC_BUDDY_NAME, left, sizeof left);
                          EXPECT_STREQ(left, "") << name;
                          EXPECT_TRUE(IsWindowVisible(dialog));
                      }
                      ClickButton(dialog, IDCANCEL);
                  });
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"^1Bob", "Jim", "Ann"}));
    EXPECT_EQ(profile->buddies.count, 3u);
}

TEST_F(PaneDialogsTest, FindPlayerAddsBuddiesAndFavouritesAndJoinsTheServer) {
    Start();
    Players();
    AddBuddyRecord("JimBo");
    Send(buddyPane, PM_BUDDIES_RELOAD);
    INT_PTR result = 0;
    // Which buttons a row enables is the model's rule (tested natively); here they follow the selection.
    RunWithDialog([&] { result = views::win32::RunFindPlayer(*fake, *profile); },
                  [&](HWND dialog) {
                      HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
                      Find(dialog, "");
                      ASSERT_EQ(RowCount(list), 5);
                      EXPECT_EQ(RowImage(list, 0), views::kPaneImageBuddy);
                      SelectRows(list, {0});  // JimBo, a buddy already
                      EXPECT_TRUE(Enabled(dialog, IDC_FIND_JOIN) && !Enabled(dialog, IDC_FIND_ADD_BUDDY));
                      SelectRows(list, {2});  // bob on Arena
                      ClickButton(dialog, IDC_FIND_ADD_BUDDY);
                      EXPECT_FALSE(Enabled(dialog, IDC_FIND_ADD_BUDDY));
                      EXPECT_EQ(RowImage(list, 2), views::kPaneImageBuddy);
                      ClickButton(dialog, IDC_FIND_ADD_FAVOURITE);
                      EXPECT_EQ(arena->isFavourite, 1u);
                      SelectRows(list, {});
                      EXPECT_FALSE(Enabled(dialog, IDC_FIND_JOIN));
                      SelectRows(list, {3});
                      ClickButton(dialog, IDC_FIND_JOIN);
                  });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(profile->buddies.count, 2u);
    EXPECT_STREQ(profile->buddies.tail->name, "bob");
    // Sorted again: the online buddy before the offline one.
    EXPECT_EQ(ColumnTexts(buddyList, 0), (std::vector<std::string>{"bob", "JimBo"}));
    EXPECT_EQ(CellText(buddyList, 0, 1), "Arena");
    ASSERT_EQ(fake->actions.joins.size(), 1u);
    EXPECT_EQ(fake->actions.joins[0], std::make_pair(arena, false));
    ASSERT_EQ(Selected(serverList).size(), 1u);  // the new favourite went to the top
    EXPECT_EQ(CellText(serverList, Selected(serverList)[0], 9), "10.0.0.2:27960");
}

}  // namespace
}  // namespace views_test
