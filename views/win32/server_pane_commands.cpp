// The server list pane's commands: selection tracking, joining, copying, marking for refresh,
// toggles, removal, web site, remote control and the context menu.
#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "base/win32/handles.h"
#include "resources/resource.h"
#include "views/clipboard_lines.h"
#include "views/web_address.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/server_pane.h"

namespace views::win32 {

namespace {

// The selection as the main window's command states see it.
ServerSelection SelectionOf(const catalogue::GameProfile& profile, const catalogue::ServerRecord* record) {
    ServerSelection s;
    s.selected = record != nullptr;
    s.remoteControl = record && profile.kind != catalogue::kUnrealTournament;
    s.webSite = record && !WebAddressToOpen(record->webAddress, sizeof record->webAddress).empty();
    return s;
}

catalogue::ServerRecord* FirstSelectedRecord(ServerPane& pane) {
    return pane.model.RecordAt(FirstSelectedRow(pane.list));
}

std::vector<catalogue::ServerRecord*> SelectedRecords(ServerPane& pane) {
    std::vector<catalogue::ServerRecord*> records;
    for (int row : SelectedRows(pane.list)) {
        if (catalogue::ServerRecord* r = pane.model.RecordAt(row))
            records.push_back(r);
    }
    return records;
}

void JoinSelected(ServerPane& pane, bool asSpectator) {
    if (SelectedCount(pane.list) > 1) {
        pane.host.Sink().Tell(kJoinMultipleMessage, base::MessageIcon::kInformation);
        return;
    }
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    if (ServerActions* actions = pane.host.Actions())
        actions->Join(*record, asSpectator);
    // The join count may have changed: the row takes the visited colours, and moves up when
    // visited servers go first.
    if (pane.host.Display().VisitedOnTop)
        SendMessageA(pane.window, PM_RESORT, 0, 0);
    InvalidateRect(pane.list, nullptr, FALSE);
}

void JoinServer(ServerPane& pane, bool asSpectator, catalogue::ServerRecord* record) {
    if (!record)
        return;
    SelectAllRows(pane.list, false);
    int row = pane.model.RowOf(record);
    if (row >= 0) {
        SelectAndFocusRow(pane.list, row);
        JoinSelected(pane, asSpectator);
        return;
    }
    // A server found elsewhere (Find Player, a buddy) whose row the filters hide is joined all the same.
    if (ServerActions* actions = pane.host.Actions())
        actions->Join(*record, asSpectator);
}

void CopySelected(ServerPane& pane, bool irc) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    const ColourDialect dialect = ColourDialectOf(pane.profile.kind);
    PutTextOnClipboard(pane.host.Owner(), irc ? ServerLineIrc(*record, dialect) : ServerLineText(*record, dialect));
}

void MarkForRefresh(ServerPane& pane, catalogue::ServerRecord* record) {
    TellServerRemoved(pane, record);
    // The monitor marks while a refresh may run: the host marks under the refresh's lock.
    pane.host.MarkForRefresh(*record);
}

LRESULT MarkSelectedForRefresh(ServerPane& pane) {
    std::vector<catalogue::ServerRecord*> records = SelectedRecords(pane);
    for (catalogue::ServerRecord* r : records)
        MarkForRefresh(pane, r);
    return static_cast<LRESULT>(records.size());
}

LRESULT MarkFirstForRefresh(ServerPane& pane) {
    int count = SelectedCount(pane.list);
    if (catalogue::ServerRecord* r = FirstSelectedRecord(pane))
        MarkForRefresh(pane, r);
    return count;
}

void ToggleFavourite(ServerPane& pane) {
    std::vector<catalogue::ServerRecord*> records = SelectedRecords(pane);
    for (catalogue::ServerRecord* r : records) {
        r->isFavourite = r->isFavourite ? 0 : 1;
        SendMessageA(pane.window, PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(r));
    }
    if (!records.empty())
        pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kServerList);
    if (!records.empty() && pane.host.Display().FavouritesOnTop) {
        SendMessageA(pane.window, PM_RESORT, 0, 0);
        int first = FirstSelectedRow(pane.list);
        if (first >= 0)
            SendMessageA(pane.list, LVM_ENSUREVISIBLE, first, FALSE);
    }
}

void ToggleAutoRefresh(ServerPane& pane) {
    std::vector<catalogue::ServerRecord*> records = SelectedRecords(pane);
    for (catalogue::ServerRecord* r : records) {
        r->autoRefresh = r->autoRefresh ? 0 : 1;
        SendMessageA(pane.window, PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(r));
    }
    if (!records.empty())
        pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kServerList);
    UpdateWindow(pane.list);
}

