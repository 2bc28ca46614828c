// Server list pane logic.
#include "views/server_list.h"

#include "catalogue/catalogue.h"
#include "views/server_filter.h"

namespace views {

ServerListModel::ServerListModel(catalogue::GameProfile& profile,
                                 const DisplayOptions& options,
                                 const catalogue::Catalogue& catalogue)
    : profile_(profile), options_(options), catalogue_(catalogue) {}

bool ServerListModel::passes(const catalogue::ServerRecord& record) const {
    return PassesServerFilter(record, options_, catalogue_, profile_.kind);
}

ServerRowUpdate ServerListModel::addServerRow(catalogue::ServerRecord& record) {
    ServerRowUpdate u;
    if (!passes(record))
        return u;
    // A record never gets a second row: one that has a row already is only rewritten.
    const bool hadRow = rows_.rowOf(&record) >= 0;
    u.row = rows_.append(&record);
    u.change = hadRow ? RowChange::kUpdated : RowChange::kInserted;
    return u;
}

ServerRowUpdate ServerListModel::serverChanged(catalogue::ServerRecord& record) {
    int row = rows_.rowOf(&record);
    if (row < 0) {
        ServerRowUpdate u = addServerRow(record);
        u.forwardPlayers = true;
        return u;
    }
    ServerRowUpdate u;
    u.row = row;
    if (!passes(record)) {
        rows_.erase(row);
        u.change = RowChange::kDeleted;
        return u;
    }
    rows_.refreshTexts(row);
    u.change = RowChange::kUpdated;
    u.forwardPlayers = true;
    return u;
}

int ServerListModel::eraseRowAndServer(int row) {
    catalogue::ServerRecord* record = rows_.recordAt(row);
    if (!record)
        return -1;
    rows_.erase(row);
    catalogue::removeServer(profile_.servers, record);
    return row;
}

void ServerListModel::clear() {
    rows_.clear();
}

bool ServerListModel::sort() {
    if (rows_.empty())
        return false;
    const int column = profile_.sortColumn;
    rows_.sort([this, column](const catalogue::ServerRecord& a, const catalogue::ServerRecord& b) {
        return CompareServers(a, b, column, profile_.sortDescending, options_);
    });
    return true;
}

HeaderMarkers ServerListModel::columnClick(int column) {
    HeaderMarkers m = ServerColumnClick(profile_, column);
    if (m.column >= 0)
        sort();
    return m;
}

HeaderMarkers ServerListModel::restoreSort() {
    HeaderMarkers m = ServerSortMarker(profile_);
    sort();
    return m;
}

std::string ServerListModel::visibleText() const {
    return ServersVisibleText(static_cast<size_t>(rows_.size()), profile_.servers.count);
}

SelectionChange ServerListModel::selectionChanged(int firstSelectedRow) {
    SelectionChange s;
    if (firstSelectedRow == selection_)
        return s;
    selection_ = firstSelectedRow;
    s.changed = true;
    s.record = rows_.recordAt(firstSelectedRow);
    if (s.record) {
        s.isFavourite = s.record->isFavourite != 0;
        s.remoteControl = profile_.kind != catalogue::kUnrealTournament;
    }
    return s;
}

RowColours ServerListModel::rowColours(int row) const {
    const catalogue::ServerRecord* r = rows_.recordAt(row);
    if (!r)
        return ListPaneRowColours(profile_.colours, static_cast<size_t>(row < 0 ? 0 : row));
    return ServerRowColours(profile_.colours, *r, static_cast<size_t>(row));
}

ServerCellPaint ServerListModel::paintCell(int row, int column, bool selected) const {
    const catalogue::ServerRecord* r = rows_.recordAt(row);
    if (!r) {
        ServerCellPaint p;
        p.kind = ServerCellKind::kFlagBlank;
        return p;
    }
    return PaintServerCell(profile_.colours, *r, static_cast<size_t>(row), column, selected);
}

}  // namespace views
