// Tests of reply parsing: crafted, captured and hostile datagrams of the three status reply kinds, and
// bounded fuzz runs of every network parser (with the edges of the version replies).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_list.h"
#include "net/status_parser.h"
#include "net/version_check.h"
#include "testing/captures.h"

namespace {

using catalogue::PlayerRecord;
using catalogue::ServerRecord;

std::string Q3(const std::string& text) {
    return "\xFF\xFF\xFF\xFFstatusResponse\n" + text;
}
std::string Typed(const std::string& text) {  // kind 4: a type byte before "statusResponse"
    return "\xFF\xFF\xFF\xFF\x01statusResponse\n" + text;
}
std::string Z(const std::string& text) {  // a zero-terminated string of a Half-Life reply
    return text + '\0';
}
std::string HL(char type) {
    return std::string("\xFF\xFF\xFF\xFF") + type;
}
std::string I32(int32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    return out;
}
std::string HLPlayer(int index, const std::string& name, int32_t frags) {  // then a connection time
    return std::string(1, static_cast<char>(index)) + Z(name) + I32(frags) + I32(0x42C80000);
}
std::string Details(const std::string& name, const std::string& folder, const std::string& rest) {
    return HL('m') + Z("10.2.0.1:27015") + Z(name) + Z("de_dust2") + Z(folder) + Z("Counter-Strike") + rest;
}

// The row's "key=value" pairs, joined by '|', with the values the record shows (a key with a leading
// '#' gives the length of the text; "pN" is player N as name, score, ping, number).
std::string Show(const ServerRecord& r, bool answered, const std::string& expected) {
    auto n = [](auto v) { return std::to_string(v); };
    // clang-format off
    const std::map<std::string, std::string> shown = {
        {"answered", n(answered)}, {"host", r.hostName}, {"map", r.mapName}, {"game", r.gameName},
        {"mod", r.modDisplay}, {"type", r.gameTypeDisplay}, {"pass", r.passwordText}, {"web", r.webAddress},
        {"loc", r.location}, {"email", r.adminEmail}, {"version", r.versionText}, {"modIndex", n(r.modIndex)},
        {"info", std::string(r.infoText) + n(r.infoText[200])}, {"typeIndex", n(r.gameTypeIndex)},
        {"players", n(r.playerCount)}, {"slots", r.HasPlayerSlots() ? n(r.StoredPlayerCount()) : "none"},
        {"max", n(r.maxPlayers)}, {"private", n(r.privateSlots)}, {"pure", n(r.pure)}, {"cap", n(r.captureLimit)},
        {"frag", n(r.fragLimit)}, {"time", n(r.timeLimit)}, {"speed", n(r.gameSpeed)}, {"gravity", n(r.gravity)},
        {"dl", n(r.allowDownload)}, {"vote", n(r.allowVote)}, {"rate", n(r.maxRate)}, {"hostport", n(r.hostPort)},
        {"proto", n(r.protocolVersion)}, {"os", std::string{char(r.dedicated), char(r.serverOs)}},
        {"ismod", n(r.isMod)}, {"lives", n(r.livesLeft)}, {"ping", n(r.ping)}};
    // clang-format on
    std::string out;
    for (size_t start = 0, end; start < expected.size(); start = end + 1) {
        end = std::min(expected.find('|', start), expected.size());
        const std::string key = expected.substr(start, expected.find('=', start) - start);
        std::string value;
        if (key[0] == 'p' && std::isdigit(static_cast<unsigned char>(key[1]))) {
            const PlayerRecord* p = r.PlayerAt(std::atoi(key.c_str() + 1));
            value = p ? std::string(p->name) + "," + n(p->score) + "," + n(p->ping) + "," + n(p->number) : "none";
        } else {
            value = shown.at(key[0] == '#' ? key.substr(1) : key);
            value = key[0] == '#' ? n(value.size()) : value;
        }
        out += (out.empty() ? "" : "|") + key + "=" + value;
    }
    return out;
}

// A record that has been refreshed before: every field the replies fill holds an older value.
void Preset(ServerRecord& r) {
    r.maxPlayers = 12;
    r.fragLimit = 7;
    r.privateSlots = 4;
    r.pure = 5;
    r.captureLimit = 6;
    r.isMod = 1;
    r.maxRate = 1234;
    r.allowVote = 7;
    r.isFavourite = 1;
    base::CopyText(r.versionText, "old version");
    base::CopyText(r.mapName, "oldmap");
    base::CopyText(r.webAddress, "http://old");
    base::CopyText(r.location, "old");
    base::CopyText(r.adminEmail, "old@x");
    base::CopyText(r.gameName, "oldmod");
    std::memset(r.infoText, 'i', sizeof r.infoText - 1);
    for (int i = 0; i < 4; ++i) {
        PlayerRecord& slot = r.PlayerSlot(i);
        base::FormatText(slot.name, sizeof slot.name, "previous%d", i);
        slot.score = 70 + i;
        slot.ping = 5 + i;
    }
}

const uint32_t kQ3 = catalogue::kQuake3, kHL = catalogue::kHalfLife, kUT = catalogue::kUnrealTournament;

TEST(StatusReplies, DatagramsOfEveryKindFillTheirFieldsAndHalfLifePlayersBeforeTheDetailsKeepTheirCount) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    std::string crowded = Q3("\\sv_hostname\\Crowded\n");
    std::string crowdedGs = "\\hostname\\Big\\numplayers\\200";
    std::string crowdedHl = HL('D') + "\xC8";
    for (int i = 0; i < 200; ++i) {
        crowded += std::to_string(i) + " " + std::to_string(i + 1) + " \"p" + std::to_string(i) + "\"\n";
        crowdedGs += "\\player_" + std::to_string(i) + "\\P" + std::to_string(i) + "\\frags_" + std::to_string(i) +
                     "\\" + std::to_string(i);
        crowdedHl += HLPlayer(i, "h" + std::to_string(i), i);
    }
    // What the row tells, kind, datagram, whether the record was refreshed before (Preset), what it shows.
    const std::tuple<const char*, uint32_t, std::string, bool, std::string> replies[] = {
        // Quake-III style: the info line, then one player line each.
        {"players in line order", kQ3,
         Q3("\\sv_hostname\\^1Lab\\sv_maxclients\\16\\mapname\\oa_dm1\n12 50 \"^2Alice\"\n0 0 \"Bot\"\n-3 999 \"C h "
            "a r\"\n"),
         false,
         "answered=1|host=^1Lab|players=3|max=16|map=oa_dm1|p0=^2Alice,12,50,0|p1=Bot,0,0,0|p2=C h a r,-3,999,0"},
        {"every info key, colour codes stripped but from the name", kQ3,
         Q3("\\sv_hostname\\Host\\gamename\\^3base^^5q3\\email\\a^1@b\\location\\^2Paris\\url\\^4http://x\\website\\"
            "http://unused\\version\\ioq3^7 1.36\\mapname\\q3dm17\\sv_maxclients\\24\\g_needpass\\1\\sv_pure\\1\\g_"
            "speed\\320\\sv_allowdownload\\1\\g_allowvote\\0\\g_gravity\\800\\capturelimit\\8\\fraglimit\\30\\timeli"
            "mit\\20\\sv_maxrate\\25000\\sv_privateClients\\2\n"),
         false,
         "game=baseq3|email=a@b|loc=Paris|web=http://x|version=ioq3 1.36|pass=1|pure=1|speed=320|dl=1|vote=0|"
         "gravity=800|cap=8|frag=30|time=20|rate=25000|private=2|max=24|players=0|slots=none"},
        {"absent keys keep their values, the descriptive ones are cleared", kQ3,
         Q3("\\sv_hostname\\Host\\website\\http://site\n"), true,
         "max=12|frag=7|version=old version|map=oldmap|web=http://site|loc=|email=|game=|info=0|pass=0|private=0"},
        {"long values are cut to their fields", kQ3,
         Q3("\\sv_hostname\\" + std::string(300, 'N') + "\\mapname\\" + std::string(80, 'm') + "\\g_needpass\\" +
            std::string(40, '7') + "\\location\\" + std::string(200, 'L') + "\n"),
         false, "#host=149|#map=49|#pass=11|#loc=99"},
        {"a key is read whole, not inside a longer key", kQ3,
         Q3("\\sv_hostname\\H\\nextmapname\\q3dm1\\mapname\\q3dm17\n"), false, "map=q3dm17"},
        {"a key at the very end has an empty value", kQ3, Q3("\\sv_hostname\\H\\mapname"), true, "map="},
        {"a key and its backslash at the end", kQ3, Q3("\\sv_hostname\\H\\mapname\\"), true, "map="},
        {"keys are only looked up in the info line", kQ3,
         Q3("\\sv_hostname\\H\\gamename\\baseq3\n1 2 \"x\\url\\http://evil\\g_needpass\\1\"\n"), false,
         "web=|pass=0|p0=x\\url\\http://evil\\g_needpass\\1,1,2,0"},
        {"mod and game type", kQ3, Q3("\\sv_hostname\\H\\gamename\\BASEQ3\\g_gametype\\4\n"), false,
         "modIndex=1|mod=BaseQ3|typeIndex=4|type=CTF"},
        {"kind 4 lines carry a ping and a name", catalogue::kMedalOfHonour,
         Typed("\\sv_hostname\\Allied\\sv_maxclients\\20\n50 \"Pvt. Ryan\"\n"), true, "players=1|p0=Pvt. Ryan,70,50,0"},
        {"malformed lines fail one by one, after storing what they read", kQ3,
         Q3("\\sv_hostname\\H\n1 10 \"ok\"\n7 20 \"no closing quote\n9\n8 33\n2 " + std::string(260, '9') +
            " \"long\"\n3 30 \"last\"\n5 6 \"after the last newline\""),
         true,
         "players=6|p0=ok,1,10,0|p1=previous1,7,20,0|p2=previous2,72,7,0|p3=previous3,8,8,0|p4=,0,0,0|p5=last,3,30,0"},
        {"more than 128 lines store the first 128", kQ3, crowded, false,
         "players=200|slots=128|p127=p127,127,128,0|p128=none"},
        {"no host name: the no-reply rule, even for a favourite", kQ3,
         Q3("\\mapname\\q3dm1\\sv_maxclients\\8\n1 2 \"x\"\n"), true,
         "answered=0|host=~ 10.0.0.7|ping=9999|lives=4|players=0|max=0|map="},
        {"a zero first byte is no text", kQ3, std::string(8, '\0'), false, "answered=0|host=~ 10.0.0.7|lives=4"},
        {"bytes 128-255 to the end of a full-size datagram", kQ3,
         Q3("\\sv_hostname\\") + std::string(net::kStatusBufferSize - 32, '\xE9'), false, "answered=1|#host=149"},
        // GameSpy style: backslash-separated keys, players as player_N entries.
        {"server keys and players", kUT,
         "\\gamename\\ut\\gamever\\^1436\\location\\0\\hostname\\^4UT Lab\\hostport\\7777\\mapname\\DM-Deck16]["
         "\\gametype\\DeathMatchPlus\\numplayers\\2\\maxplayers\\16\\password\\True\\timelimit\\20\\email\\admin@lab"
         "\\url\\http://lab\\player_0\\Alice\\frags_0\\5\\ping_0\\40\\player_1\\Bob\\frags_1\\-2\\ping_1\\90\\final\\"
         "\\queryid\\1.1",
         true,
         "host=^4UT Lab|game=ut|version=436|loc=0|map=DM-Deck16][|hostport=7777|players=2|max=16|pass=True|time=20|"
         "email=admin@lab|web=http://lab|pure=1|private=0|mod=UT|type=Tournament Deathmatch|cap=2|"
         "p0=Alice,5,40,0|p1=Bob,-2,90,1"},
        // The first datagram of a 469 server (451 sends the same keys): the basic keys, then the info keys
        // with gamever again, the ping after a blank, the admin's address under a key of its own.
        {"UT 469", kUT,
         "\\gamename\\ut\\gamever\\469\\minnetver\\432\\location\\0\\hostname\\Liandri 469\\hostport\\7790"
         "\\maptitle\\Liandri Central Core\\mapname\\DM-Liandri\\gametype\\CTFGame\\numplayers\\1\\maxplayers\\10"
         "\\gamemode\\openplaying\\gamever\\469\\minnetver\\432\\password\\False\\timelimit\\0\\AdminEMail\\a@b"
         "\\player_0\\fred\\frags_0\\3\\ping_0\\ 61\\team_0\\0\\queryid\\31.1",
         true,
         "host=Liandri 469|version=469|map=DM-Liandri|hostport=7790|players=1|max=10|pass=False|time=0|email=|"
         "type=Capture The Flag|cap=1|p0=fred,3,61,0"},
        {"gaps in the numbers fill consecutive slots", kUT,
         "\\hostname\\H\\numplayers\\2\\player_0\\Zero\\player_2\\Two\\frags_2\\9\\ping_2\\33", false,
         "cap=2|p0=Zero,0,0,0|p1=Two,9,33,2"},
        {"player_1 is not player_10", kUT, "\\hostname\\H\\numplayers\\1\\player_10\\Ten\\frags_10\\4", false,
         "cap=1|p0=Ten,4,0,10"},
        {"absent frags and ping keep the slot's values", kUT, "\\hostname\\H\\numplayers\\1\\player_0\\New", true,
         "p0=New,70,5,0"},
        {"slots this datagram does not fill are emptied", kUT, "\\hostname\\H\\numplayers\\3\\player_0\\X", true,
         "cap=1|p0=X,70,5,0|p1=,0,0,0|p2=,0,0,0|p3=previous3,73,8,0"},
        {"no players, no slots", kUT, "\\hostname\\Empty\\numplayers\\0\\maxplayers\\8", false, "cap=0|slots=none"},
        {"without a host name the info is untouched, the players read", kUT,
         "\\mapname\\newmap\\maxplayers\\2\\player_0\\Solo", true,
         "answered=1|host=~ New Server!|map=oldmap|max=12|p0=Solo,70,5,0"},
        {"more than 128 players", kUT, crowdedGs, false, "cap=128|slots=128|p127=P127,127,0,127"},
        {"long names are cut", kUT, "\\hostname\\H\\player_0\\" + std::string(4096, 'n'), false,
         "p0=" + std::string(49, 'n') + ",0,0,0"},
        // Half-Life style: byte fields of a details ("m") or players ("D") reply.
        {"details", kHL,
         Details("^1CS Lab", "cstrike",
                 "\x0C\x14\x2E"
                 "dl\x01\x01") +
             Z("http://cs.example") + Z("http://dl"),
         true,
         "host=^1CS Lab|map=de_dust2|game=cstrike|mod=Counter Strike|modIndex=2|players=12|max=20|proto=46|os=dl|"
         "pass=1|ismod=1|web=http://cs.example|pure=1"},
        {"no mod clears the web address, a zero byte is no password", kHL,
         Details("Valve", "VALVE",
                 std::string("\x00\x10\x2E"
                             "lw\x00\x00",
                             7)),
         true, "web=|pass=0|mod=Half Life|ismod=0"},
        {"fields past the datagram read as zero", kHL, Details("Short", "tfc", "\x05"), true,
         "players=5|max=0|ismod=0|pass=0|proto=0"},
        {"an unterminated string stays inside the datagram", kHL, HL('m') + Z("addr") + std::string(4096, '\xF0'),
         false, "#host=149|map=|players=0"},
        {"details without a name are no reply", kHL, Details("", "cstrike", "\x01\x02\x03\x04\x05"), true,
         "answered=0|host=~ 10.0.0.7|lives=4"},
        {"players, the name of the record kept", kHL,
         HL('D') + "\x03" + HLPlayer(1, "^2Gordon", 15) + HLPlayer(7, std::string(60, 'g'), -4) + HLPlayer(9, "", 0),
         true,
         "host=~ New Server!|cap=1|players=3|p0=^2Gordon,15,0,1|p1=" + std::string(49, 'g') + ",-4,0,7|p2=,0,0,9"},
        {"no players", kHL, HL('D') + std::string(1, '\0'), false, "players=0|slots=none"},
        {"only whole entries count", kHL,
         HL('D') + "\x05" + HLPlayer(1, "one", 1) + HLPlayer(2, "two", 2) + "\x03" + Z("thr"), false,
         "players=2|p1=two,2,0,2"},
        {"entries beyond 128 are counted", kHL, crowdedHl, false, "players=200|slots=128|p127=h127,127,0,127"},
        {"other types and short datagrams change nothing", kHL, HL('l') + Z("hello"), true,
         "answered=1|host=~ New Server!|pure=5|cap=6|players=0"},
        {"a type byte alone", kHL, HL('D'), true, "answered=1|players=0|cap=1"},
        {"three bytes", kHL, "\xFF\xFF\xFF", true, "answered=1|host=~ New Server!|pure=5"},
        // Replies captured from OpenArena servers.
        {"captured: four bots", kQ3, testing_support::ReadCapture("openarena_bots.bin"), true,
         "host=^1Lab ^7Arena|map=oa_dm1|max=8|players=4|pass=0|frag=20|cap=8|private=0|game=baseoa|"
         "rate=1234|vote=7|p0=Penguin,0,0,0|p3=Assassin,0,0,0"},
        {"captured: crowded team server", kQ3, testing_support::ReadCapture("openarena_crowded.bin"), false,
         "host=Crowded|map=oa_dm4|max=16|players=8|p2=Kyonshi,1,0,0|p7=Liz,0,0,0"},
        {"captured: empty passworded server", kQ3, testing_support::ReadCapture("openarena_empty_ctf.bin"), false,
         "host=^3Empty^^5Room|map=oa_ctf4ish|players=0|slots=none|pass=1|max=8"},
        // DarkPlaces (captured from Nexuiz): "hostname", team numbers before the names in team games.
        {"captured: Nexuiz team deathmatch", catalogue::kNexuiz, testing_support::ReadCapture("nexuiz_tdm_bots.bin"),
         true,
         "host=^1Lab ^x0F0Nexuiz^7 ^^caret|map=aggressor|max=12|players=4|game=Nexuiz|mod=Nexuiz|"
         "type=Team Deathmatch|p0=[BOT]Discovery,1,0,0|p3=[BOT]Resurrection,0,0,0"},
        {"captured: Nexuiz deathmatch", catalogue::kNexuiz, testing_support::ReadCapture("nexuiz_dm_bots.bin"), false,
         "host=Lab DM|map=downer|players=2|type=Deathmatch|p1=[BOT]Sensible,0,0,0"},
        {"a DarkPlaces line without its name is no player", catalogue::kXonotic,
         Q3("\\hostname\\X\n3 40 2\n4 50 1 \"ok\"\n"), false, "players=2|p1=ok,4,50,0"}};
    for (const auto& [what, kind, datagram, refreshedBefore, expected] : replies) {
        ServerRecord r;
        base::CopyText(r.addressText, "10.0.0.7");
        base::CopyText(r.hostName, "~ New Server!");
        if (refreshedBefore)
            Preset(r);
        // The datagram in a heap block of exactly its size, so that a read past it is caught.
        std::vector<uint8_t> d(datagram.begin(), datagram.end());
        const bool answered = net::parseReply(r, d.data(), d.size(), kind, cat, nullptr);
        EXPECT_EQ(Show(r, answered, expected), expected) << what;
    }

