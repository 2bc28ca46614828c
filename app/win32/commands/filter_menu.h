// The "Filter" pop-up of the main menu: show options, and the game-type and mod choices of a game.
#pragma once

#include <windows.h>

#include "catalogue/profiles.h"

namespace app::win32 {

struct Shell;

HMENU FilterMenu(HMENU mainMenu);
HMENU GameTypeMenu(HMENU mainMenu);
HMENU ModMenu(HMENU mainMenu);

// Inserts the mod items (40300 + n, at position 2 of the mod pop-up) and the game-type items
// (40500 + n, named after the game types of the game's first mod that has any) of the profile's game,
// and marks the current choices.
void InsertFilterItems(Shell& shell, HMENU mainMenu, const catalogue::GameProfile& profile);
// Deletes the items inserted for the current game again.
void RemoveFilterItems(Shell& shell, HMENU mainMenu);
// Checks or unchecks one item of the main menu.
void CheckItem(HMENU mainMenu, UINT item, bool checked);

}  // namespace app::win32
