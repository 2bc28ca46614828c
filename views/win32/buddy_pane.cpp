// The buddy pane (class VXBUDDIES): the profile's buddies, online where they were seen.
#include <cstring>
#include <string_view>

#include "base/settings_index.h"
#include "app/win32/shell.h"
#include "resources/resource.h"
#include "views/buddy_model.h"
#include "views/clipboard_lines.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

using app::win32::SendToPane;
using app::win32::TheShell;

namespace {

// The sort column of every buddy pane (COBDY).
int g_buddySortColumn = -1;

struct BuddyPane {
    BuddyPane(HWND window, HWND list, catalogue::GameProfile& profile)
        : window(window), list(list), profile(profile), model(profile), drawing(list) {}
    HWND window;
    HWND list;
    catalogue::GameProfile& profile;
    BuddyModel model;
    ListDrawing drawing;
};

void OnCreate(HWND window) {
    catalogue::GameProfile* profile = app::win32::CurrentProfile();
    HWND list = CreatePaneList(window, 0);
    base::SettingsStore* store = PaneSettings();
    if (!profile || !store || !list)
        return;
    SetUpPaneColumns(list, TheShell().paneIconsB, kBuddyPaneColumns,
                     ReadPaneWidths(*store, base::reg::kBuddyColumnWidthFormat, kBuddyPaneColumns));
    auto* pane = new BuddyPane(window, list, *profile);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
    SendMessageA(window, PM_BUDDIES_RELOAD, 0, 0);
}

void OnDestroy(BuddyPane& pane) {
    SaveWidthsAndDestroyList(pane.list, base::reg::kBuddyColumnWidthFormat);
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
    Apply(pane, pane.model.PlayerSeen(*player), nullptr);
    UpdateWindow(pane.list);
    InvalidateRect(pane.window, nullptr, FALSE);
}

void AddFromPlayer(BuddyPane& pane, catalogue::PlayerRecord* player) {
    if (!player)
        return;
    SavedSelection saved = Save(pane);
    Apply(pane, pane.model.AddFromPlayer(*player, g_buddySortColumn), &saved);
}

void AddByName(BuddyPane& pane, const char* name) {
    if (!name)
        return;
    std::string_view text(name, strnlen(name, sizeof(catalogue::BuddyRecord::name)));
    Apply(pane, pane.model.AddByName(text), nullptr);
}

void RemoveSelected(BuddyPane& pane) {
    std::vector<int> rows = SelectedRows(pane.list);
    if (rows.empty())
        return;
    BuddyUpdate update = pane.model.RemoveRows(rows);
    Apply(pane, update, nullptr);
    HWND players = app::win32::PlayerPaneOf(&pane.profile);
    for (const std::string& name : update.unmarkedNames)
        SendToPane(players, PM_BUDDY_MARK, 1, reinterpret_cast<LPARAM>(name.c_str()));
    InvalidateRect(pane.window, nullptr, FALSE);
}

void CopySelected(BuddyPane& pane, bool irc) {
    catalogue::BuddyRecord* buddy = pane.model.BuddyAt(FirstSelectedRow(pane.list));
    if (!buddy)
        return;
    PutTextOnClipboard(TheShell().main, irc ? BuddyLineIrc(*buddy) : BuddyLineText(*buddy));
}

void LocateBuddy(BuddyPane& pane, int row, bool join) {
    catalogue::ServerRecord* server = pane.model.ServerToLocate(row);
    if (!server)
        return;
    HWND servers = app::win32::ServerPaneOf(&pane.profile);
    SendToPane(servers, PM_LOCATE_SERVER, 0, reinterpret_cast<LPARAM>(server));
    if (join)
        SendToPane(servers, PM_JOIN_SELECTED, 0, 0);
}

void DispInfo(BuddyPane& pane, NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    const BuddyRow* row = pane.model.Row(item.iItem);
    if (!row)
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const char* text = "";
        if (item.iSubItem == 0)
            text = row->buddy->name;
        else if (item.iSubItem == 1)
            text = row->server.c_str();
        else if (item.iSubItem == 2)
            text = row->game.c_str();
        lstrcpynA(item.pszText, text, item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = row->icon;
    if (item.mask & LVIF_PARAM)
        item.lParam = reinterpret_cast<LPARAM>(row->buddy);
}

LRESULT OnNotify(BuddyPane& pane, const NMHDR& header) {
    if (header.hwndFrom != pane.list)
        return 0;
    switch (header.code) {
        case NM_CUSTOMDRAW:
            return ListPaneCustomDraw(
                reinterpret_cast<const NMLVCUSTOMDRAW&>(header), TheShell().paneIconsB,
                [&pane](int row, int column, bool selected) { return pane.model.PaintCell(row, column, selected); });
        case LVN_GETDISPINFOA:
            DispInfo(pane, const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)));
            return 0;
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE)
                SendMessageA(pane.window, PM_REMOVE_SELECTED, 0, 0);
            return 0;
        case LVN_COLUMNCLICK: {
            base::SettingsStore* store = PaneSettings();
            if (!store)
                return 0;
            int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
            ApplyPaneMarkers(pane.list, PaneColumnClick(g_buddySortColumn, column, *store, base::reg::kBuddySortColumn));
            Sort(pane);
            return 0;
        }
        case NM_RCLICK:
            if (FirstSelectedRow(pane.list) >= 0)
                ShowListPaneMenu(pane.window, IDM_PANE_REMOVE_BUDDY);
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
            if (base::SettingsStore* store = PaneSettings())
                ApplyPaneMarkers(pane.list, RestorePaneSort(g_buddySortColumn, *store, base::reg::kBuddySortColumn));
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
