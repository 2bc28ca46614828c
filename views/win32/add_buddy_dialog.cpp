// The Add Buddy dialog (resource 117): names typed by the user go to the buddy pane.
#include "resources/resource.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

namespace {

constexpr int kNameLimit = 50;  // the edit takes 50 characters; 49 are sent

INT_PTR CALLBACK AddBuddyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // The buddy pane that takes the names.
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            SendDlgItemMessageA(dialog, IDC_BUDDY_NAME, EM_LIMITTEXT, kNameLimit, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: {
                    char name[kNameLimit] = {};
                    GetDlgItemTextA(dialog, IDC_BUDDY_NAME, name, sizeof name);
                    // A buddy without a name would stand for every nameless player: not sent.
                    if (name[0]) {
                        HWND buddies = reinterpret_cast<HWND>(GetWindowLongPtrA(dialog, DWLP_USER));
                        SendToPane(buddies, PM_ADD_BUDDY_NAME, 0, reinterpret_cast<LPARAM>(name));
                    }
                    SetDlgItemTextA(dialog, IDC_BUDDY_NAME, "");
                    SetFocus(GetDlgItem(dialog, IDC_BUDDY_NAME));
                    return TRUE;
                }
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

void RunAddBuddy(PaneHost& host, catalogue::GameProfile& profile) {
    DialogBoxParamA(host.Instance(), MAKEINTRESOURCEA(IDD_ADD_BUDDY), host.Owner(), AddBuddyProc,
                    reinterpret_cast<LPARAM>(host.PanesOf(profile).buddy));
}

}  // namespace views::win32
