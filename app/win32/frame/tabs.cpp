// Game tabs and their panes.
#include "app/win32/frame/tabs.h"

#include <windows.h>

#include <commctrl.h>

#include "app/startup_settings.h"
#include "app/win32/commands/filter_menu.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/main_layout.h"
#include "app/win32/frame/shell.h"
#include "catalogue/list_loading.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace app::win32 {

using catalogue::GameProfile;
using namespace views::win32;

namespace {

void ShowPanes(Shell& shell, GameProfile& p, int show) {
    PaneSet panes = PanesOf(shell, &p);
    for (HWND pane : {panes.buddy, panes.server, panes.player}) {
        if (pane)
            ShowWindow(pane, show);
    }
}

}  // namespace

HWND CreateTabControl(Shell& shell) {
    HWND main = shell.main;
    RECT client;
    GetClientRect(main, &client);
    HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BOTTOM, 0,
                               client.bottom - 60, client.right, 30, main, nullptr, shell.instance, nullptr);
    if (!tab)
        return nullptr;
    if (shell.images.games)
        SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(shell.images.games.handle()));
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMessageFont;
    HDC dc = GetDC(main);
    font.lfHeight = -(8 * GetDeviceCaps(dc, LOGPIXELSY) / 72);
    ReleaseDC(main, dc);
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    shell.tabFont.Reset(CreateFontIndirectA(&font));
    SendMessageA(tab, WM_SETFONT, reinterpret_cast<WPARAM>(shell.tabFont.get()), FALSE);
    return tab;
}

void AddTabForProfile(Shell& shell, GameProfile& profile) {
    shell.panes[&profile] = CreatePanes(shell.host, profile, shell.main);

    if (profile.iconIndex >= catalogue::kGameIconCount)
        profile.iconIndex = 0;
    int count = static_cast<int>(SendMessageA(shell.tab, TCM_GETITEMCOUNT, 0, 0));
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = profile.title;
    item.iImage = static_cast<int>(profile.iconIndex);
    profile.tabIndex = static_cast<uint32_t>(count);
    SendMessageA(shell.tab, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item));
}

void RemoveTabForProfile(Shell& shell, GameProfile& profile) {
    catalogue::ProfileList& profiles = *shell.ctx->profiles;
    const uint32_t removed = profile.tabIndex;
    // The neighbour's offer of a master query is a question, whose modal loop could run another
    // removal: it is asked only once this removal is whole.
    uint32_t offerFor = 0;
    if (&profile == CurrentProfile(shell)) {
        // The same steps as a tab change by the user, to the neighbour.
        uint32_t count = static_cast<uint32_t>(SendMessageA(shell.tab, TCM_GETITEMCOUNT, 0, 0));
        GameProfile* next = profiles.ProfileAtTab(removed + 1 < count ? removed + 1 : removed - 1);
        RemoveFilterItems(shell, GetMenu(shell.main));
        ShowPanes(shell, profile, SW_HIDE);
        if (next && next != &profile) {
            SendMessageA(shell.tab, TCM_SETCURSEL, next->tabIndex, 0);
            ShowProfile(shell, *next);
            offerFor = next->fileNumber;
        }
    }
    // Choices and panes are keyed by the profile's address, which a later profile may get again.
    shell.filterChoices.erase(&profile);
    if (auto found = shell.panes.find(&profile); found != shell.panes.end()) {
        DestroyPanes(found->second);
        shell.panes.erase(found);
    }
    SendMessageA(shell.tab, TCM_DELETEITEM, removed, 0);
    for (const auto& p : profiles.profiles()) {
        if (p->tabIndex > removed)
            --p->tabIndex;
    }
    // The control's own idea of the selection after a deletion differs between versions.
    if (GameProfile* current = CurrentProfile(shell); current && current != &profile)
        SendMessageA(shell.tab, TCM_SETCURSEL, current->tabIndex, 0);
    profiles.unregisterProfile(&profile);
    if (offerFor)
        OfferMasterQuery(shell, offerFor);
}

void DestroyAllPanes(Shell& shell) {
    if (!shell.ctx->profiles)
        return;
    for (auto& [profile, panes] : shell.panes)
        DestroyPanes(panes);
    shell.panes.clear();
}

LRESULT OnTabNotify(Shell& shell, const NMHDR& header) {
    if (header.code == TCN_SELCHANGING) {
        if (shell.ctx->refreshBusy)
            return TRUE;
        RemoveFilterItems(shell, GetMenu(shell.main));
        return FALSE;
    }
    if (header.code == TCN_SELCHANGE) {
        int selected = static_cast<int>(SendMessageA(shell.tab, TCM_GETCURSEL, 0, 0));
        GameProfile* next = shell.ctx->profiles->ProfileAtTab(static_cast<uint32_t>(selected));
        GameProfile* current = CurrentProfile(shell);
        if (next && next != current) {
            if (current)
                ShowPanes(shell, *current, SW_HIDE);
            shell.ctx->profiles->SetCurrent(next);
            ActivateProfile(shell, *next);
        } else if (next) {
            InsertFilterItems(shell, GetMenu(shell.main), *next);
        }
    }
    return 0;
}

