// The Find Player dialog (resource 113): search the current profile's players by name, join a
// player's server, add the player as a buddy or the server as a favourite.
#include <string>
#include <vector>

#include "base/settings_index.h"
#include "resources/resource.h"
#include "views/find_player.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

namespace {

struct FindDialog {
    FindDialog(PaneHost& host, catalogue::GameProfile& profile)
        : host(host), profile(profile), store(host.Settings()), rows(profile.colours) {}
    PaneHost& host;
    catalogue::GameProfile& profile;
    base::SettingsStore& store;
    HWND dialog = nullptr;
    HWND list = nullptr;
    FindRows rows;
    std::string searchText;
    FindButtons buttons;
    // "&Join": the chosen server's address and port, looked up again once the dialog has ended.
    std::string chosenAddress;
    uint32_t chosenPort = 0;
};

FindDialog* StateOf(HWND dialog) {
    return reinterpret_cast<FindDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void PlaceList(FindDialog& d) {
    RECT client;
    GetClientRect(d.dialog, &client);
    ListPlacement p = FindListPlacement(client.right, client.bottom);
    MoveWindow(d.list, p.x, p.y, p.width > 0 ? p.width : 0, p.height > 0 ? p.height : 0, TRUE);
}

void ShowButtons(FindDialog& d) {
    EnableWindow(GetDlgItem(d.dialog, IDC_FIND_JOIN), d.buttons.join);
    EnableWindow(GetDlgItem(d.dialog, IDC_FIND_ADD_BUDDY), d.buttons.addBuddy);
    EnableWindow(GetDlgItem(d.dialog, IDC_FIND_ADD_FAVOURITE), d.buttons.addFavourite);
}

FindResult* SelectedResult(FindDialog& d) {
    return const_cast<FindResult*>(d.rows.At(FirstSelectedRow(d.list)));
}

// The selected row's server and player as they are now: the refreshes that run inside the dialog's
// modal loop may have freed the one and put another player into the other's slot.
FoundPlayer FoundNow(FindDialog& d, const FindResult* r) {
    return r ? LocateResult(d.profile.servers, *r, d.profile.kind) : FoundPlayer{};
}

void UpdateButtons(FindDialog& d) {
    const FindResult* r = SelectedResult(d);
    d.buttons = FindButtonStates(r, FoundNow(d, r), d.profile.buddies, d.buttons);
    ShowButtons(d);
}

void Search(FindDialog& d, const std::string& text) {
    d.searchText = text;
    const bool ignoreColours = IsDlgButtonChecked(d.dialog, IDC_FIND_IGNORE_COLOURS) == BST_CHECKED;
    d.rows.results() = FindPlayers(d.profile.servers, text, ignoreColours, d.profile.buddies, d.profile.kind);
    SendMessageA(d.list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(d.list, LVM_SETITEMCOUNT, d.rows.RowCount(), 0);
    InvalidateRect(d.list, nullptr, TRUE);
    UpdateButtons(d);
    SetFocus(GetDlgItem(d.dialog, IDC_FIND_TEXT));
}

void OnFind(FindDialog& d) {
    char text[kFindEditLimit + 1] = {};
    GetDlgItemTextA(d.dialog, IDC_FIND_TEXT, text, sizeof text);
    std::string search = LimitSearchText(text);
    if (RecordFindText(d.store, search))
        SendDlgItemMessageA(d.dialog, IDC_FIND_TEXT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(search.c_str()));
    Search(d, search);
}

void OnHistoryChoice(FindDialog& d) {
    HWND combo = GetDlgItem(d.dialog, IDC_FIND_TEXT);
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length < 0)
        return;
    std::string choice(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(choice.data()));
    choice.resize(static_cast<size_t>(length));
    if (ChoiceStartsSearch(choice, d.searchText))
        Search(d, LimitSearchText(choice));
}

// Each button acts on what its row stands for now; when that is gone it does nothing but grey the
// buttons it can no longer serve.
void OnJoin(FindDialog& d) {
    FindResult* r = SelectedResult(d);
    if (!r || !FoundNow(d, r).server)
        return UpdateButtons(d);
    d.chosenAddress = r->address;
    d.chosenPort = r->port;
    EndDialog(d.dialog, 1);
}

void OnAddBuddy(FindDialog& d) {
    FindResult* r = SelectedResult(d);
    catalogue::PlayerRecord* player = r ? PrepareAddBuddy(*r, FoundNow(d, r)) : nullptr;
    if (!player)
        return UpdateButtons(d);
    RedrawRow(d.list, FirstSelectedRow(d.list));
    SendToPane(d.host.PanesOf(d.profile).buddy, PM_ADD_BUDDY_PLAYER, 0, reinterpret_cast<LPARAM>(player));
    d.buttons.addBuddy = false;
    ShowButtons(d);
}

void OnAddFavourite(FindDialog& d) {
    FindResult* r = SelectedResult(d);
    catalogue::ServerRecord* server = FoundNow(d, r).server;
    if (!server)
        return UpdateButtons(d);
    server->isFavourite = 1;
    SendToPane(d.host.PanesOf(d.profile).server, PM_RESORT);
    d.host.StoredListChanged(d.profile, catalogue::StoredFile::kServerList);
}

void OnClose(FindDialog& d) {
    WriteIgnoreColours(d.store, IsDlgButtonChecked(d.dialog, IDC_FIND_IGNORE_COLOURS) == BST_CHECKED);
    EndDialog(d.dialog, 2);
}

// WM_NOTIFY from the result list; true with a result for DWLP_MSGRESULT.
bool OnNotify(FindDialog& d, const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != d.list)
        return false;
    if (HandleListNotify(header, d.rows, d.host.ListIcons(), result, true))
        return header.code == NM_CUSTOMDRAW;
    UpdateButtons(d);
    return false;
}

void OnInit(HWND dialog, FindDialog& d) {
    d.dialog = dialog;
    d.list = GetDlgItem(dialog, IDC_FIND_LIST);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
    SetUpPaneColumns(d.list, d.host.ListIcons().handle(), kFindPlayerColumns,
                     ReadPaneWidths(d.store, base::reg::kBuddyColumnWidthFormat, kFindPlayerColumns));
    CheckDlgButton(dialog, IDC_FIND_IGNORE_COLOURS, ReadIgnoreColours(d.store) ? BST_CHECKED : BST_UNCHECKED);
    HWND combo = GetDlgItem(dialog, IDC_FIND_TEXT);
    for (const std::string& text : LoadFindHistory(d.store))
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SetWindowTextA(combo, "");
    HICON icon = LoadIconA(d.host.Instance(), MAKEINTRESOURCEA(IDI_FIND));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(combo, CB_LIMITTEXT, kFindEditLimit, 0);
    PlaceList(d);
    ShowButtons(d);
}

INT_PTR CALLBACK FindPlayerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OnInit(dialog, *reinterpret_cast<FindDialog*>(lParam));
        return TRUE;
    }
    FindDialog* d = StateOf(dialog);
    if (!d)
        return FALSE;
    switch (message) {
        case WM_SIZE:
            PlaceList(*d);
            return TRUE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(*d, *reinterpret_cast<const NMHDR*>(lParam), result))
                return FALSE;
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDC_FIND_GO:
                    OnFind(*d);
                    return TRUE;
                case IDC_FIND_TEXT:
                    if (HIWORD(wParam) == CBN_SELCHANGE)
                        OnHistoryChoice(*d);
                    return TRUE;
                case IDC_FIND_JOIN:
                    OnJoin(*d);
                    return TRUE;
                case IDC_FIND_ADD_BUDDY:
                    OnAddBuddy(*d);
                    return TRUE;
                case IDC_FIND_ADD_FAVOURITE:
                    OnAddFavourite(*d);
                    return TRUE;
                case IDCANCEL:
                    OnClose(*d);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunFindPlayer(PaneHost& host, catalogue::GameProfile& profile) {
    FindDialog d(host, profile);
    INT_PTR result = DialogBoxParamA(host.Instance(), MAKEINTRESOURCEA(IDD_FIND_PLAYER), host.Owner(), FindPlayerProc,
                                     reinterpret_cast<LPARAM>(&d));
    // The dialog's loop has ended: the server is looked up again rather than held across it.
    catalogue::ServerRecord* chosen = result == 1 ? profile.servers.Find(d.chosenAddress, d.chosenPort) : nullptr;
    if (chosen)
        SendToPane(host.PanesOf(profile).server, PM_JOIN_SERVER, 0, reinterpret_cast<LPARAM>(chosen));
    return result;
}

}  // namespace views::win32
