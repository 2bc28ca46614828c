// The notification-area icon of the minimised main window and its menu.
#pragma once

#include <windows.h>

namespace app::win32 {

struct Shell;

constexpr UINT kTrayIconId = 107;

// Adds (NIM_ADD) or deletes (NIM_DELETE) the tray icon with its tip text (at most 63 characters).
BOOL TrayIcon(HWND window, UINT callbackMessage, DWORD operation, UINT iconId, HICON icon, const char* tip);
// WM_APP_TRAY: left click restores the window, right click opens the tray menu.
void OnTrayMessage(Shell& shell, WPARAM iconId, LPARAM mouseMessage);
// Minimised with "Minimise to System Tray" on: add the icon and hide the window.
void MinimiseToTray(Shell& shell);
// Removes the icon and shows the window again (left click, "Open").
void RestoreFromTray(Shell& shell);
// Deletes the tray icon when there is one.
void RemoveTrayIcon(Shell& shell);
// A second start: brings the running copy's main window to the front, restored only when it is
// minimised or hidden in the tray (a maximised window stays maximised).
void ShowFirstCopy(HWND first);
// Tray menu commands 40164 to 40168; false for other commands.
bool OnTrayCommand(Shell& shell, UINT command);

}  // namespace app::win32
