// The Source query protocol's replies (server info in its Source and GoldSrc forms, players,
// rules) and what of them goes into a server record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/records.h"

namespace net {

// The type byte after the four 0xFF bytes of a whole (not split) reply.
enum A2sReplyType : uint8_t {
    kA2sChallengeReply = 0x41,    // 'A' + a 4-byte challenge
    kA2sPlayerReply = 0x44,       // 'D'
    kA2sRulesReply = 0x45,        // 'E'
    kA2sInfoReply = 0x49,         // 'I'
    kA2sGoldSrcInfoReply = 0x6D,  // 'm', the obsolete form older Half-Life servers send
};

// The type byte of a whole reply (FF FF FF FF and one byte at least), or 0.
uint8_t A2sReplyTypeOf(const uint8_t* data, size_t size);

// Texts of a reply are read up to this many bytes each; longer ones are cut.
constexpr size_t kA2sTextLimit = 255;
constexpr size_t kMaxA2sRules = 4096;

// What an info reply says. Fields a reply does not carry stay zero or empty.
struct A2sInfo {
    bool goldSrcForm = false;
    uint8_t protocol = 0;
    std::string address;  // GoldSrc form only
    std::string name;
    std::string map;
    std::string folder;  // the game folder, such as "cstrike" or "tf"
    std::string game;    // the game's description
    uint16_t appId = 0;  // Source form only
    uint8_t players = 0;
    uint8_t maxPlayers = 0;
    uint8_t bots = 0;
    uint8_t serverType = 0;   // 'd'/'D' dedicated, 'l'/'L' listen, 'p'/'P' proxy, as sent
    uint8_t environment = 0;  // 'l'/'L' Linux, 'w'/'W' Windows, 'm' or 'o' Mac, as sent
    uint8_t visibility = 0;   // 1: a password is needed
    uint8_t vac = 0;
    bool isMod = false;  // GoldSrc form: a Half-Life mod, with its information address
    std::string modLink;
    std::string version;
    std::optional<uint16_t> gamePort;  // the port players connect to, when the server names it
    uint64_t steamId = 0;
    std::string keywords;  // the server's tags, comma-separated
    uint64_t gameId = 0;
};

// A whole info reply of either form. Nothing when the datagram is no info reply or is cut off
// before the maximum player count; a reply cut off later keeps what it held up to there.
std::optional<A2sInfo> ParseA2sInfo(const uint8_t* data, size_t size);

// Fills the record: host name, map, game folder (gameName), version, player and maximum player
// counts, protocol, server type (dedicated), environment (serverOs), the password flag "1"/"0", the
// mod flag and its web address, and the game port as hostPort when the reply names one. Every text
// field the Quake-III and GameSpy replies describe is cleared first, as they clear it.
void ApplyA2sInfo(catalogue::ServerRecord& record, const A2sInfo& info);

struct A2sPlayer {
    uint8_t index = 0;
    std::string name;
    int32_t score = 0;
    float seconds = 0;  // time connected; 0 when the reply held no sound number
};

// A whole player reply: the entries announced, up to the first one cut off by the end. Nothing when
// the datagram is no player reply or ends before its count.
std::optional<std::vector<A2sPlayer>> ParseA2sPlayers(const uint8_t* data, size_t size);
// Player slots 0.. in reply order (at most 128): name (cut to 49), score, number = the index byte,
// ping 0 (the reply carries none), secondsConnected the whole seconds (at most 65535), viewMark 0;
// playerCount = the number of entries.
void ApplyA2sPlayers(catalogue::ServerRecord& record, const std::vector<A2sPlayer>& players);

struct A2sRule {
    std::string name;
    std::string value;
};
// A whole rules reply: the rules announced (at most kMaxA2sRules), up to the first one cut off.
// Nothing when the datagram is no rules reply or ends before its count.
std::optional<std::vector<A2sRule>> ParseA2sRules(const uint8_t* data, size_t size);

}  // namespace net
