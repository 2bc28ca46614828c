// Parsing of status reply datagrams (Quake-III, GameSpy and Half-Life styles) into server records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"

namespace net {

// Size of the status receive buffer: no reply datagram is read beyond it.
constexpr size_t kStatusBufferSize = 4096;
// A player line longer than this is not read.
constexpr size_t kMaxPlayerLineLength = 254;

// The status protocol a game kind speaks. Kind 2 is Half-Life style, kinds 7 and 8 GameSpy style,
// the Steam kinds the Source query protocol, every other kind Quake-III style (kind 4 with a type
// byte before "statusResponse").
enum class ReplyFamily { kQuake3, kGameSpy, kHalfLife, kSourceQuery };
ReplyFamily FamilyOfKind(uint32_t kind);

// Copy of the last parsed reply kept for the server information dialog: the datagram's bytes (at
// most 4096), zero-filled behind them.
struct RawReply {
    uint8_t bytes[kStatusBufferSize] = {};
    size_t size = 0;

    void Clear();
    void CopyFrom(const uint8_t* data, size_t length);
    // True when the copy starts with text (an empty copy means the server did not answer).
    bool HoldsText() const { return size > 0 && bytes[0] != 0; }
    // The copy as text: the bytes up to the first zero byte.
    std::string_view Text() const;
};

// Parses one reply datagram into the record, by the protocol family of `kind`.
//
// `data`/`size` are exactly the received datagram; nothing outside it is read, and it need not be
// zero-terminated (text formats end at the first zero byte or at the datagram's end; byte fields
// past the end read as zero). An empty datagram (size 0, or a first byte of zero) means "no reply".
// With `rawCopy` the datagram is also copied there as the family's rules say (a Quake-III reply
// always, a GameSpy reply when its info parsed, a Half-Life details reply; for the Source query
// protocol the info fields and rules as "\key\value" pairs).
//
// Afterwards, when the record has no host name or the datagram was empty, the no-reply rule
// (catalogue::MarkUnanswered) is applied and false is returned; otherwise true.
// Players go into the record's player slots (made only when there are players to store); at most 128
// slots are written, and record.StoredPlayerCount() never exceeds 128.
bool parseReply(catalogue::ServerRecord& record,
                const uint8_t* data,
                size_t size,
                uint32_t kind,
                const catalogue::Catalogue& catalogue,
                RawReply* rawCopy);

// Copies a value into a field without colour codes: "^x" and "^^x" are dropped. The result is cut
// to the field and always terminated; a caret at the very end is dropped with what follows it.
void copyStripped(std::string_view value, char* field, size_t width);
template <size_t N>
void copyStripped(std::string_view value, char (&field)[N]) {
    copyStripped(value, field, N);
}

// Number of player lines of a Quake-III style reply text: the newlines after the one that ends the
// info line (searched from offset 19, 20 for kind 4). 0 when there is no such newline.
int countPlayerLines(uint32_t kind, std::string_view reply);

// Parses player line `lineNumber` (1 = the line after the info line) of a Quake-III style reply text
// into `slot`: `score ping "name"`, or `ping "name"` for kind 4. Fails for line numbers outside
// 1..min(128, countPlayerLines), for a line without its closing newline, a line over 254 characters,
// a missing space or a missing closing quote. A failed line may already have stored its score or
// ping; the name and viewMark change only on success.
bool parsePlayerLine(uint32_t kind, std::string_view reply, int lineNumber, catalogue::PlayerRecord& slot);

}  // namespace net
