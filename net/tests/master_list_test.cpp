// Tests of master requests and the three master list formats at their boundaries.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_list.h"

namespace {

using net::MasterEntry;
using net::MasterListReply;

std::string RequestText(const net::MasterRequest& r) {
    return std::string(reinterpret_cast<const char*>(r.bytes), r.size);
}

const std::string kQuake3Header = "\xFF\xFF\xFF\xFFgetserversResponse";  // 22 bytes
const std::string kEliteHeader = kQuake3Header + "\n";                   // 23 bytes

std::string ByteEntry(int a, int b, int c, int d, int port) {
    return std::string{'\\', char(a), char(b), char(c), char(d), char(port >> 8), char(port & 0xFF)};
}

std::string HexEntry(int a, int b, int c, int d, int port, bool upper = false) {
    char text[16];
    std::snprintf(text, sizeof text, upper ? "\\%02X%02X%02X%02X%02X%02X" : "\\%02x%02x%02x%02x%02x%02x", a, b, c, d,
                  port >> 8, port & 0xFF);
    return text;
}

std::string HalfLifeBatch(uint32_t id, const std::vector<std::pair<std::string, int>>& servers, size_t trailer) {
    std::string d =
        "\xFF\xFF\xFF\xFF"
        "f\n";
    for (int i = 0; i < 4; ++i)
        d += char(id >> (8 * i));
    for (const auto& [address, port] : servers) {
        int a, b, c, e;
        std::sscanf(address.c_str(), "%d.%d.%d.%d", &a, &b, &c, &e);
        d += std::string{char(a), char(b), char(c), char(e), char(port >> 8), char(port & 0xFF)};
    }
    return d + std::string(trailer, '\0');
}

MasterListReply Read(uint32_t kind, const std::string& datagram) {
    std::vector<uint8_t> d(datagram.begin(), datagram.end());  // exactly the datagram
    return net::ReadMasterReply(kind, d.data(), d.size());
}

std::string Dotted(const MasterEntry& e) {
    return std::to_string(e.octets[0]) + "." + std::to_string(e.octets[1]) + "." + std::to_string(e.octets[2]) + "." +
           std::to_string(e.octets[3]) + ":" + std::to_string(e.port);
}

TEST(MasterRequestTest, QuakeStyleRequestsByKind) {
    const std::string ff = "\xFF\xFF\xFF\xFF";
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kEliteForce, 24)), ff + "getservers 24 empty full");
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kQuake3, 68)), ff + "getservers 68 empty full");
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kJediKnight2, 16)), ff + "getservers 16 empty full");
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kWolfenstein, 55)), ff + "getservers 55 empty fulldemo");
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kWolfenstein, 57)), ff + "getservers 57 empty full");
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kSoldierOfFortune2, 2001)),
              ff + "getservers 2001 DEMOSOF2");
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kSoldierOfFortune2, 2004)),
              ff + "getservers 2004 SOF2FULL");
}

TEST(MasterRequestTest, HalfLifeAndGamesWithoutMaster) {
    EXPECT_EQ(RequestText(net::BuildMasterRequest(catalogue::kHalfLife, 46)), std::string("e\0\0\0\0", 5));
    const uint8_t id[4] = {0x12, 0x00, 0xFF, 0x80};
    EXPECT_EQ(RequestText(net::BuildHalfLifeRequest(id)), std::string("e\x12\x00\xFF\x80", 5));
    EXPECT_EQ(net::BuildMasterRequest(catalogue::kMedalOfHonour, 8).size, 0u);
    EXPECT_EQ(net::BuildMasterRequest(catalogue::kUnrealTournament, 0).size, 0u);
    EXPECT_EQ(net::BuildMasterRequest(catalogue::kRenegade, 0).size, 0u);
    EXPECT_EQ(net::BuildMasterRequest(42, 0).size, 0u);
}

TEST(ByteListTest, TakenFromByte22OnlyWhenLongerThan24Bytes) {
    // 24 bytes: a header and the start of an entry, ignored.
    std::string exactly24 = kQuake3Header + "\\\x0A";
    ASSERT_EQ(exactly24.size(), 24u);
    EXPECT_FALSE(Read(catalogue::kQuake3, exactly24).taken);
    // 29 bytes: one whole entry.
    MasterListReply r = Read(catalogue::kQuake3, kQuake3Header + ByteEntry(10, 0, 0, 1, 27960));
    ASSERT_TRUE(r.taken);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(Dotted(r.entries[0]), "10.0.0.1:27960");
    // 25 bytes: taken, but the entry is cut off by the datagram's end and not read.
    std::string exactly25 = kQuake3Header + "\\\x0A\x0B";
    EXPECT_TRUE(Read(catalogue::kQuake3, exactly25).taken);
    EXPECT_TRUE(Read(catalogue::kQuake3, exactly25).entries.empty());
}

