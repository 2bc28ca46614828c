// Dialog 133: an empty password or a port that is no number keeps it open with a message.
#include "rcon/win32/password_dialog.h"

#include "base/app_title.h"
#include "base/win32/dialog_text.h"
#include "rcon/add_server.h"
#include "resources/resource.h"

namespace rcon::win32 {

namespace {

constexpr int kPasswordLimit = 30;
constexpr size_t kPasswordKept = 29;

INT_PTR CALLBACK PasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* r = reinterpret_cast<PasswordRequest*>(lParam);
        SendDlgItemMessageA(dialog, IDC_RCON_PASSWORD, EM_LIMITTEXT, kPasswordLimit, 0);
        SetDlgItemTextA(dialog, IDC_RCON_PASSWORD, r->password.c_str());
        SetDlgItemInt(dialog, IDC_RCON_PORT, r->port ? r->port : r->defaultPort, FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_RCON_PORT), r->portEditable);
        CheckDlgButton(dialog, IDC_RCON_SAVE, r->save ? BST_CHECKED : BST_UNCHECKED);
        SetFocus(GetDlgItem(dialog, IDC_RCON_PASSWORD));
        return FALSE;
    }
    auto* r = reinterpret_cast<PasswordRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!r || message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    if (LOWORD(wParam) != IDOK)
        return FALSE;
    std::string password = base::win32::DialogItemText(dialog, IDC_RCON_PASSWORD, kPasswordKept);
    if (password.empty()) {
        MessageBoxA(dialog, "A password must be entered!", base::kAppTitle, MB_OK);
        SetFocus(GetDlgItem(dialog, IDC_RCON_PASSWORD));
        return TRUE;
    }
    uint32_t port = ParsePortText(base::win32::DialogItemText(dialog, IDC_RCON_PORT, kPasswordLimit));
    if (port == 0) {
        MessageBoxA(dialog, kInvalidPortsMessage, base::kAppTitle, MB_OK);
        return TRUE;
    }
    r->password = password;
    r->port = port;
    r->save = IsDlgButtonChecked(dialog, IDC_RCON_SAVE) == BST_CHECKED;
    EndDialog(dialog, IDOK);
    return TRUE;
}

}  // namespace

INT_PTR RunPasswordDialog(HINSTANCE instance, HWND owner, PasswordRequest& request) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_RCON_PASSWORD), owner, PasswordProc,
                           reinterpret_cast<LPARAM>(&request));
}

}  // namespace rcon::win32
