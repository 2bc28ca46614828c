// Status replies of the game server fixtures over loopback sockets, parsed as the program parses them.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/status_parser.h"
#include "testing/fixture_process.h"

namespace {

using testing_support::FixtureProcess;
using testing_support::LoopbackClient;

const std::string kPrefix = "\xFF\xFF\xFF\xFF";

class FixtureReplyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        base::CopyText(record.addressText, "127.10.3.1");
    }
    bool Parse(const std::vector<uint8_t>& d, uint32_t kind) {
        return net::parseReply(record, d.data(), d.size(), kind, cat, nullptr);
    }
    catalogue::Catalogue cat;
    catalogue::ServerRecord record;
    LoopbackClient client;
};

TEST_F(FixtureReplyTest, QuakeThreeServerAnswersAfterItsDelay) {
    FixtureProcess server;
    ASSERT_TRUE(server.Start("quake3_fixture",
                             {"--bind", "127.10.3.1", "--quiet", "--delay-ms", "150", "--name", "^1Slow", "--gamename",
                              "baseq3", "--gametype", "4", "--player", "12:50:^2Alice", "--player", "3:0:Bot"}));
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.SendTo("127.10.3.1", server.port(), kPrefix + "getstatus"));
    std::vector<uint8_t> reply;
    ASSERT_TRUE(client.Receive(&reply, 3000));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
    ASSERT_TRUE(Parse(reply, catalogue::kQuake3));
    EXPECT_STREQ(record.hostName, "^1Slow");
    EXPECT_STREQ(record.modDisplay, "BaseQ3");
    EXPECT_STREQ(record.gameTypeDisplay, "CTF");
    ASSERT_EQ(record.StoredPlayerCount(), 2);
    EXPECT_STREQ(record.PlayerAt(0)->name, "^2Alice");
    EXPECT_EQ(record.PlayerAt(0)->score, 12);
    EXPECT_EQ(record.PlayerAt(0)->ping, 50);
}

TEST_F(FixtureReplyTest, SilentQuakeThreeServerNeverAnswers) {
    FixtureProcess server;
    ASSERT_TRUE(server.Start("quake3_fixture", {"--bind", "127.10.3.2", "--quiet", "--never"}));
    ASSERT_TRUE(client.SendTo("127.10.3.2", server.port(), kPrefix + "getstatus"));
    std::vector<uint8_t> reply;
    EXPECT_FALSE(client.Receive(&reply, 400));
    // At the cycle's close the empty buffer stands for the missing reply.
    base::CopyText(record.hostName, "Was here");
    EXPECT_FALSE(net::parseReply(record, nullptr, 0, catalogue::kQuake3, cat, nullptr));
    EXPECT_STREQ(record.hostName, "~ 127.10.3.1");
}

TEST_F(FixtureReplyTest, TypeByteRequestAndPingOnlyLines) {
    FixtureProcess server;
    ASSERT_TRUE(server.Start("quake3_fixture", {"--bind", "127.10.3.3", "--quiet", "--type-byte", "--name", "Allied",
                                                "--player", "0:75:Pvt. Ryan"}));
    ASSERT_TRUE(client.SendTo("127.10.3.3", server.port(), kPrefix + std::string("\x02getstatus\n\0", 11)));
    std::vector<uint8_t> reply;
    ASSERT_TRUE(client.Receive(&reply, 3000));
    ASSERT_TRUE(Parse(reply, catalogue::kMedalOfHonour));
    EXPECT_STREQ(record.hostName, "Allied");
    ASSERT_EQ(record.StoredPlayerCount(), 1);
    EXPECT_EQ(record.PlayerAt(0)->ping, 75);
    EXPECT_STREQ(record.PlayerAt(0)->name, "Pvt. Ryan");
}

