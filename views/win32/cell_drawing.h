// Owner drawing of list cells: cell rectangles, fills, texts and the list panes' custom draw.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "views/list_pane.h"

namespace views::win32 {

// The icon rectangle of a cell (column 0: the item's icon rectangle; other columns: a small-icon
// wide strip at the cell's left edge, cut to the cell) and its label rectangle.
RECT CellIconRect(HWND list, int row, int column);
RECT CellLabelRect(HWND list, int row, int column);

// Selects the list's font into dc (ANSI_VAR_FONT when the list has none); returns the former font.
HGDIOBJ SelectListFont(HDC dc, HWND list);
// Fills with a solid brush made and deleted for this cell.
void FillCell(HDC dc, const RECT& r, COLORREF colour);
// Text from left + indent at the top, clipped to the cell from left + indent, at most maxChars.
void DrawCellText(HDC dc, const RECT& cell, int indent, const char* text, size_t maxChars);

// How a list pane (players, buddies, Find Player) describes a cell.
using PaneCellSource = std::function<PaneCellPaint(int row, int column, bool selected)>;
// NM_CUSTOMDRAW of a list pane: item notifications, then sub-item notifications, and every cell
// drawn here. focusMarks: a focused row counts as selected (the Find Player list).
LRESULT ListPaneCustomDraw(const NMLVCUSTOMDRAW& cd,
                           HIMAGELIST icons,
                           const PaneCellSource& cell,
                           bool focusMarks = false);

}  // namespace views::win32