void RemoveSelected(ServerPane& pane) {
    // While a refresh runs its worker walks the server list and holds records it has sent to: the
    // user's removal waits until the refresh is over (stale servers go at its end, after the worker).
    if (pane.host.RefreshBusy()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    std::vector<catalogue::ServerRecord*> records = SelectedRecords(pane);
    if (records.empty()) {
        pane.host.Sink().TellWithCaption(kNothingSelectedMessage, "OK", base::MessageIcon::kNone);
        return;
    }
    // The other panes let go of each record before it is freed. The list control follows in one
    // step: every selected row goes, so no selection is left and the count is the model's.
    for (catalogue::ServerRecord* r : records) {
        TellServerRemoved(pane, r);
        pane.model.EraseRowAndServer(pane.model.RowOf(r));
    }
    pane.drawing.Suspend();
    pane.quietSelection = true;
    SelectAllRows(pane.list, false);
    SendMessageA(pane.list, LVM_SETITEMCOUNT, pane.model.rows().size(), 0);
    pane.quietSelection = false;
    InvalidateRect(pane.list, nullptr, FALSE);
    InvalidateStrip(pane.window);
    TrackServerSelection(pane);
    pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kServerList);
}

void OpenWebsite(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    std::string address = WebAddressToOpen(record->webAddress, sizeof record->webAddress);
    if (!address.empty())
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void EditPlayerConfig(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    ServerActions* actions = pane.host.Actions();
    if (record && actions)
        actions->EditPlayerConfig(*record);
}

void OpenRemoteControl(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    // Unreal Tournament servers have no remote control (the command is greyed for them).
    if (!record || pane.profile.kind == catalogue::kUnrealTournament)
        return;
    ServerActions* actions = pane.host.Actions();
    if (!actions)
        return;
    if (actions->RemoteControlCount() >= kRemoteControlLimit) {
        pane.host.Sink().Tell(kRemoteControlLimitMessage, base::MessageIcon::kNone);
        return;
    }
    actions->OpenRemoteControl(*record);
}

LRESULT QueryFlag(ServerPane& pane, bool favourite) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return 0;
    return (favourite ? record->isFavourite : record->autoRefresh) ? 1 : 0;
}

}  // namespace

void TrackServerSelection(ServerPane& pane) {
    if (pane.quietSelection)
        return;
    SelectionChange s = pane.model.SelectionChanged(FirstSelectedRow(pane.list));
    if (!s.changed)
        return;
    pane.host.ServerSelectionChanged(SelectionOf(pane.profile, s.record));
    if (!s.record)
        return;
    pane.host.CheckCommand(IDM_MARK_FAVOURITE, s.isFavourite);
    SendToPane(PanesOfProfile(pane).player, PM_SHOW_SERVER, 0, reinterpret_cast<LPARAM>(s.record));
}

bool HandleServerCommand(ServerPane& pane, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case PM_MARK_SELECTED_FOR_REFRESH:
            result = MarkSelectedForRefresh(pane);
            return true;
        case PM_MARK_FIRST_FOR_REFRESH:
        case PM_MARK_FIRST_FOR_REFRESH_2:
            result = MarkFirstForRefresh(pane);
            return true;
        case PM_COPY_SELECTED:
            CopySelected(pane, wParam != 0);
            return true;
        case PM_OPEN_WEBSITE:
            OpenWebsite(pane);
            return true;
        case PM_EDIT_PLAYER_CONFIG:
            EditPlayerConfig(pane);
            return true;
        case PM_JOIN_SERVER:
            JoinServer(pane, wParam != 0, reinterpret_cast<catalogue::ServerRecord*>(lParam));
            return true;
        case PM_JOIN_SELECTED:
            JoinSelected(pane, wParam != 0);
            return true;
        case PM_REMOVE_SELECTED_SERVERS:
            RemoveSelected(pane);
            return true;
        case PM_OPEN_RCON:
            OpenRemoteControl(pane);
            return true;
        case PM_TOGGLE_FAVOURITE:
            ToggleFavourite(pane);
            return true;
        case PM_TOGGLE_AUTO_REFRESH:
            ToggleAutoRefresh(pane);
            return true;
        case PM_QUERY_FAVOURITE:
            result = QueryFlag(pane, true);
            return true;
        case PM_QUERY_AUTO_REFRESH:
            result = QueryFlag(pane, false);
            return true;
        default:
            return false;
    }
}

void OnServerMenuCommand(ServerPane& pane, UINT command) {
    // The context menu's commands are the main window's: its command table maps both.
    pane.host.RunCommand(command);
}

void PrepareServerMenu(HMENU popup,
                       PaneHost& host,
                       const catalogue::GameProfile& profile,
                       const catalogue::ServerRecord& record) {
    host.PrepareCommandMenu(popup, SelectionOf(profile, &record));
    CheckMenuItem(popup, IDM_SRV_MARK_FAVOURITE, MF_BYCOMMAND | (record.isFavourite ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDM_SRV_AUTO_REFRESH, MF_BYCOMMAND | (record.autoRefresh ? MF_CHECKED : MF_UNCHECKED));
}

void ShowServerMenu(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    base::win32::Menu menu(LoadMenuA(pane.host.Instance(), MAKEINTRESOURCEA(IDR_SERVER_MENU)));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    PrepareServerMenu(popup, pane.host, pane.profile, *record);
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, pane.window, nullptr);
}

}  // namespace views::win32
