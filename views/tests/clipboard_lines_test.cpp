// Byte-for-byte tests of the clipboard lines of the server, player and buddy panes.
#include <gtest/gtest.h>

#include <cstring>

#include "base/text.h"
#include "views/clipboard_lines.h"

namespace {

using namespace views;

class ClipboardLinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        base::CopyText(server.hostName, "^2Lab");
        base::CopyText(server.addressText, "10.0.0.1");
        server.port = 27960;
        base::CopyText(server.mapName, "oa_dm1");
        base::CopyText(player.name, "^1Bob");
        player.score = -3;
        player.ping = 100;
        player.server = &server;
    }
    catalogue::ServerRecord server;
    catalogue::PlayerRecord player;
};

TEST_F(ClipboardLinesTest, PlayerTextLine) {
    EXPECT_EQ(PlayerLineText(player), "Bob | Lab (10.0.0.1:27960) | oa_dm1 | -3 | 100 ms");
    player.server = nullptr;
    EXPECT_EQ(PlayerLineText(player), "Bob | Not online | -3 | 100 ms");
}

TEST_F(ClipboardLinesTest, PlayerIrcLineWithRedAndGreenPing) {
    EXPECT_EQ(PlayerLineIrc(player),
              "\0031,0 \0034,0Bob\0031,0 \00312|\0031"
              "\0031,0 \0039,0Lab\0031,0 (\00210.0.0.1:27960\002) \00312|\0031 oa_dm1"
              " \00312|\0031 -3 \00312|\0034 100 ms");
    player.ping = 99;
    player.server = nullptr;
    EXPECT_EQ(PlayerLineIrc(player),
              "\0031,0 \0034,0Bob\0031,0 \00312|\0031Not online \00312|\0031 -3 \00312|\0033 99 ms");
}

TEST_F(ClipboardLinesTest, BuddyLinesHaveTheExtraSpaceInIrc) {
    catalogue::BuddyRecord buddy;
    base::CopyText(buddy.name, "bob");
    buddy.score = 7;
    buddy.ping = 150;
    buddy.server = &server;
    EXPECT_EQ(BuddyLineText(buddy), "bob | Lab (10.0.0.1:27960) | oa_dm1 | 7 | 150 ms");
    EXPECT_EQ(BuddyLineIrc(buddy),
              "\0031,0 bob\0031,0 \00312|\0031 "
              "\0031,0 \0039,0Lab\0031,0 (\00210.0.0.1:27960\002) \00312|\0031 oa_dm1"
              " \00312|\0031 7 \00312|\0034 150 ms");
    buddy.server = nullptr;
    buddy.ping = 0;
    buddy.score = 0;
    EXPECT_EQ(BuddyLineText(buddy), "bob | Not online | 0 | 0 ms");
    EXPECT_EQ(BuddyLineIrc(buddy), "\0031,0 bob\0031,0 \00312|\0031 Not online \00312|\0031 0 \00312|\0033 0 ms");
}

TEST_F(ClipboardLinesTest, ServerLines) {
    server.playerCount = 5;
    server.maxPlayers = 16;
    server.ping = 99;
    EXPECT_EQ(ServerLineText(server), "Lab | 10.0.0.1:27960 | oa_dm1 | 5/16 | 99 ms");
    EXPECT_EQ(ServerLineIrc(server),
              "\0031,0 \0039,0Lab\0031,0 \00312|\002\0031 10.0.0.1:27960 \002\00312|\0031 oa_dm1 \00312|\0031 5/16 "
              "\00312|\0033 99 ms");
    server.ping = 100;
    std::string irc = ServerLineIrc(server);
    const std::string end = " 5/16 \00312|\0034 100 ms";
    EXPECT_EQ(irc.substr(irc.size() - end.size()), end);
}

TEST_F(ClipboardLinesTest, LongHostileNamesStayInsideTheirFields) {
    // A host name filling its whole field with carets and high bytes.
    std::memset(server.hostName, '^', sizeof server.hostName - 1);
    server.hostName[sizeof server.hostName - 2] = '\xFF';
    std::memset(player.name, '7', sizeof player.name - 1);
    std::string text = PlayerLineText(player);
    EXPECT_EQ(text.substr(0, 49), std::string(49, '7'));
    // Carets in runs of five (a "^^x" and a "^x") eat 145 bytes; the last pair eats up to the 0xFF.
    EXPECT_NE(text.find(" | \xFF (10.0.0.1:27960)"), std::string::npos);
    std::string irc = PlayerLineIrc(player);
    EXPECT_NE(irc.find("(\00210.0.0.1:27960\002)"), std::string::npos);
}

}  // namespace
