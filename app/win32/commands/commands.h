// The command table of the main window (menu, toolbar, accelerators, tray menu).
#pragma once

#include <windows.h>

namespace app::win32 {

struct Shell;

void OnCommand(Shell& shell, WPARAM wParam, LPARAM lParam);
// The pane whose list control has the keyboard focus (server list, buddy or player pane), or nullptr.
HWND FocusedPane(Shell& shell);
// The dialogs of the main window's commands: Find Player, Add Buddy and Colour Preferences on the
// current profile, Game Setup and Network Preferences, the others through the attached ShellDialogs.
void OpenShellDialog(Shell& shell, UINT command);
// Check marks of the display options after start-up.
void SetStartupMenuMarks(Shell& shell);

}  // namespace app::win32