TEST_F(FixtureReplyTest, GameSpyServerInOneAndInTwoDatagrams) {
    FixtureProcess server;
    ASSERT_TRUE(server.Start("gamespy_fixture", {"--bind", "127.10.3.4", "--quiet", "--name", "UT Lab", "--number-step",
                                                 "2", "--player", "Alice:5:40", "--player", "Bob:-1:90"}));
    ASSERT_TRUE(client.SendTo("127.10.3.4", server.port(), "\\status\\"));
    std::vector<uint8_t> reply;
    ASSERT_TRUE(client.Receive(&reply, 3000));
    ASSERT_TRUE(Parse(reply, catalogue::kUnrealTournament));
    EXPECT_STREQ(record.hostName, "UT Lab");
    EXPECT_EQ(record.hostPort, server.port() - 1u);
    EXPECT_STREQ(record.modDisplay, "UT");
    EXPECT_EQ(record.captureLimit, 2);
    EXPECT_EQ(record.PlayerAt(1)->number, 2);
    EXPECT_EQ(record.PlayerAt(1)->score, -1);
    EXPECT_EQ(record.PlayerAt(1)->ping, 90);

    FixtureProcess split;
    ASSERT_TRUE(split.Start("gamespy_fixture", {"--bind", "127.10.3.5", "--quiet", "--split", "--player", "Carol:1:1",
                                                "--player", "Dan:2:2"}));
    ASSERT_TRUE(client.SendTo("127.10.3.5", split.port(), "\\status\\"));
    std::vector<uint8_t> first, second;
    ASSERT_TRUE(client.Receive(&first, 3000));
    ASSERT_TRUE(client.Receive(&second, 3000));
    // Only the first datagram completes the record: the server's info, but none of its players.
    ASSERT_TRUE(Parse(first, catalogue::kUnrealTournament));
    EXPECT_STREQ(record.hostName, "GameSpy Lab");
    EXPECT_EQ(record.playerCount, 2);
    EXPECT_EQ(record.captureLimit, 0);
    EXPECT_STREQ(record.PlayerAt(0)->name, "");  // Alice of the earlier reply is gone
    EXPECT_NE(std::string(second.begin(), second.end()).find("player_1\\Dan"), std::string::npos);
}

TEST_F(FixtureReplyTest, HalfLifeServerDetailsAndPlayers) {
    FixtureProcess server;
    ASSERT_TRUE(server.Start(
        "halflife_fixture",
        {"--bind", "127.10.3.6", "--quiet", "--name", "CS Lab", "--map", "de_dust2", "--folder", "cstrike",
         "--password", "--mod-url", "http://cs.lab", "--max", "20", "--player", "Gordon:15", "--player", "Alyx:-2"}));
    ASSERT_TRUE(client.SendTo("127.10.3.6", server.port(), kPrefix + "details"));
    ASSERT_TRUE(client.SendTo("127.10.3.6", server.port(), kPrefix + "players"));
    std::vector<uint8_t> reply;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(client.Receive(&reply, 3000));
        ASSERT_TRUE(Parse(reply, catalogue::kHalfLife));
    }
    EXPECT_STREQ(record.hostName, "CS Lab");
    EXPECT_STREQ(record.mapName, "de_dust2");
    EXPECT_STREQ(record.modDisplay, "Counter Strike");
    EXPECT_EQ(record.maxPlayers, 20);
    EXPECT_TRUE(record.NeedsPassword());
    EXPECT_STREQ(record.webAddress, "http://cs.lab");
    EXPECT_EQ(record.pure, 1);
    EXPECT_EQ(record.captureLimit, 1);
    ASSERT_EQ(record.StoredPlayerCount(), 2);
    EXPECT_STREQ(record.PlayerAt(1)->name, "Alyx");
    EXPECT_EQ(record.PlayerAt(1)->score, -2);
    EXPECT_EQ(record.PlayerAt(1)->number, 2);
}

TEST(FixtureSafetyTest, FixturesRefuseNonLoopbackAddresses) {
    for (const char* name : {"quake3_fixture", "gamespy_fixture", "halflife_fixture", "master_fixture"}) {
        FixtureProcess fixture;
        EXPECT_FALSE(fixture.Start(name, {"--format", "q3", "--bind", "10.0.0.1"})) << name;
        FixtureProcess any;
        EXPECT_FALSE(any.Start(name, {"--format", "q3", "--bind", "0.0.0.0"})) << name;
    }
}

}  // namespace

#endif  // !_WIN32
