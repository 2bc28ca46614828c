// The frame shared by the panes: the list control, the caption strip, columns, markers and rows.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "views/buddy_model.h"
#include "views/list_pane.h"
#include "views/win32/list_control.h"

namespace views::win32 {

// Creates the pane's report-style owner-data list control as its first child (x 2, y 2, client
// size less 4), sharing its image lists with the other panes.
HWND CreatePaneList(HWND pane, DWORD extraStyle);
HWND PaneList(HWND pane);
// Moves the list below the 25-pixel strip (x 2, y 25, width - 4, height - 27).
void LayoutPaneList(HWND pane);
// Sunken edge, button-face strip, optional icon at (5, 5) and the strip texts (the right one
// right-aligned 7 pixels from the edge).
void PaintPaneFrame(HWND pane,
                    HIMAGELIST icons,
                    int icon,
                    const std::string& left,
                    int leftX,
                    const std::string& right);
// Invalidates the strip only (its count changed), without erasing.
void InvalidateStrip(HWND pane);

// The three columns of a list pane: full-row select, the shared image list, headers that may carry
// an image (none at first), widths as given.
void SetUpPaneColumns(HWND list,
                      HIMAGELIST icons,
                      const ListPaneColumn (&columns)[kListPaneColumns],
                      const PaneWidths& widths);
PaneWidths CurrentPaneWidths(HWND list);
void ApplyPaneMarkers(HWND list, const PaneSortMarkers& markers);

// Mirrors the model's row changes on an owner-data list that ends with `rows` rows (drawing
// suspended until the burst of changes is over). A reorder only
// redraws: the pane keeps the selection by identity around it (SaveSelection, RestoreSelection).
void ApplyRowEvents(ListDrawing& drawing, HWND list, const std::vector<RowEvent>& events, int rows);

// The list panes' context menu (resource 115) at the cursor with one command enabled.
void ShowListPaneMenu(HWND pane, UINT enabledCommand);

}  // namespace views::win32
