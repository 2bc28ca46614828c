// The remote-console protocol: datagrams by game, the challenge, password replies, reply collection,
// status tables of every engine (captured from real servers where there are any), the history.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "rcon/command_history.h"
#include "rcon/console_placement.h"
#include "rcon/hmac_md4.h"
#include "rcon/rcon_protocol.h"
#include "rcon/status_table.h"
#include "testing/captures.h"

namespace {

using namespace catalogue;
using rcon::ReplyCollector;

const std::string kFF = "\xFF\xFF\xFF\xFF";

std::string Print(const std::string& text) {
    return kFF + "print\n" + text;
}

std::string Hex(const rcon::Md4Digest& d) {
    std::string out;
    for (uint8_t b : d)
        out += "0123456789abcdef"[b >> 4], out += "0123456789abcdef"[b & 15];
    return out;
}

// The datagrams of a capture file (each starts with FF FF FF FF).
std::vector<std::string> Datagrams(const char* capture) {
    std::string bytes = testing_support::ReadCapture(capture);
    std::vector<std::string> out;
    for (size_t at = 0; at < bytes.size();) {
        size_t next = bytes.find(kFF, at + 4);
        out.push_back(bytes.substr(at, next - at));
        at = next == std::string::npos ? bytes.size() : next;
    }
    return out;
}

// A reply collected as the console collects it, complete at its end or after the quiet time.
std::string Collected(uint32_t kind, uint32_t pending, const std::vector<std::string>& datagrams) {
    ReplyCollector c;
    c.Start(kind, pending, 0);
    for (const std::string& d : datagrams) {
        if (c.Take(d, 10))
            return c.Text();
    }
    return c.Quiet(10 + rcon::kReplyQuietMs) ? c.Text() : "(incomplete)";
}

TEST(RconDatagrams, EachGamesFormTheChallengeAndDarkPlacesSignedForm) {
    EXPECT_EQ(rcon::FormatRconDatagram(kQuake3, "", "pw", "status"), kFF + "rcon pw status");
    EXPECT_EQ(rcon::FormatRconDatagram(kMedalOfHonour, "", "pw", "status"), kFF + "\x02rcon pw status");
    EXPECT_EQ(rcon::FormatRconDatagram(kUnrealTournament, "", "pw", "status"), "status");
    EXPECT_EQ(rcon::FormatRconDatagram(kEliteForce, "", "%s", "say %s"), kFF + "rcon %s say %s");
    for (uint32_t halfLife : {kHalfLife, kHalfLifeSteam})
        EXPECT_EQ(rcon::FormatRconDatagram(halfLife, "1234567", "pw", "status"), kFF + "rcon 1234567 pw status");
    EXPECT_EQ(rcon::KickCommand(kHalfLifeSteam, 7) + "," + rcon::KickCommand(kTeamFortress2, 7), "kick # 7,kickid 7");
    EXPECT_EQ(rcon::ReadChallenge(kFF + "challenge rcon 1234567\n"), "1234567");
    EXPECT_FALSE(rcon::ReadChallenge(kFF + "Challenge rcon 1\n"));  // case matters
    EXPECT_EQ(rcon::ReadChallenge(kFF + "challenge rcon"), "");
    EXPECT_EQ(rcon::ReadChallenge(kFF + "challenge rcon " + std::string(80, '9') + "\n")->size(), 49u);
    for (std::string shortOne : {"\xFF", "\xFF\xFF", "\xFF\xFF\xFF", ""})
        EXPECT_FALSE(rcon::ReadChallenge(shortOne));
    // RFC 1320's vectors, and a key longer than a block.
    EXPECT_EQ(Hex(rcon::Md4("")), "31d6cfe0d16ae931b73c59d7e0c089c0");
    EXPECT_EQ(Hex(rcon::Md4("message digest")), "d9130a8164549fe818874806e1c7014b");
    EXPECT_EQ(Hex(rcon::Md4(std::string(100, 'a'))), "a2a3c7c3ee6088bad252bfbbae229bb6");
    EXPECT_EQ(Hex(rcon::HmacMd4(std::string(70, 'k'), "x")), "ba0a30e0fdd28203683aa294814b5089");
    // The form testing/data/capture_rcon.py --secure sent to the real Nexuiz server.
    std::string secure = rcon::FormatSecureDatagram("secret", "status 1", 1700000000123456);
    EXPECT_EQ(secure.substr(0, 24), kFF + "srcon HMAC-MD4 TIME ");
    EXPECT_EQ(Hex(*reinterpret_cast<const rcon::Md4Digest*>(secure.data() + 24)), "9e197afaefabdeab04b9decd84d0e367");
    EXPECT_EQ(secure.substr(40), " 1700000000.123456 status 1");
}

TEST(RconReplies, OnlyThePasswordMessageItselfIsAPasswordProblem) {
    using rcon::PasswordProblem;
    const std::pair<std::string, PasswordProblem> cases[] = {
        {Print("No rconpassword set on the server.\n"), PasswordProblem::kNotSet},
        {Print("Bad rconpassword.\n"), PasswordProblem::kWrong},
        {kFF + "lBad rcon_password.\n", PasswordProblem::kWrong},
        {kFF + "\x01print\nBad rconpassword.\n", PasswordProblem::kWrong},
        {Print("map q3dm17\n"), PasswordProblem::kNone},
        // A player of that name in a status table, and the words inside a longer reply.
        {Print("map: x\n  0     5   48 Bad rconpassword  0 bot\n"), PasswordProblem::kNone},
        {Print("say Bad rconpassword.\n<Lab> Bad rconpassword.\n"), PasswordProblem::kNone},
        {"Bad rconpassword.", PasswordProblem::kNone}};
    for (const auto& [datagram, problem] : cases)
        EXPECT_EQ(rcon::PasswordProblemIn(datagram), problem) << datagram;
    EXPECT_EQ(rcon::LogText(kQuake3, Print("hello")), "hello");
    EXPECT_EQ(rcon::LogText(kMedalOfHonour, kFF + "\x01print\nhello"), "hello");
    EXPECT_EQ(rcon::LogText(kHalfLife, kFF + "lhello"), "hello");
    EXPECT_EQ(rcon::LogText(kNexuiz, kFF + "nhello"), "hello");
    EXPECT_EQ(rcon::LogText(kQuake3, "short"), "");
}

TEST(RconReplies, CollectedByThePendingCommandAndTheGame) {
    using rcon::kChangeMap, rcon::kRefreshStatus, rcon::kServerProperties, rcon::kKickPlayer;
    struct Case {
        uint32_t kind, pending;
        std::vector<std::string> datagrams;
        std::string text;
    };
    const Case cases[] = {
        // A cvar list complete once "total cvars" is there; FE datagrams are dropped.
        {kQuake3,
         kServerProperties,
         {Print("a \"1\"\n"),
          "\xFE"
          "split",
          "raw\n", Print("2 total cvars\n")},
         "a \"1\"\nraw\n2 total cvars\n"},
        {kHalfLife, kServerProperties, {kFF + "lsv_gravity 800\n", Print(""), Print("late")}, "sv_gravity 800\n"},
        // Jedi Knight 2's map list after three datagrams; Soldier of Fortune II's status in pieces.
        {kJediKnight2,
         kChangeMap,
         {Print("a"), Print("b"), Print("c"), Print("ffa_bespin.bsp\n"), Print("")},
         "ffa_bespin.bsp\n"},
        {kSoldierOfFortune2,
         kRefreshStatus,
         {Print("map: mp_shop\n"), "unheaded", Print("")},
         "map: mp_shop\nunheaded"},
        {kMedalOfHonour, kKickPlayer, {kFF + "\x01print\nPlayer kicked\n", Print("more")}, "Player kicked\n"},
        // Today's Quake III engines: pieces without an end, whole after the quiet time.
        {kQuake3, kRefreshStatus, {Print("map: x\n 1   2"), Print("  3 Bob\n")}, "map: x\n 1   2  3 Bob\n"},
        // DarkPlaces: a full datagram, then a shorter last one.
        {kNexuiz, kRefreshStatus, {kFF + "n" + std::string(1394, 'a'), kFF + "nb"}, std::string(1394, 'a') + "b"},
        {kNexuiz, kKickPlayer, {kFF + "n"}, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(Collected(c.kind, c.pending, c.datagrams), c.text) << c.kind << "/" << c.pending;
    ReplyCollector c;
    c.Start(kQuake3, rcon::kNoCommand, 0);
    EXPECT_FALSE(c.Take(Print("typed"), 1));
    EXPECT_FALSE(c.Quiet(5000));
    // The collected text never grows beyond its bound.
    c.Start(kQuake3, kServerProperties, 0);
    for (int i = 0; i < 300; ++i)
        c.Take(Print(std::string(1000, 'x')), 0);
    EXPECT_EQ(c.Text().size(), rcon::kReplyCapacity);
}

std::string Rows(uint32_t kind, const std::string& reply) {
    std::string rows;
    for (const rcon::RconPlayer& p : rcon::ParseStatusReply(kind, reply))
        rows += std::to_string(p.number) + ":" + p.name + "|" + p.score + "|" + p.ping + ";";
    return rows;
}

TEST(RconStatus, EveryEnginesTableGivesItsPlayers) {
    const std::string hl =
        "hostname: Lab\nversion : 48/1.1.2.2\ntcp/ip  : 127.0.0.1:27015\nmap     : de_dust\nplayers : 2\n\n"
        "#      name userid uniqueid frag time ping loss adr\n"
        "# 1 \"Gordon\"  17 STEAM_0:1 12 10:00 35 0 127.0.0.1:27005\n"
        "# 2 \"Agent 47\" 18 STEAM_0:2 3 01:00 40 0 127.0.0.1:27006\n"
        "# 3 \"Alyx\" 19\n";
    for (uint32_t halfLife : {kHalfLife, kHalfLifeSteam})
        EXPECT_EQ(Rows(halfLife, hl), "17:\"Gordon\"|12|35;18:\"Agent 47\"|3|40;");
    // Source: columns by the header (CS:GO's slot and rate too), bots without a ping, names whole
    // between the outer quotes; lines that are no player rows are passed over.
    const std::string source =
        "hostname: Lab\nmap     : ctf_2fort at: 0 x, 0 y, 0 z\n# userid name uniqueid connected ping loss state adr\n"
        "#      2 \"Alice\"    [U:1:2]  05:12   50    0 active 127.0.0.1:27005\n"
        "#      3 \"a \"b\" c\"  [U:1:3]  1:02:33 80    0 active 127.0.0.1:27006\n"
        "#      4 \"Heavy\"    BOT                     active\n#end\n# x \"Nobody\" BOT active\n#      5 Noquote\n"
        "#9999999999 \"Big\" BOT active\n# 6 7 8 \"Three\" BOT active\n"
        "# userid name uniqueid connected ping loss state rate adr\n"
        "# 12 1 \"GOTV\" BOT active 64\n# 13 2 \"Carl\" STEAM_1:0:1 00:30 45 0 active 196608 127.0.0.1:1\n";
    EXPECT_EQ(Rows(kTeamFortress2, source), "2:Alice||50;3:a \"b\" c||80;4:Heavy||;12:GOTV||;13:Carl||45;");
    EXPECT_EQ(Rows(kQuake3,
                   "map: q3dm17\nnum score ping name            lastmsg address               qport rate\n"
                   "--- ----- ---- --------------- ------- --------------------- ----- -----\n"
                   "  0     5   48 ^1Sarge^7            0 127.0.0.1:27960       1234 25000\n"
                   " 12    -3    0 Bot                  0 bot                       0 25000\n  3     1\n"),
              "0:^1Sarge^7     |   5| 48;12:Bot           |  -3|  0;");
    EXPECT_EQ(Rows(kQuake3,
                   "map: x\ncl score ping name            address rate\n-- ----- ---- --------------- ------- -----\n"
                   " 7    12   33 ^1Big ^2Name^7       ^7127.0.0.1:27960 25000\n"
                   " 8     1 CNCT Joining               ^7127.0.0.2:27960 25000\n"),
              "7:^1Big ^2Name^7|12|33;8:Joining|1|CNCT;");
    // The lab's OpenArena server with 18 bots: the table comes in two datagrams, cut mid-row.
    std::vector<std::string> oa = Datagrams("openarena_rcon_status18.bin");
    ASSERT_EQ(oa.size(), 2u);
    std::vector<rcon::RconPlayer> players = rcon::ParseStatusReply(kQuake3, Collected(kQuake3, 40024, oa));
    ASSERT_EQ(players.size(), 18u);
    EXPECT_EQ(std::to_string(players[12].number) + players[12].name + "|" + players[10].name + "|" + players[17].name,
              "12Sarge|Neko|Tony");
    // Read from its last datagram only, the fixed columns make slot 13 into 3 and cut the name.
    rcon::RconPlayer cut = rcon::ParseStatusReply(kQuake3, rcon::LogText(kQuake3, oa[1]))[0];
    EXPECT_EQ(std::to_string(cut.number) + cut.name.substr(0, 4), "3rism");
    // Nexuiz (DarkPlaces) "status 1" with 18 bots in two datagrams.
    std::vector<std::string> dp = Datagrams("nexuiz_rcon_status.bin");
    players = rcon::ParseStatusReply(kNexuiz, Collected(kNexuiz, 40024, dp));
    ASSERT_EQ(players.size(), 18u);
    EXPECT_EQ(players[0].name + "|" + players[0].score + "|" + players[0].ping + "|" +
                  std::to_string(players[11].number) + players[11].name,
              "[BOT]Mystery|2|0|12[BOT]Eureka");
    EXPECT_EQ(Rows(kXonotic,
                   "players:  1 active\n\n^2IP   %pl ping  time   frags  no   name\n"
                   "^7[::1]:5000  0   25  1:00:00   -3  #7   ^7^1Red ^7Baron\n"),
              "7:^1Red ^7Baron|-3|25;");
}

TEST(RconHistory, EveryWholeCommandUpToTheBoundsOnceInAnyCase) {
    rcon::CommandHistory history;
    history.Load("status\r\nmap q3dm17\nkick 1\r\n\r\nafter a gap\r\nSTATUS\r\n" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"after a gap", "kick 1", "map q3dm17", "status"}));
    EXPECT_FALSE(history.Add("Kick 1"));
    EXPECT_TRUE(history.Add("fraglimit 20"));
    EXPECT_EQ(history.Save(), "after a gap\r\nfraglimit 20\r\nkick 1\r\nmap q3dm17\r\nstatus\r\n");
    // Every command of a long file up to the bound, and none from a line the byte bound cuts.
    std::string file;
    for (int i = 0; i < 1100; ++i)
        file += "set v" + std::to_string(1000 + i) + std::string(240, 'x') + "\r\n";
    history.Load(file);
    EXPECT_EQ(history.Entries().size(), rcon::kMostHistoryEntries);
    EXPECT_EQ(history.Entries().back().substr(0, 9), "set v1999");
    file.clear();
    while (file.size() + 16 <= rcon::kHistoryFileBytes)  // the next command is cut at the bound
        file += "status\r\n";
    history.Load(file + "map q3dm17\r\n");
    EXPECT_EQ(history.Entries(), std::vector<std::string>{"status"});
}

TEST(RconPlacement, SignedCornersKeptOnTheScreen) {
    const rcon::ScreenArea screen{-1280, 0, 1920, 1080};  // a monitor left of the primary one
    auto place = [&](std::optional<uint32_t> xy, std::optional<uint32_t> wh, std::optional<uint32_t> state = {}) {
        rcon::ConsolePlacement p = rcon::RestoreConsolePlacement(xy, wh, state, screen);
        return std::to_string(p.storedPosition) + std::to_string(p.storedSize) + " " + std::to_string(p.x) + "," +
               std::to_string(p.y) + " " + std::to_string(p.width) + "x" + std::to_string(p.height) +
               (p.maximised ? " max" : "");
    };
    // Snapped to the left edge: (-7, 20) to (593, 520); then far left and maximised.
    EXPECT_EQ(place(0x0014FFF9, 0x02080251, rcon::kNormalState), "11 -7,20 600x500");
    EXPECT_EQ(place(0xFFFBFB50, 0x0258FE70, rcon::kMaximisedState), "11 -1200,0 800x605 max");
    EXPECT_EQ(place(0x0014FFF9, std::nullopt), "10 -7,20 0x0");        // only RCWXY: position kept
    EXPECT_EQ(place(0x00100010, 0x00080008), "10 16,16 0x0");          // far corner before the corner
    EXPECT_EQ(place(0x01000F00, 0x7FFF7FFF), "11 -1280,0 3200x1080");  // larger than the screen
    EXPECT_EQ(place(0x7000, std::nullopt), "10 1820,0 0x0");           // off the right edge
    EXPECT_EQ(place(std::nullopt, 0x01000100, rcon::kMaximisedState), "00 0,0 0x0 max");
}

}  // namespace
