// Tests of Half-Life style status replies: the "m" details and "D" players byte layouts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/status_parser.h"

namespace {

using catalogue::ServerRecord;

// Builds a datagram field by field.
struct Datagram {
    std::vector<uint8_t> bytes;
    Datagram& Header(char type) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(0xFF);
        bytes.push_back(static_cast<uint8_t>(type));
        return *this;
    }
    Datagram& Str(const std::string& s) {
        for (char c : s)
            bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(0);
        return *this;
    }
    Datagram& Byte(uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    Datagram& I32(int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Datagram& Player(uint8_t index, const std::string& name, int32_t frags) {
        return Byte(index).Str(name).I32(frags).I32(0x42C80000);  // connection time, a float
    }
};

Datagram Details(const std::string& name, const std::string& map, const std::string& folder) {
    Datagram d;
    d.Header('m').Str("10.2.0.1:27015").Str(name).Str(map).Str(folder).Str("Counter-Strike");
    return d;
}

class HalfLifeParserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        base::CopyText(record.addressText, "10.2.0.1");
        base::CopyText(record.hostName, "~ New Server!");
    }
    bool Parse(const Datagram& d, net::RawReply* raw = nullptr) {
        std::vector<uint8_t> copy = d.bytes;  // exactly the datagram's size
        return net::parseReply(record, copy.data(), copy.size(), catalogue::kHalfLife, cat, raw);
    }
    catalogue::Catalogue cat;
    ServerRecord record;
};

TEST_F(HalfLifeParserTest, DetailsReplyFillsTheRecord) {
    Datagram d = Details("^1CS Lab", "de_dust2", "cstrike");
    d.Byte(12).Byte(20).Byte(46).Byte('d').Byte('l').Byte(1).Byte(1).Str("http://cs.example").Str("http://dl");
    net::RawReply raw;
    ASSERT_TRUE(Parse(d, &raw));
    EXPECT_STREQ(record.hostName, "^1CS Lab");
    EXPECT_STREQ(record.mapName, "de_dust2");
    EXPECT_STREQ(record.gameName, "cstrike");
    EXPECT_STREQ(record.modDisplay, "Counter Strike");
    EXPECT_EQ(record.modIndex, 2u);
    EXPECT_EQ(record.playerCount, 12);
    EXPECT_EQ(record.maxPlayers, 20);
    EXPECT_EQ(record.protocolVersion, 46u);
    EXPECT_EQ(record.dedicated, 'd');
    EXPECT_EQ(record.serverOs, 'l');
    EXPECT_STREQ(record.passwordText, "1");
    EXPECT_EQ(record.isMod, 1);
    EXPECT_STREQ(record.webAddress, "http://cs.example");
    EXPECT_EQ(record.pure, 1);  // details received
    EXPECT_EQ(raw.size, d.bytes.size());
    EXPECT_EQ(memcmp(raw.bytes, d.bytes.data(), d.bytes.size()), 0);
}

TEST_F(HalfLifeParserTest, NoModClearsTheWebAddressAndZeroPasswordByteIsZero) {
    base::CopyText(record.webAddress, "http://old");
    Datagram d = Details("Valve", "crossfire", "VALVE");
    d.Byte(0).Byte(16).Byte(46).Byte('l').Byte('w').Byte(0).Byte(0);
    ASSERT_TRUE(Parse(d));
    EXPECT_STREQ(record.webAddress, "");
    EXPECT_STREQ(record.passwordText, "0");
    EXPECT_STREQ(record.modDisplay, "Half Life");  // the folder is compared ignoring case
}

TEST_F(HalfLifeParserTest, FieldsPastTheDatagramReadAsZero) {
    record.maxPlayers = 30;
    record.isMod = 1;
    Datagram d = Details("Short", "map", "tfc");
    d.Byte(5);  // the datagram ends after the player count
    ASSERT_TRUE(Parse(d));
    EXPECT_EQ(record.playerCount, 5);
    EXPECT_EQ(record.maxPlayers, 0);
    EXPECT_EQ(record.isMod, 0);
    EXPECT_STREQ(record.passwordText, "0");
}

