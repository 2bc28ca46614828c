// The main window procedure: messages, timers and the closing sequence.
#include "app/win32/frame/main_window.h"

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "app/win32/commands/commands.h"
#include "app/win32/commands/filter_menu.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/logo_bar.h"
#include "app/win32/frame/main_layout.h"
#include "app/win32/frame/session_events.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tabs.h"
#include "app/win32/frame/tray.h"
#include "app/win32/settings/saves.h"
#include "base/settings_index.h"
#include "base/win32/window_placement.h"
#include "net/status_engine.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

void StoreWindowSettings(Shell& shell) {
    AppContext& ctx = *shell.ctx;
    base::SettingsStore& store = *ctx.settings;
    base::win32::SaveWindowPlacement(store, shell.main, base::reg::kMainPlacement,
                                     base::win32::PlacementRule::kNormalOnly);
    const app::Splitters& s = ctx.splitters;
    base::WriteDwordValue(store, base::reg::kSplitter, static_cast<uint32_t>(s.bars[0].position));
    base::WriteDwordValue(store, base::reg::kSplitterSecond, static_cast<uint32_t>(s.bars[1].position));
    base::WriteDwordValue(store, base::reg::kSplitterPlayers, static_cast<uint32_t>(s.bars[2].position));

    int selected = shell.tab ? static_cast<int>(SendMessageA(shell.tab, TCM_GETCURSEL, 0, 0)) : 0;
    base::WriteIniDecimal(store, base::ini::kActiveTab, selected);
    base::WriteIniDecimal(store, base::ini::kWindowStateWrite, ctx.windowState);
}

