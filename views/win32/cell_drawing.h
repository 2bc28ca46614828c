// Owner drawing of list cells: cell rectangles, fills, texts and the list panes' custom draw.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "views/list_rows.h"
#include "views/win32/icon_list.h"

namespace views::win32 {

// The icon rectangle of a cell (column 0: the item's icon rectangle; other columns: a small-icon
// wide strip at the cell's left edge, cut to the cell) and its label rectangle.
RECT CellIconRect(HWND list, int row, int column);
RECT CellLabelRect(HWND list, int row, int column);

// The list's font (ANSI_VAR_FONT when the list has none).
HGDIOBJ ListFont(HWND list);
// Fills with a solid brush made and deleted for this cell.
void FillCell(HDC dc, const RECT& r, COLORREF colour);
// Text from left + indent at the top, clipped to the cell from left + indent, at most maxChars.
void DrawCellText(HDC dc, const RECT& cell, int indent, const char* text, size_t maxChars);

// LVN_GETDISPINFOA and NM_CUSTOMDRAW of an owner-data list that shows `rows`; true when the
// notification was one of them (result: the value the window procedure returns). Every cell is
// drawn here (custom draw asks for item, then sub-item notifications). focusMarks: a focused row
// counts as selected (the Find Player list).
bool HandleListNotify(const NMHDR& header,
                      const ListRows& rows,
                      const IconList& icons,
                      LRESULT& result,
                      bool focusMarks = false);

}  // namespace views::win32
