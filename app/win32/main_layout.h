// Layout, background painting and splitter dragging of the main window.
#pragma once

#include <windows.h>

namespace app::win32 {

// Moves the fixed children for the current client size and lays out the panes.
void LayoutFixedChildren();
// Moves the current profile's panes; movedBar says which band to invalidate (0 general, 1-3 a bar).
void LayoutPanes(int movedBar);
void PaintBackground(HWND main);
void OnSplitterMouseMove(HWND main, int x, int y);
void OnSplitterButtonDown(HWND main, int x, int y);
void OnSplitterButtonUp(HWND main, int x, int y);
// WM_CAPTURECHANGED: a drag whose capture went elsewhere ends where the bar is.
void OnSplitterCaptureChanged(HWND main, HWND newCapture);
// Brings the splitters into the current client area (start-up, and every size of a shown window).
void FitSplittersToClient();

}  // namespace app::win32
