// The player pane (class VXPLAYER): the players of the first selected server.
#include <cstring>
#include <string_view>

#include "base/settings_index.h"
#include "resources/resource.h"
#include "views/clipboard_lines.h"
#include "views/player_rows.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

namespace {

// The sort column of every player pane (COPLR).
int g_playerSortColumn = -1;

struct PlayerPane {
    PlayerPane(PaneHost& host, HWND window, HWND list, catalogue::GameProfile& profile)
        : host(host), window(window), list(list), profile(profile), model(profile, host.Display()), drawing(list) {}
    PaneHost& host;
    HWND window;
    HWND list;
    catalogue::GameProfile& profile;
    PlayerPaneModel model;
    ListDrawing drawing;
};

void OnCreate(HWND window, const CREATESTRUCTA& create) {
    const auto* creation = static_cast<const PaneCreation*>(create.lpCreateParams);
    HWND list = CreatePaneList(window, 0);
    if (!creation || !list)
        return;
    PaneHost& host = creation->host;
    const ListPaneColumn(&columns)[kListPaneColumns] =
        PlayersAreTimed(creation->profile.kind) ? kTimedPlayerPaneColumns : kPlayerPaneColumns;
    SetUpPaneColumns(list, host.ListIcons().handle(), columns,
                     ReadPaneWidths(host.Settings(), base::reg::kPlayerColumnWidthFormat, columns));
    auto* pane = new PlayerPane(host, window, list, creation->profile);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
}

void OnDestroy(PlayerPane& pane) {
    SaveWidthsAndDestroyList(pane.list, pane.host.Settings(), base::reg::kPlayerColumnWidthFormat);
}

void Rebuild(PlayerPane& pane) {
    pane.drawing.Suspend();
    SendMessageA(pane.list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(pane.list, LVM_SETITEMCOUNT, pane.model.size(), 0);
    InvalidateRect(pane.list, nullptr, FALSE);
    InvalidateRect(pane.window, nullptr, FALSE);
}

void Sort(PlayerPane& pane) {
    SavedSelection saved =
        SaveSelection(pane.list, pane.model.size(), [&pane](int row) { return pane.model.PlayerAt(row); });
    if (pane.model.Sort(g_playerSortColumn)) {
        RestoreSelection(pane.list, saved, [&pane](const void* p) {
            for (int row = 0; row < pane.model.size(); ++row) {
                if (pane.model.PlayerAt(row) == p)
                    return row;
            }
            return -1;
        });
        InvalidateRect(pane.list, nullptr, FALSE);
    }
}

void ShowServer(PlayerPane& pane, catalogue::ServerRecord* server) {
    if (!server)
        return;
    // Shown and forwarded players come inside a reply's or a refresh's handling: the notice waits.
    if (pane.model.ShowServer(*server, g_playerSortColumn))
        pane.host.TellLater(kTooManyPlayersMessage, server);
    Rebuild(pane);
}

void ForwardPlayers(PlayerPane& pane, catalogue::ServerRecord* server) {
    if (!server)
        return;
    bool tooMany = false;
    std::vector<catalogue::PlayerRecord*> players = ForwardServerPlayers(*server, pane.profile.kind, tooMany);
    if (tooMany)
        pane.host.TellLater(kTooManyPlayersMessage, server);
    HWND buddies = pane.host.PanesOf(pane.profile).buddy;
    for (catalogue::PlayerRecord* p : players)
        SendToPane(buddies, PM_PLAYER_SEEN, 0, reinterpret_cast<LPARAM>(p));
}

void ServerRemoved(PlayerPane& pane, const catalogue::ServerRecord* server) {
    std::vector<int> rows = pane.model.ServerRemoved(server);
    if (rows.empty())
        return;
    pane.drawing.Suspend();
    for (int row : rows)
        SendMessageA(pane.list, LVM_DELETEITEM, row, 0);
    SetRowCount(pane.list, pane.model.size());
    InvalidateStrip(pane.window);
}

void MarkBuddy(PlayerPane& pane, bool remove, const char* name) {
    if (!name)
        return;
    // The text is a buddy or player name field (50 bytes) or a zero-terminated copy of one.
    int row = pane.model.MarkBuddy(std::string_view(name, strnlen(name, sizeof(catalogue::BuddyRecord::name))), remove);
    if (row < 0)
        return;
    RedrawRow(pane.list, row);
    UpdateWindow(pane.list);
}

void AddSelectedToBuddies(PlayerPane& pane) {
    std::vector<int> rows = SelectedRows(pane.list);
    if (rows.empty())
        return;
    std::vector<catalogue::PlayerRecord*> players = pane.model.AddSelectedToBuddies(rows);
    for (int row : rows)
        RedrawRow(pane.list, row);
    HWND buddies = pane.host.PanesOf(pane.profile).buddy;
    for (catalogue::PlayerRecord* p : players)
        SendToPane(buddies, PM_ADD_BUDDY_PLAYER, 0, reinterpret_cast<LPARAM>(p));
}

void CopySelected(PlayerPane& pane, bool irc) {
    catalogue::PlayerRecord* player = pane.model.PlayerAt(FirstSelectedRow(pane.list));
    if (!player)
        return;
    const ColourDialect dialect = ColourDialectOf(pane.profile.kind);
    PutTextOnClipboard(pane.host.Owner(), irc ? PlayerLineIrc(*player, dialect) : PlayerLineText(*player, dialect));
}

LRESULT OnNotify(PlayerPane& pane, const NMHDR& header) {
    if (header.hwndFrom != pane.list)
        return 0;
    switch (header.code) {
        case NM_CUSTOMDRAW:
        case LVN_GETDISPINFOA: {
            LRESULT result = 0;
            HandleListNotify(header, pane.model, pane.host.ListIcons(), result);
            return result;
        }
        case LVN_COLUMNCLICK: {
            base::SettingsStore& store = pane.host.Settings();
            int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
            ApplyPaneMarkers(pane.list,
                             PaneColumnClick(g_playerSortColumn, column, store, base::reg::kPlayerSortColumn));
            Sort(pane);
            return 0;
        }
        case NM_RCLICK:
            if (FirstSelectedRow(pane.list) >= 0)
                ShowListPaneMenu(pane.host.Instance(), pane.window, IDM_PANE_ADD_BUDDY);
            return 0;
        default:
            return 0;
    }
}

LRESULT Handle(PlayerPane& pane, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    auto* server = reinterpret_cast<catalogue::ServerRecord*>(lParam);
    switch (message) {
        case WM_DESTROY:
            OnDestroy(pane);
            return 0;
        case WM_NOTIFY:
            return OnNotify(pane, *reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_PANE_ADD_BUDDY)
                AddSelectedToBuddies(pane);
            else if (LOWORD(wParam) == IDM_PANE_COPY_TEXT || LOWORD(wParam) == IDM_PANE_COPY_IRC)
                CopySelected(pane, LOWORD(wParam) == IDM_PANE_COPY_IRC);
            return 0;
        case PM_RESUME_DRAWING:
            pane.drawing.Resume();
            return 0;
        case PM_SERVER_REMOVED:
            ServerRemoved(pane, server);
            return 0;
        case PM_RESTORE_SORT:
            ApplyPaneMarkers(pane.list,
                             RestorePaneSort(g_playerSortColumn, pane.host.Settings(), base::reg::kPlayerSortColumn));
            Sort(pane);
            InvalidateRect(pane.window, nullptr, TRUE);
            return 0;
        case PM_RESORT:
            Sort(pane);
            InvalidateRect(pane.window, nullptr, FALSE);
            return 0;
        case PM_BUDDY_MARK:
            MarkBuddy(pane, wParam != 0, reinterpret_cast<const char*>(lParam));
            return 0;
        case PM_SERVER_PLAYERS:
            ForwardPlayers(pane, server);
            return 0;
        case PM_CLEAR:
            pane.model.Clear();
            Rebuild(pane);
            return 0;
        case PM_COPY_SELECTED:
            CopySelected(pane, wParam != 0);
            return 0;
        case PM_SHOW_SERVER:
            ShowServer(pane, server);
            return 0;
        case PM_SELECT_ALL:
            SelectAllRows(pane.list, true);
            return 0;
        case PM_DESELECT_ALL:
            SelectAllRows(pane.list, false);
            return 0;
        default:
            handled = false;
            return 0;
    }
}

}  // namespace

LRESULT CALLBACK PlayerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ListPaneProc<PlayerPane>(window, message, wParam, lParam, OnCreate, Handle);
}

}  // namespace views::win32
