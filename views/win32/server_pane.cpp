// The server list pane's window procedure: window, columns, rows, sorting and notifications.
#include "views/win32/server_pane.h"

#include <cstring>
#include <string>

#include "net/status_parser.h"
#include "views/server_columns.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

namespace {

constexpr int kMaxColumnWidth = 4000;

int SafeWidth(uint32_t stored) {
    // A width read from a damaged profile file must not make a column miles wide.
    return stored > kMaxColumnWidth ? kMaxColumnWidth : static_cast<int>(stored);
}

// The stored order is used only when it is a permutation of the ten columns.
bool IsColumnOrder(const uint32_t (&order)[catalogue::kServerColumns]) {
    bool seen[catalogue::kServerColumns] = {};
    for (uint32_t c : order) {
        if (c >= catalogue::kServerColumns || seen[c])
            return false;
        seen[c] = true;
    }
    return true;
}

void SetUpServerColumns(HWND list, HIMAGELIST icons, const catalogue::GameProfile& profile) {
    if (icons)
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    for (int column : kServerColumnInsertOrder)
        InsertColumnAtZero(list, ServerColumnCaption(column), SafeWidth(profile.columnWidth[column]));
    if (IsColumnOrder(profile.columnOrder)) {
        int order[kServerColumnCount];
        for (int i = 0; i < kServerColumnCount; ++i)
            order[i] = static_cast<int>(profile.columnOrder[i]);
        SendMessageA(list, LVM_SETCOLUMNORDERARRAY, kServerColumnCount, reinterpret_cast<LPARAM>(order));
    }
}

void SaveServerColumns(HWND list, catalogue::GameProfile& profile) {
    for (int c = 0; c < kServerColumnCount; ++c)
        profile.columnWidth[c] = static_cast<uint32_t>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
    int order[kServerColumnCount] = {};
    if (SendMessageA(list, LVM_GETCOLUMNORDERARRAY, kServerColumnCount, reinterpret_cast<LPARAM>(order))) {
        for (int i = 0; i < kServerColumnCount; ++i)
            profile.columnOrder[i] = static_cast<uint32_t>(order[i]);
    }
}

// Keys, clicks, the wheel and the scroll bars.
bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_LBUTTONDOWN && message <= WM_MOUSELAST) || message == WM_VSCROLL || message == WM_HSCROLL;
}

// The server list control, subclassed: it learns of appended rows before it does anything else, and
// what the user does to it shows soon even while rows trickle in.
LRESULT CALLBACK ServerListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ServerPane* pane = ServerPaneFrom(GetParent(list)); pane && pane->list == list) {
        if (pane->pendingRows)
            SyncRows(*pane);
        if (IsUserInput(message))
            pane->drawing.Hurry();
    }
    auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(list, GCLP_WNDPROC));
    return CallWindowProcA(classProc, list, message, wParam, lParam);
}

void OnCreate(HWND window, const CREATESTRUCTA& create) {
    const auto* creation = static_cast<const PaneCreation*>(create.lpCreateParams);
    HWND list = CreatePaneList(window, 0);
    if (!creation || !list)
        return;
    SetUpServerColumns(list, creation->host.ServerIcons().handle(), creation->profile);
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ServerListProc));
    auto* pane = new ServerPane(creation->host, window, list, creation->profile);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
}

void OnDestroy(ServerPane& pane) {
    SaveServerColumns(pane.list, pane.profile);
    if (ServerActions* actions = pane.host.Actions()) {
        if (actions->RemoteControlCount() > 0)
            actions->CloseRemoteControl();
    }
    DestroyWindow(pane.list);
}

void OnPaint(HWND window) {
    ServerPane* pane = ServerPaneFrom(window);
    if (!pane) {
        PaintPaneFrame(window, nullptr, -1, "", 24, "");
        return;
    }
    PaintPaneFrame(window, &pane->host.GameIcons(), static_cast<int>(pane->profile.iconIndex), pane->profile.title, 24,
                   pane->model.VisibleText());
}

