// The notification-area icon of the minimised main window and its menu.
#pragma once

#include <windows.h>

namespace app::win32 {

constexpr UINT kTrayIconId = 107;

// Adds (NIM_ADD) or deletes (NIM_DELETE) the tray icon with its tip text (at most 63 characters).
BOOL TrayIcon(HWND window, UINT callbackMessage, DWORD operation, UINT iconId, HICON icon, const char* tip);
// WM_APP_TRAY: left click restores the window, right click opens the tray menu.
void OnTrayMessage(HWND window, WPARAM iconId, LPARAM mouseMessage);
// Minimised with "Minimise to System Tray" on: add the icon and hide the window.
void MinimiseToTray(HWND window);
// Removes the icon and shows the window again (left click, "Open").
void RestoreFromTray(HWND window);
// Tray menu commands 40164 to 40168; false for other commands.
bool OnTrayCommand(HWND window, UINT command);

}  // namespace app::win32
