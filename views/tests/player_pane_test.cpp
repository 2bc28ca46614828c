// Tests of the player pane rules and the shared list-pane settings (widths, sort column).
#include <gtest/gtest.h>

#include <memory>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "testing/fake_settings.h"
#include "views/list_pane.h"
#include "views/player_rows.h"

namespace {

using catalogue::PlayerRecord;
using catalogue::ServerRecord;
using namespace views;

class PlayerPaneTest : public ::testing::Test {
  protected:
    void SetUp() override { profile.kind = catalogue::kQuake3; }
    PlayerRecord* AddPlayer(ServerRecord& s, const char* name, int32_t score, int32_t ping) {
        PlayerRecord* p = &s.players()[s.playerCount++];
        base::CopyText(p->name, name);
        p->score = score;
        p->ping = ping;
        return p;
    }
    void AddBuddy(const char* name) {
        auto b = std::make_unique<catalogue::BuddyRecord>();
        base::CopyText(b->name, name);
        catalogue::appendBuddy(profile.buddies, std::move(b));
    }
    std::vector<std::string> Names(const PlayerPaneModel& m) {
        std::vector<std::string> out;
        for (int i = 0; i < m.size(); ++i)
            out.push_back(m.Row(i)->name);
        return out;
    }
    catalogue::GameProfile profile;
    DisplayOptions options;
    ServerRecord server;
};

TEST_F(PlayerPaneTest, OneRowPerNameIgnoringCase) {
    AddPlayer(server, "Bob", 5, 40);
    AddPlayer(server, "bob", 9, 50);
    AddPlayer(server, "^1Bob", 1, 60);  // colour codes make it another name
    server.maxPlayers = 12;
    PlayerPaneModel m(profile, options);
    EXPECT_FALSE(m.ShowServer(server, -1));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"Bob", "^1Bob"}));
    EXPECT_EQ(m.Row(0)->score, "5");
    EXPECT_EQ(m.Row(0)->ping, "40");
    EXPECT_EQ(profile.shownMaxPlayers, 12u);
    EXPECT_EQ(m.CountText(), "2/12 Players visible");
}

TEST_F(PlayerPaneTest, BotsAreHiddenUnlessShownOrHalfLife) {
    AddPlayer(server, "Sarge", 0, 0);
    AddPlayer(server, "Anarki", 3, 0);
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, -1);
    EXPECT_EQ(m.size(), 0);
    options.ShowBots = 0xFFFFFFFF;
    m.ShowServer(server, -1);
    EXPECT_EQ(m.size(), 2);
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBot);

    options.ShowBots = 0;
    profile.kind = catalogue::kHalfLife;
    m.ShowServer(server, -1);
    EXPECT_EQ(m.size(), 2);
    EXPECT_EQ(m.Row(0)->icon, kNoIcon);  // Half-Life players all have ping 0: no bot icon
}

TEST_F(PlayerPaneTest, BuddyIconWinsOverBotIcon) {
    AddBuddy("SARGE");
    AddPlayer(server, "Sarge", 0, 0);
    AddPlayer(server, "Mynx", 0, 30);
    options.ShowBots = 1;
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, -1);
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBuddy);
    EXPECT_EQ(m.Row(1)->icon, kNoIcon);
}

TEST_F(PlayerPaneTest, RenegadeListsNoPlayersAndKeepsTheOldMaximum) {
    AddPlayer(server, "Havoc", 1, 50);
    server.maxPlayers = 32;
    profile.kind = catalogue::kRenegade;
    profile.shownMaxPlayers = 8;
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, -1);
    EXPECT_EQ(m.size(), 0);
    EXPECT_EQ(m.CountText(), "0/8 Players visible");
}

