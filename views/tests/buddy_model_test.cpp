// Tests of the buddy pane model: sightings and the online count, adding, removing, sorting.
#include <gtest/gtest.h>

#include <memory>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "views/buddy_model.h"

namespace {

using catalogue::BuddyRecord;
using catalogue::PlayerRecord;
using catalogue::ServerRecord;
using namespace views;

class BuddyModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        base::CopyText(lab.hostName, "^1Lab");
        base::CopyText(lab.gameTypeDisplay, "CTF");
        lab.gameTypeIndex = 4;
        base::CopyText(arena.hostName, "Arena");
        base::CopyText(arena.gameTypeDisplay, "FFA");
        arena.gameTypeIndex = 1;
    }
    BuddyRecord* Buddy(const char* name) {
        auto b = std::make_unique<BuddyRecord>();
        base::CopyText(b->name, name);
        BuddyRecord* raw = b.get();
        catalogue::appendBuddy(profile.buddies, std::move(b));
        return raw;
    }
    PlayerRecord* Player(ServerRecord& server, const char* name, int32_t score = 3, int32_t ping = 50) {
        PlayerRecord* p = &server.players()[server.playerCount++];
        base::CopyText(p->name, name);
        p->score = score;
        p->ping = ping;
        p->server = &server;
        return p;
    }
    std::vector<std::string> Names(const BuddyModel& m) {
        std::vector<std::string> out;
        for (int i = 0; i < m.size(); ++i)
            out.push_back(m.BuddyAt(i)->name);
        return out;
    }
    catalogue::GameProfile profile;
    ServerRecord lab;
    ServerRecord arena;
};

TEST_F(BuddyModelTest, ReloadMakesEveryBuddyOfflineInListOrder) {
    BuddyRecord* bob = Buddy("Bob");
    Buddy("Alice");
    bob->server = &lab;
    bob->online = 1;
    bob->ping = 40;
    profile.onlineBuddies = 3;
    BuddyModel m(profile);
    BuddyUpdate u = m.Reload();
    EXPECT_EQ(u.events, (std::vector<RowEvent>{{RowEvent::kRebuild, -1}}));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"Bob", "Alice"}));
    EXPECT_EQ(bob->server, nullptr);
    EXPECT_EQ(bob->online, 0u);
    EXPECT_EQ(bob->ping, 0);
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBuddyOffline);
    EXPECT_EQ(m.CountText(), "0/2 Buddies online");
}

TEST_F(BuddyModelTest, SightingsCountEveryTimeAndTheRowShowsTheLastServer) {
    BuddyRecord* bob = Buddy("^1Bob");
    BuddyModel m(profile);
    m.Reload();
    BuddyUpdate u = m.PlayerSeen(*Player(lab, "^1BOB", 7, 33));
    EXPECT_EQ(u.events, (std::vector<RowEvent>{{RowEvent::kUpdate, 0}}));
    EXPECT_EQ(bob->server, &lab);
    EXPECT_EQ(bob->score, 7);
    EXPECT_EQ(bob->ping, 33);
    EXPECT_EQ(bob->online, 1u);
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBuddy);
    EXPECT_EQ(m.Row(0)->server, "^1Lab");
    EXPECT_EQ(m.Row(0)->game, "CTF");
    m.PlayerSeen(*Player(arena, "^1bob"));
    EXPECT_EQ(profile.onlineBuddies, 2u);
    EXPECT_EQ(m.Row(0)->server, "Arena");
    EXPECT_EQ(m.Row(0)->game, "FFA");
    EXPECT_EQ(m.CountText(), "2/1 Buddies online");
    // Another name, or the name without its colour codes, is no sighting.
    EXPECT_TRUE(m.PlayerSeen(*Player(lab, "Bob")).events.empty());
    EXPECT_EQ(profile.onlineBuddies, 2u);
    // A player on no server changes nothing.
    PlayerRecord loose;
    base::CopyText(loose.name, "^1Bob");
    EXPECT_TRUE(m.PlayerSeen(loose).events.empty());
}

