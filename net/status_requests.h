// The status request datagrams sent to a game server, by game kind.
#pragma once

#include <cstddef>
#include <cstdint>

namespace net {

constexpr size_t kMaxRequestSize = 32;

struct RequestDatagram {
    uint8_t bytes[kMaxRequestSize] = {};
    size_t size = 0;
};

// The datagrams of one status query, in sending order: one for the Quake-III style (kinds 0, 1, 3,
// 5, 6: 0xFF x4 "getstatus", 13 bytes; kind 4: 0xFF x4, 0x02, "getstatus", 0x0A, 0x00, 16 bytes)
// and the GameSpy style (kinds 7, 8: "\status\", 8 bytes); two for the Half-Life style (kind 2:
// 0xFF x4 "details", then 0xFF x4 "players", 11 bytes each); for the Steam kinds the first datagram
// of the Source query exchange, A2S_INFO without a challenge (25 bytes: the engine sends what its
// replies lead to). An unknown kind has none.
struct StatusRequests {
    RequestDatagram datagrams[2];
    int count = 0;
};

StatusRequests BuildStatusRequests(uint32_t kind);

// True for the kinds whose reply parser keeps reply markers in the record's captureLimit and pure
// words (Half-Life, kind 4, the GameSpy kinds and the Steam kinds); those words are cleared before
// each request.
bool UsesReplyMarkers(uint32_t kind);

// True for the Half-Life kind, whose reply is complete only when both the details and the players
// replies have arrived.
bool NeedsTwoReplies(uint32_t kind);

}  // namespace net
