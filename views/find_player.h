// Find Player: name matching, the search over a profile's servers, the history and the buttons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/settings_store.h"
#include "catalogue/records.h"
#include "views/game_colours.h"
#include "views/list_pane.h"
#include "views/list_rows.h"

namespace views {

constexpr size_t kFindTextLimit = 29;  // characters of the combo box text that are searched
constexpr int kFindEditLimit = 40;     // EM_LIMITTEXT of the combo box's edit
constexpr int kFindHistoryKeys = 512;  // "find0" .. "find511" in section "Find" of vexar.ini

// A search text starting with '*' finds the rest anywhere in the name, as typed or in lower case
// (the name itself is not converted). Any other text must begin the name, ignoring case. An empty
// text and "*" alone match every name.
bool FindMatches(std::string_view search, std::string_view name);

// The combo box text cut to kFindTextLimit characters.
std::string LimitSearchText(std::string_view text);

// A row holds where its player was found, not the records: refreshes run while the dialog is open
// (in its modal loop), so by the time a button is pressed the server may have been freed and the
// slot may hold another player. LocateResult finds them again.
struct FindResult {
    std::string address;  // the server's address text and port
    uint32_t port = 0;
    int slot = -1;                                    // the player's slot on that server
    std::string storedName;                           // the name the slot held, colour codes included
    std::string name;                                 // colour codes removed when "Ignore Colour Codes" is ticked
    std::string serverName;                           // likewise
    std::string gameType;                             // the server's game type text
    int icon = kNoIcon;                               // kPaneImageBuddy when the player's name is a buddy
    ColourDialect dialect = ColourDialect::kClassic;  // of the profile searched
};

// What a row stands for now: its server (looked up by address and port; nullptr when it is gone) and
// its player (nullptr unless the slot is still one of the server's current players and holds the
// row's name).
struct FoundPlayer {
    catalogue::ServerRecord* server = nullptr;
    catalogue::PlayerRecord* player = nullptr;
};
FoundPlayer LocateResult(const catalogue::ServerList& servers, const FindResult& result, uint32_t kind);

// Every server of the list in list order, each of its current players (CurrentPlayerCount of the
// profile's game kind): one row per match (the same name on several servers gives several rows).
// Colour codes are those of the profile's game.
std::vector<FindResult> FindPlayers(const catalogue::ServerList& servers,
                                    std::string_view search,
                                    bool ignoreColours,
                                    const catalogue::BuddyList& buddies,
                                    uint32_t kind);

// Drawing of a result cell, like the buddy pane: the icon and the name with colour codes, the server
// with colour codes 5 pixels in, the game type 10 pixels in.
CellPaint PaintFindCell(const SchemeColours& colours, const FindResult& result, int row, int column, bool selected);

// The results as the Find Player list shows them: player, server, game type.
class FindRows : public ListRows {
  public:
    explicit FindRows(const SchemeColours& colours) : colours_(colours) {}
    std::vector<FindResult>& results() { return results_; }
    const FindResult* At(int row) const;

    int RowCount() const override { return static_cast<int>(results_.size()); }
    const char* CellText(int row, int column) const override;
    int RowImage(int row) const override;
    const void* RowItem(int row) const override;
    CellPaint PaintCell(int row, int column, bool selected) const override;

  private:
    const SchemeColours& colours_;
    std::vector<FindResult> results_;
};

// The stored history: "find0" upward, stopping at the first missing or empty key.
std::vector<std::string> LoadFindHistory(base::SettingsStore& store);
// "Find!": stores the text in the first missing or empty key unless one of the 512 keys already
// holds it (ignoring case) or all are used. True when stored (the combo box then lists it too).
bool RecordFindText(base::SettingsStore& store, std::string_view text);
// Choosing a history entry searches when it is not empty and differs from the current text
// (ignoring case).
bool ChoiceStartsSearch(std::string_view choice, std::string_view current);

// "IgnoreColours": "True" in any case ticks the box; closing writes "True" or "False".
bool ReadIgnoreColours(base::SettingsStore& store);
void WriteIgnoreColours(base::SettingsStore& store, bool ignore);

struct FindButtons {
    bool join = false;
    bool addBuddy = false;
    bool addFavourite = false;

    bool operator==(const FindButtons& other) const {
        return join == other.join && addBuddy == other.addBuddy && addFavourite == other.addFavourite;
    }
};

// Every notification from the result list: with a selected row whose server is still listed
// (found, LocateResult) Join is enabled, Add Buddy while the player is still there unless the name is
// a buddy, Add Favourite when the server is not a favourite (a favourite's player leaves it as it
// was); without a selection, or when the server is gone, all three are disabled.
FindButtons FindButtonStates(const FindResult* selected,
                             const FoundPlayer& found,
                             const catalogue::BuddyList& buddies,
                             FindButtons current);

// "&Add Buddy" on a row whose player was found: the row gets the buddy icon and the player its
// server reference; returns the player to send with PM_ADD_BUDDY_PLAYER (the caller then disables
// the button), nullptr (nothing done) when the player is gone.
catalogue::PlayerRecord* PrepareAddBuddy(FindResult& result, const FoundPlayer& found);

// The result list's place in the dialog's client area, on opening and on every resize.
struct ListPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
ListPlacement FindListPlacement(int clientWidth, int clientHeight);

}  // namespace views
