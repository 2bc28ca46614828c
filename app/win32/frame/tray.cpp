// Tray icon, its menu and the switches of the tray options.
#include "app/win32/frame/tray.h"

#include <shellapi.h>

#include <cstring>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "base/app_title.h"
#include "base/win32/handles.h"
#include "net/status_engine.h"
#include "resources/resource.h"

namespace app::win32 {

BOOL TrayIcon(HWND window, UINT callbackMessage, DWORD operation, UINT iconId, HICON icon, const char* tip) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    if (tip) {
        strncpy(data.szTip, tip, 63);
        data.szTip[63] = '\0';
    }
    return Shell_NotifyIconA(operation, &data);
}

void MinimiseToTray(Shell& shell) {
    HWND window = shell.main;
    HICON icon = shell.largeIcon ? shell.largeIcon : LoadIconA(shell.instance, MAKEINTRESOURCEA(IDI_VEXAR));
    TrayIcon(window, WM_APP_TRAY, NIM_ADD, kTrayIconId, icon, base::kAppTitle);
    shell.trayIconShown = true;
    ShowWindow(window, SW_HIDE);
}

void RemoveTrayIcon(Shell& shell) {
    HWND window = shell.main;
    if (!shell.trayIconShown)
        return;
    TrayIcon(window, WM_APP_TRAY, NIM_DELETE, kTrayIconId, nullptr, nullptr);
    shell.trayIconShown = false;
}

void ShowFirstCopy(HWND first) {
    // SW_RESTORE would also turn a maximised window back into a normal one.
    if (IsIconic(first) || !IsWindowVisible(first))
        ShowWindowAsync(first, SW_RESTORE);
    SetForegroundWindow(first);
}

void RestoreFromTray(Shell& shell) {
    HWND window = shell.main;
    if (shell.ctx->windowState != 1)
        return;
    RemoveTrayIcon(shell);
    shell.ctx->windowState = 0;
    ShowWindow(window, SW_SHOW);
    ShowWindow(window, SW_RESTORE);
}

void OnTrayMessage(Shell& shell, WPARAM, LPARAM mouseMessage) {
    HWND window = shell.main;
    if (mouseMessage == WM_LBUTTONDOWN) {
        RestoreFromTray(shell);
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        base::win32::Menu menu(LoadMenuA(shell.instance, MAKEINTRESOURCEA(IDR_TRAYMENU)));
        HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
        if (!popup)
            return;
        ApplyCommandStates(popup, shell.commands);
        if (shell.ctx->autoRefreshMinimised)
            CheckMenuItem(popup, IDM_TRAY_AUTO_REFRESH, MF_BYCOMMAND | MF_CHECKED);
        POINT at;
        GetCursorPos(&at);
        SetForegroundWindow(window);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    }
}

bool OnTrayCommand(Shell& shell, UINT command) {
    HWND window = shell.main;
    switch (command) {
        case IDM_TRAY_OPEN:
            RestoreFromTray(shell);
            return true;
        case IDM_TRAY_EXIT:
            RemoveTrayIcon(shell);
            PostMessageA(window, WM_CLOSE, 0, 0);
            return true;
        case IDM_TRAY_AUTO_REFRESH:
            shell.ctx->autoRefreshMinimised = !shell.ctx->autoRefreshMinimised;
            base::WriteIniFlag(*shell.ctx->settings, base::ini::kAutoRefreshMinimised, shell.ctx->autoRefreshMinimised);
            return true;
    }
    return false;
}

}  // namespace app::win32
