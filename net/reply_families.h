// The per-protocol steps of status reply parsing, used by parseReply and by the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"
#include "net/status_parser.h"

namespace net {

// What the Quake-III and GameSpy key/value texts both describe a server with. Clearing empties the
// info text, host name, game name, web address, location and e-mail and sets the password flag to
// "0"; reading takes gamename, email, location, url (else website), the version under its key and
// mapname, each only when present (colour codes stripped where the field holds plain text).
void ClearDescriptiveFields(catalogue::ServerRecord& record);
void ReadDescriptiveKeys(catalogue::ServerRecord& record, std::string_view text, std::string_view versionKey);

// Quake-III style: the reply text (up to its first zero byte) of a datagram. Clears the host name,
// reads the info line, keeps the raw copy, reads the player lines and classifies the server.
void ApplyQuake3Reply(catalogue::ServerRecord& record,
                      std::string_view text,
                      uint32_t kind,
                      const catalogue::Catalogue& catalogue,
                      const uint8_t* data,
                      size_t size,
                      RawReply* rawCopy);

// The reply text up to (not including) the newline that ends the info line; the key lookups of a
// Quake-III reply search only this part, so a player's name can never stand in for a server key.
std::string_view Quake3InfoPart(uint32_t kind, std::string_view reply);

// Fills the record's info fields from the info part of a Quake-III reply.
void ParseQuake3Info(catalogue::ServerRecord& record, std::string_view info, int playerLines);

// GameSpy style: info (false when there is no "hostname" key; the record is then untouched), then
// classification and raw copy when the info parsed, then the players.
void ApplyGameSpyReply(catalogue::ServerRecord& record,
                       std::string_view text,
                       uint32_t kind,
                       const catalogue::Catalogue& catalogue,
                       const uint8_t* data,
                       size_t size,
                       RawReply* rawCopy);
bool ParseGameSpyInfo(catalogue::ServerRecord& record, std::string_view text);
// Reads player_N\ entries (N = 0..127) into consecutive slots; stores their number in captureLimit.
// True when at least one entry was found.
bool ParseGameSpyPlayers(catalogue::ServerRecord& record, std::string_view text);

// Half-Life style: dispatches on the type byte after the four 0xFF bytes ('m' details, 'D' players).
void ApplyHalfLifeReply(catalogue::ServerRecord& record,
                        const uint8_t* data,
                        size_t size,
                        const catalogue::Catalogue& catalogue,
                        RawReply* rawCopy);
// The body after the type byte of a details reply / a players reply.
void ParseHalfLifeDetails(catalogue::ServerRecord& record,
                          const uint8_t* body,
                          size_t size,
                          const catalogue::Catalogue& catalogue);
void ParseHalfLifePlayers(catalogue::ServerRecord& record, const uint8_t* body, size_t size);

// Steam kinds: one whole Source query reply (split parts put together), by its type byte. Info:
// the record's fields (ApplyA2sInfo), captureLimit 0, the mod by kGameDirKey and the game type by
// kKeywordsKey, and the raw copy made afresh as "\key\value" pairs of the info fields; an info
// reply that cannot be read empties the host name. Players: the player slots and captureLimit 1
// (their reply has come, as for Half-Life). Rules: appended to the raw copy as pairs.
// Anything else changes nothing.
void ApplyA2sReply(catalogue::ServerRecord& record,
                   const uint8_t* data,
                   size_t size,
                   uint32_t kind,
                   const catalogue::Catalogue& catalogue,
                   RawReply* rawCopy);

}  // namespace net