TEST_F(BuddyModelTest, ResetClearsRecordsButLeavesRows) {
    BuddyRecord* bob = Buddy("Bob");
    BuddyModel m(profile);
    m.Reload();
    m.PlayerSeen(*Player(lab, "Bob"));
    m.Reset();
    EXPECT_EQ(profile.onlineBuddies, 0u);
    EXPECT_EQ(bob->server, nullptr);
    EXPECT_EQ(bob->player, nullptr);
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBuddy);  // the row stays as last drawn
    EXPECT_EQ(m.Row(0)->server, "^1Lab");
    // The server column is drawn only for an online buddy.
    EXPECT_EQ(m.PaintCell(0, 1, false).kind, CellKind::kFillOnly);
}

TEST_F(BuddyModelTest, ServerRemovedTakesItsBuddiesOffline) {
    BuddyRecord* bob = Buddy("Bob");
    BuddyRecord* amy = Buddy("Amy");
    BuddyModel m(profile);
    m.Reload();
    m.PlayerSeen(*Player(lab, "Bob"));
    m.PlayerSeen(*Player(arena, "Amy"));
    BuddyUpdate u = m.ServerRemoved(&lab);
    EXPECT_EQ(u.events, (std::vector<RowEvent>{{RowEvent::kUpdate, 0}}));
    EXPECT_EQ(bob->server, nullptr);
    EXPECT_EQ(bob->online, 0u);
    EXPECT_EQ(amy->server, &arena);
    EXPECT_EQ(profile.onlineBuddies, 1u);
    EXPECT_EQ(m.Row(0)->icon, kPaneImageBuddyOffline);
    EXPECT_EQ(m.Row(0)->server, "");
    // After PM_CLEAR the buddies have no rows, but still must not keep the removed server.
    m.Clear();
    EXPECT_EQ(profile.onlineBuddies, 0u);
    EXPECT_TRUE(m.ServerRemoved(&arena).events.empty());
    EXPECT_EQ(amy->server, nullptr);
    EXPECT_EQ(profile.onlineBuddies, 0u);  // never below zero
}

TEST_F(BuddyModelTest, AddByNameIgnoresAnExistingNameInAnyCase) {
    Buddy("bob");
    BuddyModel m(profile);
    m.Reload();
    EXPECT_TRUE(m.AddByName("Bob").events.empty());
    EXPECT_EQ(profile.buddies.count, 1u);
    BuddyUpdate u = m.AddByName("^1Bob");
    EXPECT_EQ(u.events, (std::vector<RowEvent>{{RowEvent::kInsert, 1}}));
    EXPECT_EQ(profile.buddies.count, 2u);
    EXPECT_EQ(m.Row(1)->icon, kPaneImageBuddyOffline);
    // A 60-character name is stored as 49, and then matches its own first 49 characters.
    std::string longName(60, 'x');
    m.AddByName(longName);
    EXPECT_EQ(std::string(profile.buddies.tail->name), std::string(49, 'x'));
    EXPECT_TRUE(m.AddByName(std::string(49, 'X')).events.empty());
}

TEST_F(BuddyModelTest, AddFromPlayerUpdatesOrAppendsAndSorts) {
    Buddy("Zed");
    BuddyRecord* amy = Buddy("Amy");
    BuddyModel m(profile);
    m.Reload();
    PlayerRecord* amyPlayer = Player(lab, "AMY", 12, 80);
    BuddyUpdate u = m.AddFromPlayer(*amyPlayer, 0);
    EXPECT_EQ(u.events, (std::vector<RowEvent>{{RowEvent::kUpdate, 1}, {RowEvent::kReorder, -1}}));
    EXPECT_EQ(amy->player, amyPlayer);
    EXPECT_EQ(amy->online, 1u);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"Amy", "Zed"}));  // online first
    EXPECT_EQ(profile.onlineBuddies, 0u);

    u = m.AddFromPlayer(*Player(arena, "^4Kim", 1, 20), 0);
    EXPECT_EQ(u.events, (std::vector<RowEvent>{{RowEvent::kInsert, 2}, {RowEvent::kReorder, -1}}));
    EXPECT_EQ(profile.buddies.count, 3u);
    EXPECT_STREQ(profile.buddies.tail->name, "^4Kim");
    EXPECT_EQ(profile.buddies.tail->server, &arena);
    EXPECT_EQ(profile.onlineBuddies, 1u);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"Amy", "^4Kim", "Zed"}));
}

