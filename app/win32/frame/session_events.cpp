// The session's end and a restarted taskbar, as the main window receives them.
#include "app/win32/frame/session_events.h"

#include "app/win32/frame/main_window.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tray.h"
#include "app/win32/settings/saves.h"

namespace app::win32 {

namespace {

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void EndSession(Shell& shell) {
    if (!shell.ctx->profiles)
        return;
    HWND main = shell.main;
    StopSaves(shell);
    StoreWindowSettings(shell);
    // The profiles stay: this may run inside any modal loop, whose code goes on with what it holds
    // once the window is gone. They are freed with the program.
    auto save = [&shell] { shell.ctx->profiles->saveProfiles(); };
    if (shell.network)
        shell.network->ChangeServerList(save);
    else
        save();
    DestroyWindow(main);
}

}  // namespace

bool OnSessionMessage(Shell& shell, UINT message, WPARAM wParam, LRESULT* result) {
    *result = 0;
    if (message == WM_QUERYENDSESSION) {
        *result = TRUE;
        return true;
    }
    if (message == WM_ENDSESSION) {
        if (wParam)
            EndSession(shell);
        return true;
    }
    if (message != TaskbarCreatedMessage() || message == 0)
        return false;
    if (shell.ctx->useTray && shell.ctx->windowState == 1 && !IsWindowVisible(shell.main))
        MinimiseToTray(shell);
    return true;
}

}  // namespace app::win32
