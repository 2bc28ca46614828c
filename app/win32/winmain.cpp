// Program entry of vexar.exe: single instance, Windows Sockets, the shell and the message loop.
#include <windows.h>
#include <winsock2.h>

#include <commctrl.h>

#include "app/app_title.h"
#include "app/win32/main_window.h"
#include "app/win32/message_box_sink.h"
#include "app/win32/shell.h"
#include "app/win32/win32_settings.h"
#include "net/win32/network_glue.h"
#include "views/win32/panes.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace app::win32;
    HANDLE mutex = CreateMutexA(nullptr, TRUE, app::kAppTitle);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND first = FindWindowA(app::kMainWindowClass, nullptr)) {
            ShowWindowAsync(first, SW_RESTORE);
            SetForegroundWindow(first);
        }
        if (mutex)
            CloseHandle(mutex);
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                          ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterWindowClasses(instance);

    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 0), &wsa) != 0) {
        MessageBoxA(nullptr, "Couldn't initialise WS2!", app::kAppTitle, MB_OK);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return 0;
    }

    std::string folder = FindInstallFolder();
    static app::AppContext ctx;
    PrepareContext(ctx, std::make_unique<Win32Settings>(folder), folder);
    MessageBoxSink sink(nullptr);
    static net::win32::Network network;
    TheShell().network = &network;
    static views::win32::PaneDialogs paneDialogs;
    TheShell().dialogs = &paneDialogs;
    HWND main = CreateShell(instance, ctx, sink);

    MSG msg = {};
    if (main) {
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (!TranslateAcceleratorA(main, TheShell().accelerators, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    DestroyShell();
    WSACleanup();
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return static_cast<int>(msg.wParam);
}
