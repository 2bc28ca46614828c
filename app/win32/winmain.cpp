// Program entry of vexar.exe: single instance, Windows Sockets, the shell and the message loop.
#include <windows.h>
#include <winsock2.h>

#include <commctrl.h>

#include "app/win32/commands/accelerators.h"
#include "app/win32/frame/main_window.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tray.h"
#include "app/win32/network/network_glue.h"
#include "app/win32/parts/server_dialogs.h"
#include "app/win32/settings/win32_settings.h"
#include "base/app_title.h"
#include "base/win32/handles.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace app::win32;
    base::win32::KernelHandle mutex(CreateMutexA(nullptr, TRUE, base::kAppTitle));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND first = FindWindowA(base::kMainWindowClass, nullptr))
            ShowFirstCopy(first);
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                          ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterWindowClasses(instance);

    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 0), &wsa) != 0) {
        MessageBoxA(nullptr, "Couldn't initialise WS2!", base::kAppTitle, MB_OK);
        ReleaseMutex(mutex.get());
        return 0;
    }

    std::string folder = FindInstallFolder();
    app::AppContext ctx;
    PrepareContext(ctx, std::make_unique<Win32Settings>(folder), folder);
    Network network;
    ServerDialogs serverDialogs;
    MSG msg = {};
    {
        Shell shell(instance, ctx, {&network, &serverDialogs});
        if (HWND main = OpenMainWindow(shell)) {
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                if (!TranslateMainAccelerators(main, shell.accelerators.get(), msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
        }
        // The session's end leaves the network parts running: they end before the shell they use.
        network.CloseSockets();
    }
    WSACleanup();
    ReleaseMutex(mutex.get());
    return static_cast<int>(msg.wParam);
}
