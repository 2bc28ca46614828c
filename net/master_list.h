// Master server requests and the reading of master server list datagrams into a profile's servers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/records.h"

namespace net {

// Size of the master receive buffer: no list datagram is read beyond it.
constexpr size_t kMasterBufferSize = 8192;
// A Quake-III style list datagram of this size or less holds no list.
constexpr size_t kMasterHeaderLimit = 24;
// Where the lists start: the Elite Force hexadecimal list, the byte lists of the other Quake-III
// style games, and the records of a Half-Life batch (after its 4-byte batch identifier at 6..9).
constexpr size_t kHexListStart = 23;
constexpr size_t kByteListStart = 22;
// Masters of today may end the header with up to this many line feed, NUL or blank bytes before the
// list (JK2MV's master sends "getserversResponse\n\0"); they are passed over.
constexpr size_t kMasterHeaderPadding = 2;
constexpr size_t kHalfLifeBatchIdOffset = 6;
constexpr size_t kHalfLifeRecordStart = 10;
constexpr size_t kHalfLifeRecordSize = 6;

// A request datagram (at most 256 bytes; Quake-III requests carry no terminating zero).
struct MasterRequest {
    uint8_t bytes[256] = {};
    size_t size = 0;
};

// The first request of an attempt for a game kind and protocol number:
//   kinds 0, 1, 5: FF FF FF FF "getservers <protocol> empty full"
//   kind 3:        the same, with "demo" joined to "full" when the protocol is 55
//   kind 6:        FF FF FF FF "getservers <protocol> DEMOSOF2" for protocol 2001, else "... SOF2FULL"
//   kind 2:        "e" and the batch identifier 0 (5 bytes)
//   kinds 4, 7, 8 and unknown kinds: an empty datagram
MasterRequest BuildMasterRequest(uint32_t kind, uint32_t protocol);
// The Half-Life continuation request: "e" followed by the 4 identifier bytes as they came.
MasterRequest BuildHalfLifeRequest(const uint8_t batchId[4]);

// One server address of a list: the four address bytes (first number first) and the port.
struct MasterEntry {
    uint8_t octets[4] = {};
    uint16_t port = 0;
};

// What one list datagram held. Entries with an address byte above 254 are left out and counted in
// `skipped`. `taken` is false when the datagram was too short to hold a list.
struct MasterListReply {
    std::vector<MasterEntry> entries;
    uint32_t skipped = 0;
    bool taken = false;
    bool endMarker = false;   // a Quake-III "\EOT" end marker ended the list
    uint8_t batchId[4] = {};  // Half-Life: the next batch identifier (zero when absent)
    bool HasNextBatch() const { return batchId[0] | batchId[1] | batchId[2] | batchId[3]; }
};

// Elite Force (kind 0): from byte 23 (or after the header's padding) of a datagram longer than 24
// bytes, entries of a backslash and 12 hexadecimal digits (either case): address bytes, port high
// byte, port low byte. The list ends at the first position without a backslash, at an entry that is
// not 12 hexadecimal digits (such as the "\EOT" end marker) and at an entry that runs past the datagram.
MasterListReply ReadHexList(const uint8_t* data, size_t size);
// Other Quake-III style games (kinds 1, 3, 5, 6): from byte 22 (or after the header's padding) of a
// datagram longer than 24 bytes, entries of a backslash and 6 bytes (address, port high, port low).
// The list ends at the first position without a backslash, at an entry that runs past the datagram,
// and at the "\EOT" end marker (a backslash, "EOT" and nothing but zero bytes up to the entry's
// size), which is never read as an address.
MasterListReply ReadByteList(const uint8_t* data, size_t size);
// Half-Life batch (kind 2): identifier at bytes 6..9, then 6-byte records from byte 10 (address,
// port high, port low). Record n is read only when 6 x (n + 1) is less than the record area's length,
// so an area of 12 bytes yields one record, 13 bytes two, 6 bytes or less none.
MasterListReply ReadHalfLifeBatch(const uint8_t* data, size_t size);
// The reader of a game kind (an empty reply for kinds without a master list).
MasterListReply ReadMasterReply(uint32_t kind, const uint8_t* data, size_t size);

// Offers each entry to catalogue::findOrCreateServer with the dotted address text, port, host port
// = port, the address bytes and isFavourite 0. Returns how many new records were appended; an address
// and port already in the list (address text compared ignoring case) leave its record unchanged.
// Nothing is appended once the list holds `limit` servers. Masters that list a query port give the
// game port `gamePortBelow` under it (until the server's status names its own).
uint32_t MergeMasterEntries(catalogue::ServerList& servers,
                            const std::vector<MasterEntry>& entries,
                            uint32_t limit = UINT32_MAX,
                            uint16_t gamePortBelow = 0);

}  // namespace net
