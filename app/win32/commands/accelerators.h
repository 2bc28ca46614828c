// The main window's keyboard accelerators in the message loop.
#pragma once

#include <windows.h>

namespace app::win32 {

// Translates a key message into the main window's accelerator command when the message is aimed at
// the main window or one of its children; true when it was translated (the message is then not
// dispatched). Keys typed into another top-level window of the program (the remote-control
// console's command box) stay that window's: Ctrl+C, Insert, F5 or Esc there are not commands of
// the main window.
bool TranslateMainAccelerators(HWND main, HACCEL table, MSG& msg);

}  // namespace app::win32
