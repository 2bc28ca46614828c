// The logic of the player pane: which players get rows, their icons, order, and the pane messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/profiles.h"
#include "catalogue/records.h"
#include "views/display_options.h"
#include "views/list_pane.h"
#include "views/list_rows.h"

namespace views {

// Shown (caption "Vexar! v2.0", OK) when a server reporting more than 128 players is shown or
// forwarded, once the handling is over and once per server and refresh; only the 128 stored slots
// are read.
constexpr char kTooManyPlayersMessage[] = "PlayerCount > 128";

// The Steam kinds: their players carry no ping but the time they have been on the server, which the
// third column shows (header "Time", as m:ss, h:mm:ss from an hour on) and sorts by.
bool PlayersAreTimed(uint32_t kind);
// Half-Life and the Steam kinds: the replies carry no player pings, so ping 0 tells no bot.
bool LacksPlayerPings(uint32_t kind);
// "m:ss" below an hour, "h:mm:ss" from an hour on.
std::string ConnectedTimeText(uint32_t seconds);

// A player with ping 0 is a bot and is skipped unless ShowBots is on or the game's replies carry
// no player pings (noPings: Half-Life, the Steam kinds).
bool ShowsPlayer(const catalogue::PlayerRecord& player, bool noPings, bool showBots);
// Row icon: kPaneImageBuddy when the name is a buddy (whole name, ignoring case, colour codes
// included), else kPaneImageBot for ping 0 where replies carry pings, else kNoIcon.
int PlayerRowIcon(const catalogue::PlayerRecord& player, bool noPings, const catalogue::BuddyList& buddies);
// Column 0: names byte by byte (unsigned, case-sensitive, codes included, a prefix first); column 1:
// scores as signed numbers; column 2: pings as unsigned numbers (with `timed`, the seconds
// connected); any other column: equal.
int ComparePlayers(const catalogue::PlayerRecord& a, const catalogue::PlayerRecord& b, int column, bool timed = false);

struct PlayerRow {
    catalogue::PlayerRecord* player = nullptr;
    catalogue::ServerRecord* server = nullptr;  // the server whose players are shown
    int icon = kNoIcon;
    std::string name;  // row text: the name when the row was added
    std::string score;
    std::string ping;  // or the time connected (PlayersAreTimed)
};

// How many of the server's stored players are those of its current replies: StoredPlayerCount(),
// except for Half-Life and the Steam kinds (kind), whose players come in a reply of their own: until
// that reply has come in the refresh (captureLimit 1) the slots hold an earlier refresh's players,
// and none count.
int CurrentPlayerCount(const catalogue::ServerRecord& server, uint32_t kind);

// The players a server reply brings (PM_SERVER_PLAYERS): each of the first CurrentPlayerCount
// players gets its server reference set; they are returned in order to be sent to the buddy pane
// as PM_PLAYER_SEEN. tooManyPlayers is set when the server reports more than 128.
std::vector<catalogue::PlayerRecord*> ForwardServerPlayers(catalogue::ServerRecord& server,
                                                           uint32_t kind,
                                                           bool& tooManyPlayers);

// One per profile, living as long as the player pane. The sort column is program-wide (COPLR) and
// passed in. User-interface thread only.
class PlayerPaneModel : public ListRows {
  public:
    PlayerPaneModel(catalogue::GameProfile& profile, const DisplayOptions& options);

    int size() const { return static_cast<int>(rows_.size()); }
    const PlayerRow* Row(int index) const;
    catalogue::PlayerRecord* PlayerAt(int index) const;

    // PM_SHOW_SERVER: all rows are replaced by the server's current players (CurrentPlayerCount; none
    // for Renegade); sets the
    // profile's shownMaxPlayers and sorts. Returns true when kTooManyPlayersMessage must be shown.
    // The pane then rebuilds its control from rows 0..size()-1 and invalidates without erase.
    bool ShowServer(catalogue::ServerRecord& server, int sortColumn);
    // PM_SERVER_REMOVED: drops the rows of that server; returns their row numbers from the last to
    // the first, so the pane can delete them in that order.
    std::vector<int> ServerRemoved(const catalogue::ServerRecord* server);
    // PM_CLEAR.
    void Clear();
    // PM_BUDDY_MARK: the first row whose text equals name (ignoring case) gets the buddy icon
    // (remove false) or loses its icon (remove true). Returns that row, or -1.
    int MarkBuddy(std::string_view name, bool remove);
    // "Add to Buddy List" (40020): every selected row (first to last) gets the buddy icon; returns
    // the players to send as PM_ADD_BUDDY_PLAYER. Rows to update: the selected ones.
    std::vector<catalogue::PlayerRecord*> AddSelectedToBuddies(const std::vector<int>& selectedRows);
    // PM_RESORT / after a column click: sorts by sortColumn when there are rows (ascending; equal
    // rows keep their order). Returns false when nothing was sorted.
    bool Sort(int sortColumn);

    // Count line: "%d/%d Players visible" (rows, shownMaxPlayers).
    std::string CountText() const;

    // Drawing of a cell: column 0 the row icon and the player's name (read through the record)
    // with its colour codes in the label rectangle; columns 1 and 2 the row texts 10 pixels in.
    CellPaint PaintCell(int row, int column, bool selected) const override;

    // The rows as the list control sees them: name, score, ping.
    int RowCount() const override { return size(); }
    const char* CellText(int row, int column) const override;
    int RowImage(int row) const override;
    const void* RowItem(int row) const override { return PlayerAt(row); }

  private:
    catalogue::GameProfile& profile_;
    const DisplayOptions& options_;
    std::vector<PlayerRow> rows_;
};

}  // namespace views
