// Tests of the built-in catalogue tables, its lookups and reply classification.
#include <gtest/gtest.h>

#include "catalogue/catalogue.h"

namespace {

using namespace catalogue;

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { cat.buildCatalogue(); }
    Catalogue cat;
};

TEST_F(CatalogueTest, NineGamesInCatalogueOrderWithTheirKinds) {
    const uint32_t order[] = {0, 5, 2, 3, 1, 6, 4, 8, 7};
    ASSERT_EQ(cat.games().size(), 9u);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(cat.games()[i].kind, order[i]) << i;
    cat.buildCatalogue();  // a second build adds nothing
    EXPECT_EQ(cat.games().size(), 9u);
}

TEST_F(CatalogueTest, GameFieldsOfTheTable) {
    const GameDefinition* ut = cat.GameOf(kUnrealTournament);
    ASSERT_NE(ut, nullptr);
    EXPECT_EQ(ut->programFile, "System\\UnrealTournament.exe");
    EXPECT_EQ(ut->connectTemplate, " $ip:$hostport/[?Name=\"$name\"][?pass=\"$pw\"]");
    EXPECT_EQ(ut->spectatorArgument, "");
    EXPECT_EQ(cat.iconIndexOf(kUnrealTournament), 8u);
    auto ports = cat.defaultPortsOf(kRenegade);
    ASSERT_TRUE(ports);
    EXPECT_EQ(ports->defaultPort, 25300u);
    EXPECT_EQ(ports->defaultHostPort, 25301u);
    EXPECT_EQ(ports->asksHostPort, 1u);
    EXPECT_EQ(cat.defaultPortsOf(kQuake3)->asksHostPort, 0u);
    EXPECT_STREQ(cat.gameIniFileOf(kQuake3), "q3a.ini");
    EXPECT_STREQ(cat.shortNameOf(kSoldierOfFortune2), "SOF2");
    EXPECT_STREQ(cat.rconCommandsFileOf(kMedalOfHonour), "rcon_commands_mohaa.txt");
    EXPECT_EQ(cat.GameOf(kEliteForce)->masterPort, 27953u);
    EXPECT_EQ(cat.GameOf(kHalfLife)->configFiles, "");
    EXPECT_EQ(cat.GameOf(kWolfenstein)->versions.size(), 4u);
    EXPECT_EQ(cat.GameOf(kWolfenstein)->versions[0].protocol, 55u);
    EXPECT_EQ(cat.GameOf(kEliteForce)->versions[2].protocol, 24u);
}

TEST_F(CatalogueTest, EveryMasterAddressIsADottedIpv4Address) {
    for (const GameDefinition& g : cat.games()) {
        int a, b, c, d;
        char tail;
        ASSERT_EQ(sscanf(g.masterAddress.c_str(), "%d.%d.%d.%d%c", &a, &b, &c, &d, &tail), 4) << g.title;
        EXPECT_LT(g.masterAddress.size(), 20u);  // fits a profile's master address field
    }
}

TEST_F(CatalogueTest, UnknownKindsAndPositionsYieldNothing) {
    EXPECT_EQ(cat.GameOf(9), nullptr);
    EXPECT_EQ(cat.gameIniFileOf(42), nullptr);
    EXPECT_EQ(cat.iconIndexOf(42), 0u);
    EXPECT_FALSE(cat.defaultPortsOf(42));
    EXPECT_EQ(cat.modDisplayOf(kQuake3, 0), nullptr);
    EXPECT_EQ(cat.modDisplayOf(kQuake3, 20), nullptr);
    EXPECT_EQ(cat.gameTypeDisplayOf(kQuake3, 7, 0), nullptr);
    EXPECT_EQ(cat.gameTypeDisplayOf(kQuake3, 7, 6), nullptr);
    EXPECT_EQ(cat.gameTypeDisplayOf(kQuake3, 8, 1), nullptr);  // Rocket Arena has no game types
}

TEST_F(CatalogueTest, QuakeModPositionsIncludingTheSilentSecondBaseq3) {
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 1), "BaseQ3");
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 5), "");
    EXPECT_EQ(cat.ModAt(kQuake3, 5)->modValue, "baseq3");
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 6), "Threewave CTF");
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 7), "CPMA");
    EXPECT_STREQ(cat.modDisplayOf(kQuake3, 19), "Navy Seals");
    EXPECT_STREQ(cat.gameTypeDisplayOf(kQuake3, 7, 5), "Clan Arena");
    EXPECT_STREQ(cat.gameTypeDisplayOf(kQuake3, 6, 7), "Classic CTF");
    EXPECT_STREQ(cat.modDisplayOf(kHalfLife, 11), "Opposing Force CTF");
    EXPECT_STREQ(cat.gameTypeDisplayOf(kUnrealTournament, 1, 6), "Last Man Standing");
    EXPECT_STREQ(cat.gameTypeDisplayOf(kSoldierOfFortune2, 1, 4), "Elimination");
}

TEST_F(CatalogueTest, CpmaWithGameType5IsClanArena) {
    ServerRecord r;
    cat.classifyReply("\\sv_hostname\\x\\gamename\\CPMA\\g_gametype\\5\\mapname\\cpm22", r, kQuake3);
    EXPECT_EQ(r.modIndex, 7u);
    EXPECT_STREQ(r.modDisplay, "CPMA");
    EXPECT_EQ(r.gameTypeIndex, 5u);
    EXPECT_STREQ(r.gameTypeDisplay, "Clan Arena");
}

