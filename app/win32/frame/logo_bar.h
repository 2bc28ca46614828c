// The top strip (class TBVEXAR) with the toolbar and the logo, and the toolbar itself.
#pragma once

#include <windows.h>

namespace app::win32 {

struct Shell;

constexpr char kLogoBarClass[] = "TBVEXAR";

LRESULT CALLBACK LogoBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Creates the toolbar (control id 103) inside the strip; nullptr when it cannot be made.
HWND CreateToolbar(HINSTANCE instance, HWND logoBar);
// Fills a rectangle with the current profile's background colour (a fresh brush each time).
void FillWithBackground(Shell& shell, HDC dc, const RECT& rect);
COLORREF BackgroundColour(Shell& shell);

}  // namespace app::win32
