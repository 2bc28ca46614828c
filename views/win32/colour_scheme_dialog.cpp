// Dialog 183: owner-drawn colour buttons, ChooseColor, Preview, Load, Save, Defaults, apply to all.
#include "views/win32/colour_scheme_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "base/app_title.h"
#include "base/win32/handles.h"
#include "resources/resource.h"
#include "views/colour_scheme.h"

namespace views::win32 {

namespace {

// The button of each scheme entry, in entry order.
constexpr int kEntryButtons[catalogue::kSchemeColours] = {
    IDC_SCHEME_BACKGROUND,
    IDC_SCHEME_ALTERNATE_BACKGROUND,
    IDC_SCHEME_FAVOURITE_BACKGROUND,
    IDC_SCHEME_VISITED_BACKGROUND,
    IDC_SCHEME_AUTO_BACKGROUND,
    IDC_SCHEME_SELECTION,
    IDC_SCHEME_TEXT,
    IDC_SCHEME_ALTERNATE_TEXT,
    IDC_SCHEME_FAVOURITE_TEXT,
    IDC_SCHEME_VISITED_TEXT,
    IDC_SCHEME_AUTO_TEXT,
    IDC_SCHEME_WINDOW,
};

constexpr char kApplyAllQuestion[] = "Are you sure you want to apply\nthis colour scheme to all games?";
constexpr char kSaveFailed[] = "The colour scheme could not be saved.";
constexpr char kReplaceQuestion[] = " already exists.\nDo you want to replace it?";
constexpr char kFilters[] = "Vexar! Colour Scheme (*.VXC)\0*.VXC\0All\0*.*\0";

// Kept for the whole run: the last scheme file's image and the custom colours of ChooseColor.
SchemeBuffer& TheSchemeBuffer() {
    static SchemeBuffer buffer;
    return buffer;
}
COLORREF* CustomColours() {
    static COLORREF colours[16] = {};
    return colours;
}

struct SchemeDialog {
    PaneHost& host;
    ColourSchemeRequest& request;
    HWND dialog = nullptr;
    SchemeColours backup = {};
};

SchemeDialog* StateOf(HWND dialog) {
    return reinterpret_cast<SchemeDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int EntryOfButton(int id) {
    const int* found = std::find(std::begin(kEntryButtons), std::end(kEntryButtons), id);
    return found == std::end(kEntryButtons) ? -1 : static_cast<int>(found - std::begin(kEntryButtons));
}

void RepaintMainWindow(SchemeDialog& d) {
    RedrawWindow(d.host.Owner(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void RedrawButtons(SchemeDialog& d) {
    for (int id : kEntryButtons)
        InvalidateRect(GetDlgItem(d.dialog, id), nullptr, TRUE);
}

void DrawColourButton(SchemeDialog& d, const DRAWITEMSTRUCT& item) {
    int entry = EntryOfButton(static_cast<int>(item.CtlID));
    if (entry < 0)
        return;
    RECT rect = item.rcItem;
    base::win32::GdiObject brush(CreateSolidBrush(d.request.profile.colours[entry]));
    FillRect(item.hDC, &rect, static_cast<HBRUSH>(brush.get()));
    DrawEdge(item.hDC, &rect, EDGE_RAISED, BF_RECT);
}

void ChooseEntryColour(SchemeDialog& d, int entry) {
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = d.dialog;
    choose.rgbResult = d.request.profile.colours[entry];
    choose.lpCustColors = CustomColours();
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choose))
        return;
    d.request.profile.colours[entry] = choose.rgbResult;
    InvalidateRect(GetDlgItem(d.dialog, kEntryButtons[entry]), nullptr, TRUE);
}

OPENFILENAMEA FileDialog(SchemeDialog& d, char* path, DWORD size, const std::string& folder) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = d.dialog;
    dialog.lpstrFilter = kFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = folder.c_str();
    return dialog;
}

void OnLoad(SchemeDialog& d) {
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog = FileDialog(d, path, sizeof path, d.request.schemeFolder);
    dialog.lpstrTitle = "Open Vexar! Colour Scheme...";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog) || !ReadSchemeFile(path, TheSchemeBuffer()))
        return;
    BufferToScheme(TheSchemeBuffer(), d.request.profile.colours);
    RedrawButtons(d);
}

// The file written is the chosen name with ".vxc" added, so the chooser's own overwrite question
// would be about another file ("sky-zox" while "sky-zox.vxc" is replaced). The question is asked
// here instead, when the chooser is about to close, about the file that will be written; No keeps
// the chooser open for another name.
UINT_PTR CALLBACK SaveChooserHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY)
        return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (notify->hdr.code != CDN_FILEOK || !notify->lpOFN || !notify->lpOFN->lpstrFile)
        return 0;
    std::string target = WithSchemeExtension(notify->lpOFN->lpstrFile);
    if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 0;
    std::string question = target + kReplaceQuestion;
    if (MessageBoxA(GetParent(hook), question.c_str(), base::kAppTitle,
                    MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES)
        return 0;
    SetWindowLongPtrA(hook, DWLP_MSGRESULT, 1);
    return 1;
}

