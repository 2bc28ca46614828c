// The server list pane's commands: selection tracking, joining, copying, marking for refresh,
// toggles, removal, web site, remote control and the context menu.
#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "app/win32/app_messages.h"
#include "app/win32/shell.h"
#include "base/text.h"
#include "resources/resource.h"
#include "views/clipboard_lines.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/server_pane.h"

namespace views::win32 {

using app::win32::SendToPane;
using app::win32::SetToolbarState;
using app::win32::TheShell;

namespace {

void EnableMenuItems(std::initializer_list<UINT> items, bool enable) {
    HWND main = TheShell().main;
    HMENU menu = main ? GetMenu(main) : nullptr;
    if (!menu)
        return;
    for (UINT item : items)
        EnableMenuItem(menu, item, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void SetToolbarStates(std::initializer_list<int> commands, BYTE state) {
    for (int command : commands)
        SetToolbarState(command, state);
}

// Nothing selected any more.
void DisableServerCommands() {
    SetToolbarStates({IDM_REMOVE_SERVER, IDM_JOIN, IDM_REFRESH_SELECTED, IDM_REMOTE_CONTROL}, TBSTATE_INDETERMINATE);
    EnableMenuItems({IDM_REMOVE_SERVER, IDM_REFRESH_SELECTED, IDM_JOIN, IDM_JOIN_SPECTATOR, IDM_SERVER_INFO,
                     IDM_REMOTE_CONTROL, IDM_MARK_FAVOURITE, IDM_MONITOR_SERVER},
                    false);
}

void EnableSelectedServerCommands(const SelectionChange& s) {
    const app::AppContext* ctx = TheShell().ctx;
    // While a refresh runs its toolbar buttons stay grey; the end of the refresh restores them.
    const bool refreshing = ctx && ctx->refreshBusy;
    SetToolbarStates({IDM_JOIN, IDM_REMOVE_SERVER}, TBSTATE_ENABLED);
    if (!refreshing)
        SetToolbarState(IDM_REFRESH_SELECTED, TBSTATE_ENABLED);
    SetToolbarState(IDM_REMOTE_CONTROL, s.remoteControl ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE);
    EnableMenuItems({IDM_JOIN, IDM_JOIN_SPECTATOR, IDM_SERVER_INFO, IDM_AUTO_REFRESH_SELECTED, IDM_REFRESH_SELECTED,
                     IDM_REMOVE_SERVER, IDM_MARK_FAVOURITE, IDM_MONITOR_SERVER, IDM_EDIT_PLAYER_CONFIG},
                    true);
    EnableMenuItems({IDM_REMOTE_CONTROL}, s.remoteControl);
    if (HWND main = TheShell().main)
        CheckMenuItem(GetMenu(main), IDM_MARK_FAVOURITE, MF_BYCOMMAND | (s.isFavourite ? MF_CHECKED : MF_UNCHECKED));
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

void Tell(const char* text, base::MessageIcon icon) {
    if (base::MessageSink* sink = TheShell().sink)
        sink->Tell(text, icon);
}

void JoinSelected(ServerPane& pane, bool asSpectator) {
    if (SelectedCount(pane.list) > 1) {
        Tell(kJoinMultipleMessage, base::MessageIcon::kInformation);
        return;
    }
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    if (app::win32::ShellServerActions* actions = TheShell().serverActions)
        actions->Join(*record, asSpectator);
    // The join count changed: a visited server moves up.
    if (TheShell().ctx && TheShell().ctx->display.VisitedOnTop)
        SendMessageA(pane.window, PM_RESORT, 0, 0);
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
    // A server found elsewhere (Find Player) whose row the filters hide is joined all the same.
    if (app::win32::ShellServerActions* actions = TheShell().serverActions)
        actions->Join(*record, asSpectator);
}

void CopySelected(ServerPane& pane, bool irc) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    PutTextOnClipboard(TheShell().main, irc ? ServerLineIrc(*record) : ServerLineText(*record));
}

void MarkForRefresh(ServerPane& pane, catalogue::ServerRecord* record) {
    TellServerRemoved(pane, record);
    record->refreshPending = 1;
    record->awaitingReply = 0;
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
    if (!records.empty() && TheShell().ctx && TheShell().ctx->display.FavouritesOnTop) {
        SendMessageA(pane.window, PM_RESORT, 0, 0);
        int first = FirstSelectedRow(pane.list);
        if (first >= 0)
            SendMessageA(pane.list, LVM_ENSUREVISIBLE, first, FALSE);
    }
}

void ToggleAutoRefresh(ServerPane& pane) {
    for (catalogue::ServerRecord* r : SelectedRecords(pane)) {
        r->autoRefresh = r->autoRefresh ? 0 : 1;
        SendMessageA(pane.window, PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(r));
    }
    UpdateWindow(pane.list);
}

void RemoveSelected(ServerPane& pane) {
    // While a refresh runs its worker walks the server list and holds records it has sent to: the
    // user's removal waits until the refresh is over (stale servers go at its end, after the worker).
    const app::AppContext* ctx = TheShell().ctx;
    if (ctx && ctx->refreshBusy) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    std::vector<catalogue::ServerRecord*> records = SelectedRecords(pane);
    if (records.empty()) {
        if (TheShell().sink)
            TheShell().sink->TellWithCaption(kNothingSelectedMessage, "OK", base::MessageIcon::kNone);
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
}

void OpenWebsite(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (record && IsWebAddress(record->webAddress))
        ShellExecuteA(nullptr, "open", record->webAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void EditPlayerConfig(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    app::win32::ShellServerActions* actions = TheShell().serverActions;
    if (record && actions)
        actions->EditPlayerConfig(*record);
}

void OpenRemoteControl(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    // Unreal Tournament servers have no remote control (the command is greyed for them).
    if (!record || pane.profile.kind == catalogue::kUnrealTournament)
        return;
    app::win32::ShellServerActions* actions = TheShell().serverActions;
    if (!actions)
        return;
    if (actions->RemoteControlCount() >= kRemoteControlLimit) {
        Tell(kRemoteControlLimitMessage, base::MessageIcon::kNone);
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

void SendToMain(UINT message, WPARAM wParam = 0) {
    if (HWND main = TheShell().main)
        SendMessageA(main, message, wParam, 0);
}

}  // namespace

void TrackServerSelection(ServerPane& pane) {
    if (pane.quietSelection)
        return;
    SelectionChange s = pane.model.SelectionChanged(FirstSelectedRow(pane.list));
    if (!s.changed)
        return;
    if (!s.record) {
        DisableServerCommands();
        return;
    }
    EnableSelectedServerCommands(s);
    SendToPane(app::win32::PlayerPaneOf(&pane.profile), PM_SHOW_SERVER, 0, reinterpret_cast<LPARAM>(s.record));
}

void GreyServerCommandsAfterDeselect() {
    SetToolbarStates({IDM_JOIN, IDM_REFRESH_SELECTED, IDM_REMOTE_CONTROL}, TBSTATE_INDETERMINATE);
    EnableMenuItems(
        {IDM_REFRESH_SELECTED, IDM_JOIN, IDM_JOIN_SPECTATOR, IDM_SERVER_INFO, IDM_MONITOR_SERVER, IDM_MARK_FAVOURITE,
         IDM_REMOVE_SERVER, IDM_AUTO_REFRESH_SELECTED, IDM_EDIT_PLAYER_CONFIG, IDM_REMOTE_CONTROL},
        false);
}

void EnableLocatedServerCommands() {
    SetToolbarState(IDM_JOIN, TBSTATE_ENABLED);
    EnableMenuItems({IDM_JOIN, IDM_JOIN_SPECTATOR, IDM_SERVER_INFO, IDM_MONITOR_SERVER, IDM_AUTO_REFRESH_SELECTED},
                    true);
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
    HWND self = pane.window;
    switch (command) {
        case IDM_SRV_JOIN:
            SendMessageA(self, PM_JOIN_SELECTED, 0, 0);
            break;
        case IDM_SRV_JOIN_SPECTATOR:
            SendMessageA(self, PM_JOIN_SELECTED, 1, 0);
            break;
        case IDM_SRV_COPY_TEXT:
            SendMessageA(self, PM_COPY_SELECTED, 0, 0);
            break;
        case IDM_SRV_COPY_IRC:
            SendMessageA(self, PM_COPY_SELECTED, 1, 0);
            break;
        case IDM_SRV_REFRESH_ALL:
            SendToMain(app::win32::WM_APP_REFRESH, app::win32::kRefreshAll);
            break;
        case IDM_SRV_REFRESH_SELECTED:
            SendToMain(app::win32::WM_APP_REFRESH, app::win32::kRefreshSelected);
            break;
        case IDM_SRV_REFRESH_FAVOURITES:
            SendToMain(app::win32::WM_APP_REFRESH, app::win32::kRefreshFavourites);
            break;
        case IDM_SRV_GET_MASTER_LIST:
            SendToMain(app::win32::WM_APP_MASTERQUERY);
            break;
        case IDM_SRV_REMOTE_CONTROL:
            SendMessageA(self, PM_OPEN_RCON, 0, 0);
            break;
        case IDM_SRV_MARK_FAVOURITE:
            SendMessageA(self, PM_TOGGLE_FAVOURITE, 0, 0);
            break;
        case IDM_SRV_MONITOR:
            SendToMain(app::win32::WM_APP_MONITOR);
            break;
        case IDM_SRV_AUTO_REFRESH:
            SendMessageA(self, PM_TOGGLE_AUTO_REFRESH, 0, 0);
            break;
        case IDM_SRV_ADD_SERVER:
            SendToMain(app::win32::WM_APP_ADDSERVER);
            break;
        case IDM_SRV_REMOVE_SERVER:
            SendMessageA(self, PM_REMOVE_SELECTED_SERVERS, 0, 0);
            break;
        case IDM_SRV_COLOUR_PREFERENCES:
            // The main window opens the Game Colour Scheme dialog for its own command.
            SendToMain(WM_COMMAND, IDM_COLOUR_PREFERENCES);
            break;
        case IDM_SRV_OPEN_WEBSITE:
            SendMessageA(self, PM_OPEN_WEBSITE, 0, 0);
            break;
        case IDM_SRV_SERVER_INFO:
            SendToMain(app::win32::WM_APP_REFRESH, app::win32::kRefreshServerInfo);
            break;
        default:
            break;
    }
}

void PrepareServerMenu(HMENU popup, const catalogue::GameProfile& profile, const catalogue::ServerRecord& record) {
    const bool noRemote = profile.kind == catalogue::kUnrealTournament;
    EnableMenuItem(popup, IDM_SRV_REMOTE_CONTROL, MF_BYCOMMAND | (noRemote ? MF_GRAYED : MF_ENABLED));
    CheckMenuItem(popup, IDM_SRV_MARK_FAVOURITE, MF_BYCOMMAND | (record.isFavourite ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDM_SRV_AUTO_REFRESH, MF_BYCOMMAND | (record.autoRefresh ? MF_CHECKED : MF_UNCHECKED));
    const bool noSite = record.webAddress[0] == '\0';
    EnableMenuItem(popup, IDM_SRV_OPEN_WEBSITE, MF_BYCOMMAND | (noSite ? MF_GRAYED : MF_ENABLED));
}

void ShowServerMenu(ServerPane& pane) {
    catalogue::ServerRecord* record = FirstSelectedRecord(pane);
    if (!record)
        return;
    HMENU menu = LoadMenuA(TheShell().instance, MAKEINTRESOURCEA(IDR_SERVER_MENU));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    PrepareServerMenu(popup, pane.profile, *record);
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, pane.window, nullptr);
    DestroyMenu(menu);
}

bool IsWebAddress(const char* address) {
    // The address comes from the server's own reply: only web pages are handed to the shell, never
    // a program, a document path or a network share.
    std::string_view text(address, address ? strnlen(address, 272) : 0);
    for (std::string_view scheme : {"http://", "https://"}) {
        if (text.size() > scheme.size() && base::EqualsNoCase(text.substr(0, scheme.size()), scheme))
            return true;
    }
    return false;
}

}  // namespace views::win32
