// Layout, background painting and splitter dragging of the main window.
#pragma once

#include <windows.h>

namespace app::win32 {

struct Shell;

// Moves the fixed children for the current client size and lays out the panes.
void LayoutFixedChildren(Shell& shell);
// Moves the current profile's panes; movedBar says which band to invalidate (0 general, 1-3 a bar).
void LayoutPanes(Shell& shell, int movedBar);
void PaintBackground(Shell& shell);
void OnSplitterMouseMove(Shell& shell, int x, int y);
void OnSplitterButtonDown(Shell& shell, int x, int y);
void OnSplitterButtonUp(Shell& shell, int x, int y);
// WM_CAPTURECHANGED: a drag whose capture went elsewhere ends where the bar is.
void OnSplitterCaptureChanged(Shell& shell, HWND newCapture);
// Brings the splitters into the current client area (start-up, and every size of a shown window).
void FitSplittersToClient(Shell& shell);

}  // namespace app::win32