namespace {

void OnClose(Shell& shell) {
    AppContext& ctx = *shell.ctx;
    // Everything is written below: the saves on the way stop.
    StopSaves(shell);
    StoreWindowSettings(shell);
    if (shell.network)
        shell.network->CloseSockets();
    DestroyAllPanes(shell);
    ctx.profiles->saveProfiles();
    ctx.profiles->clearProfiles();
    ctx.catalogue.freeCatalogue();
}

void OnDestroy(Shell& shell) {
    // The children go before the image lists and font they use (freed with the shell).
    for (HWND* w : {&shell.toolbar, &shell.logoPicture, &shell.logoBar, &shell.bannerBar, &shell.tab}) {
        if (*w)
            DestroyWindow(*w);
        *w = nullptr;
    }
    KillTimer(shell.main, kTimerAutoRefresh);
    shell.main = nullptr;
    PostQuitMessage(0);
}

void OnSize(Shell& shell, WPARAM type) {
    HWND main = shell.main;
    if (type == SIZE_MINIMIZED) {
        shell.ctx->windowState = 1;
        if (shell.ctx->useTray)
            MinimiseToTray(shell);
        return;
    }
    shell.ctx->windowState = type == SIZE_MAXIMIZED ? 2 : 0;
    // Shown again by any means (a second start included): the tray icon goes with it.
    RemoveTrayIcon(shell);
    // A window that shrank keeps its bars within reach. The sizes before the first showing are
    // not the user's and must not move them.
    if (IsWindowVisible(main))
        FitSplittersToClient(shell);
    InvalidateRect(main, nullptr, FALSE);
    LayoutFixedChildren(shell);
}

void OnInitMenu(Shell& shell, HMENU menu) {
    HWND pane = PanesOf(shell, CurrentProfile(shell)).server;
    bool favourite = SendToPane(pane, views::win32::PM_QUERY_FAVOURITE) != 0;
    bool autoRefresh = SendToPane(pane, views::win32::PM_QUERY_AUTO_REFRESH) != 0;
    CheckItem(menu, IDM_MARK_FAVOURITE, favourite);
    CheckItem(menu, IDM_AUTO_REFRESH_SELECTED, autoRefresh);
}

void OnTimer(Shell& shell, UINT_PTR id) {
    if (id == kTimerAutoRefresh) {
        AppContext& ctx = *shell.ctx;
        if (!ctx.refreshBusy && (ctx.autoRefreshMinimised || ctx.windowState != 1))
            SendMessageA(shell.main, WM_APP_REFRESH, net::kRefreshAutoRefresh, 0);
        return;
    }
    if (id == kTimerSaves) {
        OnSaveTimer(shell);
        return;
    }
    if (shell.network)
        shell.network->OnTimer(id);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        KeepShellIn(window, lParam);
        if (Shell* shell = ShellOf(window))
            shell->main = window;
    }
    Shell* found = ShellOf(window);
    // Before WM_NCCREATE (WM_GETMINMAXINFO) and after the shell has let go of the window.
    if (!found || found->main != window)
        return DefWindowProcA(window, message, wParam, lParam);
    Shell& shell = *found;
    ShellNetwork* net = shell.network;
    if (LRESULT result; OnSessionMessage(shell, message, wParam, &result))
        return result;
    switch (message) {
        case WM_CREATE:
            if (net)
                net->OnMainWindowCreated(shell);
            SetTimer(window, kTimerAutoRefresh, kAutoRefreshPeriodMs, nullptr);
            SendMessageA(window, WM_APP_VERSIONCHECK, 0, 0);
            return 0;
        case WM_SIZE:
            OnSize(shell, wParam);
            return 0;
        case WM_PAINT:
            PaintBackground(shell);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_INITMENU:
            OnInitMenu(shell, reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == shell.tab)
                return OnTabNotify(shell, *header);
            if (header->code == TBN_DROPDOWN || header->code == TTN_NEEDTEXTA)
                return LogoBarProc(shell.logoBar, message, wParam, lParam);
            break;
        }
        case WM_COMMAND:
            OnCommand(shell, wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            OnSplitterMouseMove(shell, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnSplitterButtonDown(shell, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnSplitterButtonUp(shell, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            OnSplitterCaptureChanged(shell, reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_TIMER:
            OnTimer(shell, wParam);
            return 0;
        case WM_CLOSE:
            OnClose(shell);
            break;  // default processing destroys the window
        case WM_DESTROY:
            OnDestroy(shell);
            return 0;
        case WM_APP_MASTERSOCKET:
            if (net)
                net->OnMasterSocket(wParam, lParam);
            return 0;
        case WM_APP_MASTERLOOKUP:
            if (net)
                net->OnMasterLookup(wParam, lParam);
            return 0;
        case WM_APP_STATUSSOCKET:
            if (net)
                net->OnStatusSocket(wParam, lParam);
            return 0;
        case WM_APP_VERSIONSOCKET:
            if (net)
                net->OnVersionSocket(wParam, lParam);
            return 0;
        case WM_APP_REFRESH:
            if (net)
                net->StartRefresh(wParam);
            return 0;
        case WM_APP_MASTERQUERY:
            if (net)
                net->StartMasterQuery();
            return 0;
        case WM_APP_VERSIONCHECK:
            if (net)
                net->StartVersionCheck();
            return 0;
        case WM_APP_REFILTER:
            RefilterPanes(shell);
            return 0;
        case WM_APP_ADDSERVER:
            if (shell.dialogs)
                shell.dialogs->Open(shell, IDM_ADD_SERVER);
            return 0;
        case WM_APP_MONITOR:
            if (shell.dialogs)
                shell.dialogs->Open(shell, IDM_MONITOR_SERVER);
            return 0;
        case WM_APP_TRAY:
            OnTrayMessage(shell, wParam, lParam);
            return 0;
        case WM_APP_WORKERDONE:
            if (net)
                net->OnWorkerDone();
            return 0;
        case WM_APP_WORKERPROGRESS:
            if (net)
                net->OnWorkerProgress(wParam, lParam);
            return 0;
        case WM_APP_NOTICES:
            ShowWaitingNotices(shell);
            return 0;
        case WM_APP_SERVERINFO:
            if (net)
                net->OnServerInformation();
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace app::win32
