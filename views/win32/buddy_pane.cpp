// The buddy pane (class VXBUDDIES): the profile's buddies, online where they were seen.
#include <cstring>
#include <string_view>

#include "base/settings_index.h"
#include "resources/resource.h"
#include "views/buddy_model.h"
#include "views/clipboard_lines.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

namespace {

// The sort column of every buddy pane (COBDY).
int g_buddySortColumn = -1;

struct BuddyPane {
    BuddyPane(PaneHost& host, HWND window, HWND list, catalogue::GameProfile& profile)
        : host(host), window(window), list(list), profile(profile), model(profile), drawing(list) {}
    PaneHost& host;
    HWND window;
    HWND list;
    catalogue::GameProfile& profile;
    BuddyModel model;
    ListDrawing drawing;
};

void OnCreate(HWND window, const CREATESTRUCTA& create) {
    const auto* creation = static_cast<const PaneCreation*>(create.lpCreateParams);
    HWND list = CreatePaneList(window, 0);
    if (!creation || !list)
        return;
    PaneHost& host = creation->host;
    SetUpPaneColumns(list, host.ListIcons().handle(), kBuddyPaneColumns,
                     ReadPaneWidths(host.Settings(), base::reg::kBuddyColumnWidthFormat, kBuddyPaneColumns));
    auto* pane = new BuddyPane(host, window, list, creation->profile);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
    SendMessageA(window, PM_BUDDIES_RELOAD, 0, 0);
}

void OnDestroy(BuddyPane& pane) {
    SaveWidthsAndDestroyList(pane.list, pane.host.Settings(), base::reg::kBuddyColumnWidthFormat);
}

int RowOfBuddy(const BuddyPane& pane, const void* buddy) {
    return pane.model.RowOf(static_cast<const catalogue::BuddyRecord*>(buddy));
}

// Mirrors a model change on the list; a reorder keeps the selection on the same buddies.
void Apply(BuddyPane& pane, const BuddyUpdate& update, const SavedSelection* saved) {
    if (update.events.empty())
        return;
    ApplyRowEvents(pane.drawing, pane.list, update.events, pane.model.size());
    if (saved) {
        for (const RowEvent& e : update.events) {
            if (e.kind == RowEvent::kReorder) {
                RestoreSelection(pane.list, *saved, [&pane](const void* b) { return RowOfBuddy(pane, b); });
                break;
            }
        }
    }
    InvalidateStrip(pane.window);
}

SavedSelection Save(BuddyPane& pane) {
    return SaveSelection(pane.list, pane.model.size(), [&pane](int row) { return pane.model.BuddyAt(row); });
}

void Sort(BuddyPane& pane) {
    SavedSelection saved = Save(pane);
    Apply(pane, pane.model.Sort(g_buddySortColumn), &saved);
}

void PlayerSeen(BuddyPane& pane, catalogue::PlayerRecord* player) {
    if (!player)
        return;
    // Most players seen are nobody's buddy: then nothing is drawn again.
    const auto online = pane.profile.onlineBuddies;
    BuddyUpdate update = pane.model.PlayerSeen(*player);
    if (update.events.empty() && pane.profile.onlineBuddies == online)
        return;
    Apply(pane, update, nullptr);
    UpdateWindow(pane.list);
    InvalidateRect(pane.window, nullptr, FALSE);
}

void AddFromPlayer(BuddyPane& pane, catalogue::PlayerRecord* player) {
    if (!player)
        return;
    SavedSelection saved = Save(pane);
    const uint32_t before = pane.profile.buddies.count;
    Apply(pane, pane.model.AddFromPlayer(*player, g_buddySortColumn), &saved);
    if (pane.profile.buddies.count != before)
        pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kBuddyList);
}

void AddByName(BuddyPane& pane, const char* name) {
    if (!name)
        return;
    std::string_view text(name, strnlen(name, sizeof(catalogue::BuddyRecord::name)));
    const uint32_t before = pane.profile.buddies.count;
    Apply(pane, pane.model.AddByName(text), nullptr);
    if (pane.profile.buddies.count != before)
        pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kBuddyList);
}

void RemoveSelected(BuddyPane& pane) {
    std::vector<int> rows = SelectedRows(pane.list);
    if (rows.empty())
        return;
    BuddyUpdate update = pane.model.RemoveRows(rows);
    Apply(pane, update, nullptr);
    HWND players = pane.host.PanesOf(pane.profile).player;
    for (const std::string& name : update.unmarkedNames)
        SendToPane(players, PM_BUDDY_MARK, 1, reinterpret_cast<LPARAM>(name.c_str()));
    InvalidateRect(pane.window, nullptr, FALSE);
    if (!update.unmarkedNames.empty())
        pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kBuddyList);
}

