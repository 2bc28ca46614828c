// One table of the commands that both the main menu (with its toolbar, accelerators and tray menu)
// and the server list's context menu give: which window gets which message for each.
#pragma once

#include <windows.h>

namespace app::win32 {

enum class CommandTarget {
    kMain,         // sent to the main window
    kMainPosted,   // posted to the main window
    kServerPane,   // the current profile's server list pane
    kBuddyPane,    // the current profile's buddy pane
    kFocusedPane,  // the pane whose list has the keyboard focus (the server list pane for the
                   // context menu's commands)
    kDialog,       // a dialog of the shell or of a later part
};

struct CommandRoute {
    UINT command;         // the main menu's command
    UINT contextCommand;  // the same command in the server list's context menu (0: none)
    CommandTarget target;
    UINT message;
    WPARAM wParam;
};

// The route of a main menu or context menu command, or nullptr for a command the table does not
// route (display options, filters, tray, web links and the shell's own actions).
const CommandRoute* FindCommandRoute(UINT command);

// Sends or posts the routed message; true when the command has a route.
bool RouteCommand(HWND main, UINT command);

}  // namespace app::win32
