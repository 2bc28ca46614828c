// Shared list-pane rules: columns, stored widths and sort column, markers, cell colours.
#include "views/list_pane.h"

#include "base/text.h"

namespace views {

namespace {

constexpr int kZeroWidthReplacement = 60;

bool IsPaneColumn(int column) {
    return column >= 0 && column < kListPaneColumns;
}

}  // namespace

const ListPaneColumn kPlayerPaneColumns[kListPaneColumns] = {{"Player", 100}, {"Score", 70}, {"Ping", 70}};
const ListPaneColumn kBuddyPaneColumns[kListPaneColumns] = {{"Buddy", 100}, {"Server", 100}, {"Game", 80}};
const ListPaneColumn kFindPlayerColumns[kListPaneColumns] = {{"Player", 100}, {"Server", 100}, {"Game", 80}};
const ListPaneColumn kTimedPlayerPaneColumns[kListPaneColumns] = {{"Player", 100}, {"Score", 70}, {"Time", 70}};

int ColumnWidthFrom(std::optional<uint32_t> stored, int defaultWidth) {
    if (!stored)
        return defaultWidth;
    if (*stored == 0)
        return kZeroWidthReplacement;
    return static_cast<int>(*stored & 0xFFFF);
}

PaneWidths ReadPaneWidths(base::SettingsStore& store,
                          const char* format,
                          const ListPaneColumn (&columns)[kListPaneColumns]) {
    PaneWidths widths{};
    char name[16];
    for (int c = 0; c < kListPaneColumns; ++c) {
        base::FormatText(name, sizeof name, format, c);
        widths[c] = ColumnWidthFrom(store.ReadDword(base::kGeometryKey, name), columns[c].defaultWidth);
    }
    return widths;
}

void WritePaneWidths(base::SettingsStore& store, const char* format, const PaneWidths& widths) {
    char name[16];
    for (int c = 0; c < kListPaneColumns; ++c) {
        base::FormatText(name, sizeof name, format, c);
        store.WriteDword(base::kGeometryKey, name, static_cast<uint32_t>(widths[c]));
    }
}

PaneSortMarkers PaneColumnClick(int& sortColumn,
                                int column,
                                base::SettingsStore& store,
                                const base::RegistryValue& value) {
    PaneSortMarkers m;
    if (!IsPaneColumn(column))
        return m;
    if (sortColumn != -1)
        m.clearColumn = sortColumn;
    m.markColumn = column;
    sortColumn = column;
    base::WriteDwordValue(store, value, static_cast<uint32_t>(column));
    return m;
}

PaneSortMarkers RestorePaneSort(int& sortColumn, base::SettingsStore& store, const base::RegistryValue& value) {
    PaneSortMarkers m;
    std::optional<uint32_t> stored = store.ReadDword(value.keyPath, value.name);
    sortColumn = stored ? static_cast<int>(*stored) : -1;
    if (IsPaneColumn(sortColumn))
        m.markColumn = sortColumn;
    return m;
}

CellPaint PaneCellColours(const SchemeColours& colours, int row, bool selected) {
    CellPaint p;
    size_t r = static_cast<size_t>(row < 0 ? 0 : row);
    RowColours rc = ListPaneRowColours(colours, r);
    p.fill = selected ? colours[kSchemeSelectionBackground] : rc.background;
    p.textColour = rc.text;
    p.textBackground = rc.background;
    return p;
}

}  // namespace views
