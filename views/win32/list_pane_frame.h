// The frame shared by the list panes: the report list control, the caption strip and its layout.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace views::win32 {

// Creates the pane's report-style list control (its first child).
HWND CreatePaneList(HWND pane, DWORD extraStyle);
HWND PaneList(HWND pane);
// Moves the list below the 25-pixel strip (x 2, y 25, width - 4, height - 27).
void LayoutPaneList(HWND pane);
// Sunken edge, button-face strip, optional icon at (5, 5) and the strip texts.
void PaintPaneFrame(HWND pane, HIMAGELIST icons, int icon, const std::string& left, int leftX,
                    const std::string& right);

}  // namespace views::win32
