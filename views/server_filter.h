// Which server records get a row in the server list.
#pragma once

#include <cstdint>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"
#include "views/display_options.h"

namespace views {

// A record is shown unless: HideEmpty and no players; HidePassworded and the password flag starts
// with '1' or 'T'; HideFull and playerCount equals maxPlayers; a game-type filter n and the record's
// game type is empty, or its mod has no game type n, or the names differ (ignoring case); a mod
// filter n and the record's mod is empty, or the game (kind) has no mod n, or the names differ;
// ShowNoReply off and ping 999 or more.
bool PassesServerFilter(const catalogue::ServerRecord& record,
                        const DisplayOptions& options,
                        const catalogue::Catalogue& catalogue,
                        uint32_t kind);

}  // namespace views