    // Half-Life players that come before the details keep their count.
    ServerRecord r;
    base::CopyText(r.hostName, "~ New Server!");
    Preset(r);                    // four players of an earlier refresh in the slots
    r.captureLimit = r.pure = 0;  // the markers the worker clears before it asks
    for (const std::string& d : {HL('D') + "\x01" + HLPlayer(3, "Gordon", 7), Details("Lab", "cstrike", "\x04\x10")})
        net::parseReply(r, reinterpret_cast<const uint8_t*>(d.data()), d.size(), kHL, cat, nullptr);
    // The details announce four: the count stays that of the players reply, which filled one slot.
    const std::string expected = "players=1|slots=1|max=16|cap=1|pure=1|p0=Gordon,7,0,3";
    EXPECT_EQ(Show(r, true, expected), expected);
}

TEST(StatusReplies, RawCopiesHoldTheCurrentDatagramOnlyAndAnEmptyOneIsNoReply) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    ServerRecord r;
    base::CopyText(r.addressText, "10.0.0.7");
    net::RawReply raw;
    auto parse = [&](const std::string& datagram, uint32_t kind, size_t size = std::string::npos) {
        std::memset(raw.bytes, 'X', sizeof raw.bytes);
        raw.size = 77;
        return net::parseReply(r, reinterpret_cast<const uint8_t*>(datagram.data()), std::min(size, datagram.size()),
                               kind, cat, &raw);
    };
    // A buffer still holding the tail of an earlier, longer reply: only `size` bytes are the reply.
    const std::string earlier = Q3("\\sv_hostname\\Now\\mapname\\q3dm1\n1 2 \"x\"\n\\g_needpass\\1\\fraglimit\\99\n");
    const size_t size = earlier.find("1 2");
    r.fragLimit = 5;
    ASSERT_TRUE(parse(earlier, kQ3, size));
    EXPECT_EQ(std::tuple(r.playerCount, std::string(r.passwordText), r.fragLimit), std::tuple(0, std::string("0"), 5));
    EXPECT_EQ(std::tuple(raw.size, raw.Text(), raw.bytes[size], raw.bytes[sizeof raw.bytes - 1], raw.HoldsText()),
              std::tuple(size, earlier.substr(0, size), 0, 0, true));
    EXPECT_FALSE(parse(Q3("\\mapname\\x\n"), kQ3));  // kept even without a host name
    EXPECT_EQ(raw.Text(), Q3("\\mapname\\x\n"));
    const std::string full = Q3("\\sv_hostname\\") + std::string(net::kStatusBufferSize - 32, 'a');
    ASSERT_TRUE(parse(full, kQ3));
    EXPECT_EQ(raw.size, net::kStatusBufferSize);
    const std::string renegade = "\\hostname\\Renegade Lab\\gamename\\ccrenegade\\gametype\\C&C";
    ASSERT_TRUE(parse(renegade, catalogue::kRenegade));  // GameSpy: once the info is read
    EXPECT_EQ(std::tuple(raw.Text(), std::string(r.modDisplay)), std::tuple(renegade, std::string("C&C Renegade")));
    ASSERT_TRUE(parse("\\mapname\\m\\player_0\\Solo", kUT));
    EXPECT_EQ(raw.size, 77u);
    const std::string details = Details("CS", "cstrike", "\x01\x02\x03");
    ASSERT_TRUE(parse(details, kHL));  // Half-Life: the details reply
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw.bytes), raw.size), details);
    ASSERT_TRUE(parse(HL('D') + std::string(1, '\0'), kHL));
    EXPECT_EQ(raw.size, 77u);

    // At the close of a cycle an empty buffer stands for a missing reply: a favourite keeps its name.
    r.isFavourite = 1;
    r.maxPlayers = 16;
    r.playerCount = 3;
    r.livesLeft = 2;
    EXPECT_FALSE(net::parseReply(r, nullptr, 0, kQ3, cat, nullptr));
    EXPECT_EQ(std::tuple(std::string(r.hostName), r.maxPlayers, r.playerCount, r.livesLeft, r.ping),
              std::tuple(std::string("CS"), 16, 0, 1, catalogue::kNoPing));
}

