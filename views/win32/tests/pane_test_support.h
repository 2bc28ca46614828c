// Fixture of the pane tests: one profile's panes on a fake host, records made to measure, and
// readers of list rows, header images and the clipboard.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/records.h"
#include "testing/win32/dialog_script.h"
#include "testing/win32/fake_pane_host.h"
#include "testing/win32/message_recorder.h"
#include "views/win32/pane_messages.h"

namespace views_test {

using namespace views::win32;

using testing_support::RecordingActions;

// One profile with its three panes on a fake host: nothing of the program but the panes.
class PaneTest : public ::testing::Test {
  protected:
    // Makes the host (unless a test made it first to prepare its settings), the profile and its panes.
    void Start();
    void TearDown() override;

    // A record appended to the profile's list that passes the default filters: an answered,
    // non-empty, unprotected server.
    catalogue::ServerRecord* NewServer(const char* address, uint32_t port = 27960);
    // NewServer, then offered to the server list pane.
    catalogue::ServerRecord* AddRow(const char* address, const char* hostName = "Server", uint32_t ping = 50);
    // Players of a server: name, score, ping (their server set, as forwarded players have it).
    struct PlayerSpec {
        const char* name;
        int score;
        int ping;
    };
    void SetPlayers(catalogue::ServerRecord* server, std::initializer_list<PlayerSpec> players);
    void AddBuddyRecord(const char* name);

    LRESULT Send(HWND pane, UINT message, WPARAM wParam = 0, const void* lParam = nullptr) {
        return SendMessageA(pane, message, wParam, reinterpret_cast<LPARAM>(lParam));
    }
    // A notification from a pane's list control, as the control would send it (about the first
    // selected row); a click selects its row first.
    LRESULT Notify(HWND pane, HWND list, UINT code);
    void Click(HWND pane, HWND list, int row, bool twice);
    void ColumnClick(HWND pane, HWND list, int column);
    void KeyDown(HWND pane, HWND list, WORD key);

    std::unique_ptr<testing_support::FakePaneHost> fake;
    std::unique_ptr<catalogue::GameProfile> ownProfile;
    catalogue::GameProfile* profile = nullptr;
    HWND serverPane = nullptr;
    HWND playerPane = nullptr;
    HWND buddyPane = nullptr;
    HWND serverList = nullptr;
    HWND playerList = nullptr;
    HWND buddyList = nullptr;
};

int RowCount(HWND list);
std::string CellText(HWND list, int row, int column);
std::vector<std::string> ColumnTexts(HWND list, int column);
int RowImage(HWND list, int row);
// The header image of a column, -1 when it has none.
int HeaderImage(HWND list, int column);
void SelectRows(HWND list, std::initializer_list<int> rows);
std::vector<int> Selected(HWND list);
// CF_TEXT on the clipboard ("" when there is none).
std::string ClipboardText();
// Dialogs are driven by scripts run inside their own message loops.
using testing_support::PressButton;
using testing_support::RunDialogScript;

}  // namespace views_test
