// Dialog 186: a two-column list, and its menu to copy a row, copy every row or open a URL value.
#include "rcon/win32/server_properties_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "base/win32/handles.h"
#include "resources/resource.h"
#include "views/win32/list_control.h"

namespace rcon::win32 {

namespace {

constexpr int kInformationModeShrink = 70;
constexpr int kPropertyWidth = 150, kValueWidth = 250;
constexpr size_t kCopiedPropertyLength = 23;

constexpr size_t kLongestNewValue = 254;

struct PropertiesDialog {
    HINSTANCE instance;
    std::vector<PropertyRow> rows;
    const RunCommand* run = nullptr;  // cvar-list mode
};

HWND ListOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_PROPERTIES_LIST);
}

int SelectedIndex(HWND dialog) {
    return static_cast<int>(SendMessageA(ListOf(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

PropertyRow* SelectedRow(HWND dialog, PropertiesDialog& d) {
    int row = SelectedIndex(dialog);
    return row >= 0 && static_cast<size_t>(row) < d.rows.size() ? &d.rows[row] : nullptr;
}

void SetValueCell(HWND dialog, int row, const std::string& value) {
    LVITEMA cell = {};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>(value.c_str());
    SendMessageA(ListOf(dialog), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
}

// Cvar-list mode: "Change" and the new value's box are usable for a row that is not read-only.
void OnSelection(HWND dialog, PropertiesDialog& d, bool clicked) {
    if (!d.run)
        return;
    PropertyRow* row = SelectedRow(dialog, d);
    bool changeable = row && !row->readOnly;
    EnableWindow(GetDlgItem(dialog, IDC_PROPERTIES_CHANGE), changeable);
    EnableWindow(GetDlgItem(dialog, IDC_PROPERTIES_NEW), changeable);
    if (row && clicked)
        SetDlgItemTextA(dialog, IDC_PROPERTIES_NEW, row->value.c_str());
}

void OnChange(HWND dialog, PropertiesDialog& d) {
    PropertyRow* row = SelectedRow(dialog, d);
    if (!d.run || !row || row->readOnly)
        return;
    char value[kLongestNewValue + 1] = {};
    GetDlgItemTextA(dialog, IDC_PROPERTIES_NEW, value, sizeof value);
    std::string command = ChangeCvarCommand(row->property, value);
    (*d.run)(command);
    // The row shows the value as sent: what stands between the command's quotes.
    size_t open = command.find('"');
    row->value = command.substr(open + 1, command.size() - open - 2);
    SetValueCell(dialog, SelectedIndex(dialog), row->value);
}

void Fill(HWND dialog, PropertiesDialog& d) {
    HWND list = ListOf(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const char* captions[] = {"Property", "Value"};
    const int widths[] = {kPropertyWidth, kValueWidth};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, widths[i], const_cast<char*>(captions[i])};
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    for (size_t i = 0; i < d.rows.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(d.rows[i].property.c_str());
        item.lParam = d.rows[i].readOnly ? 1 : 0;
        int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetValueCell(dialog, row, d.rows[i].value);
    }
}

void ShowMenu(HWND dialog, PropertiesDialog& d) {
    const PropertyRow* row = SelectedRow(dialog, d);
    if (!row)
        return;
    base::win32::Menu menu(LoadMenuA(d.instance, MAKEINTRESOURCEA(IDR_SERVER_PROPERTIES_MENU)));
    HMENU popup = GetSubMenu(menu.get(), 0);
    EnableMenuItem(popup, IDM_PROPERTIES_OPEN_URL,
                   MF_BYCOMMAND | (UrlToOpen(row->value).empty() ? MF_GRAYED : MF_ENABLED));
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_LEFTALIGN, at.x, at.y, 0, dialog, nullptr);
}

void OnMenuCommand(HWND dialog, PropertiesDialog& d, UINT command) {
    const PropertyRow* row = SelectedRow(dialog, d);
    if (command == IDM_PROPERTIES_COPY_ALL)
        views::win32::PutTextOnClipboard(dialog, CopyAllText(d.rows));
    else if (command == IDM_PROPERTIES_COPY && row)
        views::win32::PutTextOnClipboard(dialog, row->property.substr(0, kCopiedPropertyLength) + " " + row->value);
    else if (command == IDM_PROPERTIES_OPEN_URL && row && !UrlToOpen(row->value).empty())
        ShellExecuteA(nullptr, "open", UrlToOpen(row->value).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK PropertiesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* d = reinterpret_cast<PropertiesDialog*>(lParam);
        if (d->run) {
            ShowWindow(GetDlgItem(dialog, IDC_PROPERTIES_CHANGE), SW_SHOW);
            EnableWindow(GetDlgItem(dialog, IDC_PROPERTIES_CHANGE), FALSE);
        } else {
            RECT rect;
            GetWindowRect(dialog, &rect);
            SetWindowPos(dialog, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top - kInformationModeShrink,
                         SWP_NOMOVE | SWP_NOZORDER);
        }
        EnableWindow(GetDlgItem(dialog, IDC_PROPERTIES_NEW), FALSE);
        Fill(dialog, *d);
        return TRUE;
    }
    auto* d = reinterpret_cast<PropertiesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!d)
        return FALSE;
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_PROPERTIES_LIST && header->code == NM_RCLICK)
            ShowMenu(dialog, *d);
        if (header->idFrom == IDC_PROPERTIES_LIST)
            OnSelection(dialog, *d, header->code == NM_CLICK);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_PROPERTIES_CHANGE:
            OnChange(dialog, *d);
            return TRUE;
        default:
            OnMenuCommand(dialog, *d, LOWORD(wParam));
            return TRUE;
    }
}

}  // namespace

INT_PTR RunServerInformation(HINSTANCE instance, HWND owner, const std::vector<PropertyRow>& rows) {
    PropertiesDialog d{instance, rows};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SERVER_PROPERTIES), owner, PropertiesProc,
                           reinterpret_cast<LPARAM>(&d));
}

INT_PTR RunServerProperties(HINSTANCE instance, HWND owner, std::vector<PropertyRow> rows, const RunCommand& run) {
    PropertiesDialog d{instance, std::move(rows), &run};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SERVER_PROPERTIES), owner, PropertiesProc,
                           reinterpret_cast<LPARAM>(&d));
}

}  // namespace rcon::win32
