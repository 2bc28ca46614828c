// What the panes put on the screen and the clipboard: row colours of the owner-drawn cells once the
// lists are drawn again after a burst of changes, the selection kept while rows go, copied rows.
#include "resources/resource.h"
#include "views/row_paint.h"
#include "views/win32/list_control.h"
#include "views/win32/tests/pane_test_support.h"

namespace views_test {
namespace {

// The colour inside a cell, away from its text: near the right edge of its label rectangle.
COLORREF CellColour(HWND list, int row, int column) {
    RECT r = {};
    r.top = column;
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    HDC dc = GetDC(list);
    COLORREF c = GetPixel(dc, r.right - 3, r.top + 1);
    ReleaseDC(list, dc);
    return c;
}

class PaneDrawingTest : public PaneTest {
  protected:
    void Pump() {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    void Show() {
        UpdateWindow(fake->owner);
        // A list draws again once its burst of changes has settled.
        for (DWORD start = GetTickCount(); GetTickCount() - start < 2 * views::win32::kResumeDrawingDelayMs; Sleep(5))
            Pump();
        RedrawWindow(fake->owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
};

TEST_F(PaneDrawingTest, CellsAreFilledWithTheProfilesRowColours) {
    Start();
    // Distinct colours, so that each fill can be told apart.
    const uint32_t colours[] = {0x00F0F0F0, 0x00E0E0D0, 0x0080FFFF, 0x00FFE0E0, 0x00E0FFE0, 0x00008000};
    for (int i = 0; i < 6; ++i)
        profile->colours[i] = colours[i];
    AddRow("10.0.0.1");
    AddRow("10.0.0.2");
    AddRow("10.0.0.3")->isFavourite = 1;
    AddRow("10.0.0.4")->joinCount = 1;
    AddRow("10.0.0.5")->autoRefresh = 1;
    AddBuddyRecord("Bob");
    Send(buddyPane, PM_BUDDIES_RELOAD);
    SelectRows(serverList, {0});
    Show();  // the lists are drawn again once the burst of changes is over
    ASSERT_TRUE(IsWindowVisible(serverList) && IsWindowVisible(buddyList));
    EXPECT_EQ(CellColour(serverList, 0, 5), colours[views::kSchemeSelectionBackground]);
    EXPECT_EQ(CellColour(serverList, 1, 5), colours[views::kSchemeAlternateBackground]);
    EXPECT_EQ(CellColour(serverList, 2, 5), colours[views::kSchemeFavouriteBackground]);
    EXPECT_EQ(CellColour(serverList, 3, 5), colours[views::kSchemeVisitedBackground]);
    EXPECT_EQ(CellColour(serverList, 4, 5), colours[views::kSchemeAutoRefreshBackground]);

    catalogue::ServerRecord* s = profile->servers.head;
    SetPlayers(s, {{"One", 1, 10}, {"Two", 2, 20}});
    Send(serverPane, PM_SHOW_SELECTED_PLAYERS);
    SelectRows(playerList, {1});
    Show();
    EXPECT_EQ(CellColour(playerList, 0, 1), colours[views::kSchemeDefaultBackground]);
    EXPECT_EQ(CellColour(playerList, 1, 1), colours[views::kSchemeSelectionBackground]);
}

// Rows trickling in below the page leave the list undrawn longer than rows on the page; a key
// pressed on the list brings the drawing back as soon as a row on the page would. Each wait ends at
// whichever comes first: the list drawn again (visible) or a timer of the test's, set for between
// the two delays.
TEST_F(PaneDrawingTest, RowsBelowThePageWaitLongerUnlessTheUserActs) {
    Start();
    auto drawnBeforeTimer = [this](UINT ms) {
        const UINT_PTR timer = SetTimer(nullptr, 0, ms, nullptr);
        bool fired = false;
        for (MSG msg; !IsWindowVisible(serverList) && !fired && GetMessageA(&msg, nullptr, 0, 0);) {
            fired = msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer;
            DispatchMessageA(&msg);
        }
        KillTimer(nullptr, timer);
        return IsWindowVisible(serverList) != FALSE;
    };
    const UINT between = (views::win32::kResumeDrawingDelayMs + views::win32::kOffPageResumeDelayMs) / 2;
    AddRow("10.0.1.1");  // on the page
    EXPECT_FALSE(IsWindowVisible(serverList));
    EXPECT_TRUE(drawnBeforeTimer(between));
    for (int i = 2; i < 120; ++i)
        AddRow(("10.0.1." + std::to_string(i)).c_str());
    EXPECT_TRUE(drawnBeforeTimer(2 * views::win32::kOffPageResumeDelayMs));
    AddRow("10.0.2.1");  // below the page
    EXPECT_FALSE(drawnBeforeTimer(between));
    EXPECT_TRUE(drawnBeforeTimer(2 * views::win32::kOffPageResumeDelayMs));
    AddRow("10.0.2.2");
    SendMessageA(serverList, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_TRUE(drawnBeforeTimer(between));
    EXPECT_EQ(RowCount(serverList), 121);
}

TEST_F(PaneDrawingTest, DeletedRowsKeepTheSelectionOnItsServers) {
    Start();
    catalogue::ServerRecord* r[5];
    for (int i = 0; i < 5; ++i)
        r[i] = AddRow(("10.0.0." + std::to_string(i + 1)).c_str());
    SelectRows(serverList, {1, 3});
    Send(serverPane, PM_REMOVE_SERVER, 0, r[0]);
    r[2]->ping = catalogue::kNoPing;
    Send(serverPane, PM_SERVER_CHANGED, 0, r[2]);  // filtered out: its row goes
    EXPECT_EQ(ColumnTexts(serverList, 9),
              (std::vector<std::string>{"10.0.0.2:27960", "10.0.0.4:27960", "10.0.0.5:27960"}));
    EXPECT_EQ(Selected(serverList), (std::vector<int>{0, 1}));
    SelectRows(serverList, {});  // without a selection rows go all the same
    Send(serverPane, PM_REMOVE_SERVER, 0, r[4]);
    EXPECT_EQ(ColumnTexts(serverList, 9), (std::vector<std::string>{"10.0.0.2:27960", "10.0.0.4:27960"}));
    SelectRows(serverList, {1});
    EXPECT_EQ(Send(serverPane, PM_QUERY_FAVOURITE), 0);
}

TEST_F(PaneDrawingTest, EachPaneCopiesItsFirstSelectedRowAndLeavesTheClipboardWithoutOne) {
    // The line formats are the models' (tested natively).
    Start();
    catalogue::ServerRecord* s = AddRow("10.0.0.1", "^1Al^7pha", 99);
    base::CopyText(s->mapName, "oa_dm1");
    AddRow("10.0.0.2", "Other", 100);
    SetPlayers(s, {{"^1Bob", 10, 50}, {"Ann", 1, 20}});
    Send(playerPane, PM_SHOW_SERVER, 0, s);
    ColumnClick(playerPane, playerList, 2);  // by ping: Ann first (the sort column is every pane's)
    AddBuddyRecord("^1Bob");
    AddBuddyRecord("Jim");
    Send(buddyPane, PM_BUDDIES_RELOAD);
    const std::tuple<HWND, HWND, const char*> panes[] = {
        {serverPane, serverList, "Alpha | 10.0.0.1:27960 | oa_dm1 | 2/16 | 99 ms"},
        {playerPane, playerList, "Ann | Alpha (10.0.0.1:27960) | oa_dm1 | 1 | 20 ms"},
        {buddyPane, buddyList, "Bob | Not online | 0 | 0 ms"}};
    for (auto [pane, list, line] : panes) {
        SelectRows(list, {1, 0});
        for (bool irc : {false, true}) {  // the server pane's commands, the context menus of the others
            if (pane == serverPane)
                Send(pane, PM_COPY_SELECTED, irc);
            else
                SendMessageA(pane, WM_COMMAND, irc ? IDM_PANE_COPY_IRC : IDM_PANE_COPY_TEXT, 0);
            EXPECT_EQ(irc ? ClipboardText().substr(0, 4) : ClipboardText(), irc ? "\x03"
                                                                                  "1,0"
                                                                                : line)
                << line;
        }
        SelectRows(list, {});  // nothing selected: the clipboard keeps the last copy
        Send(pane, PM_COPY_SELECTED, 0);
        EXPECT_EQ(ClipboardText().substr(0, 4),
                  "\x03"
                  "1,0")
            << line;
    }
}

}  // namespace
}  // namespace views_test