TEST(PlayerLines, AreCountedFromTheInfoLineAndParsedByNumber) {
    const uint32_t q3 = kQ3, moh = catalogue::kMedalOfHonour;
    // The newline of the header sits at 18 (19 with the type byte) and is not the info line's end.
    for (auto [kind, text, lines] : {std::tuple(q3, Q3("\\a\\b\n1 2 \"x\"\n"), 1),
                                     {moh, Typed("\\a\\b\n1 \"x\"\n2 \"y\"\n"), 2},
                                     {q3, Q3("\\a\\b"), 0},
                                     {q3, Q3(""), 0},
                                     {q3, std::string("short\n\n\n"), 0},
                                     {q3, std::string(), 0},
                                     {q3, Q3("\\a\\b\n1 2 \"x\"\n3 4 \"y\""), 1}})
        EXPECT_EQ(net::countPlayerLines(kind, text), lines) << text;
    const std::string reply = Q3("\\sv_hostname\\H\n1 10 \"a\"\n2 20 \"" + std::string(60, 'b') + "\"\n3 30 \"c\"");
    PlayerRecord slot;
    slot.viewMark = 9;
    EXPECT_TRUE(net::parsePlayerLine(q3, reply, 2, slot));
    EXPECT_EQ(std::tuple(slot.score, std::strlen(slot.name), slot.viewMark), std::tuple(2, size_t(49), 0));
    for (int number : {0, 3, 129})  // no such line; the third has no closing newline
        EXPECT_FALSE(net::parsePlayerLine(q3, reply, number, slot)) << number;
    EXPECT_TRUE(net::parsePlayerLine(q3, reply, 1, slot));
    EXPECT_STREQ(slot.name, "a");
    // A quote right at the end of the line: the name starts past it and finds no closing quote.
    EXPECT_FALSE(net::parsePlayerLine(q3, Q3("\\a\\b\n1 2 \"\n"), 1, slot));
    EXPECT_FALSE(net::parsePlayerLine(q3, Q3("\\a\\b\n1 2 \n"), 1, slot));
    EXPECT_TRUE(net::parsePlayerLine(q3, Q3("\\a\\b\n1 2 \"\"\n"), 1, slot));
    EXPECT_STREQ(slot.name, "");
}

