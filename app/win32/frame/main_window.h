// The main window (class VEXAR): creation of the shell, its window procedure and closing.
#pragma once

#include <windows.h>

#include "app/app_context.h"
#include "base/message_sink.h"

namespace app::win32 {

struct Shell;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The first saves of the close: window placement and splitters to the registry, the selected tab and
// the window state to the INI file.
void StoreWindowSettings(Shell& shell);

// Registers the window classes of the main window, its strips and the panes.
void RegisterWindowClasses(HINSTANCE instance);

// Opens the main window of a new shell: image lists, main window with its tab control, strips,
// toolbar, web links, profiles with their tabs and panes, menu marks, the window shown, the
// remembered tab selected, the first-run message and master query, accelerators and icon. Returns
// the main window, or nullptr when it could not be created. What it made that outlives the main
// window (accelerators, logo bitmap, font, image lists) goes with the shell.
HWND OpenMainWindow(Shell& shell);

// Prepares the context at start-up: settings store for the install folder, start-up settings,
// splitters, endpoints.
void PrepareContext(AppContext& ctx, std::unique_ptr<base::SettingsStore> settings, std::string installFolder);

}  // namespace app::win32