TEST_F(PlayerPaneTest, MoreThan128PlayersShowTheMessageAndReadOnlyTheSlots) {
    for (int i = 0; i < 128; ++i) {
        char name[8];
        base::FormatText(name, sizeof name, "p%d", i);
        AddPlayer(server, name, i, 10 + i);
    }
    server.playerCount = 200;
    PlayerPaneModel m(profile, options);
    EXPECT_TRUE(m.ShowServer(server, -1));
    EXPECT_EQ(m.size(), 128);
    bool tooMany = false;
    auto forwarded = ForwardServerPlayers(server, tooMany);
    EXPECT_TRUE(tooMany);
    EXPECT_EQ(forwarded.size(), 128u);
    // A server without player slots forwards nothing.
    ServerRecord empty;
    empty.playerCount = 5;
    EXPECT_TRUE(ForwardServerPlayers(empty, tooMany).empty());
    EXPECT_FALSE(tooMany);
}

TEST_F(PlayerPaneTest, ForwardingSetsTheServerReference) {
    PlayerRecord* a = AddPlayer(server, "a", 1, 10);
    PlayerRecord* b = AddPlayer(server, "b", 1, 0);  // bots are forwarded too
    bool tooMany = true;
    auto forwarded = ForwardServerPlayers(server, tooMany);
    EXPECT_FALSE(tooMany);
    EXPECT_EQ(forwarded, (std::vector<PlayerRecord*>{a, b}));
    EXPECT_EQ(a->server, &server);
    EXPECT_EQ(b->server, &server);
}

TEST_F(PlayerPaneTest, SortingByNameScoreAndPing) {
    AddPlayer(server, "b", 5, 300);
    AddPlayer(server, "^1z", -2, 20);
    AddPlayer(server, "C", 10, 100);
    AddPlayer(server, "\xE9t\xE9", 0, 70);
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, 0);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"C", "^1z", "b", "\xE9t\xE9"}));
    m.Sort(1);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"^1z", "\xE9t\xE9", "b", "C"}));
    m.Sort(2);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"^1z", "\xE9t\xE9", "C", "b"}));
    m.Sort(-1);  // every pair equal: order kept
    EXPECT_EQ(Names(m), (std::vector<std::string>{"^1z", "\xE9t\xE9", "C", "b"}));
}

TEST_F(PlayerPaneTest, CompareRules) {
    PlayerRecord a, b;
    base::CopyText(a.name, "Bo");
    base::CopyText(b.name, "Bob");
    EXPECT_LT(ComparePlayers(a, b, 0), 0);  // a prefix first
    a.score = -5;
    b.score = 3;
    EXPECT_LT(ComparePlayers(a, b, 1), 0);  // signed
    a.ping = -1;
    b.ping = 999;
    EXPECT_GT(ComparePlayers(a, b, 2), 0);  // unsigned
    EXPECT_EQ(ComparePlayers(a, b, 3), 0);
    EXPECT_EQ(ComparePlayers(a, b, -1), 0);
}

TEST_F(PlayerPaneTest, ServerRemovedDropsItsRowsEvenWhenNeverForwarded) {
    AddPlayer(server, "a", 1, 10);
    AddPlayer(server, "b", 1, 20);
    AddPlayer(server, "c", 1, 30);
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, -1);
    ServerRecord other;
    EXPECT_TRUE(m.ServerRemoved(&other).empty());
    EXPECT_EQ(m.ServerRemoved(&server), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(m.size(), 0);
}

TEST_F(PlayerPaneTest, BuddyMarkAndAddToBuddyList) {
    AddPlayer(server, "Bob", 1, 10);
    AddPlayer(server, "Alice", 1, 20);
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, -1);
    EXPECT_EQ(m.MarkBuddy("ALICE", false), 1);
    EXPECT_EQ(m.Row(1)->icon, kPaneImageBuddy);
    EXPECT_EQ(m.MarkBuddy("alice", true), 1);
    EXPECT_EQ(m.Row(1)->icon, kNoIcon);
    EXPECT_EQ(m.MarkBuddy("Carol", false), -1);

    auto players = m.AddSelectedToBuddies({0, 1, 7});
    ASSERT_EQ(players.size(), 2u);
    EXPECT_STREQ(players[0]->name, "Bob");
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBuddy);
    EXPECT_EQ(m.Row(1)->icon, kPaneImageBuddy);
    m.Clear();
    EXPECT_EQ(m.size(), 0);
    EXPECT_EQ(m.PlayerAt(0), nullptr);
}

