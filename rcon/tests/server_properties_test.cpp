// Server Properties in information mode: which keys are listed, from where, and what is copied.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "catalogue/catalogue.h"
#include "rcon/rcon_protocol.h"
#include "rcon/server_properties.h"
#include "testing/captures.h"

namespace {

using catalogue::kCounterStrikeSource;
using catalogue::kHalfLife;
using catalogue::kMedalOfHonour;
using catalogue::kNexuiz;
using catalogue::kQuake3;
using catalogue::kUnrealTournament;

std::string Listed(uint32_t kind, const std::string& reply) {
    std::string out;
    for (const rcon::PropertyRow& row : rcon::InformationRows(kind, reply))
        out += row.property + "=" + row.value + ";";
    return out;
}

TEST(InformationRows, StatusKeysWithoutPlayerKeysFromTheGamesStart) {
    const std::string q3 =
        "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\Lab\\Player_0\\x\\g_needpass\\1\n0 0 \"p\"\n";
    EXPECT_EQ(Listed(kQuake3, q3), "sv_hostname=Lab;g_needpass=1;");
    EXPECT_EQ(Listed(kMedalOfHonour, "\xFF\xFF\xFF\xFF\x01statusResponse\n\\map\\m\\deaths_1\\3\n"), "map=m;");
    EXPECT_EQ(Listed(kUnrealTournament, "\\hostname\\UT\\frags_0\\5\\final\\\\queryid\\1.1"),
              "hostname=UT;final=;queryid=1.1;");
    EXPECT_EQ(Listed(kHalfLife, q3), "");
    EXPECT_EQ(Listed(catalogue::kTeamFortress2, "\\hostname\\Lab\\sv_gravity\\800"), "hostname=Lab;sv_gravity=800;");
    EXPECT_EQ(Listed(kQuake3, "\xFF\xFF\xFF\xFFstatusResponse\nno pairs"), "");
    EXPECT_EQ(Listed(kQuake3, "short"), "");
    EXPECT_EQ(
        Listed(kQuake3, q3.substr(0, 19) + "\\a\\" + std::string(300, 'v') + "\\" + std::string(256, 'k') + "\\x\\end"),
        "a=;end=;");
    // A real OpenArena reply lists its keys, none of a player's.
    const std::string rows = Listed(kQuake3, testing_support::ReadCapture("openarena_bots.bin"));
    EXPECT_NE(rows.find("sv_hostname=^1Lab ^7Arena;"), std::string::npos);
    EXPECT_NE(rows.find("gamename=baseoa;"), std::string::npos);
}

TEST(InformationRows, UrlValuesAndTheCopiedText) {
    // Web pages only, as the server list opens them: a "www." value never names a local program.
    EXPECT_EQ(rcon::UrlToOpen("www./../../x.exe") + rcon::UrlToOpen("ftp://files"), "http://www./../../x.exe");
    std::vector<rcon::PropertyRow> rows = {{"a", "1"}, {"b", "2"}};
    EXPECT_EQ(rcon::CopyAllText(rows), "a 1\r\nb 2\r\n");
    rows.assign(1000, {"key", std::string(20, 'v')});
    EXPECT_EQ(rcon::CopyAllText(rows).size(), 8191u);
}

TEST(CvarRows, QuakeTablesOfBothAgesHalfLifeLinesAndTheRealList) {
    auto rows = [](uint32_t kind, const std::string& reply) {
        std::string out;
        for (const rcon::PropertyRow& row : rcon::CvarRows(kind, reply))
            out += row.property + "=" + row.value + (row.readOnly ? " (R)" : "") + ";";
        return out;
    };
    EXPECT_EQ(rows(kQuake3,
                   "S R     sv_hostname \"My Server\"\n        g_speed \"320\"\n   RI     g_botsFile \"\"\n\n"
                   "3 total cvars\n"),
              "sv_hostname=My Server (R);g_speed=320;g_botsFile= (R);");
    EXPECT_EQ(rows(kHalfLife, "cvarlist\n--\nsv_gravity : 800 , sv\nmp_timelimit : \"20\"\n42 cvars\n"),
              "sv_gravity=800 ;mp_timelimit=20;");
    EXPECT_EQ(rows(kCounterStrikeSource,
                   "cvar list\n--------------\nsv_gravity          : 800      : , \"sv\", \"rep\" : World gravity.\n"
                   "kick                : cmd      :                : Kick a player\nhostname : My Lab : , \"sv\" :\n"
                   "  2 total convars/concommands\n"),
              "sv_gravity=800;hostname=My Lab;");
    // The lab's OpenArena server (nine flag columns), collected as the console collects it.
    rcon::ReplyCollector collector;
    collector.Start(kQuake3, rcon::kServerProperties, 0);
    std::string captured = testing_support::ReadCapture("openarena_rcon_cvarlist.bin");
    bool complete = false;
    for (size_t at = 0; (at = captured.find("\xFF\xFF\xFF\xFFprint\n", at)) != std::string::npos;) {
        size_t next = captured.find("\xFF\xFF\xFF\xFF", at + 4);
        complete = collector.Take(captured.substr(at, next == std::string::npos ? std::string::npos : next - at), 0);
        at = next;
    }
    EXPECT_TRUE(complete);
    std::vector<rcon::PropertyRow> cvars = rcon::CvarRows(kQuake3, collector.Text());
    EXPECT_EQ(cvars.size(), 282u);
    auto find = [](const std::vector<rcon::PropertyRow>& rows, const char* name) {
        return *std::find_if(rows.begin(), rows.end(), [name](const auto& r) { return r.property == name; });
    };
    EXPECT_EQ(find(cvars, "sv_hostname").value, "^1Lab ^7Arena");
    EXPECT_TRUE(find(cvars, "sv_cheats").readOnly && !find(cvars, "g_spSkill").readOnly);
    // A Nexuiz server's whole list: 137 datagrams, the last one shorter; values may hold quotes.
    collector.Start(kNexuiz, rcon::kServerProperties, 0);
    captured = testing_support::ReadCapture("nexuiz_rcon_cvarlist.bin");
    complete = false;
    for (size_t at = 0; !complete && at < captured.size(); at += rcon::kDarkPlacesFullDatagram)
        complete = collector.Take(captured.substr(at, rcon::kDarkPlacesFullDatagram), 0);
    EXPECT_TRUE(complete);
    cvars = rcon::CvarRows(kNexuiz, collector.Text());
    EXPECT_EQ(cvars.size(), 2221u);
    EXPECT_EQ(find(cvars, "hostname").value, "^1Lab ^7Nexuiz");
    EXPECT_EQ(find(cvars, "rcon_restricted_commands").value.substr(0, 60),
              "restart fraglimit chmap gotomap endmatch reducematchtime ext");
    EXPECT_NE(find(cvars, "rcon_restricted_commands").value.find("kickban \"sv_cmd bans\" \"sv_cmd unban\" status"),
              std::string::npos);
    // "Change" sends the value whole, in quotes.
    EXPECT_EQ(rcon::ChangeCvarCommand("sv_hostname", "My \"Lab\"\n Server"), "sv_hostname \"My Lab Server\"");
    EXPECT_EQ(rcon::ChangeCvarCommand(std::string(30, 'p'), ""), std::string(23, 'p') + " \"\"");
}

TEST(MapList, BspLinesWithoutTheirExtensionAndFsPrefix) {
    EXPECT_EQ(rcon::MapListEntries(
                  "(fs) de_dust.bsp\r\nreadme.txt\n(FS) q3dm17.bsp\n.bsp\nx.aas\nPENDING:   (fs) ctf_2fort.bsp"),
              (std::vector<std::string>{"de_dust", "q3dm17", "", "ctf_2fort"}));
    std::vector<std::string> maps =
        rcon::MapListEntries(rcon::LogText(kQuake3, testing_support::ReadCapture("openarena_rcon_dirmaps.bin")));
    EXPECT_NE(std::find(maps.begin(), maps.end(), "oa_dm1"), maps.end());
    EXPECT_EQ(std::count(maps.begin(), maps.end(), "aggressor"), 1);
    // Nexuiz's "ls maps/*.bsp": two a line.
    maps = rcon::DarkPlacesMapEntries(rcon::LogText(kNexuiz, testing_support::ReadCapture("nexuiz_rcon_lsmaps.bin")));
    EXPECT_EQ(maps.size(), 39u);
    EXPECT_EQ(maps[0] + "," + maps[1] + "," + maps.back(), "accident,aggressor,warfare");
}

}  // namespace
