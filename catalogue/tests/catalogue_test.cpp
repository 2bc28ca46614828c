// Tests of the built-in catalogue: its lookups, reply classification and launch data.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/text.h"
#include "catalogue/catalogue.h"

namespace {

using namespace catalogue;

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { cat.buildCatalogue(); }
    Catalogue cat;
};

TEST_F(CatalogueTest, RepliesAreClassifiedByTheFirstMatchingModAndGameType) {
    // Applied in turn to one record per kind: what a reply does not match keeps its position.
    // Kind, reply, then the mod's position and name and the game type's position and name.
    const std::tuple<uint32_t, const char*, uint32_t, const char*, uint32_t, const char*> rows[] = {
        {kQuake3, "\\sv_hostname\\x\\gamename\\CPMA\\g_gametype\\5\\mapname\\cpm22", 7, "CPMA", 5, "Clan Arena"},
        {kQuake3, "\\gamename\\BASEQ3\\g_gametype\\4", 1, "BaseQ3", 4, "CTF"},  // never the silent baseq3 at 5
        {kQuake3, "\\gamename\\unknownmod\\g_gametype\\1", 1, "", 4, "CTF"},
        {kQuake3, "\\gamename\\osp\\g_gametype\\9", 17, "OSP", 4, ""},
        {kQuake3, "\\gamename\\threewave\\g_gametype\\4", 6, "Threewave CTF", 4, "3Wave CTF"},
        {kQuake3, "\\gamename\\seals", 19, "Navy Seals", 4, ""},  // the last mod
        // Keys are read whole: "xgametype" before "gametype" does not hide it.
        {kUnrealTournament, "\\gamename\\ut\\gametype\\CTFGame", 1, "UT", 5, "Capture The Flag"},
        {kUnrealTournament, "\\gamename\\ut\\xgametype\\Assault\\gametype\\CTFGame", 1, "UT", 5, "Capture The Flag"},
        {kMedalOfHonour, "\\protocol\\8\\g_gametype\\3", 1, "MOHAA", 4, "Round Based"},
        {kRenegade, "\\gamename\\ccrenegade\\gametype\\c&c", 1, "C&C Renegade", 1, "C&C"},
        // Half-Life servers by their game folder, ignoring case.
        {kHalfLife, "CStrike", 2, "Counter Strike", 0, ""},
        {kHalfLife, "gearbox", 11, "Opposing Force CTF", 0, ""},
        {kHalfLife, "nomod", 11, "", 0, ""},
    };
    ServerRecord records[kGameKindCount];
    for (auto [kind, reply, modIndex, mod, gameTypeIndex, gameType] : rows) {
        ServerRecord& r = records[kind];
        if (kind == kHalfLife) {
            base::CopyText(r.gameName, reply);
            cat.classifyHalfLife(r);
        } else {
            cat.classifyReply(reply, r, kind);
        }
        EXPECT_EQ(std::tuple(r.modIndex, std::string(r.modDisplay), r.gameTypeIndex, std::string(r.gameTypeDisplay)),
                  std::tuple(modIndex, std::string(mod), gameTypeIndex, std::string(gameType)))
            << reply;
    }
}

TEST_F(CatalogueTest, LookupsAtTheEdgesOfTheTablesAndModsOverridingTheirGame) {
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 1), "BaseQ3");
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 19), "Navy Seals");
    EXPECT_TRUE(!cat.modDisplayOf(kQuake3, 0) && !cat.modDisplayOf(kQuake3, 20) && !cat.GameOf(kGameKindCount));
    EXPECT_STREQ(cat.gameTypeDisplayOf(kQuake3, 7, 5), "Clan Arena");
    EXPECT_STREQ(cat.gameTypeDisplayOf(kQuake3, 6, 7), "Classic CTF");
    EXPECT_TRUE(!cat.gameTypeDisplayOf(kQuake3, 7, 0) && !cat.gameTypeDisplayOf(kQuake3, 7, 6));
    EXPECT_EQ(cat.gameTypeDisplayOf(kQuake3, 8, 1), nullptr);  // Rocket Arena has no game types
    EXPECT_FALSE(cat.defaultPortsOf(42) || cat.launchDataFor(42, ServerRecord()));
    EXPECT_EQ(std::pair(cat.defaultPortsOf(kRenegade)->defaultPort, cat.defaultPortsOf(kRenegade)->defaultHostPort),
              std::pair(25300u, 25301u));
    cat.buildCatalogue();  // a second build adds nothing
    EXPECT_EQ(cat.games().size(), size_t(kGameKindCount));

    // Launch data, configuration files and spectator argument: a mod's own, else the game's.
    ServerRecord r;
    EXPECT_EQ(cat.launchDataFor(kQuake3, r)->programFile, "quake3.exe");  // no mod: the game's
    EXPECT_STREQ(cat.configFilesFor(kQuake3, r), "baseq3\\q3config.cfg;baseq3\\autoexec.cfg");
    EXPECT_EQ(cat.spectatorArgumentFor(kQuake3, r), nullptr);
    r.modIndex = 6;  // Threewave: its own configuration files, the game's program and spectator argument
    EXPECT_STREQ(cat.configFilesFor(kQuake3, r), "threewave\\q3config.cfg;threewave\\autoexec.cfg");
    EXPECT_STREQ(cat.spectatorArgumentFor(kQuake3, r), "+setu team s");
    EXPECT_EQ(cat.launchDataFor(kQuake3, r)->programFile, "quake3.exe");
    r.modIndex = 2;  // Counter Strike: its own program, folder, command line and configuration
    auto cs = cat.launchDataFor(kHalfLife, r);
    EXPECT_EQ(cs->programFile + "|" + cs->folder, "cstrike.exe|C:\\Sierra\\Counter Strike");
    EXPECT_NE(cs->connectTemplate, cat.launchDataFor(kHalfLife, ServerRecord())->connectTemplate);
    EXPECT_STREQ(cat.configFilesFor(kHalfLife, r), "cstrike\\config.cfg");
    EXPECT_STREQ(cat.spectatorArgumentFor(kHalfLife, r), "");
}

}  // namespace
