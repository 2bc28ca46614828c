// Row colours and cell drawing choices.
#include "views/row_paint.h"

#include "views/server_columns.h"
#include "views/server_sort.h"

namespace views {

RowColours ListPaneRowColours(const SchemeColours& colours, size_t row) {
    if (row & 1)
        return {colours[kSchemeAlternateText], colours[kSchemeAlternateBackground]};
    return {colours[kSchemeDefaultText], colours[kSchemeDefaultBackground]};
}

RowColours ServerRowColours(const SchemeColours& colours, const catalogue::ServerRecord& r, size_t row) {
    if (r.isFavourite)
        return {colours[kSchemeFavouriteText], colours[kSchemeFavouriteBackground]};
    if (r.autoRefresh)
        return {colours[kSchemeAutoRefreshText], colours[kSchemeAutoRefreshBackground]};
    if (r.joinCount > 0)
        return {colours[kSchemeVisitedText], colours[kSchemeVisitedBackground]};
    return ListPaneRowColours(colours, row);
}

uint32_t PingTextColour(uint32_t ping) {
    return ping >= kSlowPing ? kPingTextBad : kPingTextGood;
}

uint32_t PlayerCountTextColour(const catalogue::ServerRecord& r) {
    return r.playerCount >= r.maxPlayers ? kPingTextBad : kPingTextGood;
}

CellPaint PaintServerCell(const SchemeColours& colours,
                          const catalogue::ServerRecord& r,
                          size_t row,
                          int column,
                          bool selected) {
    CellPaint p;
    p.kind = CellKind::kText;
    p.indent = kCellTextIndent;
    p.textLimit = 254;
    const RowColours rc = ServerRowColours(colours, r, row);
    p.fill = selected ? colours[kSchemeSelectionBackground] : rc.background;
    p.textBackground = rc.background;
    p.textColour = rc.text;
    switch (column) {
        case kColumnPassword:
        case kColumnFavourite:
        case kColumnAutoRefresh: {
            bool set = column == kColumnPassword ? r.NeedsPassword()
                                                 : (column == kColumnFavourite ? r.isFavourite : r.autoRefresh) != 0;
            static constexpr int kImages[] = {kImagePassword, kImageFavourite, kImageAutoRefresh};
            p.kind = set ? CellKind::kIcon : CellKind::kBlankIcon;
            p.icon = set ? kImages[column] : kNoIcon;
            break;
        }
        case kColumnTitle:
            p.kind = CellKind::kColourText;
            p.text = r.hostName;
            break;
        case kColumnPing:
            p.textColour = PingTextColour(r.ping);
            break;
        case kColumnPlayers:
            p.textColour = PlayerCountTextColour(r);
            break;
        default:
            break;
    }
    return p;
}

uint32_t ListPaneCellFill(const SchemeColours& colours, size_t row, bool selected) {
    return selected ? colours[kSchemeSelectionBackground] : ListPaneRowColours(colours, row).background;
}

}  // namespace views
