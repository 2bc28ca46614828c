// Tests of the built-in catalogue (lookups, reply classification, launch data) and of the server list
// (insertion order, the cursor rule, lookup by address).
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/records.h"

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
        // "gametype" is found first inside "xgametype": the first occurrence of a key decides.
        {kUnrealTournament, "\\gamename\\ut\\gametype\\CTFGame", 1, "UT", 5, "Capture The Flag"},
        {kUnrealTournament, "\\gamename\\ut\\xgametype\\Assault\\gametype\\CTFGame", 1, "UT", 3, "Assault"},
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
    // Positions count from 1 (the classification uses them); the names are the tables'.
    EXPECT_TRUE(cat.modDisplayOf(kQuake3, 1) && cat.modDisplayOf(kQuake3, 19) && cat.gameTypeDisplayOf(kQuake3, 7, 5));
    EXPECT_TRUE(!cat.modDisplayOf(kQuake3, 0) && !cat.modDisplayOf(kQuake3, 20) && !cat.GameOf(kGameKindCount));
    EXPECT_TRUE(!cat.gameTypeDisplayOf(kQuake3, 7, 0) && !cat.gameTypeDisplayOf(kQuake3, 7, 6));
    EXPECT_EQ(cat.gameTypeDisplayOf(kQuake3, 8, 1), nullptr);  // Rocket Arena has no game types
    EXPECT_FALSE(cat.defaultPortsOf(42) || cat.launchDataFor(42, ServerRecord()));
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

ServerRecord* Append(ServerList& list, const char* address) {
    auto r = std::make_unique<ServerRecord>();
    base::CopyText(r->addressText, address);
    r->port = 1;
    ServerRecord* raw = r.get();
    EXPECT_EQ(appendServer(list, std::move(r)), list.count);
    return raw;
}

TEST(ServerList, KeepsInsertionOrderAndMovesACursorOnARemovedRecordToTheHead) {
    ServerList list;
    ServerRecord* a = Append(list, "1.1.1.1");
    EXPECT_TRUE(list.head == a && list.tail == a && list.cursor == a);
    ServerRecord* b = Append(list, "2.2.2.2");
    ServerRecord* c = Append(list, "3.3.3.3");
    EXPECT_TRUE(a->next == b && b->next == c && c->prev == b && b->prev == a && list.tail == c);
    EXPECT_EQ(list.cursor, a);
    list.cursor = c;
    removeServer(list, c);
    EXPECT_TRUE(list.cursor == a && list.tail == b && b->next == nullptr);
    removeServer(list, a);  // not the cursor: it stays
    EXPECT_TRUE(list.cursor == b && list.head == b && b->prev == nullptr && list.count == 1);
    list.cursor = b;
    removeServer(list, b);
    EXPECT_TRUE(list.head == nullptr && list.tail == nullptr && list.cursor == nullptr && list.count == 0);
}

TEST(ServerList, LookupIgnoresAddressCaseAndFollowsRemovalsDuplicatesAndClear) {
    ServerList list;
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("Lab.Example", 27960)), nullptr);
    ServerRecord* lab = list.head;
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("lab.example", 27960)), lab);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("lab.example", 27961)), nullptr);  // another port
    EXPECT_EQ(list.count, 2u);
    clearServers(list);
    EXPECT_EQ(list.Find("lab.example", 27960), nullptr);

    // The same address three times, as a hand-edited file may hold it: the first is found, and when
    // it goes the next one takes its place.
    ServerRecord* first = Append(list, "1.1.1.1");
    ServerRecord* second = Append(list, "1.1.1.1");
    ServerRecord* third = Append(list, "1.1.1.1");
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, second);
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, first);
    EXPECT_EQ(list.Find("1.1.1.1", 1), third);
    removeServer(list, third);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("1.1.1.1", 1)), nullptr);
    EXPECT_EQ(list.count, 1u);
}

}  // namespace
