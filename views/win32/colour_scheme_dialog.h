// The Game Colour Scheme dialog: edits the current profile's colours in place; Cancel undoes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/profiles.h"
#include "views/win32/pane_host.h"

namespace views::win32 {

struct ColourSchemeRequest {
    catalogue::GameProfile& profile;
    // Every profile, for "Apply Colour Scheme to all games.".
    std::vector<catalogue::GameProfile*> allProfiles;
    // Where the scheme files live: the installation folder's "Colour Schemes".
    std::string schemeFolder;
};

// Runs dialog 183 modally, owned by the host's main window, which is repainted to show changes.
INT_PTR RunColourSchemeDialog(PaneHost& host, ColourSchemeRequest& request);

}  // namespace views::win32
