// The player table of a remote-console "status" reply, as each engine prints it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rcon {

struct RconPlayer {
    std::string name;
    std::string score;
    std::string ping;
    int32_t number = 0;  // the player's slot (DarkPlaces: its "#" number), or Half-Life's and Source's user id
    bool operator==(const RconPlayer&) const = default;
};

// A reply that is a status table: one of its lines starts with "map", spaces and a colon (every
// engine's table is headed so). Other replies that arrive while a status is pending leave the
// player list alone.
bool IsStatusReply(std::string_view reply);

// The players of a whole "status" reply (every datagram of it, headers removed):
// - Half-Life: the "#" lines from line 7 on; a name is read whole between its double quotes
//   (spaces included) and kept with them; then user id, unique id, frags, time, ping.
// - Source: the "#" rows under the "# userid name uniqueid connected ping loss state adr" header (the
//   header names the columns after the name, which differ between games); the name is what stands
//   between the first and the last double quote, without them. A bot's row has no ping.
// - DarkPlaces ("status 1"): the rows under the "IP %pl ping time frags no name" header; the name
//   is the rest of the row after "#number" and the engine's "^7".
// - Today's Quake III engines: the rows under "cl score ping name address rate"; a name padded to
//   its visible width is what stands between the ping and the last two fields.
// - Older Quake III tables: fixed columns from line 3 on (number 1-2, score 5-8, ping 11-13, name
//   15-28).
// A row without a ping is left out, except Source's bots (they can be kicked too).
std::vector<RconPlayer> ParseStatusReply(uint32_t kind, std::string_view reply);

}  // namespace rcon
