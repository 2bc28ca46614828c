// Server list pane logic.
#include "views/server_list.h"

#include "catalogue/catalogue.h"
#include "views/server_filter.h"

namespace views {

ServerListModel::ServerListModel(catalogue::GameProfile& profile,
                                 const DisplayOptions& options,
                                 const catalogue::Catalogue& catalogue,
                                 RecordLockSource recordLock)
    : profile_(profile), options_(options), catalogue_(catalogue), recordLock_(std::move(recordLock)) {}

bool ServerListModel::Passes(const catalogue::ServerRecord& record) const {
    uint32_t ping;
    if (std::mutex* lock = recordLock_ ? recordLock_() : nullptr) {
        std::lock_guard guard(*lock);
        ping = record.ping;
    } else {
        ping = record.ping;
    }
    return PassesServerFilter(record, ping, options_, catalogue_, profile_.kind);
}

ServerRowUpdate ServerListModel::AddServerRow(catalogue::ServerRecord& record) {
    ServerRowUpdate u;
    if (!Passes(record))
        return u;
    // A record never gets a second row: one that has a row already is only rewritten.
    const bool hadRow = rows_.RowOf(&record) >= 0;
    u.row = rows_.Append(&record);
    u.change = hadRow ? RowChange::kUpdated : RowChange::kInserted;
    return u;
}

ServerRowUpdate ServerListModel::ServerChanged(catalogue::ServerRecord& record) {
    int row = rows_.RowOf(&record);
    if (row < 0) {
        ServerRowUpdate u = AddServerRow(record);
        u.forwardPlayers = true;
        return u;
    }
    ServerRowUpdate u;
    u.row = row;
    if (!Passes(record)) {
        rows_.Erase(row);
        u.change = RowChange::kDeleted;
        return u;
    }
    rows_.RefreshTexts(row);
    u.change = RowChange::kUpdated;
    u.forwardPlayers = true;
    return u;
}

int ServerListModel::EraseRowAndServer(int row) {
    catalogue::ServerRecord* record = rows_.RecordAt(row);
    if (!record)
        return -1;
    rows_.Erase(row);
    catalogue::removeServer(profile_.servers, record);
    return row;
}

void ServerListModel::Clear() {
    rows_.Clear();
}

bool ServerListModel::Sort() {
    if (rows_.empty())
        return false;
    const int column = profile_.sortColumn;
    rows_.Sort(
        [this, column](const SortKey& a, const SortKey& b) {
            return CompareServers(a, b, column, profile_.sortDescending, options_);
        },
        recordLock_ ? recordLock_() : nullptr);
    return true;
}

HeaderMarkers ServerListModel::ColumnClick(int column) {
    HeaderMarkers m = ServerColumnClick(profile_, column);
    if (m.column >= 0)
        Sort();
    return m;
}

HeaderMarkers ServerListModel::RestoreSort() {
    HeaderMarkers m = ServerSortMarker(profile_);
    Sort();
    return m;
}

std::string ServerListModel::VisibleText() const {
    return ServersVisibleText(static_cast<size_t>(rows_.size()), profile_.servers.count);
}

SelectionChange ServerListModel::SelectionChanged(int firstSelectedRow) {
    SelectionChange s;
    if (firstSelectedRow == selection_)
        return s;
    selection_ = firstSelectedRow;
    s.changed = true;
    s.record = rows_.RecordAt(firstSelectedRow);
    if (s.record) {
        s.isFavourite = s.record->isFavourite != 0;
        s.remoteControl = profile_.kind != catalogue::kUnrealTournament;
    }
    return s;
}

RowColours ServerListModel::ColoursOfRow(int row) const {
    const catalogue::ServerRecord* r = rows_.RecordAt(row);
    if (!r)
        return ListPaneRowColours(profile_.colours, static_cast<size_t>(row < 0 ? 0 : row));
    return ServerRowColours(profile_.colours, *r, static_cast<size_t>(row));
}

CellPaint ServerListModel::PaintCell(int row, int column, bool selected) const {
    const catalogue::ServerRecord* r = rows_.RecordAt(row);
    if (!r) {
        CellPaint p;
        p.kind = CellKind::kBlankIcon;
        return p;
    }
    CellPaint p = PaintServerCell(profile_.colours, *r, static_cast<size_t>(row), column, selected);
    p.dialect = ColourDialectOf(profile_.kind);
    if (p.kind == CellKind::kText)
        p.text = rows_.Text(row, column);
    return p;
}

}  // namespace views
