// The Add Buddy dialog (resource 117): names typed by the user go to the buddy pane.
#include "app/win32/shell.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace views::win32 {

namespace {

constexpr int kNameLimit = 50;  // the edit takes 50 characters; 49 are sent

INT_PTR CALLBACK AddBuddyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_BUDDY_NAME, EM_LIMITTEXT, kNameLimit, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: {
                    char name[kNameLimit] = {};
                    GetDlgItemTextA(dialog, IDC_BUDDY_NAME, name, sizeof name);
                    // A buddy without a name would stand for every nameless player: not sent.
                    if (name[0]) {
                        HWND buddies = app::win32::BuddyPaneOf(app::win32::CurrentProfile());
                        app::win32::SendToPane(buddies, PM_ADD_BUDDY_NAME, 0, reinterpret_cast<LPARAM>(name));
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

void RunAddBuddy(HWND owner) {
    DialogBoxParamA(app::win32::TheShell().instance, MAKEINTRESOURCEA(IDD_ADD_BUDDY), owner, AddBuddyProc, 0);
}

void PaneDialogs::Open(UINT command) {
    HWND main = app::win32::TheShell().main;
    switch (command) {
        case IDM_FIND_PLAYER:
            RunFindPlayer(main);
            break;
        case IDM_ADD_BUDDY:
            RunAddBuddy(main);
            break;
        default:
            if (next_)
                next_->Open(command);
            break;
    }
}

}  // namespace views::win32
