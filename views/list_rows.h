// The rows of an owner-data list as its window asks for them: texts, images, items and drawing.
#pragma once

#include "views/row_paint.h"

namespace views {

// A list control with LVS_OWNERDATA holds no rows: it asks for what it shows while it paints.
// Every list of the browser (server list, player and buddy panes, Find Player) answers through
// this one interface. User-interface thread only; texts stay valid until the rows change.
class ListRows {
  public:
    virtual ~ListRows() = default;
    virtual int RowCount() const = 0;
    // The text of a cell ("" for none, and for a row or column out of range).
    virtual const char* CellText(int row, int column) const = 0;
    virtual int RowImage(int row) const { return kNoIcon; }
    // What the row stands for (its record), or nullptr.
    virtual const void* RowItem(int row) const = 0;
    virtual CellPaint PaintCell(int row, int column, bool selected) const = 0;
};

// The text of a three-column list's cell: column 0, 1 or 2, and "" for any other.
inline const char* ThreeColumnText(int column, const char* first, const char* second, const char* third) {
    switch (column) {
        case 0:
            return first;
        case 1:
            return second;
        case 2:
            return third;
        default:
            return "";
    }
}

}  // namespace views
