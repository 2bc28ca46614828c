// Tests of GameSpy style status reply parsing: server keys, player_N entries and the dispatch rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/status_parser.h"

namespace {

using catalogue::ServerRecord;

class GameSpyParserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        base::CopyText(record.addressText, "10.1.2.3");
        base::CopyText(record.hostName, "~ New Server!");
    }
    bool Parse(const std::string& reply, net::RawReply* raw = nullptr, uint32_t kind = catalogue::kUnrealTournament) {
        std::vector<uint8_t> d(reply.begin(), reply.end());
        return net::parseReply(record, d.data(), d.size(), kind, cat, raw);
    }
    catalogue::Catalogue cat;
    ServerRecord record;
};

TEST_F(GameSpyParserTest, ServerKeysGoToTheirFields) {
    record.privateSlots = 3;
    record.pure = 0;
    std::string reply =
        "\\gamename\\ut\\gamever\\^1436\\location\\0\\hostname\\^4UT Lab\\hostport\\7777\\mapname\\DM-Deck16]["
        "\\gametype\\DeathMatchPlus\\numplayers\\2\\maxplayers\\16\\password\\True\\timelimit\\20"
        "\\email\\admin@lab\\url\\http://lab\\player_0\\Alice\\frags_0\\5\\ping_0\\40"
        "\\player_1\\Bob\\frags_1\\-2\\ping_1\\90\\final\\\\queryid\\1.1";
    ASSERT_TRUE(Parse(reply));
    EXPECT_STREQ(record.hostName, "^4UT Lab");
    EXPECT_STREQ(record.gameName, "ut");
    EXPECT_STREQ(record.versionText, "436");
    EXPECT_STREQ(record.location, "0");
    EXPECT_STREQ(record.mapName, "DM-Deck16][");
    EXPECT_EQ(record.hostPort, 7777u);
    EXPECT_EQ(record.playerCount, 2);
    EXPECT_EQ(record.maxPlayers, 16);
    EXPECT_STREQ(record.passwordText, "True");
    EXPECT_TRUE(record.NeedsPassword());
    EXPECT_EQ(record.timeLimit, 20);
    EXPECT_STREQ(record.adminEmail, "admin@lab");
    EXPECT_STREQ(record.webAddress, "http://lab");
    EXPECT_EQ(record.pure, 1);
    EXPECT_EQ(record.privateSlots, 0);
    EXPECT_STREQ(record.modDisplay, "UT");
    EXPECT_STREQ(record.gameTypeDisplay, "Tournament Deathmatch");
    EXPECT_EQ(record.captureLimit, 2);  // player entries parsed
    ASSERT_EQ(record.StoredPlayerCount(), 2);
    EXPECT_STREQ(record.PlayerAt(0)->name, "Alice");
    EXPECT_EQ(record.PlayerAt(0)->score, 5);
    EXPECT_EQ(record.PlayerAt(0)->ping, 40);
    EXPECT_STREQ(record.PlayerAt(1)->name, "Bob");
    EXPECT_EQ(record.PlayerAt(1)->score, -2);
    EXPECT_EQ(record.PlayerAt(1)->number, 1);
}

TEST_F(GameSpyParserTest, GapsInPlayerNumbersFillConsecutiveSlots) {
    ASSERT_TRUE(Parse("\\hostname\\H\\numplayers\\2\\player_0\\Zero\\player_2\\Two\\frags_2\\9\\ping_2\\33"));
    ASSERT_EQ(record.captureLimit, 2);
    EXPECT_STREQ(record.PlayerAt(0)->name, "Zero");
    EXPECT_EQ(record.PlayerAt(0)->number, 0);
    EXPECT_STREQ(record.PlayerAt(1)->name, "Two");
    EXPECT_EQ(record.PlayerAt(1)->number, 2);
    EXPECT_EQ(record.PlayerAt(1)->score, 9);
    EXPECT_EQ(record.PlayerAt(1)->ping, 33);
}

TEST_F(GameSpyParserTest, PlayerOneDoesNotMatchPlayerTen) {
    ASSERT_TRUE(Parse("\\hostname\\H\\numplayers\\1\\player_10\\Ten\\frags_10\\4"));
    ASSERT_EQ(record.captureLimit, 1);
    EXPECT_STREQ(record.PlayerAt(0)->name, "Ten");
    EXPECT_EQ(record.PlayerAt(0)->number, 10);
    EXPECT_EQ(record.PlayerAt(0)->score, 4);
}

