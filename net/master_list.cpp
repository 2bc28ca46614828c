// Master server request datagrams and the three list formats of their replies.
#include "net/master_list.h"

#include <cstdio>
#include <cstring>

#include "base/text.h"
#include "catalogue/catalogue.h"

namespace net {

namespace {

constexpr uint8_t kQuake3Prefix[4] = {0xFF, 0xFF, 0xFF, 0xFF};

MasterRequest Quake3Request(const char* format, uint32_t protocol, const char* suffix) {
    MasterRequest r;
    std::memcpy(r.bytes, kQuake3Prefix, 4);
    char text[sizeof r.bytes - 4];
    int len = std::snprintf(text, sizeof text, format, protocol, suffix);
    size_t n = len < 0 ? 0 : static_cast<size_t>(len) < sizeof text ? static_cast<size_t>(len) : sizeof text - 1;
    std::memcpy(r.bytes + 4, text, n);
    r.size = 4 + n;
    return r;
}

// Where a list begins: at `start`, or after the line feed, NUL or blank bytes (two at most) with which
// some masters of today end the "getserversResponse" header before the first backslash.
size_t ListStart(const uint8_t* data, size_t size, size_t start) {
    size_t pos = start;
    auto padding = [](uint8_t c) { return c == '\n' || c == 0 || c == ' '; };
    while (pos < size && pos < start + kMasterHeaderPadding && padding(data[pos]))
        ++pos;
    return pos < size && data[pos] == '\\' ? pos : start;
}

// Adds an entry unless an address byte is 255.
void Offer(MasterListReply& reply, const uint8_t octets[4], uint8_t portHigh, uint8_t portLow) {
    if (octets[0] > 254 || octets[1] > 254 || octets[2] > 254 || octets[3] > 254) {
        ++reply.skipped;
        return;
    }
    MasterEntry e;
    std::memcpy(e.octets, octets, 4);
    e.port = static_cast<uint16_t>(portHigh * 256 + portLow);
    reply.entries.push_back(e);
}

// "\EOT" followed by zero bytes (or the datagram's end) where the rest of an entry would be.
bool IsEndMarker(const uint8_t* data, size_t size, size_t pos, size_t entrySize) {
    if (pos + 4 > size || std::memcmp(data + pos + 1, "EOT", 3) != 0)
        return false;
    for (size_t i = pos + 4; i < pos + entrySize && i < size; ++i) {
        if (data[i] != 0)
            return false;
    }
    return true;
}

}  // namespace

MasterRequest BuildMasterRequest(uint32_t kind, uint32_t protocol) {
    switch (kind) {
        case catalogue::kEliteForce:
        case catalogue::kQuake3:
        case catalogue::kJediKnight2:
        case catalogue::kOpenArena:
        case catalogue::kIoQuake3:
        case catalogue::kUrbanTerror:
        case catalogue::kEtLegacy:
            return Quake3Request("getservers %u empty full%s", protocol, "");
        case catalogue::kWolfenstein:
            return Quake3Request("getservers %u empty full%s", protocol, protocol == 55 ? "demo" : "");
        case catalogue::kSoldierOfFortune2:
            return Quake3Request("getservers %u %s", protocol, protocol == 2001 ? "DEMOSOF2" : "SOF2FULL");
        // DarkPlaces masters serve many games and are asked for one by name.
        case catalogue::kXonotic:
            return Quake3Request("getservers Xonotic %u empty full%s", protocol, "");
        case catalogue::kNexuiz:
            return Quake3Request("getservers Nexuiz %u empty full%s", protocol, "");
        case catalogue::kHalfLife: {
            const uint8_t first[4] = {0, 0, 0, 0};
            return BuildHalfLifeRequest(first);
        }
        default:
            return MasterRequest();
    }
}

MasterRequest BuildHalfLifeRequest(const uint8_t batchId[4]) {
    MasterRequest r;
    r.bytes[0] = 'e';
    std::memcpy(r.bytes + 1, batchId, 4);
    r.size = 5;
    return r;
}

MasterListReply ReadHexList(const uint8_t* data, size_t size) {
    MasterListReply reply;
    if (size <= kMasterHeaderLimit)
        return reply;
    reply.taken = true;
    constexpr size_t kEntry = 13;  // backslash and 12 digits
    for (size_t pos = ListStart(data, size, kHexListStart); pos < size && data[pos] == '\\'; pos += kEntry) {
        // "EOT" can never be hexadecimal digits, so whatever follows it the list ends there.
        if (pos + 4 <= size && std::memcmp(data + pos + 1, "EOT", 3) == 0) {
            reply.endMarker = true;
            break;
        }
        if (pos + kEntry > size)
            break;
        uint8_t bytes[6];
        bool valid = true;
        for (int i = 0; i < 6 && valid; ++i) {
            int hi = base::HexDigitValue(static_cast<char>(data[pos + 1 + 2 * i]));
            int lo = base::HexDigitValue(static_cast<char>(data[pos + 2 + 2 * i]));
            valid = hi >= 0 && lo >= 0;
            bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
        }
        if (!valid)
            break;
        Offer(reply, bytes, bytes[4], bytes[5]);
    }
    return reply;
}

MasterListReply ReadByteList(const uint8_t* data, size_t size) {
    MasterListReply reply;
    if (size <= kMasterHeaderLimit)
        return reply;
    reply.taken = true;
    constexpr size_t kEntry = 7;  // backslash and 6 bytes
    for (size_t pos = ListStart(data, size, kByteListStart); pos < size && data[pos] == '\\'; pos += kEntry) {
        if (IsEndMarker(data, size, pos, kEntry)) {
            reply.endMarker = true;
            break;
        }
        if (pos + kEntry > size)
            break;
        Offer(reply, data + pos + 1, data[pos + 5], data[pos + 6]);
    }
    return reply;
}

MasterListReply ReadHalfLifeBatch(const uint8_t* data, size_t size) {
    MasterListReply reply;
    reply.taken = true;
    for (size_t i = 0; i < 4; ++i) {
        size_t at = kHalfLifeBatchIdOffset + i;
        reply.batchId[i] = at < size ? data[at] : 0;
    }
    size_t area = size > kHalfLifeRecordStart ? size - kHalfLifeRecordStart : 0;
    // A record is read only while at least one more byte of the datagram follows it.
    for (size_t n = 0; kHalfLifeRecordSize * (n + 1) < area; ++n) {
        const uint8_t* rec = data + kHalfLifeRecordStart + kHalfLifeRecordSize * n;
        Offer(reply, rec, rec[4], rec[5]);
    }
    return reply;
}

MasterListReply ReadMasterReply(uint32_t kind, const uint8_t* data, size_t size) {
    switch (catalogue::ProtocolKindOf(kind)) {
        case catalogue::kEliteForce:
            return ReadHexList(data, size);
        case catalogue::kQuake3:
        case catalogue::kWolfenstein:
        case catalogue::kJediKnight2:
        case catalogue::kSoldierOfFortune2:
            return ReadByteList(data, size);
        case catalogue::kHalfLife:
            return ReadHalfLifeBatch(data, size);
        default:
            return MasterListReply();
    }
}

uint32_t MergeMasterEntries(catalogue::ServerList& servers,
                            const std::vector<MasterEntry>& entries,
                            uint32_t limit,
                            uint16_t gamePortBelow) {
    uint32_t added = 0;
    for (const MasterEntry& e : entries) {
        if (servers.count >= limit)
            break;
        catalogue::ServerTemplate t;
        base::FormatText(t.addressText, sizeof t.addressText, "%d.%d.%d.%d", e.octets[0], e.octets[1], e.octets[2],
                         e.octets[3]);
        t.port = e.port;
        t.hostPort = e.port > gamePortBelow ? e.port - gamePortBelow : e.port;
        for (int i = 0; i < 4; ++i)
            t.addressOctets[i] = e.octets[i];
        t.isFavourite = 0;
        if (!catalogue::findOrCreateServer(servers, t))
            ++added;
    }
    return added;
}

}  // namespace net
