// Tests of master requests, the three master list formats at their boundaries, and merging into a list.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_list.h"

namespace {

using namespace catalogue;

std::string Text(const net::MasterRequest& r) {
    return std::string(reinterpret_cast<const char*>(r.bytes), r.size);
}

const std::string kFF = "\xFF\xFF\xFF\xFF";
const std::string kByteHeader = kFF + "getserversResponse";  // 22 bytes
const std::string kHexHeader = kByteHeader + "\n";           // 23 bytes

std::string Entry(int a, int b, int c, int d, int port) {
    return std::string{'\\', char(a), char(b), char(c), char(d), char(port >> 8), char(port & 0xFF)};
}
std::string Hex(int a, int b, int c, int d, int port, const char* format = "\\%02x%02x%02x%02x%02x%02x") {
    char text[16];
    std::snprintf(text, sizeof text, format, a, b, c, d, port >> 8, port & 0xFF);
    return text;
}
// A Half-Life batch: "f\n", the next batch's identifier, 6-byte records, then `trailer` zero bytes.
std::string Batch(uint32_t id, int records, size_t trailer, int first = 1) {
    std::string d = kFF + "f\n";
    for (int i = 0; i < 4; ++i)
        d += char(id >> (8 * i));
    for (int i = 0; i < records; ++i)
        d += std::string{10, 0, 0, char(first + i), 0x69, char(0x87)};  // port 27015
    return d + std::string(trailer, '\0');
}

TEST(MasterRequests, QuakeStyleByKindAndProtocolHalfLifeByBatchNoneForTheOthers) {
    const std::tuple<uint32_t, uint32_t, std::string> rows[] = {
        {kEliteForce, 24, kFF + "getservers 24 empty full"},
        {kQuake3, 68, kFF + "getservers 68 empty full"},
        {kJediKnight2, 16, kFF + "getservers 16 empty full"},
        {kWolfenstein, 55, kFF + "getservers 55 empty fulldemo"},
        {kWolfenstein, 57, kFF + "getservers 57 empty full"},
        {kSoldierOfFortune2, 2001, kFF + "getservers 2001 DEMOSOF2"},
        {kSoldierOfFortune2, 2004, kFF + "getservers 2004 SOF2FULL"},
        {kHalfLife, 46, std::string("e\0\0\0\0", 5)},
        {kMedalOfHonour, 8, ""},
        {kUnrealTournament, 0, ""},
        {kRenegade, 0, ""},
        {42, 0, ""}};
    for (auto [kind, protocol, request] : rows)
        EXPECT_EQ(Text(net::BuildMasterRequest(kind, protocol)), request) << kind << " " << protocol;
    const uint8_t id[4] = {0x12, 0x00, 0xFF, 0x80};
    EXPECT_EQ(Text(net::BuildHalfLifeRequest(id)), std::string("e\x12\x00\xFF\x80", 5));
}

TEST(MasterLists, EveryFormatAtItsBoundaries) {
    // Kind, datagram, then what was read: "taken end-marker skipped [batch id]:" and the entries.
    const std::tuple<uint32_t, std::string, std::string> rows[] = {
        {kQuake3, kByteHeader + "\\\x0A", "0 0 0:"},  // 24 bytes hold no list
        {kQuake3, kByteHeader + Entry(10, 0, 0, 1, 27960), "1 0 0: 10.0.0.1:27960"},
        {kQuake3, kByteHeader + "\\\x0A\x0B", "1 0 0:"},  // an entry cut off by the end is not read
        {kJediKnight2, kByteHeader + Entry(1, 2, 3, 4, 5) + Entry(6, 7, 8, 9, 10) + std::string("\\EOT\0\0\0", 7),
         "1 1 0: 1.2.3.4:5 6.7.8.9:10"},
        {kQuake3, kByteHeader + Entry(1, 2, 3, 4, 5) + "\\EOT", "1 1 0: 1.2.3.4:5"},  // a marker cut short
        {kQuake3, kByteHeader + Entry(1, 2, 3, 4, 5) + "\\EOT\x01\x02\x03", "1 0 0: 1.2.3.4:5 69.79.84.1:515"},
        {kSoldierOfFortune2,
         kByteHeader + Entry(255, 1, 2, 3, 1) + Entry(254, 1, 2, 3, 27960) + Entry(1, 255, 2, 3, 1) +
             Entry(1, 2, 3, 255, 1) + "X" + Entry(9, 9, 9, 9, 9),
         "1 0 3: 254.1.2.3:27960"},  // no address byte above 254; the list ends without a backslash
        {kWolfenstein, kByteHeader + "x" + Entry(1, 2, 3, 4, 5), "1 0 0:"},  // the list starts at byte 22
        {kEliteForce,
         kHexHeader + Hex(192, 168, 0, 171, 27960) + Hex(10, 250, 0, 15, 0xABCD, "\\%02X%02X%02X%02X%02X%02X") +
             "\\EOT",
         "1 1 0: 192.168.0.171:27960 10.250.0.15:43981"},
        {kEliteForce, kByteHeader + Hex(1, 2, 3, 4, 5), "1 0 0:"},  // the hex list starts at byte 23
        {kEliteForce, kHexHeader + "\\", "0 0 0:"},
        {kEliteForce, kHexHeader + Hex(1, 2, 3, 4, 5) + "\\0102030", "1 0 0: 1.2.3.4:5"},
        {kEliteForce, kHexHeader + Hex(1, 2, 3, 4, 5) + "\\0102030g0506" + Hex(7, 7, 7, 7, 7), "1 0 0: 1.2.3.4:5"},
        {kEliteForce, kHexHeader + Hex(255, 0, 0, 1, 1) + Hex(254, 0, 0, 1, 1), "1 0 1: 254.0.0.1:1"},
        // A Half-Life record is read only while at least one more byte of the datagram follows it.
        {kHalfLife, Batch(0, 2, 0), "1 0 0 00000000: 10.0.0.1:27015"},
        {kHalfLife, Batch(0, 2, 1), "1 0 0 00000000: 10.0.0.1:27015 10.0.0.2:27015"},
        {kHalfLife, Batch(0, 1, 0), "1 0 0 00000000:"},
        {kHalfLife, Batch(0, 0, 3), "1 0 0 00000000:"},
        {kHalfLife, Batch(0x80FF0001, 1, 1, 255), "1 0 1 0100ff80:"},
        {kHalfLife, kFF + "f\n\x01", "1 0 0 01000000:"},  // what the datagram holds of the identifier
        {kHalfLife, "", "1 0 0 00000000:"},
        {kMedalOfHonour, kByteHeader + Entry(1, 2, 3, 4, 5), "0 0 0:"},
        {kUnrealTournament, kByteHeader + Entry(1, 2, 3, 4, 5), "0 0 0:"},
    };
    for (auto [kind, datagram, expected] : rows) {
        std::vector<uint8_t> d(datagram.begin(), datagram.end());  // exactly the datagram
        net::MasterListReply r = net::ReadMasterReply(kind, d.data(), d.size());
        char head[40];
        std::snprintf(head, sizeof head, "%d %d %u", r.taken, r.endMarker, r.skipped);
        std::string read = head;
        if (kind == kHalfLife) {
            std::snprintf(head, sizeof head, " %02x%02x%02x%02x", r.batchId[0], r.batchId[1], r.batchId[2],
                          r.batchId[3]);
            read += head;
            EXPECT_EQ(r.HasNextBatch(), read.substr(read.size() - 8) != "00000000");
        }
        read += ":";
        for (const net::MasterEntry& e : r.entries) {
            std::snprintf(head, sizeof head, " %u.%u.%u.%u:%u", e.octets[0], e.octets[1], e.octets[2], e.octets[3],
                          e.port);
            read += head;
        }
        EXPECT_EQ(read, expected) << kind << ": " << datagram.size() << " bytes";
    }
}

TEST(MasterLists, MergeAddsNewAddressesOnceAndLeavesKnownRecordsAlone) {
    ServerList list;
    findOrCreateServer(list, MakeServerTemplate("10.0.0.1", 27960));
    list.head->livesLeft = 2;
    base::CopyText(list.head->hostName, "Known");
    findOrCreateServer(list, MakeServerTemplate("MyHost", 1));  // hand-entered, in another letter case
    const std::vector<net::MasterEntry> entries = {
        {{10, 0, 0, 1}, 27960}, {{10, 0, 0, 2}, 27960}, {{10, 0, 0, 2}, 27960}, {{10, 0, 0, 2}, 27961}};
    EXPECT_EQ(net::MergeMasterEntries(list, entries), 2u);  // known, new, twice in one reply, another port
    EXPECT_EQ(list.count, 4u);
    EXPECT_EQ(std::tuple(std::string(list.head->hostName), list.head->livesLeft), std::tuple(std::string("Known"), 2));
    const ServerRecord* added = list.Find("10.0.0.2", 27960);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(std::tuple(std::string(added->hostName), added->hostPort, added->addressOctets[3], added->isFavourite,
                         added->refreshPending, added->ping, added->livesLeft),
              std::tuple(std::string("~ New Server!"), 27960u, 2u, 0u, 1u, kNoPing, kFreshLives));
    EXPECT_NE(list.Find("myhost", 1), nullptr);
    EXPECT_EQ(net::MergeMasterEntries(list, {entries[1]}), 0u);  // a later datagram repeats an entry
}

}  // namespace
