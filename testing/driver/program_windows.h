// Finding the program's windows from outside: main window, dialogs, panes, tab control, toolbar.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// The program's main window, or nullptr when it is not there.
HWND FindMain();
// The main window; an ActionFailure when it is not there.
HWND RequireMain();

// 0 when the window has gone.
DWORD ProcessOf(HWND window);
DWORD ThreadOf(HWND window);

// The window's text or class name; empty when the window has gone meanwhile.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
bool HasClass(HWND window, const char* windowClass);

// "0x1234 CLASS \"text\" (process P, thread T)", or "none" for nullptr: for failure messages.
std::string Describe(HWND window);

std::vector<HWND> TopLevelWindows();
// Direct children, in Z order.
std::vector<HWND> ChildrenOf(HWND parent);
HWND VisibleChildOfClass(HWND parent, const char* windowClass);

// Visible dialogs and message boxes of the program's process.
// The visible dialogs of vexar.exe; with VEXAR_DRIVER_ANY_PROGRAM set in the environment (the
// installer's tests, where vexar.exe does not run), those of any program.
bool AnyProgram();
std::vector<HWND> ProgramDialogs();
// The program's visible dialog with this caption, waiting up to ms for it; nullptr when it did not
// appear.
HWND WaitForDialog(const char* title, DWORD ms);
// Control id of that dialog, which should be open already; an ActionFailure when the main window,
// the dialog or the control is not there.
HWND RequireDialogControl(const char* title, int id);
// The texts of a message box's static controls, one per line.
std::string DialogText(HWND dialog);
// The button whose label, without its '&' marks, is label; nullptr when there is none.
HWND FindButton(HWND dialog, const std::string& label);

// The list control of the visible pane of paneClass in the main window, or nullptr.
HWND PaneList(HWND main, const char* paneClass);
// The tab control of the main window; an ActionFailure when there is none.
HWND TabControl(HWND main);
// The main toolbar; an ActionFailure when there is none.
HWND Toolbar(HWND main);

}  // namespace driver