TEST_F(BuddyModelTest, RemovingThreeSelectedBuddiesReportsThreeNames) {
    for (const char* n : {"A", "B", "C", "D", "E"})
        Buddy(n);
    BuddyModel m(profile);
    m.Reload();
    m.PlayerSeen(*Player(lab, "D"));
    BuddyUpdate u = m.RemoveRows({3, 1, 4, 9, 1});
    EXPECT_EQ(u.unmarkedNames, (std::vector<std::string>{"B", "D", "E"}));
    EXPECT_EQ(u.events,
              (std::vector<RowEvent>{{RowEvent::kDelete, 1}, {RowEvent::kDelete, 2}, {RowEvent::kDelete, 2}}));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(profile.buddies.count, 2u);
    EXPECT_STREQ(profile.buddies.head->next->name, "C");
    EXPECT_EQ(profile.onlineBuddies, 0u);
    EXPECT_TRUE(m.RemoveRows({}).events.empty());
}

TEST_F(BuddyModelTest, SortingOnlineFirstThenByColumn) {
    Buddy("off2");
    Buddy("b");
    Buddy("off1");
    Buddy("a");
    BuddyModel m(profile);
    m.Reload();
    m.PlayerSeen(*Player(arena, "b"));  // Arena, FFA (1)
    m.PlayerSeen(*Player(lab, "a"));    // ^1Lab, CTF (4)
    m.Sort(0);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"a", "b", "off2", "off1"}));
    m.Sort(1);  // 'A' 0x41 before '^' 0x5E
    EXPECT_EQ(Names(m), (std::vector<std::string>{"b", "a", "off2", "off1"}));
    m.Sort(2);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"b", "a", "off2", "off1"}));
    m.Sort(0);
    m.Sort(-1);  // only online before offline
    EXPECT_EQ(Names(m), (std::vector<std::string>{"a", "b", "off2", "off1"}));
    EXPECT_TRUE(BuddyModel(profile).Sort(0).events.empty());  // no rows, no sort
}

TEST_F(BuddyModelTest, LocateOnlyOnlineBuddiesAndPaintTheirCells) {
    Buddy("Bob");
    Buddy("Off");
    BuddyModel m(profile);
    m.Reload();
    m.PlayerSeen(*Player(lab, "Bob"));
    EXPECT_EQ(m.ServerToLocate(0), &lab);
    EXPECT_EQ(m.ServerToLocate(1), nullptr);
    EXPECT_EQ(m.ServerToLocate(7), nullptr);
    CellPaint c = m.PaintCell(0, 1, true);
    EXPECT_EQ(c.kind, CellKind::kColourText);
    EXPECT_STREQ(c.text, "^1Lab");
    EXPECT_EQ(c.indent, 5);
    EXPECT_EQ(c.fill, profile.colours[5]);
    c = m.PaintCell(0, 0, false);
    EXPECT_EQ(c.icon, kPaneImageBuddy);
    EXPECT_STREQ(c.text, "Bob");
    c = m.PaintCell(1, 2, false);
    EXPECT_EQ(c.kind, CellKind::kText);
    EXPECT_EQ(c.indent, 10);
    EXPECT_EQ(c.fill, profile.colours[1]);
    EXPECT_TRUE(m.IsBuddy("BOB"));
    EXPECT_FALSE(m.IsBuddy("Bo"));
}

TEST(BuddyCompare, TwoOfflineBuddiesAreEqualWhateverTheirNames) {
    BuddyRecord a, b;
    base::CopyText(a.name, "a");
    base::CopyText(b.name, "b");
    EXPECT_EQ(CompareBuddies(a, b, 0), 0);
    ServerRecord s;
    a.server = b.server = &s;
    EXPECT_LT(CompareBuddies(a, b, 0), 0);
    EXPECT_EQ(CompareBuddies(a, b, 1), 0);
    EXPECT_EQ(CompareBuddies(a, b, 5), 0);
}

}  // namespace
