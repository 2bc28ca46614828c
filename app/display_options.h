// The display options of the server list and the commands that toggle them.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "app/startup_settings.h"
#include "views/display_options.h"

namespace app {

using views::DisplayOptions;

// The flags read at start-up; the game-type and mod filters always start at "all".
DisplayOptions DisplayOptionsFrom(const StartupSettings& settings);

// A menu item and whether it is to be checked.
struct MenuMark {
    uint32_t item = 0;
    bool checked = false;
    bool operator==(const MenuMark&) const = default;
};

// Toggles the option of a display command (Show Password Protected, Show Full, Show Empty, Show
// Bots, Show Servers -> No reply, visited or favourites at top) and writes its registry value. The
// hide flags flip between 0 and 1 and their "show" items are checked while the flag is 0; Show Bots
// and No reply flip between 0 and -1; the others between 0 and 1, checked while set. nullopt for
// any other command.
std::optional<MenuMark> ToggleDisplayOption(uint32_t command, DisplayOptions& options, base::SettingsStore& store);

// Chooses the n-th mod (command 40300 + n) or game type (40500 + n) as filter, or all (n = 0, the
// commands 40091 and 40090). Returns the item to uncheck and the one to check, or nullopt when the
// choice is already the current one (nothing changes, nothing is written). Choosing "All" always acts.
std::optional<std::pair<uint32_t, uint32_t>> ChooseModFilter(uint32_t n,
                                                             DisplayOptions& options,
                                                             base::SettingsStore& store);
std::optional<std::pair<uint32_t, uint32_t>> ChooseGameTypeFilter(uint32_t n,
                                                                  DisplayOptions& options,
                                                                  base::SettingsStore& store);

// The menu item that stands for the current mod or game-type filter.
uint32_t ModFilterItem(uint32_t modFilter);
uint32_t GameTypeFilterItem(uint32_t gameTypeFilter);

// The check marks set at start-up.
std::vector<MenuMark> StartupMenuMarks(const DisplayOptions& options, bool useTray);

}  // namespace app
