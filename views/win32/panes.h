// Window procedures of the three list panes of a game tab.
#pragma once

#include <windows.h>

namespace views::win32 {

LRESULT CALLBACK ServerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PlayerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BuddyPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace views::win32
