// The server list pane (class VEXARPAD): its state and the parts of its window procedure.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "views/display_options.h"
#include "views/server_list.h"
#include "views/win32/list_control.h"
#include "views/win32/pane_host.h"

namespace views::win32 {

// Messages the pane shows (caption: the program's title).
constexpr char kJoinMultipleMessage[] =
    "Join multiple Servers? You must be good!\n\nBTW that was sarcasm :>\n\nDeselect all other servers and try "
    "again!";
constexpr char kNothingSelectedMessage[] = "nothing selected!";
constexpr char kRemoteControlLimitMessage[] =
    "A maximum of five Vexar! Remote Control\nwindows may be opened at one time!";
constexpr int kRemoteControlLimit = 5;

// One per server list pane, kept in the window's GWLP_USERDATA from WM_CREATE to WM_NCDESTROY. The
// list control is owner-data: its rows are the model's.
struct ServerPane {
    ServerPane(PaneHost& host, HWND window, HWND list, catalogue::GameProfile& profile)
        : host(host),
          window(window),
          list(list),
          profile(profile),
          model(profile, host.Display(), host.Catalogue(), [&host] { return host.RecordLock(); }),
          drawing(list) {}

    PaneHost& host;
    HWND window;
    HWND list;
    catalogue::GameProfile& profile;
    ServerListModel model;
    ListDrawing drawing;
    // The list control's row count lags behind the model's: rows appended in a burst (a profile's
    // list being loaded, a filter change), or rows deleted while nothing was selected, change the
    // control's count once. Every message to the list control, and every other change of the
    // rows, brings it up to date first (SyncRows), so nobody sees the difference.
    bool pendingRows = false;
    // Set while the pane changes many selection states itself; it tracks the result once afterwards.
    bool quietSelection = false;
};

ServerPane* ServerPaneFrom(HWND window);

// Rows (server_pane.cpp).
enum class ServerSort {
    kResort,       // PM_RESORT: again by the sort column
    kRestore,      // PM_RESTORE_SORT: the sort column's marker, then sorted
    kColumnClick,  // LVN_COLUMNCLICK on `column`: markers moved, direction flipped on the same column
};
// Sorts (when there are rows), sets the header markers, and keeps the selection and the focus on
// the same records.
void SortServerRows(ServerPane& pane, ServerSort kind, int column = -1);
// Gives the list control the model's row count.
void SyncRows(ServerPane& pane);
// Sends PM_SERVER_REMOVED with the record to the buddy pane and the player pane.
void TellServerRemoved(ServerPane& pane, catalogue::ServerRecord* record);

// The panes of the pane's own profile.
PaneSet PanesOfProfile(ServerPane& pane);

// Selection and commands (server_pane_commands.cpp).
// Re-reads the first selected row; when it changed, tells the host (which greys or enables the
// server commands) and shows the server's players.
void TrackServerSelection(ServerPane& pane);
// The pane messages of the server commands; false for a message that is not one of them.
bool HandleServerCommand(ServerPane& pane, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// WM_COMMAND from the context menu.
void OnServerMenuCommand(ServerPane& pane, UINT command);
// NM_RCLICK: the context menu when a row is selected.
void ShowServerMenu(ServerPane& pane);
// Has the host grey the items of the context menu (resource 123) for the first selected server,
// and checks its marks.
void PrepareServerMenu(HMENU popup,
                       PaneHost& host,
                       const catalogue::GameProfile& profile,
                       const catalogue::ServerRecord& record);

}  // namespace views::win32
