// The Monitor Server dialog: re-queries the first selected server every 1 to 60 seconds while it
// is open and monitoring.
#pragma once

#include <windows.h>

namespace rcon::win32 {

struct MonitorRequest {
    HWND main;  // gets refreshMessage with the monitor's refresh mode
    UINT refreshMessage;
    HWND serverPane;  // marks its first selected server for the monitor's refresh
    bool& active;     // set while monitoring (the auto refresh and the grace time read it)
};

INT_PTR RunMonitorDialog(HINSTANCE instance, MonitorRequest& request);

}  // namespace rcon::win32
