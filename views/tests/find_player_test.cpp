// Tests of Find Player: matching, the search, the history in vexar.ini and the button rules.
#include <gtest/gtest.h>

#include <memory>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "catalogue/records.h"
#include "testing/fake_settings.h"
#include "views/find_player.h"

namespace {

using catalogue::ServerRecord;
using namespace views;

std::string IniKey(const char* key) {
    return std::string("vexar.ini|find|") + key;
}

TEST(FindMatches, StarSearchesAnywhereAsTypedOrLowerCase) {
    for (const char* name : {"JimBo", "Bob", "bob"})
        EXPECT_TRUE(FindMatches("*Bo", name)) << name;
    EXPECT_FALSE(FindMatches("*Bo", "BOB"));
    EXPECT_TRUE(FindMatches("*BO", "BOB"));
    EXPECT_TRUE(FindMatches("*BO", "jimbo"));
    EXPECT_FALSE(FindMatches("*bo", "JimBo"));  // only the search text is lowered
}

TEST(FindMatches, PlainTextMustBeginTheNameIgnoringCase) {
    EXPECT_TRUE(FindMatches("bo", "Bob"));
    EXPECT_TRUE(FindMatches("bo", "BOB"));
    EXPECT_FALSE(FindMatches("bo", "JimBo"));
    EXPECT_FALSE(FindMatches("bobby", "Bob"));
    EXPECT_TRUE(FindMatches("^1b", "^1Bob"));
    EXPECT_FALSE(FindMatches("Bob", "^1Bob"));
}

TEST(FindMatches, EmptyTextAndStarAloneMatchEverything) {
    for (const char* name : {"", "x", "^1\xE9"}) {
        EXPECT_TRUE(FindMatches("", name));
        EXPECT_TRUE(FindMatches("*", name));
    }
}

TEST(FindSearchText, CutTo29Characters) {
    EXPECT_EQ(LimitSearchText(std::string(40, 'a')), std::string(29, 'a'));
    EXPECT_EQ(LimitSearchText("Bob"), "Bob");
}

class FindPlayersTest : public ::testing::Test {
  protected:
    ServerRecord* Server(const char* name, const char* gameType) {
        char address[20];
        base::FormatText(address, sizeof address, "10.0.0.%d", ++next);
        catalogue::findOrCreateServer(servers, catalogue::MakeServerTemplate(address, 27960));
        ServerRecord* s = servers.tail;
        base::CopyText(s->hostName, name);
        base::CopyText(s->gameTypeDisplay, gameType);
        return s;
    }
    void Player(ServerRecord* s, const char* name) { base::CopyText(s->players()[s->playerCount++].name, name); }
    int next = 0;
    catalogue::ServerList servers;
    catalogue::BuddyList buddies;
};

TEST_F(FindPlayersTest, RowsInServerOrderOnePerMatch) {
    ServerRecord* lab = Server("^1Lab", "CTF");
    ServerRecord* arena = Server("Arena", "FFA");
    Player(lab, "JimBo");
    Player(lab, "Bob");
    Player(arena, "BOB");
    Player(arena, "bob");
    Player(arena, "Bob");
    auto b = std::make_unique<catalogue::BuddyRecord>();
    base::CopyText(b->name, "bob");
    catalogue::appendBuddy(buddies, std::move(b));

    auto results = FindPlayers(servers, "*Bo", false, buddies);
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0].name, "JimBo");
    EXPECT_EQ(results[0].server, lab);
    EXPECT_EQ(results[0].serverName, "^1Lab");
    EXPECT_EQ(results[0].gameType, "CTF");
    EXPECT_EQ(results[0].icon, kNoIcon);
    EXPECT_EQ(results[1].icon, kPaneImageBuddy);
    EXPECT_EQ(results[2].name, "bob");
    EXPECT_EQ(results[2].server, arena);
    EXPECT_EQ(results[2].player, arena->PlayerAt(1));
    EXPECT_EQ(results[3].name, "Bob");

    results = FindPlayers(servers, "bo", false, buddies);
    EXPECT_EQ(results.size(), 4u);
    EXPECT_EQ(FindPlayers(servers, "", false, buddies).size(), 5u);
}

TEST_F(FindPlayersTest, IgnoringColourCodesStripsNameAndServer) {
    ServerRecord* lab = Server("^1Lab", "CTF");
    Player(lab, "^1B^2ob");
    EXPECT_TRUE(FindPlayers(servers, "Bob", false, buddies).empty());
    auto results = FindPlayers(servers, "Bob", true, buddies);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].name, "Bob");
    EXPECT_EQ(results[0].serverName, "Lab");
}

TEST_F(FindPlayersTest, OnlyTheStoredPlayersOfTheReportedCountAreRead) {
    ServerRecord* lab = Server("Lab", "");
    Player(lab, "a");
    Player(lab, "b");
    lab->playerCount = 1;
    EXPECT_EQ(FindPlayers(servers, "", false, buddies).size(), 1u);
    lab->playerCount = 500;  // more than the slots: only the 128 slots are read
    EXPECT_EQ(FindPlayers(servers, "", false, buddies).size(), 128u);
    ServerRecord* noSlots = Server("Empty", "");
    noSlots->playerCount = 8;
    EXPECT_EQ(FindPlayers(servers, "", false, buddies).size(), 128u);
}