// A row was added at the end of the model.
void ShowAppendedRow(ServerPane& pane) {
    pane.drawing.SuspendForRow(static_cast<int>(pane.model.rows().size()) - 1);  // the strip is redrawn with it
    pane.pendingRows = true;
}

// The model has erased `row`; the control still has it (its callers synchronised the count before
// the model changed).
void DeleteRow(ServerPane& pane, int row) {
    pane.drawing.Suspend();  // the strip is redrawn with the list
    // Without a selection no row number needs to move with the rows: the control only needs the
    // new count, which it learns with the next message (deleting rows one by one in a long list
    // costs the control far more).
    if (SelectedCount(pane.list) == 0) {
        pane.pendingRows = true;
        return;
    }
    // The control reports the deletion; the caller looks at the selection once afterwards.
    pane.quietSelection = true;
    SendMessageA(pane.list, LVM_DELETEITEM, row, 0);
    pane.quietSelection = false;
    SetRowCount(pane.list, pane.model.rows().size());
}

void AddServerRow(ServerPane& pane, catalogue::ServerRecord* record) {
    if (!record)
        return;
    ServerRowUpdate u = pane.model.AddServerRow(*record);
    if (u.change == RowChange::kInserted)
        ShowAppendedRow(pane);
    else if (u.change == RowChange::kUpdated)
        pane.drawing.RedrawRow(u.row);
}

void ServerChanged(ServerPane& pane, catalogue::ServerRecord* record) {
    if (!record)
        return;
    // Only an append may wait; a row that is updated or deleted must be known to the control.
    if (pane.model.RowOf(record) >= 0)
        SyncRows(pane);
    ServerRowUpdate u = pane.model.ServerChanged(*record);
    switch (u.change) {
        case RowChange::kInserted:
            ShowAppendedRow(pane);
            break;
        case RowChange::kUpdated:
            pane.drawing.RedrawRow(u.row);
            break;
        case RowChange::kDeleted:
            DeleteRow(pane, u.row);
            TrackServerSelection(pane);
            break;
        case RowChange::kNone:
            break;
    }
    if (u.forwardPlayers)
        SendToPane(PanesOfProfile(pane).player, PM_SERVER_PLAYERS, 0, reinterpret_cast<LPARAM>(record));
}

void RemoveStaleServer(ServerPane& pane, catalogue::ServerRecord* record) {
    int row = pane.model.RowOf(record);
    if (row < 0)
        return;  // a record without a row stays in the list
    TellServerRemoved(pane, record);
    pane.model.EraseRowAndServer(row);
    DeleteRow(pane, row);
    TrackServerSelection(pane);
}

void ClearRows(ServerPane& pane) {
    pane.drawing.Suspend();
    pane.pendingRows = false;
    pane.model.Clear();
    SendMessageA(pane.list, LVM_DELETEALLITEMS, 0, 0);
    SetRowCount(pane.list, 0);
    InvalidateStrip(pane.window);
    TrackServerSelection(pane);
}

void ApplyReply(ServerPane& pane, const ReplyToApply* reply) {
    if (!reply || !reply->record || !reply->data)
        return;
    net::parseReply(*reply->record, reply->data, reply->size, pane.profile.kind, pane.host.Catalogue(), reply->keep);
}

void SelectServer(ServerPane& pane, catalogue::ServerRecord* record) {
    int row = pane.model.RowOf(record);
    if (row >= 0)
        SelectAndFocusRow(pane.list, row);
}

void LocateServer(ServerPane& pane, catalogue::ServerRecord* record) {
    int row = pane.model.RowOf(record);
    if (row < 0)
        return;
    SelectAllRows(pane.list, false);
    SelectAndFocusRow(pane.list, row);
    SendToPane(PanesOfProfile(pane).player, PM_SHOW_SERVER, 0, reinterpret_cast<LPARAM>(record));
}

void ShowSelectedPlayers(ServerPane& pane) {
    int row = FirstSelectedRow(pane.list);
    catalogue::ServerRecord* record = pane.model.RecordAt(row);
    if (!record)
        return;
    SendToPane(PanesOfProfile(pane).player, PM_SHOW_SERVER, 0, reinterpret_cast<LPARAM>(record));
    SendMessageA(pane.list, LVM_ENSUREVISIBLE, row, FALSE);
}