TEST_F(GameSpyParserTest, AbsentFragsAndPingLeaveTheSlotsOldValues) {
    record.players()[0].score = 17;
    record.players()[0].ping = 71;
    ASSERT_TRUE(Parse("\\hostname\\H\\numplayers\\1\\player_0\\New"));
    EXPECT_STREQ(record.PlayerAt(0)->name, "New");
    EXPECT_EQ(record.PlayerAt(0)->score, 17);
    EXPECT_EQ(record.PlayerAt(0)->ping, 71);
}

TEST_F(GameSpyParserTest, SlotsNotFilledByThisReplyAreEmptied) {
    ASSERT_TRUE(Parse("\\hostname\\H\\numplayers\\3\\player_0\\A\\player_1\\B\\player_2\\C"));
    ASSERT_EQ(record.StoredPlayerCount(), 3);
    // The next reply announces three players but carries only one (the rest would follow in further
    // datagrams): no name of the earlier reply may remain.
    ASSERT_TRUE(Parse("\\hostname\\H\\numplayers\\3\\player_0\\X"));
    EXPECT_EQ(record.captureLimit, 1);
    EXPECT_STREQ(record.PlayerAt(0)->name, "X");
    EXPECT_STREQ(record.PlayerAt(1)->name, "");
    EXPECT_STREQ(record.PlayerAt(2)->name, "");
}

TEST_F(GameSpyParserTest, NoPlayersNoSlots) {
    ASSERT_TRUE(Parse("\\hostname\\Empty\\numplayers\\0\\maxplayers\\8"));
    EXPECT_EQ(record.captureLimit, 0);
    EXPECT_FALSE(record.HasPlayerSlots());
}

TEST_F(GameSpyParserTest, WithoutHostnameTheInfoIsUntouchedButPlayersAreRead) {
    base::CopyText(record.hostName, "Known");
    base::CopyText(record.mapName, "oldmap");
    record.maxPlayers = 10;
    net::RawReply raw;
    raw.CopyFrom(reinterpret_cast<const uint8_t*>("old"), 3);
    ASSERT_TRUE(Parse("\\mapname\\newmap\\maxplayers\\2\\player_0\\Solo", &raw));  // the record keeps its name
    EXPECT_STREQ(record.mapName, "oldmap");
    EXPECT_EQ(record.maxPlayers, 10);
    EXPECT_STREQ(record.PlayerAt(0)->name, "Solo");
    EXPECT_EQ(raw.Text(), "old");  // no copy without a parsed info

    record.hostName[0] = '\0';  // a record whose name was cleared: the no-reply rule applies
    record.livesLeft = 5;
    EXPECT_FALSE(Parse("\\mapname\\newmap"));
    EXPECT_STREQ(record.hostName, "~ 10.1.2.3");
    EXPECT_EQ(record.livesLeft, 4);
}

TEST_F(GameSpyParserTest, RawCopyAfterAParsedInfo) {
    net::RawReply raw;
    std::string reply = "\\hostname\\Renegade Lab\\gamename\\ccrenegade\\gametype\\C&C";
    ASSERT_TRUE(Parse(reply, &raw, catalogue::kRenegade));
    EXPECT_EQ(raw.Text(), reply);
    EXPECT_STREQ(record.modDisplay, "C&C Renegade");
    EXPECT_STREQ(record.gameTypeDisplay, "C&C");
}

TEST_F(GameSpyParserTest, NeverMoreThan128Players) {
    std::string reply = "\\hostname\\Big\\numplayers\\200";
    for (int i = 0; i < 200; ++i)
        reply += "\\player_" + std::to_string(i) + "\\P" + std::to_string(i) + "\\frags_" + std::to_string(i) + "\\" +
                 std::to_string(i);
    ASSERT_TRUE(Parse(reply));
    EXPECT_EQ(record.captureLimit, 128);
    EXPECT_EQ(record.StoredPlayerCount(), 128);
    EXPECT_STREQ(record.PlayerAt(127)->name, "P127");
    EXPECT_EQ(record.PlayerAt(127)->score, 127);
}

TEST_F(GameSpyParserTest, LongPlayerNamesAreCut) {
    std::string name(4096, 'n');
    ASSERT_TRUE(Parse("\\hostname\\H\\player_0\\" + name));
    EXPECT_EQ(strlen(record.PlayerAt(0)->name), 49u);
}

}  // namespace
