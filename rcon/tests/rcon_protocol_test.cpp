// The remote-console protocol: datagrams by game, the challenge, reply collection, status tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "rcon/rcon_protocol.h"
#include "testing/captures.h"

namespace {

using namespace catalogue;
using rcon::ReplyCollector;

const std::string kFF = "\xFF\xFF\xFF\xFF";

std::string Print(const std::string& text) {
    return kFF + "print\n" + text;
}

TEST(RconDatagrams, EachGamesFormAndTheHalfLifeChallenge) {
    EXPECT_EQ(rcon::FormatRconDatagram(kQuake3, false, "", "pw", "status"), kFF + "rcon pw status");
    EXPECT_EQ(rcon::FormatRconDatagram(kMedalOfHonour, false, "", "pw", "status"), kFF + "\x02rcon pw status");
    EXPECT_EQ(rcon::FormatRconDatagram(kUnrealTournament, false, "", "pw", "status"), "status");
    EXPECT_EQ(rcon::FormatRconDatagram(kHalfLife, true, "", "pw", "challenge rcon"), kFF + "challenge rcon");
    EXPECT_EQ(rcon::FormatRconDatagram(kEliteForce, false, "", "%s", "say %s"), kFF + "rcon %s say %s");

    auto challenge = rcon::ReadChallenge(kFF + "challenge rcon 1234567\n");
    ASSERT_TRUE(challenge);
    EXPECT_EQ(*challenge, "1234567");
    EXPECT_EQ(rcon::FormatRconDatagram(kHalfLife, false, *challenge, "pw", "status"), kFF + "rcon 1234567 pw status");
    EXPECT_FALSE(rcon::ReadChallenge(kFF + "Challenge rcon 1\n"));  // case matters
    EXPECT_EQ(rcon::ReadChallenge(kFF + "challenge rcon"), "");
    EXPECT_EQ(rcon::ReadChallenge(kFF + "challenge rcon " + std::string(80, '9') + "\n")->size(), 49u);
}

TEST(RconReplies, PasswordProblemsAndLogTextByGame) {
    EXPECT_EQ(rcon::PasswordProblemIn(Print("No rconpassword set on the server.\n")), rcon::PasswordProblem::kNotSet);
    EXPECT_EQ(rcon::PasswordProblemIn(Print("Bad rconpassword.\n")), rcon::PasswordProblem::kWrong);
    EXPECT_EQ(rcon::PasswordProblemIn(kFF + "lBad rcon_password.\n"), rcon::PasswordProblem::kWrong);
    EXPECT_EQ(rcon::PasswordProblemIn(Print("map q3dm17\n")), rcon::PasswordProblem::kNone);
    EXPECT_EQ(rcon::LogText(kQuake3, Print("hello")), "hello");
    EXPECT_EQ(rcon::LogText(kMedalOfHonour, kFF + "\x01print\nhello"), "hello");
    EXPECT_EQ(rcon::LogText(kHalfLife, kFF + "lhello"), "hello");
    EXPECT_EQ(rcon::LogText(kQuake3, "short"), "");
}

TEST(RconReplies, CollectedByThePendingCommandAndTheGame) {
    ReplyCollector c;
    // A cvar list in many datagrams, complete once "total cvars" is there; FE datagrams are dropped.
    c.Start(kQuake3, rcon::kServerProperties);
    EXPECT_FALSE(c.Take(Print("S     sv_hostname \"Lab\"\n")));
    EXPECT_FALSE(
        c.Take("\xFE"
               "split"));
    EXPECT_FALSE(c.Take("raw\n"));
    EXPECT_TRUE(c.Take(Print("2 total cvars\n")));
    EXPECT_EQ(c.Text(), "S     sv_hostname \"Lab\"\nraw\n2 total cvars\n");
    c.Start(kHalfLife, rcon::kServerProperties);
    EXPECT_FALSE(c.Take(kFF + "lsv_gravity 800\n"));
    EXPECT_TRUE(c.Take(Print("")));  // an empty print ends it
    EXPECT_EQ(c.Text(), "sv_gravity 800\n");
    // A Jedi Knight 2 map list: three datagrams before the list.
    c.Start(kJediKnight2, rcon::kChangeMap);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(c.Take(Print("preamble")));
    EXPECT_FALSE(c.Take(Print("ffa_bespin.bsp\n")));
    EXPECT_TRUE(c.Take(Print("")));
    EXPECT_EQ(c.Text(), "ffa_bespin.bsp\n");
    // Soldier of Fortune II's status comes in pieces; other games' in one datagram.
    c.Start(kSoldierOfFortune2, rcon::kRefreshStatus);
    EXPECT_FALSE(c.Take(Print("map: mp_shop\n")));
    EXPECT_FALSE(c.Take("unheaded"));
    EXPECT_TRUE(c.Take(Print("")));
    EXPECT_EQ(c.Text(), "map: mp_shop\nunheaded");
    c.Start(kMedalOfHonour, rcon::kKickPlayer);
    EXPECT_TRUE(c.Take(kFF + "\x01print\nPlayer kicked\n"));
    EXPECT_EQ(c.Text(), "Player kicked\n");
    c.Start(kQuake3, rcon::kNoCommand);
    EXPECT_FALSE(c.Take(Print("typed")));
    // The collected text never grows beyond its buffer.
    c.Start(kQuake3, rcon::kServerProperties);
    for (int i = 0; i < 100; ++i)
        c.Take(Print(std::string(1000, 'x')));
    EXPECT_EQ(c.Text().size(), rcon::kReplyCapacity);
}

TEST(RconStatus, QuakeColumnsAndHalfLifeFieldsKeepRowsWithAPing) {
    const std::string q3 =
        "map: q3dm17\n"
        "num score ping name            lastmsg address               qport rate\n"
        "--- ----- ---- --------------- ------- --------------------- ----- -----\n"
        "  0     5   48 ^1Sarge^7            0 127.0.0.1:27960       1234 25000\n"
        " 12    -3    0 Bot                  0 bot                       0 25000\n"
        "  3     1\n";
    auto players = rcon::ParseStatusReply(kQuake3, q3);
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].name, "^1Sarge^7     ");
    EXPECT_EQ(players[0].score, "   5");
    EXPECT_EQ(players[0].ping, " 48");
    EXPECT_EQ(players[1].number, 12);
    const std::string hl =
        "hostname: Lab\nversion : 48/1.1.2.2\ntcp/ip  : 127.0.0.1:27015\nmap     : de_dust\nplayers : 2\n\n"
        "#      name userid uniqueid frag time ping loss adr\n"
        "# 1 \"Gordon\"  17 STEAM_0:1 12 10:00 35 0 127.0.0.1:27005\n"
        "# 2 \"Alyx\" 18\n";
    // A real table of today's engines, from the lab's OpenArena server (names padded by their width).
    std::string captured = testing_support::ReadCapture("openarena_rcon_status.bin");
    players = rcon::ParseStatusReply(kQuake3, rcon::LogText(kQuake3, captured));
    ASSERT_EQ(players.size(), 3u);
    EXPECT_EQ(players[1].name + "|" + players[1].score + "|" + players[1].ping, "Grism|2|0");
    EXPECT_EQ(players[2].number, 2);
    players = rcon::ParseStatusReply(kQuake3,
                                     "map: x\ncl score ping name            address rate\n"
                                     "-- ----- ---- --------------- ------- -----\n"
                                     " 7    12   33 ^1Big ^2Name^7       ^7127.0.0.1:27960 25000\n"
                                     " 8     1 CNCT Joining               ^7127.0.0.2:27960 25000\n");
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].name + "|" + players[0].score + "|" + players[0].ping, "^1Big ^2Name^7|12|33");
    EXPECT_EQ(players[1].ping, "CNCT");
    players = rcon::ParseStatusReply(kHalfLife, hl);
    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].name, "\"Gordon\"");
    EXPECT_EQ(players[0].number, 17);
    EXPECT_EQ(players[0].score + "/" + players[0].ping, "12/35");
}

TEST(RconCommands, KicksByGameAndAHistoryWithoutRepeats) {
    EXPECT_EQ(rcon::KickCommand(kQuake3, 3), "clientkick 3");
    EXPECT_EQ(rcon::KickCommand(kSoldierOfFortune2, 3, "camping"), "clientkick 3 \"camping\"");
    EXPECT_EQ(rcon::KickCommand(kHalfLife, 17), "kick # 17");
    EXPECT_EQ(rcon::KickCommand(kUnrealTournament, 2), "kick 2");
    std::vector<std::string> history = rcon::ReadHistory("status\r\nmap q3dm17\nkick 1\r\n\r\nafter a gap\r\n");
    EXPECT_EQ(history, (std::vector<std::string>{"status", "map q3dm17", "kick 1"}));
    EXPECT_FALSE(rcon::AddToHistory(history, "STATUS"));
    EXPECT_TRUE(rcon::AddToHistory(history, "fraglimit 20"));
    EXPECT_EQ(rcon::WriteHistory(history), "fraglimit 20\r\nkick 1\r\nmap q3dm17\r\nstatus\r\n");
    EXPECT_EQ(rcon::ReadHistory(std::string(5000, 'a')).front().size(), 4096u);
}

}  // namespace
