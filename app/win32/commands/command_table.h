// The main window's command table: every command id of its menus, toolbar, accelerators, tray menu
// and the server list's context menu, what kind of command it is, where it goes, and when it is
// greyed. The menus, the popup menus and the toolbar all take their states from it.
#pragma once

#include <windows.h>

namespace app::win32 {

struct Shell;

enum class CommandKind {
    kRouted,  // a message to the main window or a pane (target below)
    kDialog,  // a dialog of the shell or of a later part
    kToggle,  // a display or tray option the shell flips and marks
    kRange,   // one of a numbered range: web links, mod filters, game-type filters
    kShell,   // the shell's own action: About, feedback mail, web site, stop, "All" filters, tray
    kInert,   // no action on purpose: Import, Export, Ctrl+E, the web links' placeholder
};

enum class CommandTarget {
    kNone,         // not routed (every kind but kRouted and kDialog)
    kMain,         // sent to the main window
    kMainPosted,   // posted to the main window
    kServerPane,   // the current profile's server list pane
    kBuddyPane,    // the current profile's buddy pane
    kFocusedPane,  // the pane whose list has the keyboard focus (the server list pane for the
                   // context menu's commands)
    kDialog,       // a dialog of the shell or of a later part
};

// When a command is offered; greyed (menu) or indeterminate (toolbar) otherwise.
enum class CommandNeeds {
    kNothing,
    kIdle,           // no master query or refresh runs
    kRefreshing,     // a master query or refresh runs
    kServer,         // a server is selected
    kServerIdle,     // a server is selected and nothing runs
    kRemoteServer,   // a server is selected whose game takes remote control
    kServerWebSite,  // a server is selected that names a web site
};

// What the states depend on.
struct CommandState {
    bool refreshing = false;
    bool serverSelected = false;
    bool remoteControl = false;  // the selected server's game takes remote control
    bool webSite = false;        // the selected server names a web site
};

struct CommandRow {
    UINT command;         // the main menu's (or toolbar's, tray's) command; the first of a range
    UINT last;            // the last command of a range (0: a single command)
    UINT contextCommand;  // the same command in the server list's context menu (0: none)
    CommandKind kind;
    CommandNeeds needs;
    CommandTarget target;
    UINT message;
    WPARAM wParam;
};

// The row of a command of the main window (either of its ids), or nullptr for an id the main window
// does not know.
const CommandRow* FindCommand(UINT command);
bool CommandEnabled(const CommandRow& row, const CommandState& state);

// Greys or enables every item of a menu of the main window's commands (pop-ups included) and every
// toolbar button as the table says for the state. Items the table does not know are left alone.
void ApplyCommandStates(HMENU menu, const CommandState& state);
void ApplyToolbarStates(HWND toolbar, const CommandState& state);

// Sends or posts the routed message, or opens the dialog; true when the command is routed.
bool RouteCommand(Shell& shell, UINT command);

}  // namespace app::win32