TEST(ByteListTest, EndMarkerEndsTheListAndIsNeverAnEntry) {
    std::string d =
        kQuake3Header + ByteEntry(1, 2, 3, 4, 5) + ByteEntry(6, 7, 8, 9, 10) + std::string("\\EOT\0\0\0", 7);
    MasterListReply r = Read(catalogue::kJediKnight2, d);
    EXPECT_TRUE(r.endMarker);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(Dotted(r.entries[1]), "6.7.8.9:10");
    // A marker cut short by the datagram's end, and one with garbage behind it: the list ends.
    EXPECT_TRUE(Read(catalogue::kQuake3, kQuake3Header + ByteEntry(1, 2, 3, 4, 5) + "\\EOT").endMarker);
    MasterListReply odd = Read(catalogue::kQuake3, kQuake3Header + ByteEntry(1, 2, 3, 4, 5) + "\\EOT\x01\x02\x03");
    EXPECT_FALSE(odd.endMarker);  // an address 69.79.84.1, port 0x0203, is an entry
    ASSERT_EQ(odd.entries.size(), 2u);
    EXPECT_EQ(Dotted(odd.entries[1]), "69.79.84.1:515");
}

TEST(ByteListTest, StopsAtTheFirstPositionWithoutBackslashAndSkips255) {
    std::string d = kQuake3Header + ByteEntry(255, 1, 2, 3, 27960) + ByteEntry(254, 1, 2, 3, 27960) +
                    ByteEntry(1, 255, 2, 3, 1) + ByteEntry(1, 2, 3, 255, 1) + "X" + ByteEntry(9, 9, 9, 9, 9);
    MasterListReply r = Read(catalogue::kSoldierOfFortune2, d);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(Dotted(r.entries[0]), "254.1.2.3:27960");
    EXPECT_EQ(r.skipped, 3u);
}

TEST(ByteListTest, ListMustStartAtByte22) {
    EXPECT_TRUE(Read(catalogue::kQuake3, kQuake3Header + "x" + ByteEntry(1, 2, 3, 4, 5)).entries.empty());
}

TEST(HexListTest, TakenFromByte23InEitherLetterCase) {
    std::string d = kEliteHeader + HexEntry(192, 168, 0, 171, 27960) + HexEntry(10, 250, 0, 15, 0xABCD, true) + "\\EOT";
    MasterListReply r = Read(catalogue::kEliteForce, d);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(Dotted(r.entries[0]), "192.168.0.171:27960");
    EXPECT_EQ(Dotted(r.entries[1]), "10.250.0.15:43981");
    EXPECT_TRUE(r.endMarker);
}

TEST(HexListTest, BoundariesAndMalformedEntries) {
    // No backslash at byte 23 (the byte-list position 22 holds one): nothing is taken.
    EXPECT_TRUE(Read(catalogue::kEliteForce, kQuake3Header + HexEntry(1, 2, 3, 4, 5)).entries.empty());
    std::string exactly24 = kEliteHeader + "\\";
    EXPECT_FALSE(Read(catalogue::kEliteForce, exactly24).taken);
    // An entry cut off by the datagram's end, and one with a non-hexadecimal digit, end the list.
    EXPECT_EQ(Read(catalogue::kEliteForce, kEliteHeader + HexEntry(1, 2, 3, 4, 5) + "\\0102030").entries.size(), 1u);
    EXPECT_EQ(Read(catalogue::kEliteForce,
                   kEliteHeader + HexEntry(1, 2, 3, 4, 5) + "\\0102030g0506" + HexEntry(7, 7, 7, 7, 7))
                  .entries.size(),
              1u);
    MasterListReply r =
        Read(catalogue::kEliteForce, kEliteHeader + HexEntry(255, 0, 0, 1, 1) + HexEntry(254, 0, 0, 1, 1));
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.skipped, 1u);
}

