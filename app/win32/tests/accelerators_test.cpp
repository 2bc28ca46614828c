// The main window's accelerators: taken for keys aimed at it and its children, not for keys typed
// into another window of the program.
#include <gtest/gtest.h>

#include <vector>

#include "app/win32/commands/accelerators.h"
#include "resources/resource.h"

namespace {

std::vector<WORD> g_commands;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        g_commands.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(MainAccelerators, KeysOfTheMainWindowOnlyNotThoseOfAnotherWindowsBox) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordCommands;
    wc.hInstance = instance;
    wc.lpszClassName = "VXACCELTEST";
    RegisterClassA(&wc);
    HWND main =
        CreateWindowA("VXACCELTEST", "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, instance, nullptr);
    HWND mainEdit = CreateWindowA("EDIT", "", WS_CHILD, 0, 0, 100, 20, main, nullptr, instance, nullptr);
    HWND console =
        CreateWindowA("VXACCELTEST", "console", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, main, nullptr, instance, nullptr);
    HWND commandBox = CreateWindowA("EDIT", "", WS_CHILD, 0, 0, 100, 20, console, nullptr, instance, nullptr);
    HACCEL table = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_TRUE(table);
    const std::pair<WPARAM, WORD> keys[] = {
        {VK_INSERT, IDM_ADD_SERVER}, {VK_F5, IDM_REFRESH_ALL}, {VK_ESCAPE, IDM_DESELECT_ALL}};
    for (auto [key, command] : keys) {
        for (HWND target : {main, mainEdit, commandBox, console}) {
            g_commands.clear();
            MSG msg = {target, WM_KEYDOWN, key, 1};
            bool mine = target == main || target == mainEdit;
            EXPECT_EQ(app::win32::TranslateMainAccelerators(main, table, msg), mine) << key;
            EXPECT_EQ(g_commands, mine ? std::vector<WORD>{command} : std::vector<WORD>{}) << key;
        }
    }
    DestroyAcceleratorTable(table);
    DestroyWindow(console);
    DestroyWindow(main);
}

}  // namespace
