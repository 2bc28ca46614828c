// What Windows tells the main window about the session: that it ends (logoff, shutdown) and that the
// taskbar was made again (Explorer restarted).
#pragma once

#include <windows.h>

namespace app::win32 {

struct Shell;

// Handles WM_QUERYENDSESSION, WM_ENDSESSION and the registered "TaskbarCreated" message; false (and
// nothing done) for any other message.
//  - WM_QUERYENDSESSION: yes, the session may end; nothing is asked of the user.
//  - WM_ENDSESSION when the session really ends: the saves of the close sequence (placement, INI
//    values, "gamesets.vexar" and every list file), then the main window goes and the program ends.
//    Nothing is asked or shown. A running refresh is left as it is, its worker held off the records
//    while they are written.
//  - "TaskbarCreated": the tray icon is added again when the window is hidden in the tray, since the
//    new taskbar does not have it.
bool OnSessionMessage(Shell& shell, UINT message, WPARAM wParam, LRESULT* result);

}  // namespace app::win32
