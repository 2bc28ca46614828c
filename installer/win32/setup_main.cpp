// vexar-setup.exe: one dialog that puts Vexar on the disk.
//
// Installs vexar.exe, the default vexar.ini and two colour schemes from its own resources into the
// chosen folder, remembers the folder for the browser, makes the shortcuts asked for and starts
// the browser if asked. A step that fails is reported and the installation is not called done.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/win32/dialog_text.h"
#include "installer/win32/install_steps.h"
#include "resources/installer_ids.h"

namespace {

using namespace installer::win32;

constexpr char kSuccess[] = "Installation Successful!!!";
constexpr char kCaption[] = "Vexar! Installer v1.0";
constexpr char kNotAWholePath[] =
    "Please give the whole path of the installation folder,\nsuch as C:\\Program Files\\Vexar.";
constexpr char kBrowseTitle[] = "Select the Installation Folder:";
constexpr int kFolderLimit = 259;

std::string FolderText(HWND dialog) {
    return base::win32::DialogItemText(dialog, IDC_SETUP_FOLDER, kFolderLimit);
}

void Browse(HWND dialog) {
    BROWSEINFOA browse = {};
    browse.hwndOwner = dialog;
    browse.lpszTitle = kBrowseTitle;
    browse.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen)
        return;
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(chosen, path))
        SetDlgItemTextA(dialog, IDC_SETUP_FOLDER, path);
    CoTaskMemFree(chosen);
}

bool Ticked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// Runs the steps; the failures, one a line. A file that cannot be written ends the installation
// there: the registry keeps pointing at a working installation, and no shortcut points at nothing.
std::vector<std::string> Install(HWND dialog, const std::string& folder) {
    std::vector<std::string> failures;
    std::string error;
    // A damaged installer writes nothing rather than half a program.
    if (!HasWholePayload(GetModuleHandleA(nullptr), error))
        return {error};
    for (const PayloadFile& file : kPayload) {
        if (!WritePayloadFile(GetModuleHandleA(nullptr), folder, file, error))
            return {error};
    }
    if (!StoreInstallFolder(folder, error))
        failures.push_back(error);
    std::string program = folder + "\\vexar.exe";
    if (Ticked(dialog, IDC_SETUP_DESKTOP) && !CreateProgramLink(CSIDL_DESKTOPDIRECTORY, program, error))
        failures.push_back(error);
    if (Ticked(dialog, IDC_SETUP_START_MENU) && !CreateProgramLink(CSIDL_STARTMENU, program, error))
        failures.push_back(error);
    return failures;
}

void OnInstall(HWND dialog) {
    std::string typed = FolderText(dialog);
    if (typed.empty())
        return;
    std::string folder = FullInstallFolder(typed);
    if (folder.empty()) {
        MessageBoxA(dialog, kNotAWholePath, kCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetDlgItemTextA(dialog, IDC_SETUP_FOLDER, folder.c_str());
    std::vector<std::string> failures = Install(dialog, folder);
    if (!failures.empty()) {
        std::string text = "The installation did not complete:\n";
        for (const std::string& failure : failures)
            text += "\n" + failure;
        MessageBoxA(dialog, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    MessageBoxA(dialog, kSuccess, kCaption, MB_OK);
    if (Ticked(dialog, IDC_SETUP_LAUNCH))
        ShellExecuteA(nullptr, "open", (folder + "\\vexar.exe").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK SetupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP));
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
            SendDlgItemMessageA(dialog, IDC_SETUP_FOLDER, EM_LIMITTEXT, kFolderLimit, 0);
            SetDlgItemTextA(dialog, IDC_SETUP_FOLDER, DefaultInstallFolder().c_str());
            CheckDlgButton(dialog, IDC_SETUP_DESKTOP, BST_CHECKED);
            CheckDlgButton(dialog, IDC_SETUP_START_MENU, BST_CHECKED);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SETUP_BROWSE:
                    Browse(dialog);
                    return TRUE;
                case IDOK:
                    OnInstall(dialog);
                    return TRUE;
                case IDC_SETUP_CANCEL:
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HRESULT com = CoInitialize(nullptr);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, SetupProc, 0);
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