TEST(CopyStripped, DropsColourCodesWithoutReadingPastTheValue) {
    char field[50];
    for (auto [value, stripped] : {std::pair("^1Red ^^2Blue^7!", "Red Blue!"),
                                   {"plain", "plain"},
                                   {"end^", "end"},
                                   {"end^^", "end"},
                                   {"^^^x", "x"}}) {
        net::copyStripped(value, field);
        EXPECT_STREQ(field, stripped) << value;
    }
    char small[4];
    net::copyStripped("^1abcdef", small);
    EXPECT_STREQ(small, "abc");
    net::copyStripped(std::string_view("a\0b", 3), field);  // only the value's characters are copied
    EXPECT_EQ(std::string(field, 4), std::string("a\0b\0", 4));
}

using Bytes = std::vector<uint8_t>;

constexpr int kIterations = 3000;

// A literal with its zero bytes.
template <size_t N>
std::string S(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// Random datagrams, and valid datagrams of every format with random edits: bytes changed, bytes that
// matter to the formats inserted, cuts, long runs, repeated pieces (many lines or entries).
class Fuzzer {
  public:
    explicit Fuzzer(uint32_t seed) : rng_(seed) {
        for (const std::string& s :
             {S("\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\^1Lab\\gamename\\baseq3\\g_gametype\\4\\sv_maxclients"
                "\\16\\g_needpass\\0\\url\\^2http://x\n12 50 \"^2Alice\"\n0 0 \"Bot\"\n"),
              S("\xFF\xFF\xFF\xFF\x01statusResponse\n\\sv_hostname\\Allied\\protocol\\8\n50 \"Pvt\"\n"),
              S("\\hostname\\UT\\gamename\\ut\\gametype\\CTFGame\\numplayers\\2\\player_0\\A\\frags_0\\5\\ping_0\\40"
                "\\player_1\\B\\frags_1\\-2\\final\\\\queryid\\1.1"),
              S("\xFF\xFF\xFF\xFFm10.0.0.1:27015\0Name\0de_dust\0cstrike\0CS\0\4\x14\x2E"
                "dl\1\1http\0"),
              S("\xFF\xFF\xFF\xFF\x44\2\0P\0\5\0\0\0\0\0\x80\x3F\1P\0\5\0\0\0\0\0\x80\x3F"),
              S("\xFF\xFF\xFF\xFFgetserversResponse\\\x0A\0\0\1\x6D\x38\\\x0A\0\0\2\x6D\x38\\EOT\0\0\0"),
              S("\xFF\xFF\xFF\xFFgetserversResponse\n\\0a0000016d38\\0A0000026D38\\EOT"),
              S("\xFF\xFF\xFF\xFF\x66\n\1\0\0\0\x0A\0\0\1\x69\x87\x0A\0\0\2\x69\x87\0"), S("2.0a\r\n")})
            seeds_.emplace_back(s.begin(), s.end());
    }
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
    Bytes Next(size_t limit) {
        Bytes d;
        if (Pick(4) == 0) {  // mostly short, now and then as long as a receive buffer
            d.resize(Pick(8) == 0 ? Pick(limit + 1) : Pick(64));
            for (uint8_t& b : d)
                b = static_cast<uint8_t>(Pick(256));
            return d;
        }
        static const uint8_t kSpecial[] = {'\\', '\n', '"', ' ', '^', 0, 0xFF, 'm', 'D', '_', 0x80, 0xFE};
        d = seeds_[Pick(seeds_.size())];
        for (int edits = 1 + static_cast<int>(Pick(8)); edits > 0; --edits) {
            const size_t at = d.empty() ? 0 : Pick(d.size());
            const size_t edit = Pick(5);
            if (edit == 0 && !d.empty())
                d[at] = static_cast<uint8_t>(Pick(256));
            else if (edit == 1)
                d.insert(d.begin() + at, kSpecial[Pick(sizeof kSpecial)]);
            else if (edit == 2)
                d.resize(at);
            else if (edit == 3)
                d.insert(d.begin() + at, Pick(2) ? Pick(300) : Pick(4096),
                         Pick(2) ? kSpecial[Pick(sizeof kSpecial)] : 'A');
            else if (edit == 4 && !d.empty()) {
                const Bytes piece(d.begin() + at, d.begin() + at + 1 + Pick(std::min<size_t>(d.size() - at, 64)));
                for (size_t times = 1 + Pick(200); times > 0; --times)
                    d.insert(d.end(), piece.begin(), piece.end());
            }
        }
        d.resize(std::min(d.size(), limit));
        return d;
    }

  private:
    std::mt19937 rng_;
    std::vector<Bytes> seeds_;
};

template <size_t N>
bool Terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

// The version a reply's judgement offers, "" for none; a question other than the offer's fails.
std::string Offered(const Bytes& reply, const char* own) {
    const net::VersionVerdict v = net::JudgeVersionReply(reply.data(), reply.size(), own);
    const std::string before = "Version ", after = " of Vexar! is now available,\nwould you like to download it now?";
    if (!v.offerDownload)
        return v.question.empty() ? "" : "(question without an offer)";
    const size_t length = v.question.size() - std::min(v.question.size(), before.size() + after.size());
    if (v.question != before + v.question.substr(before.size(), length) + after)
        return "(other question)";
    return v.question.substr(before.size(), length);
}

TEST(ParserFuzz, EveryParserKeepsItsRecordsListsAndTextsSound) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    Fuzzer fuzz(20240611);
    net::RawReply raw;
    ServerRecord kept[catalogue::kGameKindCount];  // one record per kind through all replies, as a list keeps it
    catalogue::ServerList list;
    for (int i = 0; i < kIterations; ++i) {
        const Bytes datagram = fuzz.Next(net::kMasterBufferSize);
        // Each parser gets exactly its datagram in a heap block of that size: a read past it is caught.
        const Bytes d(datagram.begin(), datagram.begin() + std::min(datagram.size(), net::kStatusBufferSize));
        const auto kind = static_cast<uint32_t>(fuzz.Pick(catalogue::kGameKindCount));
        ServerRecord fresh;
        fresh.isFavourite = static_cast<uint32_t>(fuzz.Pick(2));
        for (ServerRecord* r : {&kept[kind], &fresh}) {
            base::CopyText(r->addressText, "10.0.0.1");
            const bool answered = net::parseReply(*r, d.data(), d.size(), kind, cat, fuzz.Pick(2) ? &raw : nullptr);
            ASSERT_TRUE(Terminated(r->hostName) && Terminated(r->mapName) && Terminated(r->infoText) &&
                        Terminated(r->gameName) && Terminated(r->modDisplay) && Terminated(r->webAddress) &&
                        Terminated(r->location) && Terminated(r->versionText) && Terminated(r->adminEmail) &&
                        Terminated(r->passwordText) && Terminated(r->gameTypeDisplay))
                << "iteration " << i;
            ASSERT_TRUE(r->StoredPlayerCount() >= 0 && r->StoredPlayerCount() <= catalogue::kMaxPlayerSlots);
            for (int p = 0; p < r->StoredPlayerCount(); ++p)
                ASSERT_TRUE(Terminated(r->PlayerAt(p)->name)) << "iteration " << i;
            ASSERT_LE(r->modIndex, cat.GameOf(kind)->mods.size());
            ASSERT_TRUE(answered ? r->hostName[0] != '\0' : r->ping == catalogue::kNoPing) << "iteration " << i;
            ASSERT_LE(raw.size, net::kStatusBufferSize);
        }
        const std::string_view text(reinterpret_cast<const char*>(d.data()), d.size());
        for (uint32_t lineKind : {catalogue::kQuake3, catalogue::kMedalOfHonour}) {
            const int lines = net::countPlayerLines(lineKind, text);
            catalogue::PlayerRecord slot;
            const int n = static_cast<int>(fuzz.Pick(static_cast<size_t>(lines) + 3));
            const bool ok = net::parsePlayerLine(lineKind, text, n, slot);
            ASSERT_TRUE(Terminated(slot.name) && lines >= 0);
            ASSERT_TRUE(!ok || (n >= 1 && n <= std::min(lines, catalogue::kMaxPlayerSlots))) << "iteration " << i;
        }
        char field[12];
        net::copyStripped(text, field);
        ASSERT_TRUE(Terminated(field));

        // Master lists: whole entries only, no address byte above 254, no address and port twice.
        const Bytes whole(datagram.begin(), datagram.end());
        const uint32_t listKind = i % 3 == 0   ? catalogue::kEliteForce
                                  : i % 3 == 1 ? catalogue::kQuake3
                                               : catalogue::kHalfLife;
        const net::MasterListReply r = net::ReadMasterReply(listKind, whole.data(), whole.size());
        const size_t entrySize = listKind == catalogue::kEliteForce ? 13 : listKind == catalogue::kHalfLife ? 6 : 7;
        ASSERT_LE((r.entries.size() + r.skipped) * entrySize, whole.size());
        for (const net::MasterEntry& e : r.entries)
            ASSERT_TRUE(e.octets[0] < 255 && e.octets[1] < 255 && e.octets[2] < 255 && e.octets[3] < 255);
        const uint32_t before = list.count;
        ASSERT_EQ(before + net::MergeMasterEntries(list, r.entries), list.count);

        // Version replies offer a plain version token or nothing, never control bytes or a format.
        const Bytes segment(datagram.begin(), datagram.begin() + std::min<size_t>(datagram.size(), 600));
        const std::string offered = Offered(segment, "2.0a");
        ASSERT_TRUE(offered.size() <= 16 &&
                    offered.find_first_not_of("0123456789.-_abcdefghijklmnopqrstuvwxyz"
                                              "ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos)
            << "iteration " << i << ": " << offered;
    }
    for (const ServerRecord* s = list.head; s; s = s->next)
        ASSERT_EQ(list.Find(s->addressText, s->port), s);
    // Replies to "2.0a": the own version in any case or with a line end offers nothing, and neither
    // does text that is no version token; an older one offers, and with no own version any token.
    for (const std::string& silent : {S("2.0A"), S("2.0a\r\n"), S("2.0a\0garbage"), S("2.1\x07"),
                                      S("2.1\r\nPlease visit"), S("%s%n%d"), S(".2"), std::string(17, 'v'), S("\r\n")})
        EXPECT_EQ(Offered(Bytes(silent.begin(), silent.end()), "2.0a"), "") << silent;
    for (const std::string& offered : {S("1.9"), S("2.1-beta_2"), std::string(16, 'v')})
        EXPECT_EQ(Offered(Bytes(offered.begin(), offered.end()), ""), offered);
    EXPECT_EQ(Offered(Bytes{' ', '1', '.', '9', '\n'}, "2.0a"), "1.9");
    EXPECT_FALSE(net::JudgeVersionReply(nullptr, 10, "2.0a").offerDownload);
}

}  // namespace
