// The game setup dialogs: Installed Game(s) (resource 173) and Game Profile (resource 174).
#pragma once

#include <windows.h>

#include <memory>

#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"

namespace app::win32 {

struct Shell;

// Installed Game(s), modal on the main window: lists the profiles with their games' icons, adds a
// profile made in Game Profile (registered with a new file number and the default columns and
// colours, with a tab of its own) and removes the selected one with its tab, panes and list files.
// The last profile is never removed, nor the current one while a refresh or master query runs.
void showInstalledGames(Shell& shell);

// Game Profile, modal on `owner`: the catalogue's games with their versions and the chosen game's
// suggested folder and master server. Returns the new, not yet registered profile after OK, or
// nullptr after Cancel.
std::unique_ptr<catalogue::GameProfile> showGameProfile(HINSTANCE instance,
                                                        HWND owner,
                                                        const catalogue::Catalogue& catalogue);

}  // namespace app::win32
