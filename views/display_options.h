// The program-wide filter and order flags of the server list, toggled from the main window's menus.
#pragma once

#include <cstdint>

namespace views {

// The shell owns one instance; the panes read it. Flags are "set" when non-zero (ShowBots and
// ShowNoReply are stored as 0 / -1). GameTypeFilter and ModFilter: 0 = all, n = the n-th (1-based)
// game type of the record's mod, respectively the n-th mod of the game.
struct DisplayOptions {
    uint32_t HideEmpty = 0;
    uint32_t HidePassworded = 0;
    uint32_t HideFull = 0;
    uint32_t ShowNoReply = 0;
    uint32_t ShowBots = 0;
    uint32_t GameTypeFilter = 0;
    uint32_t ModFilter = 0;
    uint32_t VisitedOnTop = 0;
    uint32_t FavouritesOnTop = 0;
};

}  // namespace views