TEST_F(HalfLifeParserTest, UnterminatedStringsStayInsideTheDatagram) {
    Datagram d;
    d.Header('m').Str("addr");
    std::string name(4096, '\xF0');
    d.bytes.insert(d.bytes.end(), name.begin(), name.end());  // no terminator, nothing after it
    ASSERT_TRUE(Parse(d));
    EXPECT_EQ(strlen(record.hostName), 149u);
    EXPECT_STREQ(record.mapName, "");
    EXPECT_EQ(record.playerCount, 0);
}

TEST_F(HalfLifeParserTest, DetailsWithEmptyNameCountAsNoReply) {
    Datagram d = Details("", "map", "cstrike");
    d.Byte(1).Byte(2).Byte(3).Byte(4).Byte(5).Byte(0).Byte(0);
    record.livesLeft = 5;
    EXPECT_FALSE(Parse(d));
    EXPECT_STREQ(record.hostName, "~ 10.2.0.1");
    EXPECT_EQ(record.livesLeft, 4);
}

TEST_F(HalfLifeParserTest, PlayersReply) {
    Datagram d;
    d.Header('D').Byte(3).Player(1, "^2Gordon", 15).Player(7, std::string(60, 'g'), -4).Player(9, "", 0);
    record.players()[0].ping = 77;
    ASSERT_TRUE(Parse(d));              // the name from before stays
    EXPECT_EQ(record.captureLimit, 1);  // players received
    EXPECT_EQ(record.playerCount, 3);
    EXPECT_STREQ(record.PlayerAt(0)->name, "^2Gordon");
    EXPECT_EQ(record.PlayerAt(0)->number, 1);
    EXPECT_EQ(record.PlayerAt(0)->score, 15);
    EXPECT_EQ(record.PlayerAt(0)->ping, 0);
    EXPECT_EQ(strlen(record.PlayerAt(1)->name), 49u);
    EXPECT_EQ(record.PlayerAt(1)->score, -4);
    EXPECT_EQ(record.PlayerAt(1)->number, 7);
    EXPECT_STREQ(record.hostName, "~ New Server!");
}

TEST_F(HalfLifeParserTest, ZeroPlayersStoresNothing) {
    Datagram d;
    d.Header('D').Byte(0);
    record.playerCount = 4;
    ASSERT_TRUE(Parse(d));
    EXPECT_EQ(record.playerCount, 0);
    EXPECT_FALSE(record.HasPlayerSlots());
}

TEST_F(HalfLifeParserTest, TruncatedPlayersReplyCountsOnlyWholeEntries) {
    Datagram d;
    d.Header('D').Byte(5).Player(1, "one", 1).Player(2, "two", 2).Byte(3).Str("thr");  // third entry cut
    ASSERT_TRUE(Parse(d));
    EXPECT_EQ(record.playerCount, 2);
    EXPECT_STREQ(record.PlayerAt(1)->name, "two");
}

TEST_F(HalfLifeParserTest, EntriesBeyond128AreReadButNotStored) {
    Datagram d;
    d.Header('D').Byte(200);
    for (int i = 0; i < 200; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "p%d", i);
        d.Player(static_cast<uint8_t>(i), name, i);
    }
    ASSERT_TRUE(Parse(d));
    EXPECT_EQ(record.playerCount, 200);
    EXPECT_EQ(record.StoredPlayerCount(), 128);
    EXPECT_STREQ(record.PlayerAt(127)->name, "p127");
}

TEST_F(HalfLifeParserTest, OtherTypeBytesAndShortDatagramsChangeNothing) {
    base::CopyText(record.hostName, "Kept");
    record.pure = 0;
    record.captureLimit = 0;
    Datagram other;
    other.Header('l').Str("hello");
    EXPECT_TRUE(Parse(other));
    Datagram shortOne;
    shortOne.bytes = {0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(Parse(shortOne));
    Datagram typeOnly;
    typeOnly.Header('D');
    EXPECT_TRUE(Parse(typeOnly));  // a players reply with no count: no players
    EXPECT_STREQ(record.hostName, "Kept");
    EXPECT_EQ(record.pure, 0);
    EXPECT_EQ(record.playerCount, 0);
}

}  // namespace