TEST_F(PlayerPaneTest, CellPaintDrawsTheLiveNameAndTheCopiedNumbers) {
    PlayerRecord* p = AddPlayer(server, "^1Bob", 4, 33);
    PlayerPaneModel m(profile, options);
    m.ShowServer(server, -1);
    p->score = 99;
    base::CopyText(p->name, "^2Bob");
    CellPaint c = m.PaintCell(0, 0, false);
    EXPECT_EQ(c.kind, CellKind::kIconAndColourText);
    EXPECT_STREQ(c.text, "^2Bob");
    EXPECT_EQ(c.fill, profile.colours[0]);
    c = m.PaintCell(0, 1, true);
    EXPECT_EQ(c.kind, CellKind::kText);
    EXPECT_STREQ(c.text, "4");
    EXPECT_EQ(c.indent, 10);
    EXPECT_EQ(c.fill, profile.colours[5]);
    EXPECT_EQ(m.PaintCell(5, 0, false).kind, CellKind::kFillOnly);
}

TEST(ListPaneSettings, ColumnWidthsFromTheRegistry) {
    EXPECT_EQ(ColumnWidthFrom(std::nullopt, 70), 70);
    EXPECT_EQ(ColumnWidthFrom(0u, 70), 60);
    EXPECT_EQ(ColumnWidthFrom(0x00030091u, 70), 0x91);
    EXPECT_EQ(ColumnWidthFrom(0x00010000u, 70), 0);

    testing_support::FakeSettings store;
    store.WriteDword(base::kRegistryKey, "PLCW01", 0);  // the other spelling of the key reaches it too
    store.WriteDword(base::kGeometryKey, "PLCW02", 123);
    PaneWidths w = ReadPaneWidths(store, base::reg::kPlayerColumnWidthFormat, kPlayerPaneColumns);
    EXPECT_EQ(w, (PaneWidths{100, 60, 123}));
    WritePaneWidths(store, base::reg::kBuddyColumnWidthFormat, {90, 91, 92});
    EXPECT_EQ(store.ReadDword(base::kGeometryKey, "BLCW00"), 90u);
    EXPECT_EQ(store.ReadDword(base::kGeometryKey, "BLCW02"), 92u);
    EXPECT_EQ(ReadPaneWidths(store, base::reg::kBuddyColumnWidthFormat, kBuddyPaneColumns), (PaneWidths{90, 91, 92}));
}

TEST(ListPaneSettings, SortColumnClickAndRestore) {
    testing_support::FakeSettings store;
    int sortColumn = -1;
    PaneSortMarkers m = RestorePaneSort(sortColumn, store, base::reg::kPlayerSortColumn);
    EXPECT_EQ(sortColumn, -1);
    EXPECT_EQ(m.markColumn, -1);

    m = PaneColumnClick(sortColumn, 1, store, base::reg::kPlayerSortColumn);
    EXPECT_EQ(m.clearColumn, -1);
    EXPECT_EQ(m.markColumn, 1);
    m = PaneColumnClick(sortColumn, 1, store, base::reg::kPlayerSortColumn);  // same column: same order
    EXPECT_EQ(m.clearColumn, 1);
    EXPECT_EQ(m.markColumn, 1);
    m = PaneColumnClick(sortColumn, 2, store, base::reg::kPlayerSortColumn);
    EXPECT_EQ(m.clearColumn, 1);
    EXPECT_EQ(sortColumn, 2);
    EXPECT_EQ(store.ReadDword(base::kGeometryKey, "COPLR"), 2u);
    EXPECT_EQ(PaneColumnClick(sortColumn, 3, store, base::reg::kPlayerSortColumn).markColumn, -1);
    EXPECT_EQ(sortColumn, 2);

    // Survives a restart.
    int restored = -1;
    EXPECT_EQ(RestorePaneSort(restored, store, base::reg::kPlayerSortColumn).markColumn, 2);
    EXPECT_EQ(restored, 2);
    // A stored value that is no column becomes the sort column without a marker (all rows equal).
    store.WriteDword(base::kGeometryKey, "COBDY", 9);
    EXPECT_EQ(RestorePaneSort(restored, store, base::reg::kBuddySortColumn).markColumn, -1);
    EXPECT_EQ(restored, 9);
}

}  // namespace
