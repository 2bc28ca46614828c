// The design shared by the player and buddy panes (and the Find Player list): columns, stored
// widths and sort column, header markers and the drawing choices of a cell.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "base/settings_index.h"
#include "base/settings_store.h"
#include "views/row_paint.h"

namespace views {

constexpr int kListPaneColumns = 3;

// The small image list shared by the player and buddy panes.
constexpr int kPaneImageSortMarker = 0;
constexpr int kPaneImageBot = 1;
constexpr int kPaneImageBuddy = 2;  // buddy pane: buddy online
constexpr int kPaneImageBuddyOffline = 3;

struct ListPaneColumn {
    const char* header;
    int defaultWidth;
};

// Left to right; the pane inserts them at position 0 from the last to the first.
extern const ListPaneColumn kPlayerPaneColumns[kListPaneColumns];  // Player 100, Score 70, Ping 70
extern const ListPaneColumn kBuddyPaneColumns[kListPaneColumns];   // Buddy 100, Server 100, Game 80
extern const ListPaneColumn kFindPlayerColumns[kListPaneColumns];  // Player 100, Server 100, Game 80
// The Steam kinds' players carry no ping but their time on the server: Player, Score, Time.
extern const ListPaneColumn kTimedPlayerPaneColumns[kListPaneColumns];

// Width of a column from its stored value: missing -> the default, 0 -> 60, otherwise the low
// 16 bits.
int ColumnWidthFrom(std::optional<uint32_t> stored, int defaultWidth);

using PaneWidths = std::array<int, kListPaneColumns>;
// Reads "PLCW%02d" / "BLCW%02d" (format) for columns 0-2.
PaneWidths ReadPaneWidths(base::SettingsStore& store,
                          const char* format,
                          const ListPaneColumn (&columns)[kListPaneColumns]);
// WM_DESTROY of a pane: writes the three current widths (the Find Player list never writes).
void WritePaneWidths(base::SettingsStore& store, const char* format, const PaneWidths& widths);

// Header image changes of a list pane: clearColumn loses its image (-1: none); markColumn gets
// kPaneImageSortMarker (-1: none).
struct PaneSortMarkers {
    int clearColumn = -1;
    int markColumn = -1;
};

// Column click: the old marker goes, the clicked column gets it, becomes sortColumn and is written
// to the value (COPLR or COBDY). Sorting is always ascending; the caller then sorts. A column
// outside 0-2 changes nothing.
PaneSortMarkers PaneColumnClick(int& sortColumn,
                                int column,
                                base::SettingsStore& store,
                                const base::RegistryValue& value);
// PM_RESTORE_SORT: the stored value becomes sortColumn (-1 when it cannot be read); the marker is
// put on it when it is a column of the pane. The caller then sorts when there are rows.
PaneSortMarkers RestorePaneSort(int& sortColumn, base::SettingsStore& store, const base::RegistryValue& value);

// Colours of a list-pane cell: label fill (selection bar when selected), row text and background.
CellPaint PaneCellColours(const SchemeColours& colours, int row, bool selected);

}  // namespace views
