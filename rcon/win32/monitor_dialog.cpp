// Dialog 165: timer 1 refreshes every period, timer 2 shows "Waiting" a second after each refresh.
#include "rcon/win32/monitor_dialog.h"

#include "base/app_title.h"
#include "base/win32/handles.h"
#include "net/status_engine.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace rcon::win32 {

namespace {

constexpr UINT_PTR kPeriodTimer = 1;
constexpr UINT_PTR kWaitingTimer = 2;
constexpr UINT kWaitingAfterMs = 1000;
constexpr UINT kShortestPeriod = 1, kLongestPeriod = 60;

struct MonitorDialog {
    HINSTANCE instance;
    MonitorRequest& request;
    base::win32::Icon refreshing;
    base::win32::Icon waiting;
    bool monitoring = false;
};

MonitorDialog* StateOf(HWND dialog) {
    return reinterpret_cast<MonitorDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void ShowState(HWND dialog, HICON icon, const char* status) {
    SendDlgItemMessageA(dialog, IDC_MONITOR_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetDlgItemTextA(dialog, IDC_MONITOR_STATUS, status);
}

// Marks the first selected server and asks for its refresh; false when nothing is selected.
bool RefreshNow(HWND dialog, MonitorDialog& d) {
    if (SendMessageA(d.request.serverPane, views::win32::PM_MARK_FIRST_FOR_REFRESH, 0, 0) == 0)
        return false;
    ShowState(dialog, d.refreshing.get(), "Refreshing");
    PostMessageA(d.request.main, d.request.refreshMessage, net::kRefreshMonitored, 0);
    SetTimer(dialog, kWaitingTimer, kWaitingAfterMs, nullptr);
    return true;
}

void SetMonitoring(HWND dialog, MonitorDialog& d, bool on) {
    d.monitoring = on;
    d.request.active = on;
    SetDlgItemTextA(dialog, IDOK, on ? "Pause!" : "Monitor!");
    SendDlgItemMessageA(dialog, IDC_MONITOR_PERIOD, EM_SETREADONLY, on, 0);
    if (!on)
        KillTimer(dialog, kPeriodTimer);
}

void OnMonitor(HWND dialog, MonitorDialog& d) {
    if (d.monitoring)
        return SetMonitoring(dialog, d, false);
    BOOL read = FALSE;
    UINT period = GetDlgItemInt(dialog, IDC_MONITOR_PERIOD, &read, FALSE);
    if (!read || period < kShortestPeriod || period > kLongestPeriod) {
        MessageBoxA(dialog, "Range: 1 to 60 seconds!", base::kAppTitle, MB_OK);
        return;
    }
    // The refresh request is posted: the flag is set before the main window takes it.
    if (!RefreshNow(dialog, d)) {
        MessageBoxA(dialog, "Nothing to monitor!", base::kAppTitle, MB_OK);
        return;
    }
    SetMonitoring(dialog, d, true);
    SetTimer(dialog, kPeriodTimer, period * 1000, nullptr);
}

void OnClose(HWND dialog, MonitorDialog& d) {
    SetMonitoring(dialog, d, false);
    KillTimer(dialog, kWaitingTimer);
    EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK MonitorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* d = reinterpret_cast<MonitorDialog*>(lParam);
        auto load = [d](WORD id) {
            return static_cast<HICON>(LoadImageA(d->instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0));
        };
        d->refreshing.Reset(load(IDI_MONITOR_REFRESHING));
        d->waiting.Reset(load(IDI_MONITOR_WAITING));
        SetDlgItemTextA(dialog, IDC_MONITOR_PERIOD, "5");
        SetFocus(GetDlgItem(dialog, IDC_MONITOR_PERIOD));
        return FALSE;
    }
    MonitorDialog* d = StateOf(dialog);
    if (!d)
        return FALSE;
    if (message == WM_TIMER) {
        if (wParam == kPeriodTimer && d->monitoring)
            RefreshNow(dialog, *d);
        if (wParam == kWaitingTimer) {
            ShowState(dialog, d->waiting.get(), "Waiting");
            KillTimer(dialog, kWaitingTimer);
        }
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK:
            OnMonitor(dialog, *d);
            return TRUE;
        case IDCANCEL:
            OnClose(dialog, *d);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunMonitorDialog(HINSTANCE instance, MonitorRequest& request) {
    MonitorDialog d{instance, request};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MONITOR), request.main, MonitorProc,
                           reinterpret_cast<LPARAM>(&d));
}

}  // namespace rcon::win32