void ActivateProfile(Shell& shell, GameProfile& profile) {
    ShowProfile(shell, profile);
    OfferMasterQuery(shell, profile.fileNumber);
}

void OfferMasterQuery(Shell& shell, uint32_t fileNumber) {
    GameProfile* current = CurrentProfile(shell);
    if (!current || current->fileNumber != fileNumber || current->servers.count > 0)
        return;
    if (!shell.sink->AskYesNo("You don't have any servers to view,\nwould you like Vexar! to retrieve the\nMaster "
                              "server list?",
                              base::MessageIcon::kQuestion))
        return;
    // The question's modal loop may have changed the tab or removed the profile.
    current = CurrentProfile(shell);
    if (current && current->fileNumber == fileNumber)
        SendMessageA(shell.main, WM_APP_MASTERQUERY, 0, 0);
}

void ShowProfile(Shell& shell, GameProfile& profile) {
    shell.ctx->profiles->SetCurrent(&profile);
    InsertFilterItems(shell, GetMenu(shell.main), profile);
    LayoutPanes(shell, 0);
    ShowPanes(shell, profile, SW_SHOW);
    InvalidateRect(shell.main, nullptr, FALSE);
    PaneSet panes = PanesOf(shell, &profile);
    if (profile.servers.count > 0) {
        SendToPane(panes.server, PM_REPAINT);
        InvalidateRect(panes.buddy, nullptr, FALSE);
    } else {
        // Lists are read once per run: a list the user emptied must not come back from the file.
        if (!profile.listsLoaded)
            LoadProfileLists(shell, profile);
        SendToPane(panes.buddy, PM_BUDDIES_RELOAD);
    }
}

void SelectStartupTab(Shell& shell, int index) {
    index = StartupTabIndex(index, static_cast<int>(SendMessageA(shell.tab, TCM_GETITEMCOUNT, 0, 0)));
    SendMessageA(shell.tab, TCM_SETCURSEL, index, 0);
    if (GameProfile* p = shell.ctx->profiles->ProfileAtTab(static_cast<uint32_t>(index)))
        ActivateProfile(shell, *p);
}

void LoadProfileLists(Shell& shell, GameProfile& profile) {
    HCURSOR previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    shell.ctx->profiles->SetCurrent(&profile);
    // A file that could not be read whole is told of once this handler is over.
    for (std::string& message : catalogue::loadProfileLists(*shell.ctx->profiles, profile, shell.ctx->catalogue))
        TellLater(shell, message, nullptr, base::MessageIcon::kExclamation);
    PaneSet panes = PanesOf(shell, &profile);
    HWND pane = panes.server;
    SendToPane(pane, PM_CLEAR);
    SendToPane(panes.player, PM_CLEAR);
    if (pane)
        UpdateWindow(pane);

    RECT client = {};
    if (pane)
        GetClientRect(pane, &client);
    HWND label = CreateWindowExA(0, "STATIC", "Populating Server list..", WS_CHILD | WS_VISIBLE, client.right - 360, 5,
                                 150, 16, pane, nullptr, shell.instance, nullptr);
    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, client.right - 200, 5, 195, 16, pane,
                                    nullptr, shell.instance, nullptr);
    uint32_t total = profile.servers.count;
    SendMessageA(progress, PBM_SETRANGE32, 0, total);
    SendMessageA(progress, PBM_SETSTEP, 1, 0);
    // Repainting the bar for every one of thousands of servers would cost more than the rows (a
    // progress bar may repaint itself on every step): it is moved and redrawn about a hundred times.
    uint32_t redrawEvery = total / 100 + 1;
    uint32_t n = 0;
    for (catalogue::ServerRecord* r = profile.servers.head; r; r = r->next) {
        SendToPane(pane, PM_ADD_SERVER_ROW, 0, reinterpret_cast<LPARAM>(r));
        if (++n % redrawEvery == 0) {
            SendMessageA(progress, PBM_SETPOS, n, 0);
            UpdateWindow(progress);
        }
    }
    SendToPane(pane, PM_RESTORE_SORT);
    SendToPane(panes.player, PM_RESTORE_SORT);
    SendToPane(panes.buddy, PM_RESTORE_SORT);
    SetCursor(previousCursor);
    DestroyWindow(label);
    DestroyWindow(progress);
}

void RefilterPanes(Shell& shell) {
    GameProfile* p = CurrentProfile(shell);
    if (!p)
        return;
    PaneSet panes = PanesOf(shell, p);
    SendToPane(panes.server, PM_CLEAR);
    SendToPane(panes.player, PM_CLEAR);
    for (catalogue::ServerRecord* r = p->servers.head; r; r = r->next)
        SendToPane(panes.server, PM_ADD_SERVER_ROW, 0, reinterpret_cast<LPARAM>(r));
    SendToPane(panes.server, PM_RESORT);
    SendToPane(panes.player, PM_RESORT);
    SendToPane(panes.buddy, PM_RESORT);
}

}  // namespace app::win32