TEST_F(CatalogueTest, Baseq3AlwaysWinsAtPositionOne) {
    ServerRecord r;
    cat.classifyReply("\\gamename\\BASEQ3\\g_gametype\\4", r, kQuake3);
    EXPECT_EQ(r.modIndex, 1u);
    EXPECT_STREQ(r.gameTypeDisplay, "CTF");
    EXPECT_EQ(r.gameTypeIndex, 4u);
}

TEST_F(CatalogueTest, UnmatchedModClearsOnlyTheModNameAndKeepsTheRest) {
    ServerRecord r;
    cat.classifyReply("\\gamename\\cpma\\g_gametype\\1", r, kQuake3);
    ASSERT_EQ(r.modIndex, 7u);
    cat.classifyReply("\\gamename\\unknownmod\\g_gametype\\4", r, kQuake3);
    EXPECT_STREQ(r.modDisplay, "");
    EXPECT_EQ(r.modIndex, 7u);
    EXPECT_EQ(r.gameTypeIndex, 2u);
    EXPECT_STREQ(r.gameTypeDisplay, "Duel");
}

TEST_F(CatalogueTest, UnmatchedGameTypeKeepsItsIndexButClearsItsName) {
    ServerRecord r;
    cat.classifyReply("\\gamename\\osp\\g_gametype\\3", r, kQuake3);
    EXPECT_EQ(r.gameTypeIndex, 3u);
    cat.classifyReply("\\gamename\\osp\\g_gametype\\9", r, kQuake3);
    EXPECT_EQ(r.modIndex, 17u);
    EXPECT_EQ(r.gameTypeIndex, 3u);
    EXPECT_STREQ(r.gameTypeDisplay, "");
}

TEST_F(CatalogueTest, GameTypeKeysFollowTheFirstSubstringRule) {
    // "gametype" occurs first inside "g_gametype": its value decides for Unreal Tournament.
    ServerRecord r;
    cat.classifyReply("\\gamename\\ut\\gametype\\CTFGame", r, kUnrealTournament);
    EXPECT_EQ(r.gameTypeIndex, 5u);
    cat.classifyReply("\\gamename\\ut\\xgametype\\Assault\\gametype\\CTFGame", r, kUnrealTournament);
    EXPECT_EQ(r.gameTypeIndex, 3u);
}

TEST_F(CatalogueTest, MohaaIsRecognisedByItsProtocolKey) {
    ServerRecord r;
    cat.classifyReply("\\protocol\\8\\g_gametype\\3", r, kMedalOfHonour);
    EXPECT_STREQ(r.modDisplay, "MOHAA");
    EXPECT_STREQ(r.gameTypeDisplay, "Round Based");
}

TEST_F(CatalogueTest, HalfLifeFolderCstrikeIsCounterStrikeWithItsOwnProgram) {
    ServerRecord r;
    snprintf(r.gameName, sizeof r.gameName, "CStrike");
    cat.classifyHalfLife(r);
    EXPECT_EQ(r.modIndex, 2u);
    EXPECT_STREQ(r.modDisplay, "Counter Strike");
    auto launch = cat.launchDataFor(kHalfLife, r);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->programFile, "cstrike.exe");
    EXPECT_EQ(launch->folder, "C:\\Sierra\\Counter Strike");
    EXPECT_EQ(launch->connectTemplate,
              "+connect $ip:$port [+name \"$name\"] [+password \"$pw\"] [+rcon_address $ip] [+rcon_port $hostport] "
              "[+rcon_password \"$rconpw\"]");
    EXPECT_STREQ(cat.configFilesFor(kHalfLife, r), "cstrike\\config.cfg");
    EXPECT_STREQ(cat.spectatorArgumentFor(kHalfLife, r), "");

    snprintf(r.gameName, sizeof r.gameName, "tfc");
    cat.classifyHalfLife(r);
    EXPECT_EQ(cat.launchDataFor(kHalfLife, r)->programFile, "hl.exe");
    snprintf(r.gameName, sizeof r.gameName, "nomod");
    cat.classifyHalfLife(r);
    EXPECT_EQ(r.modIndex, 3u);  // kept
    EXPECT_STREQ(r.modDisplay, "");
}

TEST_F(CatalogueTest, LaunchDataWithoutAModFallsBackToTheGameButSpectatorArgumentDoesNot) {
    ServerRecord r;
    EXPECT_EQ(cat.launchDataFor(kQuake3, r)->programFile, "quake3.exe");
    EXPECT_STREQ(cat.configFilesFor(kQuake3, r), "baseq3\\q3config.cfg;baseq3\\autoexec.cfg");
    EXPECT_EQ(cat.spectatorArgumentFor(kQuake3, r), nullptr);
    r.modIndex = 6;
    EXPECT_STREQ(cat.configFilesFor(kQuake3, r), "threewave\\q3config.cfg;threewave\\autoexec.cfg");
    EXPECT_STREQ(cat.spectatorArgumentFor(kQuake3, r), "+setu team s");
    EXPECT_FALSE(cat.launchDataFor(42, r));
}

}  // namespace
