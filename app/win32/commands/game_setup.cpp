// The Installed Game(s) and Game Profile dialogs.
#include "app/win32/commands/game_setup.h"

#include <commctrl.h>

#include <string>

#include "app/game_profile_form.h"
#include "app/master_hosts.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tabs.h"
#include "app/win32/settings/saves.h"
#include "base/app_title.h"
#include "resources/resource.h"

namespace app::win32 {

using catalogue::GameProfile;

namespace {

constexpr char kNoGamesMessage[] = "You want Vexar! to search for no games?!\n\nAre you mad?";
constexpr char kNoTitleMessage[] = "You must specify a profile title!";
constexpr char kBusyMessage[] =
    "Vexar! is still busy with this game's servers.\n\nStop the refresh or let it end, then remove the game.";
constexpr int kTitleColumnWidth = 290;

std::string DialogText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The item data of a drop-down list's selected entry, 0 when none is selected.
uint32_t SelectedData(HWND dialog, int id) {
    LRESULT selected = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return 0;
    return static_cast<uint32_t>(SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, selected, 0));
}

void FocusControl(HWND dialog, int id) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

// ---- Game Profile -------------------------------------------------------------------------------

struct ProfileForm {
    const catalogue::Catalogue* catalogue = nullptr;
    std::unique_ptr<GameProfile> made;
};

// The chosen game's folder, master server and versions (the first one selected).
void FillGameDefaults(HWND dialog, const catalogue::Catalogue& catalogue) {
    const catalogue::GameDefinition* game = catalogue.GameOf(SelectedData(dialog, IDC_PROFILE_GAME));
    if (!game)
        return;
    SetDlgItemTextA(dialog, IDC_PROFILE_FOLDER, game->defaultFolder.c_str());
    SetDlgItemTextA(dialog, IDC_PROFILE_MASTER, game->masterAddress.c_str());
    SetDlgItemInt(dialog, IDC_PROFILE_PORT, game->masterPort, FALSE);
    HWND versions = GetDlgItem(dialog, IDC_PROFILE_VERSION);
    SendMessageA(versions, CB_RESETCONTENT, 0, 0);
    for (const catalogue::VersionDefinition& v : game->versions) {
        LRESULT at = SendMessageA(versions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(v.displayName.c_str()));
        if (at >= 0)
            SendMessageA(versions, CB_SETITEMDATA, at, v.protocol);
    }
    SendMessageA(versions, CB_SETCURSEL, 0, 0);
}

void InitProfileForm(HWND dialog, const ProfileForm& form) {
    SendDlgItemMessageA(dialog, IDC_PROFILE_TITLE, EM_LIMITTEXT, kProfileTitleLimit, 0);
    SendDlgItemMessageA(dialog, IDC_PROFILE_MASTER, EM_LIMITTEXT, kMasterHostLimit, 0);
    SendDlgItemMessageA(dialog, IDC_PROFILE_PORT, EM_LIMITTEXT, kPortLimit, 0);
    SendDlgItemMessageA(dialog, IDC_PROFILE_FOLDER, EM_LIMITTEXT, kGameFolderLimit, 0);
    HWND games = GetDlgItem(dialog, IDC_PROFILE_GAME);
    // The list sorts the games by title; each entry keeps its game's kind.
    for (const catalogue::GameDefinition& game : form.catalogue->games()) {
        LRESULT at = SendMessageA(games, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(game.title.c_str()));
        if (at >= 0)
            SendMessageA(games, CB_SETITEMDATA, at, game.kind);
    }
    SendMessageA(games, CB_SETCURSEL, 0, 0);
    FillGameDefaults(dialog, *form.catalogue);
    FocusControl(dialog, IDC_PROFILE_TITLE);
}

// OK: the profile the fields describe, or the title asked for again.
void AcceptProfileForm(HWND dialog, ProfileForm& form) {
    GameProfileFields fields;
    fields.title = DialogText(dialog, IDC_PROFILE_TITLE);
    if (fields.title.empty()) {
        MessageBoxA(dialog, kNoTitleMessage, base::kAppTitle, MB_OK | MB_ICONINFORMATION);
        FocusControl(dialog, IDC_PROFILE_TITLE);
        return;
    }
    fields.masterAddress = DialogText(dialog, IDC_PROFILE_MASTER);
    fields.port = DialogText(dialog, IDC_PROFILE_PORT);
    fields.gameFolder = DialogText(dialog, IDC_PROFILE_FOLDER);
    fields.kind = SelectedData(dialog, IDC_PROFILE_GAME);
    fields.protocol = SelectedData(dialog, IDC_PROFILE_VERSION);
    form.made = MakeProfileFromFields(fields, *form.catalogue);
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK GameProfileProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<ProfileForm*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            InitProfileForm(dialog, *reinterpret_cast<ProfileForm*>(lParam));
            return FALSE;  // the focus is on the title already
        case WM_COMMAND:
            if (!form)
                return FALSE;
            if (LOWORD(wParam) == IDC_PROFILE_GAME && HIWORD(wParam) == CBN_SELCHANGE) {
                FillGameDefaults(dialog, *form->catalogue);
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK) {
                AcceptProfileForm(dialog, *form);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

// ---- Installed Game(s) --------------------------------------------------------------------------

HWND GamesList(HWND dialog) {
    return GetDlgItem(dialog, IDC_GAMES_LIST);
}

int RowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void AppendProfileRow(HWND list, GameProfile& profile) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = RowCount(list);
    item.pszText = profile.title;
    item.iImage = static_cast<int>(profile.iconIndex >= catalogue::kGameIconCount ? 0 : profile.iconIndex);
    item.lParam = reinterpret_cast<LPARAM>(&profile);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// The profile of a row, when it is still one of the program's profiles.
GameProfile* ProfileOfRow(Shell& shell, HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    for (const auto& p : shell.ctx->profiles->profiles()) {
        if (reinterpret_cast<LPARAM>(p.get()) == item.lParam)
            return p.get();
    }
    return nullptr;
}

void UpdateRemoveButton(HWND dialog) {
    HWND remove = GetDlgItem(dialog, IDC_GAMES_REMOVE);
    bool selected = SelectedRow(GamesList(dialog)) >= 0;
    // A button that is disabled while it has the focus would leave the keyboard nowhere.
    if (!selected && GetFocus() == remove)
        FocusControl(dialog, IDC_GAMES_LIST);
    EnableWindow(remove, selected);
}

// The dialog's shell, kept from WM_INITDIALOG.
Shell& ShellOfDialog(HWND dialog) {
    return *reinterpret_cast<Shell*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void InitInstalledGames(Shell& shell, HWND dialog) {
    HWND list = GamesList(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The tab control's image list: shared (the list view's style), the shell frees it.
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(shell.images.games.handle()));
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = kTitleColumnWidth;
    column.pszText = const_cast<char*>("Game title");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (const auto& p : shell.ctx->profiles->profiles())
        AppendProfileRow(list, *p);
    UpdateRemoveButton(dialog);
}

void AddGame(Shell& shell, HWND dialog) {
    std::unique_ptr<GameProfile> made = showGameProfile(shell.instance, dialog, shell.ctx->catalogue);
    if (!made)
        return;
    GameProfile* profile = shell.ctx->profiles->registerProfile(std::move(made), true, true);
    StoreMasterHost(*profile, *shell.ctx->settings);
    AppendProfileRow(GamesList(dialog), *profile);
    AddTabForProfile(shell, *profile);
    NoteStoredChange(shell, *profile, catalogue::StoredFile::kProfiles);
}

// Set while an action of the dialog runs. Its messages and questions (and the neighbour's offer of
// a master query after a removal) run modal loops owned by the main window, in which this dialog's
// buttons still work: a second action then would find tabs and profiles half changed.
bool g_acting = false;

void RemoveGame(Shell& shell, HWND dialog) {
    HWND list = GamesList(dialog);
    if (RowCount(list) < 2) {
        MessageBoxA(dialog, kNoGamesMessage, base::kAppTitle, MB_OK | MB_ICONSTOP);
        return;
    }
    int row = SelectedRow(list);
    GameProfile* profile = row >= 0 ? ProfileOfRow(shell, list, row) : nullptr;
    if (!profile)
        return;
    // A refresh or master query holds the current profile's lists until it ends; the tab cannot
    // change before then either.
    if (profile == CurrentProfile(shell) && shell.ctx->refreshBusy) {
        MessageBoxA(dialog, kBusyMessage, base::kAppTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The row goes first: the removal ends with a question, after which `row` could be stale.
    SendMessageA(list, LVM_DELETEITEM, row, 0);
    RemoveTabForProfile(shell, *profile);
    NoteStoredChange(shell, 0, catalogue::StoredFile::kProfiles);
    UpdateRemoveButton(dialog);
}

INT_PTR CALLBACK InstalledGamesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            InitInstalledGames(ShellOfDialog(dialog), dialog);
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_GAMES_LIST && header->code == LVN_ITEMCHANGED)
                UpdateRemoveButton(dialog);
            return FALSE;
        }
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id != IDC_GAMES_ADD && id != IDC_GAMES_REMOVE && id != IDCANCEL)
                return FALSE;
            if (g_acting) {
                MessageBeep(MB_ICONEXCLAMATION);
                return TRUE;
            }
            g_acting = true;
            if (id == IDC_GAMES_ADD)
                AddGame(ShellOfDialog(dialog), dialog);
            else if (id == IDC_GAMES_REMOVE)
                RemoveGame(ShellOfDialog(dialog), dialog);
            else
                EndDialog(dialog, IDCANCEL);
            g_acting = false;
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

void showInstalledGames(Shell& shell) {
    if (!shell.ctx->profiles)
        return;
    DialogBoxParamA(shell.instance, MAKEINTRESOURCEA(IDD_INSTALLED_GAMES), shell.main, InstalledGamesProc,
                    reinterpret_cast<LPARAM>(&shell));
}

std::unique_ptr<GameProfile> showGameProfile(HINSTANCE instance, HWND owner, const catalogue::Catalogue& catalogue) {
    ProfileForm form;
    form.catalogue = &catalogue;
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_GAME_PROFILE), owner, GameProfileProc,
                                     reinterpret_cast<LPARAM>(&form));
    return result == IDOK ? std::move(form.made) : nullptr;
}

}  // namespace app::win32