void OnSave(SchemeDialog& d) {
    SchemeToBuffer(d.request.profile.colours, TheSchemeBuffer());
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog = FileDialog(d, path, sizeof path, d.request.schemeFolder);
    dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY;
    dialog.lpfnHook = SaveChooserHook;
    if (!GetSaveFileNameA(&dialog))
        return;
    if (!WriteSchemeFile(WithSchemeExtension(path), TheSchemeBuffer()))
        MessageBoxA(d.dialog, kSaveFailed, base::kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void OnOk(SchemeDialog& d) {
    if (IsDlgButtonChecked(d.dialog, IDC_SCHEME_APPLY_ALL) == BST_CHECKED &&
        MessageBoxA(d.dialog, kApplyAllQuestion, base::kAppTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        for (catalogue::GameProfile* other : d.request.allProfiles)
            std::memcpy(other->colours, d.request.profile.colours, sizeof other->colours);
    }
    RepaintMainWindow(d);
    EndDialog(d.dialog, IDOK);
}

void OnCancel(SchemeDialog& d) {
    std::memcpy(d.request.profile.colours, d.backup, sizeof d.backup);
    RepaintMainWindow(d);
    EndDialog(d.dialog, IDCANCEL);
}

INT_PTR CALLBACK ColourSchemeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* d = reinterpret_cast<SchemeDialog*>(lParam);
        d->dialog = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        std::memcpy(d->backup, d->request.profile.colours, sizeof d->backup);
        return TRUE;
    }
    SchemeDialog* d = StateOf(dialog);
    if (!d)
        return FALSE;
    if (message == WM_DRAWITEM) {
        DrawColourButton(*d, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    switch (id) {
        case IDC_SCHEME_PREVIEW:
            RepaintMainWindow(*d);
            return TRUE;
        case IDC_SCHEME_LOAD:
            OnLoad(*d);
            return TRUE;
        case IDC_SCHEME_SAVE:
            OnSave(*d);
            return TRUE;
        case IDC_SCHEME_DEFAULTS:
            SetDefaultScheme(d->request.profile.colours, GetSysColor(COLOR_BTNFACE));
            InvalidateRect(dialog, nullptr, TRUE);
            RedrawButtons(*d);
            return TRUE;
        case IDOK:
            OnOk(*d);
            return TRUE;
        case IDCANCEL:
            OnCancel(*d);
            return TRUE;
        default:
            if (EntryOfButton(id) >= 0 && HIWORD(wParam) == BN_CLICKED) {
                ChooseEntryColour(*d, EntryOfButton(id));
                return TRUE;
            }
            return FALSE;
    }
}

}  // namespace

INT_PTR RunColourSchemeDialog(PaneHost& host, ColourSchemeRequest& request) {
    SchemeDialog d{host, request};
    return DialogBoxParamA(host.Instance(), MAKEINTRESOURCEA(IDD_COLOUR_SCHEME), host.Owner(), ColourSchemeProc,
                           reinterpret_cast<LPARAM>(&d));
}

}  // namespace views::win32
