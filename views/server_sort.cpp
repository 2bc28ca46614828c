// Server row comparison and header sort markers.
#include "views/server_sort.h"

#include "base/text.h"
#include "views/server_columns.h"

namespace views {

namespace {

int CompareFlags(bool a, bool b, int before) {
    if (a == b)
        return 0;
    return a ? before : -before;
}

int CompareNumbers(uint32_t a, uint32_t b, int before) {
    if (a == b)
        return 0;
    return a < b ? before : -before;
}

int CompareTexts(std::string_view a, std::string_view b, int before) {
    int r = base::CompareBytes(a, b);
    if (r == 0)
        return 0;
    return r < 0 ? before : -before;
}

bool ValidColumn(int column) {
    return column >= 0 && column < kServerColumnCount;
}

int DirectionImage(uint32_t descending) {
    return descending ? kImageDescending : kImageAscending;
}

}  // namespace

int CompareServers(const SortKey& keyA,
                   const SortKey& keyB,
                   int column,
                   const uint32_t (&sortDescending)[catalogue::kServerColumns],
                   const DisplayOptions& options) {
    const catalogue::ServerRecord& a = keyA.record;
    const catalogue::ServerRecord& b = keyB.record;
    if (!ValidColumn(column))
        return 0;
    const int before = sortDescending[column] ? 1 : -1;

    // The two "on top" rules hold whatever the direction of the column.
    if (options.FavouritesOnTop) {
        if (a.isFavourite && !b.isFavourite)
            return -1;
        if (!a.isFavourite && b.isFavourite)
            return 1;
        if (a.isFavourite && a.isFavourite == b.isFavourite)
            return 0;
    }
    if (options.VisitedOnTop) {
        if (a.joinCount > 0 && b.joinCount == 0)
            return -1;
        if (a.joinCount == 0 && b.joinCount > 0)
            return 1;
        if (a.joinCount > 0 && a.joinCount == b.joinCount)
            return 0;
    }

    switch (column) {
        case kColumnPassword:
            // The lock icon also shows for 'T', but only '1' sorts as protected.
            return CompareFlags(a.passwordText[0] == '1', b.passwordText[0] == '1', before);
        case kColumnFavourite:
            return CompareFlags(a.isFavourite != 0, b.isFavourite != 0, before);
        case kColumnAutoRefresh:
            return CompareFlags(a.autoRefresh != 0, b.autoRefresh != 0, before);
        case kColumnTitle:
            return CompareTexts(base::FieldText(a.hostName), base::FieldText(b.hostName), before);
        case kColumnPing:
            return CompareNumbers(keyA.ping, keyB.ping, before);
        case kColumnMap:
            return CompareTexts(base::FieldText(a.mapName), base::FieldText(b.mapName), before);
        case kColumnGameType:
            return CompareNumbers(a.gameTypeIndex, b.gameTypeIndex, before);
        case kColumnMod:
            return CompareTexts(base::FieldText(a.modDisplay), base::FieldText(b.modDisplay), before);
        case kColumnPlayers:
            return CompareNumbers(static_cast<uint32_t>(a.playerCount), static_cast<uint32_t>(b.playerCount), before);
        case kColumnAddress:
            return CompareTexts(base::FieldText(a.addressText), base::FieldText(b.addressText), before);
        default:
            return 0;
    }
}

HeaderMarkers ServerColumnClick(catalogue::GameProfile& profile, int column) {
    HeaderMarkers m;
    if (!ValidColumn(column))
        return m;
    if (profile.sortColumn == column) {
        profile.sortDescending[column] = profile.sortDescending[column] ? 0 : 1;
    } else if (ValidColumn(profile.sortColumn)) {
        m.formerColumn = profile.sortColumn;
    }
    // Also when no column was sorted before, the marker shows the direction the column will sort in,
    // so that it always agrees with the rows.
    m.column = column;
    m.image = DirectionImage(profile.sortDescending[column]);
    profile.sortColumn = column;
    return m;
}

HeaderMarkers ServerSortMarker(const catalogue::GameProfile& profile) {
    HeaderMarkers m;
    if (!ValidColumn(profile.sortColumn))
        return m;
    m.column = profile.sortColumn;
    m.image = DirectionImage(profile.sortDescending[profile.sortColumn]);
    return m;
}

}  // namespace views