TEST(FindHistory, LoadStopsAtTheFirstMissingOrEmptyKey) {
    testing_support::FakeSettings store;
    store.ini[IniKey("find0")] = "alpha";
    store.ini[IniKey("find1")] = "beta";
    store.ini[IniKey("find2")] = "";
    store.ini[IniKey("find3")] = "gamma";
    EXPECT_EQ(LoadFindHistory(store), (std::vector<std::string>{"alpha", "beta"}));
}

TEST(FindHistory, NewTextGoesToTheFirstFreeKeyAndDuplicatesAreNotStored) {
    testing_support::FakeSettings store;
    store.ini[IniKey("find0")] = "alpha";
    store.ini[IniKey("find1")] = "";
    store.ini[IniKey("find5")] = "Beta";
    EXPECT_FALSE(RecordFindText(store, "BETA"));  // anywhere among the 512 keys
    EXPECT_FALSE(RecordFindText(store, "Alpha"));
    EXPECT_EQ(store.writes, 0);
    EXPECT_TRUE(RecordFindText(store, "gamma"));
    EXPECT_EQ(store.ini[IniKey("find1")], "gamma");
    EXPECT_TRUE(RecordFindText(store, "delta"));
    EXPECT_EQ(store.ini[IniKey("find2")], "delta");
    EXPECT_FALSE(RecordFindText(store, ""));  // an empty text is never stored
}

TEST(FindHistory, The513thTextIsNotStored) {
    testing_support::FakeSettings store;
    for (int i = 0; i < kFindHistoryKeys; ++i)
        EXPECT_TRUE(RecordFindText(store, std::string("text") + std::to_string(i)));
    EXPECT_EQ(store.ini[IniKey("find511")], "text511");
    int writes = store.writes;
    EXPECT_FALSE(RecordFindText(store, "one too many"));
    EXPECT_EQ(store.writes, writes);
    EXPECT_EQ(LoadFindHistory(store).size(), 512u);
}

TEST(FindHistory, ChoosingAnEntry) {
    EXPECT_TRUE(ChoiceStartsSearch("bob", "alice"));
    EXPECT_FALSE(ChoiceStartsSearch("BOB", "bob"));
    EXPECT_FALSE(ChoiceStartsSearch("", "bob"));
}

TEST(FindIgnoreColours, ReadCaseInsensitivelyWrittenAsTrueOrFalse) {
    testing_support::FakeSettings store;
    EXPECT_FALSE(ReadIgnoreColours(store));
    store.ini[IniKey("ignorecolours")] = "tRUE";
    EXPECT_TRUE(ReadIgnoreColours(store));
    store.ini[IniKey("ignorecolours")] = "yes";
    EXPECT_FALSE(ReadIgnoreColours(store));
    WriteIgnoreColours(store, true);
    EXPECT_EQ(store.ini[IniKey("ignorecolours")], "True");
    WriteIgnoreColours(store, false);
    EXPECT_EQ(store.ini[IniKey("ignorecolours")], "False");
}

TEST(FindButtons, EnableRules) {
    catalogue::BuddyList buddies;
    ServerRecord server;
    catalogue::PlayerRecord player;
    base::CopyText(player.name, "Bob");
    FindResult r;
    r.player = &player;
    r.server = &server;

    FindButtons all{true, true, true};
    EXPECT_EQ(FindButtonStates(nullptr, buddies, all), FindButtons{});
    FindButtons b = FindButtonStates(&r, buddies, FindButtons{});
    EXPECT_EQ(b, (FindButtons{true, true, true}));

    auto buddy = std::make_unique<catalogue::BuddyRecord>();
    base::CopyText(buddy->name, "BOB");
    catalogue::appendBuddy(buddies, std::move(buddy));
    server.isFavourite = 1;
    // A favourite's player leaves "Add Favourite" as it was.
    EXPECT_EQ(FindButtonStates(&r, buddies, FindButtons{}), (FindButtons{true, false, false}));
    EXPECT_EQ(FindButtonStates(&r, buddies, all), (FindButtons{true, false, true}));
}

TEST(FindAddBuddy, MarksTheRowAndGivesThePlayerItsServer) {
    ServerRecord server;
    catalogue::PlayerRecord player;
    FindResult r;
    r.player = &player;
    r.server = &server;
    EXPECT_EQ(PrepareAddBuddy(r), &player);
    EXPECT_EQ(r.icon, kPaneImageBuddy);
    EXPECT_EQ(player.server, &server);
    CellPaint p = PaintFindCell(catalogue::GameProfile().colours, r, 0, 0, false);
    EXPECT_EQ(p.icon, kPaneImageBuddy);
    EXPECT_EQ(FindListPlacement(400, 300).width, 378);
    EXPECT_EQ(FindListPlacement(400, 300).height, 178);
}

}  // namespace
