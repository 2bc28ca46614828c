// The program's own messages to the main window and its timers.
#pragma once

#include <windows.h>

namespace app::win32 {

constexpr UINT WM_APP_MASTERSOCKET = WM_USER + 1;
// Posted by the status engine's receiving thread: replies wait to be handled (StatusEngine::
// OnRepliesWaiting). At most one is in the queue at a time.
constexpr UINT WM_APP_STATUSSOCKET = WM_USER + 2;
constexpr UINT WM_APP_VERSIONSOCKET = WM_USER + 3;
constexpr UINT WM_APP_REFRESH = WM_USER + 70;  // wParam: a net::RefreshMode
constexpr UINT WM_APP_MASTERQUERY = WM_USER + 100;
constexpr UINT WM_APP_VERSIONCHECK = WM_USER + 101;
constexpr UINT WM_APP_REFILTER = WM_USER + 550;
constexpr UINT WM_APP_ADDSERVER = WM_USER + 700;
constexpr UINT WM_APP_MONITOR = WM_USER + 800;
constexpr UINT WM_APP_TRAY = WM_USER + 900;
// Posted by the status worker when it has sent the last request of a cycle.
constexpr UINT WM_APP_WORKERDONE = WM_USER + 901;
// Posted by the status worker to show "Refreshing Server %d".
constexpr UINT WM_APP_WORKERPROGRESS = WM_USER + 902;
// Posted when a handler queued a notice: shown now that the handler has returned.
constexpr UINT WM_APP_NOTICES = WM_USER + 903;
// Posted by the end of a "Display Server Information" refresh: its dialog comes now.
constexpr UINT WM_APP_SERVERINFO = WM_USER + 904;

// The answer of the master host name lookup (WSAAsyncGetHostByName).
constexpr UINT WM_APP_MASTERLOOKUP = WM_USER + 910;

// Timers of the main window.
constexpr UINT_PTR kTimerMasterAttempt = 1;
constexpr UINT_PTR kTimerRefreshClose = 2;
constexpr UINT_PTR kTimerAutoRefresh = 3;
constexpr UINT_PTR kTimerMasterBatch = 4;
// The replies a drain of the status engine left behind (one shot).
constexpr UINT_PTR kTimerRepliesWaiting = 5;
// What changed since the refresh's progress was last shown (one shot).
constexpr UINT_PTR kTimerShowProgress = 6;
// The next list file due to be saved (saves.h; one shot, armed again after each look).
constexpr UINT_PTR kTimerSaves = 20;
constexpr UINT kAutoRefreshPeriodMs = 900000;

}  // namespace app::win32
