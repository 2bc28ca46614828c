// The ten columns of the server list: captions, creation order and the cell texts of a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/records.h"
#include "views/game_colours.h"

namespace views {

// Column number = sub-item number of the list control.
enum ServerColumn : int {
    kColumnPassword = 0,
    kColumnFavourite = 1,
    kColumnAutoRefresh = 2,
    kColumnTitle = 3,
    kColumnPing = 4,
    kColumnMap = 5,
    kColumnGameType = 6,
    kColumnMod = 7,
    kColumnPlayers = 8,
    kColumnAddress = 9,
};
constexpr int kServerColumnCount = 10;

// The columns in the order they are created, each inserted at position 0 so that the numbers come
// out as above: Server Address first, the three flag columns last.
extern const int kServerColumnInsertOrder[kServerColumnCount];

// Header caption; empty for the three flag columns (created with format and width only).
const char* ServerColumnCaption(int column);

// Large enough for every cell text (the longest is the 149-character host name).
constexpr size_t kServerCellTextSize = 256;

// Writes the cell text of a column into out (cut to outSize - 1 characters, always terminated) and
// returns its length. Flag columns give "Y" or " ", column 3 the host name with its colour codes,
// column 8 "%d/%d" or "%d/%d (-%d)" with private slots. An unknown column gives "".
size_t ServerCellText(const catalogue::ServerRecord& record, int column, char* out, size_t outSize);
std::string ServerCellText(const catalogue::ServerRecord& record, int column);

// The count at the right of the pane's header strip: "%d/%d Servers visible".
std::string ServersVisibleText(size_t rows, uint32_t serverCount);

// The info tip of a row: name without colour codes, version, address, game type, mod, the yes/no
// and number settings, location, web site and e-mail when known, and the join count; lines are
// separated by CR LF. The caller cuts it to its tip buffer.
std::string ServerInfoTip(const catalogue::ServerRecord& record, ColourDialect dialect);
// What the tip says for a row without a record.
constexpr char kNoInfoTip[] = "No info available!";

}  // namespace views
