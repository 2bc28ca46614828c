// Colour and content choices of owner-drawn rows: the server list and the two list panes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/profiles.h"
#include "catalogue/records.h"
#include "views/game_colours.h"

namespace views {

// Entries of a profile's ColourScheme (GameProfile::colours).
enum SchemeEntry : int {
    kSchemeDefaultBackground = 0,
    kSchemeAlternateBackground = 1,
    kSchemeFavouriteBackground = 2,
    kSchemeVisitedBackground = 3,
    kSchemeAutoRefreshBackground = 4,
    kSchemeSelectionBackground = 5,
    kSchemeDefaultText = 6,
    kSchemeAlternateText = 7,
    kSchemeFavouriteText = 8,
    kSchemeVisitedText = 9,
    kSchemeAutoRefreshText = 10,
    kSchemeWindowBackground = 11,
};

using SchemeColours = uint32_t[catalogue::kSchemeColours];

constexpr uint32_t kPingTextBad = 0x000000E0;   // red: ping 200 or more, or a full server
constexpr uint32_t kPingTextGood = 0x00008000;  // dark green
constexpr uint32_t kSlowPing = 200;

// Text indent of the plain-text cells, in pixels from the cell's left edge.
constexpr int kCellTextIndent = 10;
// Indent of the colour-coded "Server" column of the buddy pane and the Find Player list.
constexpr int kBuddyServerIndent = 5;

struct RowColours {
    uint32_t text = 0;
    uint32_t background = 0;
};

// Server list item pre-paint: even rows default, odd rows alternate entries; then the first of
// favourite, auto refresh, visited (joinCount > 0) overrides both.
RowColours ServerRowColours(const SchemeColours& colours, const catalogue::ServerRecord& record, size_t row);
// List panes (players, buddies, Find Player): even rows default, odd rows alternate entries.
RowColours ListPaneRowColours(const SchemeColours& colours, size_t row);

constexpr int kNoIcon = -1;

// How one cell of an owner-drawn list is drawn (NM_CUSTOMDRAW, sub-item pre-paint; the list's own
// drawing is always skipped).
enum class CellKind {
    kIcon,               // `icon` at the cell's icon rectangle, nothing else
    kBlankIcon,          // the cell's icon rectangle filled with the window colour
    kIconAndColourText,  // `icon` (or the window colour for kNoIcon) at the icon rectangle, then the
                         // label filled and `text` drawn with its colour codes
    kColourText,         // fill, then `text` with its colour codes from left + indent
    kText,               // fill, then `text` (at most textLimit characters) at left + indent, clipped
    kFillOnly,           // fill and draw nothing else
};

struct CellPaint {
    CellKind kind = CellKind::kFillOnly;
    int icon = kNoIcon;
    const char* text = "";  // valid until the rows change
    int indent = 0;
    uint32_t fill = 0;            // label rectangle: selection bar when selected, else row background
    uint32_t textColour = 0;      // row text, or the ping / player-count colour
    uint32_t textBackground = 0;  // always the row background
    size_t textLimit = 255;
    ColourDialect dialect = ColourDialect::kClassic;  // of colour text
};

// A server list cell; its text (the record's host name for the title, else the row's cell text)
// is left for the caller, which owns the row texts.
CellPaint PaintServerCell(const SchemeColours& colours,
                          const catalogue::ServerRecord& record,
                          size_t row,
                          int column,
                          bool selected);

uint32_t PingTextColour(uint32_t ping);
uint32_t PlayerCountTextColour(const catalogue::ServerRecord& record);

// Label fill of a list-pane cell.
uint32_t ListPaneCellFill(const SchemeColours& colours, size_t row, bool selected);

}  // namespace views
