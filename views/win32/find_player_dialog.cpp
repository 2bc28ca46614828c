// The Find Player dialog (resource 113): search the current profile's players by name, join a
// player's server, add the player as a buddy or the server as a favourite.
#include <string>
#include <vector>

#include "base/settings_index.h"
#include "app/win32/shell.h"
#include "resources/resource.h"
#include "views/find_player.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/list_control.h"
#include "views/win32/list_pane_frame.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

using app::win32::TheShell;

namespace {

struct FindDialog {
    catalogue::GameProfile* profile = nullptr;
    base::SettingsStore* store = nullptr;
    HWND dialog = nullptr;
    HWND list = nullptr;
    std::vector<FindResult> results;
    std::string searchText;
    FindButtons buttons;
    catalogue::ServerRecord* chosen = nullptr;
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
    int row = FirstSelectedRow(d.list);
    if (row < 0 || row >= static_cast<int>(d.results.size()))
        return nullptr;
    return &d.results[static_cast<size_t>(row)];
}

void UpdateButtons(FindDialog& d) {
    d.buttons = FindButtonStates(SelectedResult(d), d.profile->buddies, d.buttons);
    ShowButtons(d);
}

void Search(FindDialog& d, const std::string& text) {
    d.searchText = text;
    const bool ignoreColours = IsDlgButtonChecked(d.dialog, IDC_FIND_IGNORE_COLOURS) == BST_CHECKED;
    d.results = FindPlayers(d.profile->servers, text, ignoreColours, d.profile->buddies);
    SendMessageA(d.list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(d.list, LVM_SETITEMCOUNT, d.results.size(), 0);
    InvalidateRect(d.list, nullptr, TRUE);
    UpdateButtons(d);
    SetFocus(GetDlgItem(d.dialog, IDC_FIND_TEXT));
}

void OnFind(FindDialog& d) {
    char text[kFindEditLimit + 1] = {};
    GetDlgItemTextA(d.dialog, IDC_FIND_TEXT, text, sizeof text);
    std::string search = LimitSearchText(text);
    if (RecordFindText(*d.store, search))
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

void OnJoin(FindDialog& d) {
    FindResult* r = SelectedResult(d);
    if (!r || !r->server)
        return;
    d.chosen = r->server;
    EndDialog(d.dialog, 1);
}

void OnAddBuddy(FindDialog& d) {
    FindResult* r = SelectedResult(d);
    if (!r)
        return;
    catalogue::PlayerRecord* player = PrepareAddBuddy(*r);
    RedrawRow(d.list, FirstSelectedRow(d.list));
    if (player)
        app::win32::SendToPane(app::win32::BuddyPaneOf(d.profile), PM_ADD_BUDDY_PLAYER, 0,
                               reinterpret_cast<LPARAM>(player));
    d.buttons.addBuddy = false;
    ShowButtons(d);
}

void OnAddFavourite(FindDialog& d) {
    FindResult* r = SelectedResult(d);
    if (!r || !r->server)
        return;
    r->server->isFavourite = 1;
    app::win32::SendToPane(app::win32::ServerPaneOf(d.profile), PM_RESORT);
}

void OnClose(FindDialog& d) {
    WriteIgnoreColours(*d.store, IsDlgButtonChecked(d.dialog, IDC_FIND_IGNORE_COLOURS) == BST_CHECKED);
    EndDialog(d.dialog, 2);
}

void DispInfo(FindDialog& d, NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    if (item.iItem < 0 || item.iItem >= static_cast<int>(d.results.size()))
        return;
    const FindResult& r = d.results[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::string* text = item.iSubItem == 0 ? &r.name : (item.iSubItem == 1 ? &r.serverName : &r.gameType);
        lstrcpynA(item.pszText, item.iSubItem <= 2 ? text->c_str() : "", item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = r.icon;
    if (item.mask & LVIF_PARAM)
        item.lParam = reinterpret_cast<LPARAM>(r.player);
}

// WM_NOTIFY from the result list; true with a result for DWLP_MSGRESULT.
bool OnNotify(FindDialog& d, const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != d.list)
        return false;
    if (header.code == NM_CUSTOMDRAW) {
        const SchemeColours& colours = d.profile->colours;
        result = ListPaneCustomDraw(
            reinterpret_cast<const NMLVCUSTOMDRAW&>(header), TheShell().paneIconsB,
            [&d, &colours](int row, int column, bool selected) {
                if (row < 0 || row >= static_cast<int>(d.results.size()))
                    return PaneCellColours(colours, row, selected);
                return PaintFindCell(colours, d.results[static_cast<size_t>(row)], row, column, selected);
            },
            true);
        return true;
    }
    if (header.code == LVN_GETDISPINFOA) {
        DispInfo(d, const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)));
        return false;
    }
    UpdateButtons(d);
    return false;
}

void OnInit(HWND dialog, FindDialog& d) {
    d.dialog = dialog;
    d.list = GetDlgItem(dialog, IDC_FIND_LIST);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
    SetUpPaneColumns(d.list, TheShell().paneIconsB, kFindPlayerColumns,
                     ReadPaneWidths(*d.store, base::reg::kBuddyColumnWidthFormat, kFindPlayerColumns));
    CheckDlgButton(dialog, IDC_FIND_IGNORE_COLOURS, ReadIgnoreColours(*d.store) ? BST_CHECKED : BST_UNCHECKED);
    HWND combo = GetDlgItem(dialog, IDC_FIND_TEXT);
    for (const std::string& text : LoadFindHistory(*d.store))
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SetWindowTextA(combo, "");
    HINSTANCE instance = TheShell().instance;
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_FIND));
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

INT_PTR RunFindPlayer(HWND owner) {
    app::win32::Shell& shell = TheShell();
    FindDialog d;
    d.profile = app::win32::CurrentProfile();
    d.store = shell.ctx ? shell.ctx->settings.get() : nullptr;
    if (!d.profile || !d.store)
        return 0;
    INT_PTR result = DialogBoxParamA(shell.instance, MAKEINTRESOURCEA(IDD_FIND_PLAYER), owner, FindPlayerProc,
                                     reinterpret_cast<LPARAM>(&d));
    if (result == 1 && d.chosen)
        app::win32::SendToPane(app::win32::ServerPaneOf(d.profile), PM_JOIN_SERVER, 0,
                               reinterpret_cast<LPARAM>(d.chosen));
    return result;
}

}  // namespace views::win32
