// Which server records get a row in the server list.
#pragma once

#include <cstdint>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"
#include "views/display_options.h"

namespace views {

// The mod whose game types the Filter menu lists for a game: the first of the game's mods that has
// any (nullptr when none has).
const catalogue::ModDefinition* GameTypeMenuMod(const catalogue::Catalogue& catalogue, uint32_t kind);

// A record is shown unless: HideEmpty and no players; HidePassworded and the password flag starts
// with '1' or 'T'; HideFull and playerCount equals maxPlayers; a game-type filter n and the record's
// game type is empty, or the menu's n-th game type (GameTypeMenuMod) does not exist, or its name
// differs from the record's (ignoring case; so "CTF" finds the CTF servers of every mod); a mod
// filter n and the record's mod is empty, or the game (kind) has no mod n, or the names differ;
// ShowNoReply off and ping 999 or more. ping is the record's, read where the refresh worker cannot
// write it (ServerListModel reads it under the record lock).
bool PassesServerFilter(const catalogue::ServerRecord& record,
                        uint32_t ping,
                        const DisplayOptions& options,
                        const catalogue::Catalogue& catalogue,
                        uint32_t kind);

}  // namespace views
