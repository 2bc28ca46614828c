// The logic of one profile's server list pane: rows, filter, sort, selection and drawing choices.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "views/display_options.h"
#include "views/list_rows.h"
#include "views/row_paint.h"
#include "views/server_rows.h"
#include "views/server_sort.h"

namespace views {

enum class RowChange { kNone, kInserted, kUpdated, kDeleted };

// What the pane does on its list control after a model call.
struct ServerRowUpdate {
    RowChange change = RowChange::kNone;
    int row = -1;  // the inserted or updated row, or the row to delete
    // Send PM_SERVER_PLAYERS with the record to the player pane (its players are forwarded to the
    // buddy pane).
    bool forwardPlayers = false;
};

// A change of the first selected row.
struct SelectionChange {
    bool changed = false;
    // The newly first-selected record; nullptr: nothing selected, grey the server commands.
    catalogue::ServerRecord* record = nullptr;
    bool isFavourite = false;    // check mark on "Mark as Favourite"
    bool remoteControl = false;  // enable "Remote Control" (never for Unreal Tournament)
};

// One per profile, living as long as the pane. The display options belong to the shell and are
// read on every call; the profile's sort column and directions are read and written here. While a
// refresh runs its worker writes the ping of the records it queries: the model reads ping under the
// lock recordLock() gives (nullptr: no refresh can run), for the no-reply filter once per record
// and for a sort once per row before the sort begins.
class ServerListModel : public ListRows {
  public:
    using RecordLockSource = std::function<std::mutex*()>;
    ServerListModel(catalogue::GameProfile& profile,
                    const DisplayOptions& options,
                    const catalogue::Catalogue& catalogue,
                    RecordLockSource recordLock = {});

    catalogue::GameProfile& profile() const { return profile_; }
    const ServerRows& rows() const { return rows_; }
    int RowOf(const catalogue::ServerRecord* record) const { return rows_.RowOf(record); }
    catalogue::ServerRecord* RecordAt(int row) const { return rows_.RecordAt(row); }

    bool Passes(const catalogue::ServerRecord& record) const;

    // PM_ADD_SERVER_ROW: appends a row when the record passes the filter (kInserted), else kNone; a
    // record that already has a row gets its texts rewritten instead (kUpdated).
    ServerRowUpdate AddServerRow(catalogue::ServerRecord& record);
    // PM_SERVER_CHANGED: no row yet: as addServerRow, and the players are forwarded in any case; a
    // row that now fails the filter is deleted (players not forwarded); otherwise its texts are
    // rewritten (kUpdated) and the players forwarded.
    ServerRowUpdate ServerChanged(catalogue::ServerRecord& record);
    // PM_REMOVE_SERVER and the removal of selected servers: the pane first looks the row up
    // (RowOf; no row: nothing happens) and sends PM_SERVER_REMOVED to the buddy and player panes;
    // then this drops the row and frees the record with removeServer. Returns the row the pane
    // deletes, -1 (nothing done) for an invalid row.
    int EraseRowAndServer(int row);
    // PM_CLEAR: all rows go; records are not touched.
    void Clear();

    // Sorts by the profile's sort column when there are rows (PM_RESORT); false when nothing was
    // sorted. The owner-data list control then only needs redrawing.
    bool Sort();
    // LVN_COLUMNCLICK: new markers for the headers; sorts when there are rows.
    HeaderMarkers ColumnClick(int column);
    // PM_RESTORE_SORT: the marker of the sort column; sorts when there are rows.
    HeaderMarkers RestoreSort();

    // The count of the header strip: "%d/%d Servers visible" (rows, the profile's server count).
    std::string VisibleText() const;

    // Every WM_NOTIFY from the list control: firstSelectedRow is LVM_GETNEXTITEM(-1, LVNI_SELECTED).
    SelectionChange SelectionChanged(int firstSelectedRow);
    int selection() const { return selection_; }

    // NM_CUSTOMDRAW: item colours (item pre-paint) and the drawing of one cell (sub-item pre-paint).
    RowColours ColoursOfRow(int row) const;
    CellPaint PaintCell(int row, int column, bool selected) const override;

    // The rows as the list control sees them.
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    const char* CellText(int row, int column) const override { return rows_.Text(row, column); }
    const void* RowItem(int row) const override { return rows_.RecordAt(row); }

  private:
    catalogue::GameProfile& profile_;
    const DisplayOptions& options_;
    const catalogue::Catalogue& catalogue_;
    RecordLockSource recordLock_;
    ServerRows rows_;
    int selection_ = -1;
};

}  // namespace views
