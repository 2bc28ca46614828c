// The lines that "Copy" puts on the clipboard (CF_TEXT), as plain text or with IRC colour codes.
#pragma once

#include <string>

#include "catalogue/records.h"
#include "views/game_colours.h"

namespace views {

// Names are read in the colour dialect of the pane's game.

// Stands in the server place of a player or buddy that is on no server.
constexpr char kNotOnline[] = "Not online";

// Player pane: "%s | %s | %d | %d ms" with the name without colour codes, the server as
// "<plain name> (<address>:<port>) | <map>" (or "Not online" when the player has no server
// reference), the score and the ping.
std::string PlayerLineText(const catalogue::PlayerRecord& player, ColourDialect dialect);
// The same with colour codes turned into mIRC controls, blue separators and the ping in green
// (below 100) or red.
std::string PlayerLineIrc(const catalogue::PlayerRecord& player, ColourDialect dialect);

// Buddy pane: as the player lines, from the buddy's name, score, ping and server; the IRC line has
// a space after the first black control.
std::string BuddyLineText(const catalogue::BuddyRecord& buddy, ColourDialect dialect);
std::string BuddyLineIrc(const catalogue::BuddyRecord& buddy, ColourDialect dialect);

// Server list: "%s | %s:%d | %s | %d/%d | %d ms" (plain name, address, port, map, players, maximum,
// ping) and its IRC form.
std::string ServerLineText(const catalogue::ServerRecord& server, ColourDialect dialect);
std::string ServerLineIrc(const catalogue::ServerRecord& server, ColourDialect dialect);

}  // namespace views
