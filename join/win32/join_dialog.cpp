// Dialog 120: fills the boxes from the game's INI file and the record, keeps the saved names in
// step with the name box, and checks the password before "Join!".
#include "join/win32/join_dialog.h"

#include <iterator>
#include <vector>

#include "base/app_title.h"
#include "base/settings_index.h"
#include "base/text.h"
#include "base/win32/dialog_text.h"
#include "base/win32/handles.h"
#include "join/join_plan.h"
#include "join/saved_nicks.h"
#include "resources/resource.h"

namespace join::win32 {

namespace {

// Boxes of the dialog take what is kept: names 40 characters, passwords what the record holds (a
// longer one typed and saved would be cut without a word).
constexpr int kNameLimit = 40;
constexpr int kPasswordLimit = sizeof(catalogue::ServerRecord::serverPassword) - 1;
static_assert(sizeof(catalogue::ServerRecord::rconPassword) - 1 == kPasswordLimit);
static_assert(sizeof(JoinDetails::serverPassword) > kPasswordLimit);
// The mIRC text is written back with up to 253 characters.
constexpr int kIrcTemplateLimit = 253;

// The picture of each game kind; kind 0 keeps the dialog's own.
constexpr WORD kGamePictures[] = {0,
                                  IDB_JOIN_Q3A,
                                  IDB_JOIN_HL,
                                  IDB_JOIN_RTCW,
                                  IDB_JOIN_MOHAA,
                                  IDB_JOIN_JK2,
                                  IDB_JOIN_SOF2,
                                  IDB_JOIN_UT,
                                  IDB_JOIN_CCR,
                                  IDB_JOIN_OA,
                                  IDB_JOIN_IOQ3,
                                  IDB_JOIN_URT,
                                  IDB_JOIN_ETL,
                                  IDB_JOIN_XON,
                                  IDB_JOIN_NEX,
                                  IDB_JOIN_HLS,
                                  IDB_JOIN_CSS,
                                  IDB_JOIN_TF2,
                                  IDB_JOIN_CS2,
                                  IDB_JOIN_DODS,
                                  IDB_JOIN_GMOD,
                                  IDB_JOIN_L4D2};
static_assert(std::size(kGamePictures) == catalogue::kGameKindCount);

bool HasModels(uint32_t kind) {
    return kind == catalogue::kEliteForce || kind == catalogue::kQuake3 || kind == catalogue::kHalfLife ||
           kind == catalogue::kJediKnight2 || kind == catalogue::kSoldierOfFortune2 || kind == catalogue::kOpenArena ||
           kind == catalogue::kIoQuake3;
}

struct JoinDialog {
    JoinDialogRequest& request;
    SavedNicks nicks;
    HINSTANCE instance;
    HWND dialog = nullptr;
    base::win32::GdiObject picture;
};

JoinDialog* StateOf(HWND dialog) {
    return reinterpret_cast<JoinDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

template <size_t N>
void ReadInto(HWND dialog, int id, char (&field)[N]) {
    base::CopyText(field, base::win32::DialogItemText(dialog, id, N - 1));
}

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

// Selects the model saved with the name, or nothing when the model is not offered.
void SelectModelOf(JoinDialog& d, const std::string& name) {
    std::string model;
    LRESULT index = CB_ERR;
    if (d.nicks.FindNick(name, &model) >= 0 && !model.empty())
        index = Send(d.dialog, IDC_JOIN_MODEL, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(model.c_str()));
    Send(d.dialog, IDC_JOIN_MODEL, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index);
}

// Each entry of the name box carries the slot its name is saved in.
void AddName(HWND dialog, const SavedNick& nick) {
    LRESULT index = Send(dialog, IDC_JOIN_NAME, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(nick.name.c_str()));
    if (index >= 0)
        Send(dialog, IDC_JOIN_NAME, CB_SETITEMDATA, index, nick.slot);
}

// The entry of a slot, or CB_ERR.
LRESULT EntryOfSlot(HWND dialog, int slot) {
    LRESULT count = Send(dialog, IDC_JOIN_NAME, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        if (Send(dialog, IDC_JOIN_NAME, CB_GETITEMDATA, i) == slot)
            return i;
    }
    return CB_ERR;
}

std::string NameAt(HWND dialog, LRESULT index) {
    LRESULT length = Send(dialog, IDC_JOIN_NAME, CB_GETLBTEXTLEN, index);
    if (length == CB_ERR)
        return std::string();
    std::vector<char> text(length + 1);
    Send(dialog, IDC_JOIN_NAME, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

void TakeName(JoinDialog& d, LRESULT index) {
    std::string name = NameAt(d.dialog, index);
    base::CopyText(d.request.details.playerName, name);
    SelectModelOf(d, name);
}

void SetPicture(JoinDialog& d) {
    uint32_t kind = d.request.kind;
    if (kind > 0 && kind < std::size(kGamePictures)) {
        d.picture.Reset(LoadImageA(d.instance, MAKEINTRESOURCEA(kGamePictures[kind]), IMAGE_BITMAP, 0, 0, 0));
        Send(d.dialog, IDC_JOIN_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(d.picture.get()));
    }
    if (!HasModels(kind))
        EnableWindow(GetDlgItem(d.dialog, IDC_JOIN_MODEL), FALSE);
}

void OnInit(JoinDialog& d) {
    JoinDialogRequest& r = d.request;
    HWND dialog = d.dialog;
    SendMessageA(dialog, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(d.instance, MAKEINTRESOURCEA(IDI_JOIN))));
    std::string ircTemplate = base::ReadIniText(r.settings, base::ini::kIrcTemplate, r.gameIniFile, kDialogIrcTemplate);
    Send(dialog, IDC_JOIN_IRC_TEMPLATE, EM_LIMITTEXT, kIrcTemplateLimit);
    SetDlgItemTextA(dialog, IDC_JOIN_IRC_TEMPLATE, ircTemplate.c_str());
    SetPicture(d);
    Send(dialog, IDC_JOIN_PASSWORD, EM_LIMITTEXT, kPasswordLimit);
    Send(dialog, IDC_JOIN_RCON_PASSWORD, EM_LIMITTEXT, kPasswordLimit);
    Send(dialog, IDC_JOIN_NAME, CB_LIMITTEXT, kNameLimit);
    std::string caption = "Join: " + r.serverName;
    SetWindowTextA(dialog, caption.c_str());

    d.nicks.MigrateRegistryNicks();
    for (const std::string& model : d.nicks.Models())
        Send(dialog, IDC_JOIN_MODEL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(model.c_str()));
    for (const SavedNick& nick : d.nicks.Names())
        AddName(dialog, nick);
    LRESULT last = EntryOfSlot(dialog, d.nicks.LastIndex());
    Send(dialog, IDC_JOIN_NAME, CB_SETCURSEL, static_cast<WPARAM>(last));
    TakeName(d, last);

    CheckDlgButton(dialog, IDC_JOIN_NOTIFY_IRC,
                   base::ReadDwordOr(r.settings, base::reg::kJoinOption) ? BST_CHECKED : BST_UNCHECKED);
    if (r.details.passwordRequired)
        SetDlgItemTextA(dialog, IDC_JOIN_PASSWORD, r.details.serverPassword);
    else
        EnableWindow(GetDlgItem(dialog, IDC_JOIN_PASSWORD), FALSE);
    SetDlgItemTextA(dialog, IDC_JOIN_RCON_PASSWORD, r.details.rconPassword);
    ShowWindow(GetDlgItem(dialog, IDC_JOIN_VIA_STEAM), r.offerViaSteam ? SW_SHOW : SW_HIDE);
    CheckDlgButton(dialog, IDC_JOIN_VIA_STEAM, r.offerViaSteam && r.viaSteam ? BST_CHECKED : BST_UNCHECKED);
    SetFocus(GetDlgItem(dialog, IDC_JOIN_NAME));
}

void OnSaveName(JoinDialog& d) {
    std::string name = base::win32::DialogItemText(d.dialog, IDC_JOIN_NAME, kNameLimit);
    std::string model = base::win32::DialogItemText(d.dialog, IDC_JOIN_MODEL, kNameLimit);
    if (name.empty())
        return;
    bool isNew = false;
    int slot = d.nicks.SaveNick(name, model, &isNew);
    if (isNew)
        AddName(d.dialog, {slot, name});
}

void OnDeleteName(JoinDialog& d) {
    std::string name = base::win32::DialogItemText(d.dialog, IDC_JOIN_NAME, kNameLimit);
    if (name.empty())
        return;
    // The entry of the slot the file lost, not the first that begins with the text ("Bob" is not
    // "Bobby").
    int slot = d.nicks.DeleteNick(name);
    LRESULT index = slot < 0 ? CB_ERR : EntryOfSlot(d.dialog, slot);
    if (index != CB_ERR)
        Send(d.dialog, IDC_JOIN_NAME, CB_DELETESTRING, index);
}

// "Join!" and "&Close": the mIRC text and choice are kept, and the passwords asked to be kept.
void Close(JoinDialog& d, int button) {
    JoinDialogRequest& r = d.request;
    base::WriteIniText(r.settings, base::ini::kIrcTemplate,
                       base::win32::DialogItemText(d.dialog, IDC_JOIN_IRC_TEMPLATE, kIrcTemplateLimit), r.gameIniFile);
    r.details.notifyIrc = IsDlgButtonChecked(d.dialog, IDC_JOIN_NOTIFY_IRC) == BST_CHECKED ? 1 : 0;
    base::WriteDwordValue(r.settings, base::reg::kJoinOption, r.details.notifyIrc);
    if (r.offerViaSteam)
        r.viaSteam = IsDlgButtonChecked(d.dialog, IDC_JOIN_VIA_STEAM) == BST_CHECKED;
    if (IsDlgButtonChecked(d.dialog, IDC_JOIN_SAVE_PASSWORD) == BST_CHECKED) {
        r.details.savePassword = 1;
        ReadInto(d.dialog, IDC_JOIN_PASSWORD, r.details.serverPassword);
    }
    if (IsDlgButtonChecked(d.dialog, IDC_JOIN_SAVE_RCON_PASSWORD) == BST_CHECKED) {
        r.details.saveRconPassword = 1;
        ReadInto(d.dialog, IDC_JOIN_RCON_PASSWORD, r.details.rconPassword);
    }
    EndDialog(d.dialog, button);
}

void OnJoin(JoinDialog& d) {
    JoinDetails& details = d.request.details;
    ReadInto(d.dialog, IDC_JOIN_PASSWORD, details.serverPassword);
    ReadInto(d.dialog, IDC_JOIN_RCON_PASSWORD, details.rconPassword);
    if (!details.serverPassword[0] && details.passwordRequired && d.request.kind != catalogue::kWolfenstein) {
        MessageBoxA(d.dialog, "A password must be entered!", base::kAppTitle, MB_OK);
        return;
    }
    ReadInto(d.dialog, IDC_JOIN_NAME, details.playerName);
    ReadInto(d.dialog, IDC_JOIN_MODEL, details.model);
    Close(d, IDOK);
}

INT_PTR CALLBACK JoinDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* d = reinterpret_cast<JoinDialog*>(lParam);
        d->dialog = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OnInit(*d);
        return FALSE;  // the focus is on the name box
    }
    JoinDialog* d = StateOf(dialog);
    if (!d || message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_JOIN_NAME:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                // LNI is the slot of the chosen name, not its place in the box.
                LRESULT index = Send(dialog, IDC_JOIN_NAME, CB_GETCURSEL);
                if (index != CB_ERR)
                    d->nicks.SetLastIndex(static_cast<int>(Send(dialog, IDC_JOIN_NAME, CB_GETITEMDATA, index)));
                TakeName(*d, index);
            }
            return TRUE;
        case IDC_JOIN_SAVE_NAME:
            OnSaveName(*d);
            return TRUE;
        case IDC_JOIN_DELETE_NAME:
            OnDeleteName(*d);
            return TRUE;
        case IDOK:
            OnJoin(*d);
            return TRUE;
        case IDCANCEL:
            Close(*d, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunJoinDialog(HINSTANCE instance, HWND owner, JoinDialogRequest& request) {
    JoinDialog d{request, SavedNicks(request.settings, request.gameIniFile), instance};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_JOIN), owner, JoinDialogProc, reinterpret_cast<LPARAM>(&d));
}

}  // namespace join::win32
