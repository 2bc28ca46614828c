// The logic of the buddy pane: sightings, online count, adding and removing buddies, row texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/profiles.h"
#include "catalogue/records.h"
#include "views/list_pane.h"
#include "views/list_rows.h"

namespace views {

// One change the pane mirrors on its list control, applied in the order given.
struct RowEvent {
    enum Kind {
        kInsert,   // insert a row at `row` (always the end)
        kUpdate,   // rewrite icon and texts of `row`
        kDelete,   // delete `row` (numbered as before this deletion)
        kRebuild,  // delete every row, then insert rows 0..size()-1
        kReorder,  // rows were sorted: the owner-data list is redrawn
    };
    Kind kind = kUpdate;
    int row = -1;

    bool operator==(const RowEvent& other) const { return kind == other.kind && row == other.row; }
};

struct BuddyUpdate {
    std::vector<RowEvent> events;
    // Names whose player-pane row loses the buddy icon: send PM_BUDDY_MARK (wParam 1) for each.
    std::vector<std::string> unmarkedNames;
};

struct BuddyRow {
    catalogue::BuddyRecord* buddy = nullptr;
    int icon = kPaneImageBuddyOffline;
    std::string server;  // the host name with colour codes, written while the buddy was online
    std::string game;    // the game type text, likewise
};

// The "Game" text of a buddy on a server: the game type the catalogue matched for the server
// (empty when none matched).
std::string BuddyGameText(const catalogue::ServerRecord& server);
// Always ascending: online (server set) before offline; two offline buddies are equal. Two online
// buddies: column 0 names byte by byte (codes included), column 1 their servers' host names the
// same way, column 2 their servers' game type positions as unsigned numbers; other columns equal.
int CompareBuddies(const catalogue::BuddyRecord& a, const catalogue::BuddyRecord& b, int column);

// One per profile, living as long as the buddy pane. It works on the profile's buddy list and
// onlineBuddies (the number of sightings since the last reset). A buddy list changed outside the
// model (loaded, imported) needs Reload() before the model is used again. UI thread only.
class BuddyModel : public ListRows {
  public:
    explicit BuddyModel(catalogue::GameProfile& profile);

    int size() const { return static_cast<int>(rows_.size()); }
    const BuddyRow* Row(int index) const;
    catalogue::BuddyRecord* BuddyAt(int index) const;
    int RowOf(const catalogue::BuddyRecord* buddy) const;
    // Whether a name is a buddy (whole name ignoring case, colour codes included).
    bool IsBuddy(std::string_view name) const;

    // PM_BUDDIES_RELOAD: every buddy offline, count 0, one row per buddy in list order (kRebuild).
    BuddyUpdate Reload();
    // PM_BUDDIES_RESET: every buddy offline and the count 0; rows keep what they show.
    void Reset();
    // PM_CLEAR: all rows go and the count is 0 (kRebuild with no rows).
    BuddyUpdate Clear();
    // PM_PLAYER_SEEN (the player's server reference is set): the first buddy of that name takes the
    // player's score, ping, player and server and goes online; every sighting counts one, also a
    // repeated one in the same refresh. Its row is updated (repaint it at once).
    BuddyUpdate PlayerSeen(catalogue::PlayerRecord& player);
    // PM_SERVER_REMOVED: buddies on that server go offline (one sighting fewer each) and their rows
    // are updated.
    BuddyUpdate ServerRemoved(const catalogue::ServerRecord* server);
    // PM_ADD_BUDDY_PLAYER: an existing buddy of that name takes the player's data and goes online;
    // otherwise a new online buddy is appended (one sighting more) with a new row. Then sorted.
    BuddyUpdate AddFromPlayer(catalogue::PlayerRecord& player, int sortColumn);
    // PM_ADD_BUDDY_NAME: a new offline buddy (name cut to 49 characters) with a row at the end,
    // unless a buddy of that name exists. Not sorted.
    BuddyUpdate AddByName(std::string_view name);
    // PM_REMOVE_SELECTED and 40021: the selected rows' buddies are removed and freed, first row
    // first; an online one counts one sighting fewer. Reports the deletions and the names.
    BuddyUpdate RemoveRows(std::vector<int> selectedRows);
    // PM_RESORT, a column click, PM_RESTORE_SORT: sorts the rows (equal rows keep their order).
    BuddyUpdate Sort(int sortColumn);

    // Count line: "%d/%d Buddies online" (sightings, number of buddies).
    std::string CountText() const;
    // Click or double click on a row: the server to locate (PM_LOCATE_SERVER; a double click then
    // joins it with PM_JOIN_SELECTED, wParam 0), or nullptr for an offline buddy or no row.
    catalogue::ServerRecord* ServerToLocate(int row) const;

    // Drawing of a cell: column 0 the row icon and the name with its colour codes; column 1 the
    // server name with its colour codes 5 pixels in, only while the buddy is online; column 2 the
    // game text 10 pixels in.
    CellPaint PaintCell(int row, int column, bool selected) const override;

    // The rows as the list control sees them: buddy, server, game.
    int RowCount() const override { return size(); }
    const char* CellText(int row, int column) const override;
    int RowImage(int row) const override;
    const void* RowItem(int row) const override { return BuddyAt(row); }

  private:
    void ClearSightings();
    void LoseSighting();
    void WriteRow(BuddyRow& row) const;
    BuddyRow MakeRow(catalogue::BuddyRecord* buddy) const;
    void AddUpdate(BuddyUpdate& update, const catalogue::BuddyRecord* buddy);

    catalogue::GameProfile& profile_;
    std::vector<BuddyRow> rows_;
};

}  // namespace views