void CopySelected(BuddyPane& pane, bool irc) {
    catalogue::BuddyRecord* buddy = pane.model.BuddyAt(FirstSelectedRow(pane.list));
    if (!buddy)
        return;
    const ColourDialect dialect = ColourDialectOf(pane.profile.kind);
    PutTextOnClipboard(pane.host.Owner(), irc ? BuddyLineIrc(*buddy, dialect) : BuddyLineText(*buddy, dialect));
}

void LocateBuddy(BuddyPane& pane, int row, bool join) {
    catalogue::ServerRecord* server = pane.model.ServerToLocate(row);
    if (!server)
        return;
    HWND servers = pane.host.PanesOf(pane.profile).server;
    SendToPane(servers, PM_LOCATE_SERVER, 0, reinterpret_cast<LPARAM>(server));
    // Joined by record: a server whose row a filter hides is still the buddy's, never the row that
    // happened to be selected.
    if (join)
        SendToPane(servers, PM_JOIN_SERVER, 0, reinterpret_cast<LPARAM>(server));
}

LRESULT OnNotify(BuddyPane& pane, const NMHDR& header) {
    if (header.hwndFrom != pane.list)
        return 0;
    switch (header.code) {
        case NM_CUSTOMDRAW:
        case LVN_GETDISPINFOA: {
            LRESULT result = 0;
            HandleListNotify(header, pane.model, pane.host.ListIcons(), result);
            return result;
        }
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE)
                SendMessageA(pane.window, PM_REMOVE_SELECTED, 0, 0);
            return 0;
        case LVN_COLUMNCLICK: {
            base::SettingsStore& store = pane.host.Settings();
            int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
            ApplyPaneMarkers(pane.list, PaneColumnClick(g_buddySortColumn, column, store, base::reg::kBuddySortColumn));
            Sort(pane);
            return 0;
        }
        case NM_RCLICK:
            if (FirstSelectedRow(pane.list) >= 0)
                ShowListPaneMenu(pane.host.Instance(), pane.window, IDM_PANE_REMOVE_BUDDY);
            return 0;
        case NM_CLICK:
        case NM_DBLCLK:
            LocateBuddy(pane, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem, header.code == NM_DBLCLK);
            return 0;
        default:
            return 0;
    }
}

LRESULT Handle(BuddyPane& pane, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
        case WM_DESTROY:
            OnDestroy(pane);
            return 0;
        case WM_NOTIFY:
            return OnNotify(pane, *reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_PANE_REMOVE_BUDDY)
                RemoveSelected(pane);
            else if (LOWORD(wParam) == IDM_PANE_COPY_TEXT || LOWORD(wParam) == IDM_PANE_COPY_IRC)
                CopySelected(pane, LOWORD(wParam) == IDM_PANE_COPY_IRC);
            return 0;
        case PM_RESUME_DRAWING:
            pane.drawing.Resume();
            return 0;
        case PM_BUDDIES_RELOAD:
            Apply(pane, pane.model.Reload(), nullptr);
            InvalidateRect(pane.window, nullptr, FALSE);
            return 0;
        case PM_BUDDIES_RESET:
            pane.model.Reset();
            InvalidateStrip(pane.window);
            return 0;
        case PM_SERVER_REMOVED:
            Apply(pane, pane.model.ServerRemoved(reinterpret_cast<catalogue::ServerRecord*>(lParam)), nullptr);
            return 0;
        case PM_RESTORE_SORT:
            ApplyPaneMarkers(pane.list,
                             RestorePaneSort(g_buddySortColumn, pane.host.Settings(), base::reg::kBuddySortColumn));
            Sort(pane);
            InvalidateRect(pane.window, nullptr, TRUE);
            return 0;
        case PM_RESORT:
            Sort(pane);
            InvalidateRect(pane.window, nullptr, FALSE);
            return 0;
        case PM_PLAYER_SEEN:
            PlayerSeen(pane, reinterpret_cast<catalogue::PlayerRecord*>(lParam));
            return 0;
        case PM_CLEAR:
            Apply(pane, pane.model.Clear(), nullptr);
            return 0;
        case PM_REMOVE_SELECTED:
            RemoveSelected(pane);
            return 0;
        case PM_COPY_SELECTED:
            CopySelected(pane, wParam != 0);
            return 0;
        case PM_SELECT_ALL:
            SelectAllRows(pane.list, true);
            return 0;
        case PM_DESELECT_ALL:
            SelectAllRows(pane.list, false);
            return 0;
        case PM_ADD_BUDDY_PLAYER:
            AddFromPlayer(pane, reinterpret_cast<catalogue::PlayerRecord*>(lParam));
            return 0;
        case PM_ADD_BUDDY_NAME:
            AddByName(pane, reinterpret_cast<const char*>(lParam));
            return 0;
        default:
            handled = false;
            return 0;
    }
}

}  // namespace

LRESULT CALLBACK BuddyPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ListPaneProc<BuddyPane>(window, message, wParam, lParam, OnCreate, Handle);
}

}  // namespace views::win32