void ShowInfoTip(ServerPane& pane, NMLVGETINFOTIPA& tip) {
    if (!tip.pszText || tip.cchTextMax <= 0)
        return;
    const catalogue::ServerRecord* record = pane.model.RecordAt(tip.iItem);
    if (!record) {
        size_t used = strnlen(tip.pszText, static_cast<size_t>(tip.cchTextMax));
        if (used + 1 < static_cast<size_t>(tip.cchTextMax))
            lstrcpynA(tip.pszText + used, kNoInfoTip, tip.cchTextMax - static_cast<int>(used));
        return;
    }
    std::string text = views::ServerInfoTip(*record, views::ColourDialectOf(pane.profile.kind));
    lstrcpynA(tip.pszText, text.c_str(), tip.cchTextMax);
}

// A column resized or moved by the user. The header changes after it has told, so the columns are
// taken from a message the pane posts to itself.
bool IsColumnChange(UINT code) {
    return code == HDN_ENDTRACKA || code == HDN_ENDTRACKW || code == HDN_ENDDRAG || code == HDN_DIVIDERDBLCLICKA ||
           code == HDN_DIVIDERDBLCLICKW;
}

LRESULT OnNotify(ServerPane& pane, const NMHDR& header) {
    if (header.hwndFrom != pane.list) {
        if (header.hwndFrom == ListView_GetHeader(pane.list) && IsColumnChange(header.code))
            PostMessageA(pane.window, PM_COLUMNS_CHANGED, 0, 0);
        return 0;
    }
    switch (header.code) {
        // Asked for every painted cell and row: never a selection change, and far too frequent to
        // look at the selection each time.
        case NM_CUSTOMDRAW:
        case LVN_GETDISPINFOA: {
            LRESULT result = 0;
            HandleListNotify(header, pane.model, pane.host.ServerIcons(), result);
            return result;
        }
        case LVN_GETINFOTIPA:
            ShowInfoTip(pane, const_cast<NMLVGETINFOTIPA&>(reinterpret_cast<const NMLVGETINFOTIPA&>(header)));
            return 0;
        case LVN_ODCACHEHINT:
            return 0;
        default:
            break;
    }
    TrackServerSelection(pane);
    switch (header.code) {
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE)
                SendMessageA(pane.window, PM_REMOVE_SELECTED_SERVERS, 0, 0);
            break;
        case NM_RETURN:
            SendMessageA(pane.window, PM_JOIN_SELECTED, 0, 0);
            break;
        case NM_DBLCLK:
            if (FirstSelectedRow(pane.list) >= 0)
                SendMessageA(pane.window, PM_JOIN_SELECTED, 0, 0);
            break;
        case NM_RCLICK:
            ShowServerMenu(pane);
            break;
        case LVN_COLUMNCLICK:
            SortServerRows(pane, ServerSort::kColumnClick, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            pane.host.StoredListChanged(pane.profile, catalogue::StoredFile::kProfiles);
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace

ServerPane* ServerPaneFrom(HWND window) {
    return reinterpret_cast<ServerPane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void SortServerRows(ServerPane& pane, ServerSort kind, int column) {
    pane.drawing.Suspend();
    SavedSelection saved =
        SaveSelection(pane.list, pane.model.rows().size(), [&pane](int row) { return pane.model.RecordAt(row); });
    HeaderMarkers markers;
    switch (kind) {
        case ServerSort::kResort:
            pane.model.Sort();
            break;
        case ServerSort::kRestore:
            markers = pane.model.RestoreSort();
            break;
        case ServerSort::kColumnClick:
            markers = pane.model.ColumnClick(column);
            if (markers.column < 0)
                return;
            break;
    }
    SetHeaderImage(pane.list, markers.formerColumn, kImageSortedBefore);
    SetHeaderImage(pane.list, markers.column, markers.image);
    pane.quietSelection = true;
    RestoreSelection(pane.list, saved, [&pane](const void* r) {
        return pane.model.RowOf(static_cast<const catalogue::ServerRecord*>(r));
    });
    pane.quietSelection = false;
    InvalidateRect(pane.list, nullptr, FALSE);
    InvalidateRect(pane.window, nullptr, FALSE);
    TrackServerSelection(pane);
}

void SyncRows(ServerPane& pane) {
    if (!pane.pendingRows)
        return;
    pane.pendingRows = false;
    SendMessageA(pane.list, LVM_SETITEMCOUNT, pane.model.rows().size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void TellServerRemoved(ServerPane& pane, catalogue::ServerRecord* record) {
    LPARAM r = reinterpret_cast<LPARAM>(record);
    PaneSet panes = PanesOfProfile(pane);
    SendToPane(panes.buddy, PM_SERVER_REMOVED, 0, r);
    SendToPane(panes.player, PM_SERVER_REMOVED, 0, r);
}

PaneSet PanesOfProfile(ServerPane& pane) {
    return pane.host.PanesOf(pane.profile);
}

LRESULT CALLBACK ServerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        OnCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    }
    ServerPane* pane = ServerPaneFrom(window);
    switch (message) {
        case WM_SIZE: {
            LayoutPaneList(window);
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        }
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            delete pane;
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            break;
    }
    if (!pane)
        return DefWindowProcA(window, message, wParam, lParam);

    auto* record = reinterpret_cast<catalogue::ServerRecord*>(lParam);
    // Appends may wait (see ServerPane::pendingRows); everything else works on an up-to-date list.
    if (message != PM_ADD_SERVER_ROW && message != PM_SERVER_CHANGED && message != PM_APPLY_REPLY)
        SyncRows(*pane);
    LRESULT result = 0;
    if (HandleServerCommand(*pane, message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_DESTROY:
            OnDestroy(*pane);
            return 0;
        case WM_NOTIFY:
            return OnNotify(*pane, *reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            OnServerMenuCommand(*pane, LOWORD(wParam));
            return 0;
        case PM_RESUME_DRAWING:
            pane->drawing.Resume();
            InvalidateStrip(window);
            return 0;
        case PM_SELECT_SERVER:
            SelectServer(*pane, record);
            return 0;
        case PM_RESTORE_SORT:
            SortServerRows(*pane, ServerSort::kRestore);
            return 0;
        case PM_RESORT:
            SortServerRows(*pane, ServerSort::kResort);
            return 0;
        case PM_SHOW_SELECTED_PLAYERS:
            ShowSelectedPlayers(*pane);
            return 0;
        case PM_APPLY_REPLY:
            ApplyReply(*pane, reinterpret_cast<const ReplyToApply*>(lParam));
            return 0;
        case PM_ADD_SERVER_ROW:
            AddServerRow(*pane, record);
            return 0;
        case PM_CLEAR:
            ClearRows(*pane);
            return 0;
        case PM_LOCATE_SERVER:
            LocateServer(*pane, record);
            return 0;
        case PM_SELECT_ALL:
        case PM_DESELECT_ALL:
            // The control may report and redraw every row it changes: it draws again once, and the
            // selection is looked at once after.
            pane->drawing.Suspend();
            pane->quietSelection = true;
            SelectAllRows(pane->list, message == PM_SELECT_ALL);
            pane->quietSelection = false;
            TrackServerSelection(*pane);
            return 0;
        case PM_SERVER_CHANGED:
            ServerChanged(*pane, record);
            return 0;
        case PM_REPAINT:
            InvalidateRect(window, nullptr, FALSE);
            InvalidateRect(pane->list, nullptr, FALSE);
            return 0;
        case PM_REMOVE_SERVER:
            RemoveStaleServer(*pane, record);
            return 0;
        case PM_COLUMNS_CHANGED:
            SaveServerColumns(pane->list, pane->profile);
            pane->host.StoredListChanged(pane->profile, catalogue::StoredFile::kProfiles);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace views::win32
