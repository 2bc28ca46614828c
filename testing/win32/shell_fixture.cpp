// In-process fixture for Win32 tests of the main window.
#include "testing/win32/shell_fixture.h"

#include <commctrl.h>

#include "app/win32/frame/main_window.h"
#include "app/win32/settings/registry.h"
#include "app/win32/settings/win32_settings.h"

namespace testing_support {

void ShellTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX");
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                          ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    app::win32::RegisterWindowClasses(GetModuleHandleA(nullptr));
    // First-run message already shown, and "No" to the offer of a master query.
    app::win32::WriteRegDword(HKEY_CURRENT_USER, 1, base::kRegistryKey, "NDF");
}

void ShellTest::StartShell() {
    app::win32::PrepareContext(ctx, std::make_unique<app::win32::Win32Settings>(folder.path()), folder.path());
    shell.emplace(GetModuleHandleA(nullptr), ctx, app::win32::ShellParts{attachedNetwork, attachedDialogs, &sink});
    sink.mainWindow = &shell->main;
    main = app::win32::OpenMainWindow(*shell);
    ASSERT_NE(main, nullptr);
    Pump();
}

void ShellTest::CloseShell() {
    if (main && IsWindow(main))
        SendMessageA(main, WM_CLOSE, 0, 0);
    Pump();
    sink.mainWindow = nullptr;
    shell.reset();
    main = nullptr;
}

void ShellTest::TearDown() {
    CloseShell();
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX");
}

void ShellTest::Pump() {
    testing_support::PumpWaiting();
}

void ShellTest::WriteIni(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, folder.File("vexar.ini").c_str());
}

void ShellTest::SetClientSize(int width, int height) {
    RECT r = {0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, TRUE);
    SetWindowPos(main, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(main, &client);
    // A menu that wraps changes the client height: resize until the client area is exact.
    if (client.right != width || client.bottom != height)
        SetWindowPos(main, nullptr, 0, 0, r.right - r.left + width - client.right,
                     r.bottom - r.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
}

RECT ShellTest::ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace testing_support