TEST(HalfLifeBatchTest, RecordAreaBoundaries) {
    const std::vector<std::pair<std::string, int>> two = {{"10.0.0.1", 27015}, {"10.0.0.2", 27016}};
    // Two records filling the area exactly (12 bytes): only the first is read.
    MasterListReply r12 = Read(catalogue::kHalfLife, HalfLifeBatch(0, two, 0));
    ASSERT_EQ(r12.entries.size(), 1u);
    EXPECT_EQ(Dotted(r12.entries[0]), "10.0.0.1:27015");
    // One byte more (13 bytes): both.
    MasterListReply r13 = Read(catalogue::kHalfLife, HalfLifeBatch(0, two, 1));
    ASSERT_EQ(r13.entries.size(), 2u);
    EXPECT_EQ(Dotted(r13.entries[1]), "10.0.0.2:27016");
    // 6 bytes or less: none.
    EXPECT_TRUE(Read(catalogue::kHalfLife, HalfLifeBatch(0, {{"10.0.0.1", 1}}, 0)).entries.empty());
    EXPECT_TRUE(Read(catalogue::kHalfLife, HalfLifeBatch(0, {}, 3)).entries.empty());
    EXPECT_EQ(Read(catalogue::kHalfLife, HalfLifeBatch(0, {{"10.0.0.1", 1}}, 1)).entries.size(), 1u);
}

TEST(HalfLifeBatchTest, BatchIdentifierAndSkippedAddresses) {
    MasterListReply r = Read(catalogue::kHalfLife, HalfLifeBatch(0x80FF0001, {{"255.0.0.1", 1}, {"254.0.0.1", 2}}, 1));
    EXPECT_TRUE(r.HasNextBatch());
    EXPECT_EQ(r.batchId[0], 0x01);
    EXPECT_EQ(r.batchId[3], 0x80);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.skipped, 1u);
    EXPECT_FALSE(Read(catalogue::kHalfLife, HalfLifeBatch(0, {}, 0)).HasNextBatch());
    // A datagram too short to hold the identifier has what it holds of it; the bytes it lacks are zero.
    EXPECT_FALSE(Read(catalogue::kHalfLife, std::string("\xFF\xFF\xFF\xFF"
                                                        "f\n",
                                                        6))
                     .HasNextBatch());
    MasterListReply partial = Read(catalogue::kHalfLife, std::string("\xFF\xFF\xFF\xFF"
                                                                     "f\n\x01",
                                                                     7));
    EXPECT_TRUE(partial.HasNextBatch());
    EXPECT_EQ(partial.batchId[1], 0);
    EXPECT_TRUE(Read(catalogue::kHalfLife, std::string("\xFF\xFF\xFF\xFF"
                                                       "f\n\x00\x00\x00\x01",
                                                       10))
                    .HasNextBatch());
    EXPECT_FALSE(Read(catalogue::kHalfLife, "").HasNextBatch());
}

TEST(MasterMergeTest, DuplicatesAndLetterCaseMergeIntoOneRecord) {
    catalogue::ServerList list;
    catalogue::findOrCreateServer(list, catalogue::MakeServerTemplate("10.0.0.1", 27960));
    list.head->livesLeft = 2;
    base::CopyText(list.head->hostName, "Known");
    // A hand-entered address that differs only in letter case from what a list gives.
    catalogue::ServerTemplate named = catalogue::MakeServerTemplate("MyHost", 1);
    catalogue::findOrCreateServer(list, named);

    std::vector<MasterEntry> entries(4);
    entries[0] = MasterEntry{{10, 0, 0, 1}, 27960};  // already there
    entries[1] = MasterEntry{{10, 0, 0, 2}, 27960};
    entries[2] = MasterEntry{{10, 0, 0, 2}, 27960};  // twice in the same reply
    entries[3] = MasterEntry{{10, 0, 0, 2}, 27961};  // same address, other port
    EXPECT_EQ(net::MergeMasterEntries(list, entries), 2u);
    EXPECT_EQ(list.count, 4u);
    EXPECT_STREQ(list.head->hostName, "Known");  // the existing record stays unchanged
    EXPECT_EQ(list.head->livesLeft, 2);
    catalogue::ServerRecord* added = list.Find("10.0.0.2", 27960);
    ASSERT_NE(added, nullptr);
    EXPECT_STREQ(added->hostName, "~ New Server!");
    EXPECT_EQ(added->hostPort, 27960u);
    EXPECT_EQ(added->addressOctets[3], 2u);
    EXPECT_EQ(added->isFavourite, 0u);
    EXPECT_EQ(added->refreshPending, 1u);
    EXPECT_EQ(added->ping, catalogue::kNoPing);
    EXPECT_NE(list.Find("myhost", 1), nullptr);
    // The second datagram of a list repeats an entry: nothing new.
    EXPECT_EQ(net::MergeMasterEntries(list, {entries[1]}), 0u);
}

}  // namespace
