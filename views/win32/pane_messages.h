// Private messages of the list panes (the same number means different things to different panes).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "catalogue/records.h"
#include "net/status_parser.h"

namespace views::win32 {

// Server list pane (class VEXARPAD).
constexpr UINT PM_MARK_SELECTED_FOR_REFRESH = WM_USER + 10;
constexpr UINT PM_MARK_FIRST_FOR_REFRESH = WM_USER + 12;
constexpr UINT PM_MARK_FIRST_FOR_REFRESH_2 = WM_USER + 25;
constexpr UINT PM_SELECT_SERVER = WM_USER + 30;
constexpr UINT PM_APPLY_REPLY = WM_USER + 110;
constexpr UINT PM_ADD_SERVER_ROW = WM_USER + 150;
constexpr UINT PM_OPEN_WEBSITE = WM_USER + 260;
constexpr UINT PM_EDIT_PLAYER_CONFIG = WM_USER + 280;
constexpr UINT PM_JOIN_SERVER = WM_USER + 290;
constexpr UINT PM_JOIN_SELECTED = WM_USER + 300;
constexpr UINT PM_LOCATE_SERVER = WM_USER + 400;
constexpr UINT PM_SERVER_CHANGED = WM_USER + 500;
constexpr UINT PM_REMOVE_SELECTED_SERVERS = WM_USER + 600;
constexpr UINT PM_REPAINT = WM_USER + 620;
constexpr UINT PM_REMOVE_SERVER = WM_USER + 650;
constexpr UINT PM_OPEN_RCON = WM_USER + 800;
constexpr UINT PM_TOGGLE_FAVOURITE = WM_USER + 900;
constexpr UINT PM_TOGGLE_AUTO_REFRESH = WM_USER + 910;
constexpr UINT PM_QUERY_FAVOURITE = WM_USER + 950;
constexpr UINT PM_QUERY_AUTO_REFRESH = WM_USER + 960;
// Posted by the pane to itself once the user has resized or moved a column: the profile takes the
// columns, and the host learns that the profiles file changed.
constexpr UINT PM_COLUMNS_CHANGED = WM_USER + 1001;

// Shared by the panes.
constexpr UINT PM_RESTORE_SORT = WM_USER + 40;
constexpr UINT PM_RESORT = WM_USER + 45;
constexpr UINT PM_SHOW_SELECTED_PLAYERS = WM_USER + 90;
constexpr UINT PM_CLEAR = WM_USER + 200;
constexpr UINT PM_COPY_SELECTED = WM_USER + 255;
constexpr UINT PM_DESELECT_ALL = WM_USER + 450;
constexpr UINT PM_SELECT_ALL = WM_USER + 460;

// Posted by a pane to itself: draw its list again after a burst of changes (ListDrawing).
constexpr UINT PM_RESUME_DRAWING = WM_USER + 1000;

// Player and buddy panes (classes VXPLAYER and VXBUDDIES).
constexpr UINT PM_BUDDIES_RELOAD = WM_USER + 10;
constexpr UINT PM_BUDDIES_RESET = WM_USER + 15;
constexpr UINT PM_SERVER_REMOVED = WM_USER + 20;
constexpr UINT PM_BUDDY_MARK = WM_USER + 50;
constexpr UINT PM_SERVER_PLAYERS = WM_USER + 110;
constexpr UINT PM_PLAYER_SEEN = WM_USER + 110;
constexpr UINT PM_REMOVE_SELECTED = WM_USER + 250;
constexpr UINT PM_SHOW_SERVER = WM_USER + 300;
constexpr UINT PM_ADD_BUDDY_PLAYER = WM_USER + 500;
constexpr UINT PM_ADD_BUDDY_NAME = WM_USER + 700;

// PM_APPLY_REPLY's lParam: a reply datagram to parse into the record; keep (or nullptr) receives a
// copy for the server information dialog.
struct ReplyToApply {
    catalogue::ServerRecord* record = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    net::RawReply* keep = nullptr;
};

// Window classes of the panes.
constexpr char kServerPaneClass[] = "VEXARPAD";
constexpr char kPlayerPaneClass[] = "VXPLAYER";
constexpr char kBuddyPaneClass[] = "VXBUDDIES";

}  // namespace views::win32
