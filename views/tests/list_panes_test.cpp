// Tests of the player and buddy panes and Find Player (rows, icons, sightings, sorting, drawing, stored
// settings) and of the colour-coded names the lists show (every code, drawing, IRC text, stripping).
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "testing/fake_settings.h"
#include "views/buddy_model.h"
#include "views/colour_text.h"
#include "views/find_player.h"
#include "views/list_pane.h"
#include "views/player_rows.h"

namespace {

using catalogue::BuddyRecord;
using catalogue::PlayerRecord;
using catalogue::ServerRecord;
using namespace views;
using Events = std::vector<RowEvent>;

class ListPanesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        profile.kind = catalogue::kQuake3;
        for (int i = 0; i < catalogue::kSchemeColours; ++i)
            profile.colours[i] = 0x100 + static_cast<uint32_t>(i);
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
        PlayerRecord* p = &server.PlayerSlot(server.playerCount++);
        base::CopyText(p->name, name);
        p->score = score;
        p->ping = ping;
        p->server = &server;
        return p;
    }
    std::string PlayerRows() {
        std::string out;
        for (int i = 0; i < players.size(); ++i)
            out += players.Row(i)->name + "(" + std::to_string(players.Row(i)->icon) + ") ";
        return out;
    }
    std::string BuddyRows() {
        std::string out;
        for (int i = 0; i < buddies.size(); ++i)
            out += std::string(buddies.BuddyAt(i)->name) + " ";
        return out;
    }
    catalogue::GameProfile profile;
    DisplayOptions options;
    ServerRecord lab, arena;
    PlayerPaneModel players{profile, options};
    BuddyModel buddies{profile};
};

TEST_F(ListPanesTest, PlayerRowsOnePerNameBotsWhenShownBuddiesMarked) {
    Buddy("SARGE");
    Player(lab, "Bob", 5, 40);
    Player(lab, "bob", 9, 50);    // the same name in another letter case
    Player(lab, "^1Bob", 1, 60);  // colour codes make another name
    Player(lab, "Anarki", 3, 0);  // a bot
    Player(lab, "Sarge", 0, 0);   // a bot and a buddy
    lab.maxPlayers = 12;
    EXPECT_FALSE(players.ShowServer(lab, -1));
    EXPECT_EQ(PlayerRows(), "Bob(-1) ^1Bob(-1) ");
    EXPECT_EQ(std::tuple(players.Row(0)->score, players.Row(0)->ping, players.CountText()),
              std::tuple(std::string("5"), std::string("40"), std::string("2/12 Players visible")));
    bool tooMany = true;
    profile.kind = catalogue::kHalfLife;  // none until this refresh's players reply is in (captureLimit 1)
    EXPECT_FALSE(players.ShowServer(lab, -1) || players.size() ||
                 ForwardServerPlayers(lab, profile.kind, tooMany).size());
    lab.captureLimit = 1;  // then every Half-Life player has ping 0: shown, never a bot
    players.ShowServer(lab, -1);
    EXPECT_EQ(PlayerRows(), "Bob(-1) ^1Bob(-1) Anarki(-1) Sarge(2) ");
    profile.kind = catalogue::kRenegade;  // no players listed, the maximum kept
    lab.maxPlayers = 32;
    players.ShowServer(lab, -1);
    EXPECT_EQ(std::pair(players.CountText(), players.MarkBuddy("BOB", false)),
              std::pair(std::string("0/12 Players visible"), -1));
    profile.kind = catalogue::kQuake3;
    options.ShowBots = 0xFFFFFFFF;
    players.ShowServer(lab, -1);
    EXPECT_EQ(PlayerRows(), "Bob(-1) ^1Bob(-1) Anarki(1) Sarge(2) ");  // the buddy icon wins over the bot icon
    EXPECT_EQ(std::pair(players.MarkBuddy("BOB", false), players.MarkBuddy("sarge", true)), std::pair(0, 3));
    EXPECT_EQ(PlayerRows(), "Bob(2) ^1Bob(-1) Anarki(1) Sarge(-1) ");
    auto added = players.AddSelectedToBuddies({1, 3, 7});
    EXPECT_EQ(std::pair(added.size(), std::string(added.at(0)->name)), std::pair(size_t(2), std::string("^1Bob")));
    EXPECT_EQ(PlayerRows(), "Bob(2) ^1Bob(2) Anarki(1) Sarge(2) ");

    for (int i = 0; i < 128; ++i)  // more than 128 players: reported, only the slots read
        Player(arena, ("p" + std::to_string(i)).c_str(), i, 10 + i);
    // Exactly the slots: not too many.
    EXPECT_EQ(std::pair(ForwardServerPlayers(arena, catalogue::kQuake3, tooMany).size(), tooMany),
              std::pair(size_t(128), false));
    arena.playerCount = 200;
    EXPECT_TRUE(players.ShowServer(arena, -1) && players.size() == 128);
    auto forwarded = ForwardServerPlayers(arena, catalogue::kQuake3, tooMany);
    EXPECT_EQ(std::tuple(tooMany, forwarded.size(), forwarded[127]),
              std::tuple(true, size_t(128), arena.PlayerAt(127)));
    arena.playerCount = 2;
    arena.PlayerAt(1)->server = nullptr;
    arena.PlayerAt(1)->ping = 0;  // bots are forwarded too, with their server set
    EXPECT_EQ(
        std::tuple(ForwardServerPlayers(arena, catalogue::kQuake3, tooMany).size(), tooMany, arena.PlayerAt(1)->server),
        std::tuple(size_t(2), false, &arena));
    ServerRecord empty;  // no slots: nothing
    empty.playerCount = 5;
    EXPECT_TRUE(ForwardServerPlayers(empty, catalogue::kQuake3, tooMany).empty());
}

TEST_F(ListPanesTest, PlayerRowsSortDrawAndGoWithTheirServer) {
    Player(lab, "b", 5, 300);
    Player(lab, "^1z", -2, 20);
    Player(lab, "C", 10, 100);
    PlayerRecord* high = Player(lab, "\xE9t\xE9", 0, -1);  // a ping of -1 is the largest
    lab.PlayerAt(0)->server = nullptr;                     // never forwarded
    players.ShowServer(lab, 0);
    EXPECT_EQ(PlayerRows(), "C(-1) ^1z(-1) b(-1) \xE9t\xE9(-1) ");  // names as bytes
    players.Sort(1);                                                // scores signed
    EXPECT_EQ(PlayerRows(), "^1z(-1) \xE9t\xE9(-1) b(-1) C(-1) ");
    players.Sort(2);  // pings unsigned
    EXPECT_EQ(PlayerRows(), "^1z(-1) C(-1) b(-1) \xE9t\xE9(-1) ");
    players.Sort(-1);  // every pair equal: the order stays
    EXPECT_EQ(PlayerRows(), "^1z(-1) C(-1) b(-1) \xE9t\xE9(-1) ");
    base::CopyText(high->name, "^2live");  // the name is drawn as it is now, the numbers as copied
    high->score = 99;
    CellPaint c = players.PaintCell(3, 0, false);
    EXPECT_EQ(std::tuple(c.kind, std::string(c.text), c.fill),
              std::tuple(CellKind::kIconAndColourText, std::string("^2live"), 0x101u));
    c = players.PaintCell(3, 1, true);
    EXPECT_EQ(std::tuple(c.kind, std::string(c.text), c.indent, c.fill),
              std::tuple(CellKind::kText, std::string("0"), 10, 0x105u));
    EXPECT_EQ(std::string(players.PaintCell(3, 2, false).text), "-1");
    EXPECT_EQ(players.PaintCell(5, 0, false).kind, CellKind::kFillOnly);
    // The Steam kinds' players have no ping (so none is a bot): the third column is their time.
    profile.kind = catalogue::kTeamFortress2;
    lab.captureLimit = 1;
    for (uint16_t i = 0, seconds[] = {59, 3600, 61, 0}; i < 4; ++i)
        lab.PlayerAt(i)->secondsConnected = seconds[i];
    players.ShowServer(lab, 2);
    std::string times;
    for (int i = 0; i < players.size(); ++i)
        times += players.Row(i)->name + " " + players.CellText(i, 2) + " " + std::to_string(players.Row(i)->icon) + ",";
    EXPECT_EQ(times, "^2live 0:00 -1,b 0:59 -1,C 1:01 -1,^1z 1:00:00 -1,");
    EXPECT_TRUE(players.ServerRemoved(&arena).empty());
    EXPECT_EQ(players.ServerRemoved(&lab), (std::vector<int>{3, 2, 1, 0}));  // rows remember their server
    EXPECT_EQ(players.PlayerAt(0), nullptr);
}

TEST_F(ListPanesTest, BuddySightingsCountShowTheLastServerAndEndWithResetReloadOrTheServer) {
    BuddyRecord* bob = Buddy("^1Bob");
    BuddyRecord* amy = Buddy("Amy");
    EXPECT_EQ(buddies.Reload().events, (Events{{RowEvent::kRebuild, -1}}));
    EXPECT_EQ(buddies.PlayerSeen(*Player(lab, "^1BOB", 7, 33)).events, (Events{{RowEvent::kUpdate, 0}}));
    EXPECT_EQ(std::tuple(bob->server, bob->score, bob->ping, bob->online), std::tuple(&lab, 7, 33, 1u));
    EXPECT_EQ(std::tuple(buddies.Row(0)->icon, buddies.Row(0)->server, buddies.Row(0)->game),
              std::tuple(kPaneImageBuddy, std::string("^1Lab"), std::string("CTF")));
    buddies.PlayerSeen(*Player(arena, "^1bob"));
    EXPECT_EQ(std::pair(buddies.Row(0)->server, buddies.Row(0)->game),
              std::pair(std::string("Arena"), std::string("FFA")));
    EXPECT_TRUE(buddies.PlayerSeen(*Player(lab, "Bob")).events.empty());  // colour codes are part of the name
    PlayerRecord loose{.name = "Amy"};                                    // a player on no server
    EXPECT_TRUE(buddies.PlayerSeen(loose).events.empty());
    EXPECT_EQ(buddies.CountText(), "2/2 Buddies online");  // sightings
    EXPECT_TRUE(buddies.ServerToLocate(0) == &arena && !buddies.ServerToLocate(1) && !buddies.ServerToLocate(7));
    buddies.Reset();  // the records go offline, the rows stay as last drawn
    EXPECT_EQ(std::tuple(profile.onlineBuddies, bob->server || bob->player, bob->ping), std::tuple(0u, false, 0));
    EXPECT_EQ(buddies.Row(0)->icon, kPaneImageBuddy);
    EXPECT_EQ(buddies.PaintCell(0, 1, false).kind, CellKind::kFillOnly);  // the server only when online
    buddies.PlayerSeen(*Player(lab, "^1Bob", 1, 40));
    buddies.Reload();
    EXPECT_EQ(std::tuple(bob->server != nullptr, bob->online, bob->ping, buddies.Row(0)->icon, buddies.CountText()),
              std::tuple(false, 0u, 0, kPaneImageBuddyOffline, std::string("0/2 Buddies online")));
    buddies.PlayerSeen(*Player(lab, "^1Bob"));
    buddies.PlayerSeen(*Player(arena, "Amy"));
    EXPECT_EQ(buddies.ServerRemoved(&lab).events, (Events{{RowEvent::kUpdate, 0}}));  // its buddies go offline
    EXPECT_EQ(std::tuple(bob->server != nullptr, bob->online, amy->server, profile.onlineBuddies),
              std::tuple(false, 0u, &arena, 1u));
    EXPECT_EQ(std::pair(buddies.Row(0)->icon, buddies.Row(0)->server),
              std::pair(kPaneImageBuddyOffline, std::string()));
    buddies.Clear();  // no rows now, but no buddy may keep the removed server
    EXPECT_EQ(profile.onlineBuddies, 0u);
    EXPECT_TRUE(buddies.ServerRemoved(&arena).events.empty());
    EXPECT_EQ(std::pair(amy->server != nullptr, profile.onlineBuddies), std::pair(false, 0u));  // never below 0
}

TEST_F(ListPanesTest, BuddiesAreAddedByNameOrFromAPlayerRemovedAndSortedOnlineFirst) {
    Buddy("bob");
    buddies.Reload();
    EXPECT_TRUE(buddies.AddByName("Bob").events.empty());  // known in another letter case
    EXPECT_EQ(buddies.AddByName("^1Bob").events, (Events{{RowEvent::kInsert, 1}}));
    EXPECT_EQ(buddies.Row(1)->icon, kPaneImageBuddyOffline);
    buddies.AddByName(std::string(60, 'x'));  // stored as its first 49 characters, which then match
    EXPECT_EQ(std::string(profile.buddies.tail->name), std::string(49, 'x'));
    EXPECT_TRUE(buddies.AddByName(std::string(60, 'X')).events.empty());
    PlayerRecord* bobPlayer = Player(lab, "BOB", 12, 80);
    EXPECT_EQ(buddies.AddFromPlayer(*bobPlayer, 0).events, (Events{{RowEvent::kUpdate, 0}, {RowEvent::kReorder, -1}}));
    EXPECT_EQ(std::tuple(profile.buddies.head->player, profile.buddies.head->online, profile.onlineBuddies),
              std::tuple(bobPlayer, 1u, 0u));  // an existing buddy is not counted again
    EXPECT_EQ(buddies.AddFromPlayer(*Player(arena, "^4Kim", 1, 20), 0).events,
              (Events{{RowEvent::kInsert, 3}, {RowEvent::kReorder, -1}}));
    EXPECT_EQ(std::pair(profile.buddies.tail->server, profile.onlineBuddies), std::pair(&arena, 1u));
    EXPECT_EQ(BuddyRows(), "^4Kim bob ^1Bob " + std::string(49, 'x') + " ");  // online first, then by name
    BuddyUpdate u = buddies.RemoveRows({3, 1, 2, 9, 1});
    EXPECT_EQ(u.unmarkedNames, (std::vector<std::string>{"bob", "^1Bob", std::string(49, 'x')}));
    EXPECT_EQ(u.events, (Events{{RowEvent::kDelete, 1}, {RowEvent::kDelete, 1}, {RowEvent::kDelete, 1}}));
    EXPECT_EQ(std::tuple(BuddyRows(), profile.buddies.count, profile.onlineBuddies),
              std::tuple(std::string("^4Kim "), 1u, 0u));
    EXPECT_TRUE(buddies.RemoveRows({}).events.empty());
    EXPECT_TRUE(buddies.IsBuddy("^4KIM") && !buddies.IsBuddy("^4Ki"));

    for (const char* name : {"off2", "a", "off1", "B"})
        Buddy(name);
    buddies.Reload();
    buddies.PlayerSeen(*Player(arena, "a"));         // Arena, FFA (1)
    buddies.PlayerSeen(*Player(lab, "B"));           // ^1Lab, CTF (4)
    buddies.Sort(0);                                 // names as bytes: 'B' 0x42 before 'a' 0x61
    EXPECT_EQ(BuddyRows(), "B a ^4Kim off2 off1 ");  // offline buddies are equal whatever their names
    buddies.Sort(1);                                 // 'A' 0x41 before '^' 0x5E
    EXPECT_EQ(BuddyRows(), "a B ^4Kim off2 off1 ");
    buddies.Sort(0);
    buddies.Sort(2);
    EXPECT_EQ(BuddyRows(), "a B ^4Kim off2 off1 ");
    buddies.Sort(-1);  // only online before offline
    EXPECT_EQ(BuddyRows(), "a B ^4Kim off2 off1 ");
    CellPaint c = buddies.PaintCell(1, 1, true);
    EXPECT_EQ(std::tuple(c.kind, std::string(c.text), c.indent, c.fill),
              std::tuple(CellKind::kColourText, std::string("^1Lab"), 5, 0x105u));
    c = buddies.PaintCell(1, 0, false);
    EXPECT_EQ(std::tuple(c.kind, c.icon, std::string(c.text)),
              std::tuple(CellKind::kIconAndColourText, kPaneImageBuddy, std::string("B")));
    c = buddies.PaintCell(3, 2, false);
    EXPECT_EQ(std::tuple(c.kind, c.indent, c.fill), std::tuple(CellKind::kText, 10, 0x101u));
}

std::string& Ini(testing_support::FakeSettings& store, const std::string& key) {
    return store.ini["vexar.ini|find|" + key];
}

TEST_F(ListPanesTest, FindPlayersGivesOneRowPerMatchInServerOrderStrippedOnRequestAndSetsTheButtons) {
    catalogue::ServerList& servers = profile.servers;
    auto addServer = [&](const char* address, const char* name, const char* gameType, auto... players) {
        catalogue::findOrCreateServer(servers, catalogue::MakeServerTemplate(address, 27960));
        base::CopyText(servers.tail->hostName, name);
        base::CopyText(servers.tail->gameTypeDisplay, gameType);
        (Player(*servers.tail, players), ...);
        return servers.tail;
    };
    ServerRecord* first = addServer("10.0.0.1", "^1Lab", "CTF", "JimBo", "^1B^2ob");
    ServerRecord* second = addServer("10.0.0.2", "Arena", "FFA", "BOB", "bob", "Bob");
    catalogue::BuddyList& buddies = profile.buddies;
    Buddy("BOB");
    EXPECT_EQ(LimitSearchText(std::string(40, 'a')), std::string(29, 'a'));
    // A star searches anywhere, as typed or lowered; plain text begins the name in any letter case.
    auto results = FindPlayers(servers, "*Bo", false, buddies, catalogue::kQuake3);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(std::tuple(results[0].name, LocateResult(servers, results[0], catalogue::kQuake3).server,
                         results[0].serverName, results[0].gameType, results[0].icon),
              std::tuple(std::string("JimBo"), first, std::string("^1Lab"), std::string("CTF"), kNoIcon));
    EXPECT_EQ(
        std::tuple(results[1].name, LocateResult(servers, results[1], catalogue::kQuake3).player, results[1].icon),
        std::tuple(std::string("bob"), second->PlayerAt(1), kPaneImageBuddy));
    EXPECT_EQ(FindPlayers(servers, "bo", false, buddies, catalogue::kQuake3).size(), 3u);
    EXPECT_EQ(FindPlayers(servers, "*BOB", false, buddies, catalogue::kQuake3).size(),
              2u);  // BOB as typed, bob lowered
    results =
        FindPlayers(servers, "Bob", true, buddies, catalogue::kQuake3);  // colour codes stripped from name and server
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(std::pair(results[0].name, results[0].serverName), std::pair(std::string("Bob"), std::string("Lab")));
    first->MakePlayerSlots(500);  // more than there can be: the 128 slots are made
    first->playerCount = 500;     // and only they are read
    EXPECT_EQ(FindPlayers(servers, "", false, buddies, catalogue::kQuake3).size(), 131u);
    addServer("10.0.0.3", "No slots", "")->playerCount = 8;
    first->playerCount = 1;  // only the players of the reported count
    EXPECT_EQ(FindPlayers(servers, "", false, buddies, catalogue::kQuake3).size(), 4u);

    // Join always; Add Buddy unless a buddy; a favourite's player leaves Add Favourite as it was.
    FindResult r = FindPlayers(servers, "JimBo", false, buddies, catalogue::kQuake3).at(0);
    auto found = [&] { return LocateResult(servers, r, catalogue::kQuake3); };
    const FindButtons all{true, true, true};
    EXPECT_EQ(FindButtonStates(nullptr, found(), buddies, all), FindButtons{});
    EXPECT_EQ(FindButtonStates(&r, found(), buddies, FindButtons{}), all);
    Buddy("jimbo");
    first->isFavourite = 1;
    EXPECT_EQ(FindButtonStates(&r, found(), buddies, FindButtons{}), (FindButtons{true, false, false}));
    EXPECT_EQ(FindButtonStates(&r, found(), buddies, all), (FindButtons{true, false, true}));
    first->PlayerAt(0)->server = nullptr;
    EXPECT_EQ(PrepareAddBuddy(r, found()), first->PlayerAt(0));  // the row gets the buddy icon, the player its server
    EXPECT_EQ(std::pair(r.icon, first->PlayerAt(0)->server), std::pair(kPaneImageBuddy, first));
    EXPECT_EQ(PaintFindCell(profile.colours, r, 0, 0, false).icon, kPaneImageBuddy);

    first->playerCount = 0;  // a refresh left fewer players: the slot is not read, the server stays
    EXPECT_EQ(std::pair(found().server, found().player), std::pair(first, static_cast<PlayerRecord*>(nullptr)));
}

TEST(FindHistory, TextsGoToTheFirstFreeKeyOnceLoadStopsAtTheFirstGapAndPaneColumnsAndSortAreStoredUnderTheGeometryKey) {
    testing_support::FakeSettings store;
    Ini(store, "find0") = "alpha";
    Ini(store, "find1") = "";
    Ini(store, "find5") = "Beta";
    for (const char* known : {"BETA", "Alpha", ""})  // anywhere among the 512 keys, in any case
        EXPECT_FALSE(RecordFindText(store, known)) << known;
    EXPECT_EQ(store.writes, 0);
    EXPECT_TRUE(RecordFindText(store, "gamma") && RecordFindText(store, "delta"));
    EXPECT_EQ(std::tuple(Ini(store, "find1"), Ini(store, "find2"), Ini(store, "find4")),
              std::tuple(std::string("gamma"), std::string("delta"), std::string("")));
    EXPECT_EQ(LoadFindHistory(store), (std::vector<std::string>{"alpha", "gamma", "delta"}));

    testing_support::FakeSettings full;
    for (int i = 0; i < kFindHistoryKeys; ++i)
        Ini(full, "find" + std::to_string(i)) = "text" + std::to_string(i);
    EXPECT_FALSE(RecordFindText(full, "one too many"));
    EXPECT_EQ(full.writes, 0);
    EXPECT_EQ(LoadFindHistory(full).size(), 512u);
    EXPECT_TRUE(ChoiceStartsSearch("bob", "alice") && !ChoiceStartsSearch("BOB", "bob") &&
                !ChoiceStartsSearch("", "b"));

    EXPECT_FALSE(ReadIgnoreColours(store));
    for (auto [stored, ignore] : {std::pair("tRUE", true), {"yes", false}}) {
        Ini(store, "ignorecolours") = stored;
        EXPECT_EQ(ReadIgnoreColours(store), ignore) << stored;
        WriteIgnoreColours(store, ignore);
        EXPECT_EQ(Ini(store, "ignorecolours"), ignore ? "True" : "False");
    }

    // The list panes' column widths and sort column, under the geometry key.
    store.WriteDword(base::kGeometryKey, "PLCW01", 0);  // missing: the default; zero: 60; else the low word
    store.WriteDword(base::kGeometryKey, "PLCW02", 0x30091);
    EXPECT_EQ(ReadPaneWidths(store, base::reg::kPlayerColumnWidthFormat, kPlayerPaneColumns),
              (PaneWidths{100, 60, 0x91}));
    WritePaneWidths(store, base::reg::kBuddyColumnWidthFormat, {90, 91, 92});
    EXPECT_EQ(store.ReadDword(base::kGeometryKey, "BLCW02"), 92u);
    int sortColumn = -1;
    auto click = [&](int column) {
        PaneSortMarkers m = PaneColumnClick(sortColumn, column, store, base::reg::kPlayerSortColumn);
        return std::tuple(m.clearColumn, m.markColumn, sortColumn);
    };
    EXPECT_EQ(RestorePaneSort(sortColumn, store, base::reg::kPlayerSortColumn).markColumn, -1);
    EXPECT_EQ(click(1), std::tuple(-1, 1, 1));
    EXPECT_EQ(click(1), std::tuple(1, 1, 1));  // always ascending: the same marker again
    EXPECT_EQ(click(2), std::tuple(1, 2, 2));
    EXPECT_EQ(click(3), std::tuple(-1, -1, 2));  // no such column
    int restored = -1;                           // after a restart
    EXPECT_EQ(std::pair(RestorePaneSort(restored, store, base::reg::kPlayerSortColumn).markColumn, restored),
              std::pair(2, 2));
    store.WriteDword(base::kGeometryKey, "COBDY", 9);  // no column: it sorts nothing and shows no marker
    EXPECT_EQ(std::pair(RestorePaneSort(restored, store, base::reg::kBuddySortColumn).markColumn, restored),
              std::pair(-1, 9));
}

// Records every call: "C<colour>" for a colour change, "<char>@<x>,<y>" for a drawn glyph.
class RecordingPainter : public GlyphPainter {
  public:
    void SetTextColour(uint32_t colour) override { calls.push_back("C" + std::to_string(colour)); }
    void DrawGlyph(int x, int y, char c, const TextRect& clip) override {
        calls.push_back(std::string(1, c) + "@" + std::to_string(x) + "," + std::to_string(y));
        clipRight = clip.right;
    }
    int GlyphWidth(unsigned char c) override { return c >= 128 ? 11 : 7; }  // accented letters are wider

    std::vector<std::string> calls;
    int clipRight = -1;
};

const auto Wrap = [](const std::string& body) { return "\0031,0 " + body + "\0031,0"; };

TEST(ColourCodes, EveryCodeDrawsTheGamesColourOfItsLastCharacterHasItsMircTextAndMatchesWhole) {
    // The games' rule: colour (c - '0') & 7 of black, red, green, yellow, blue, cyan, magenta, black.
    const uint32_t palette[8] = {kColourBlack, kColourRed,  kColourGreen,   kColourYellow,
                                 kColourBlue,  kColourCyan, kColourMagenta, kColourBlack};
    const std::map<uint32_t, std::string> mirc = {{kColourBlack, "1,0"},   {kColourRed, "4,0"},   {kColourGreen, "9,0"},
                                                  {kColourYellow, "8,0"},  {kColourBlue, "12,0"}, {kColourCyan, "11,0"},
                                                  {kColourMagenta, "13,0"}};
    const std::set<std::string> caretKept = {"^^8", "^(", "^@", "^^h", "^^p", "^^x"};
    for (const ColourCode& entry : ColourCodeTable) {
        const std::string code = entry.code;
        const uint32_t colour = palette[(static_cast<unsigned char>(code.back()) - '0') & 7];
        RecordingPainter p;
        DrawColourText({0, 0, 50, 10}, p, (code + "x").c_str());
        EXPECT_EQ(p.calls, (std::vector<std::string>{"C0", "C" + std::to_string(colour), "x@0,0"})) << code;
        const std::string irc = caretKept.count(code) ? std::string("^\0031,0") : "\003" + mirc.at(colour);
        EXPECT_TRUE(!caretKept.count(code) || colour == kColourBlack) << code;
        EXPECT_EQ(ColourTextToIrc(code + "x"), Wrap(irc + "x")) << code;
        EXPECT_EQ(StripColourCodes(code + "x"), "x") << code;
    }
    // Matching folds only ASCII letters and needs the whole code.
    EXPECT_EQ(MatchColourCode("^A", 0), MatchColourCode("^a", 0));
    EXPECT_STREQ(MatchColourCode("^^X", 0)->code, "^^x");
    for (const char* none : {"^+", "^\\", "^", "^^", "x^1", "^\xC3", "^^a"})
        EXPECT_EQ(MatchColourCode(none, 0), nullptr) << none;           // 0xC3 is no folded 0xE3
    EXPECT_EQ(MatchColourCode(std::string_view("^1", 1), 0), nullptr);  // cut off by the end
}

TEST(DrawColourText, StartsBlackSwitchesAtCodesAndAdvancesByEachGlyphsWidth) {
    RecordingPainter p;  // "^+" is no code; a lone caret at the end is drawn; glyphs beyond the right edge too
    DrawColourText({100, 20, 130, 36}, p, "^1Red^7N\xE9^Ax^+^");
    EXPECT_EQ(p.calls,
              (std::vector<std::string>{"C0", "C224", "R@100,20", "e@107,20", "d@114,20", "C0", "N@121,20",
                                        "\xE9@128,20", "C224", "x@139,20", "^@146,20", "+@153,20", "^@160,20"}));
    EXPECT_EQ(p.clipRight, 130);
    RecordingPainter empty;
    DrawColourText({0, 0, 50, 10}, empty, nullptr);
    EXPECT_EQ(empty.calls, std::vector<std::string>{"C0"});
}

TEST(ColourTextToIrc, DigitsAfterACodeGetABoldPairAndTheWorstCaseFitsItsBuffer) {
    EXPECT_EQ(ColourTextToIrc("^1Red^7Name"), Wrap("\0034,0Red\0031,0Name"));
    EXPECT_EQ(ColourTextToIrc("^17up"), Wrap("\0034,0\002\0027up"));
    EXPECT_EQ(ColourTextToIrc("^1x7"), Wrap("\0034,0x7"));
    EXPECT_EQ(ColourTextToIrc("^1^29"), Wrap("\0034,0\0039,0\002\0029"));  // after two codes in a row too
    EXPECT_EQ(ColourTextToIrc("^+x^"), Wrap("^+x^"));
    char empty[IrcBufferSize(0)];
    EXPECT_EQ(ColourTextToIrc("", empty), empty + 5);
    EXPECT_EQ(std::memcmp(empty, "\0031,0 \0031,0", 10), 0);  // with its terminator
    std::string source;  // blue codes, each followed by a digit: 8 bytes for 3 characters
    for (int i = 0; i < 40; ++i)
        source += "^47";
    std::vector<char> buffer(IrcBufferSize(source.size()) + 16, '\x7F');
    char* closing = ColourTextToIrc(source.c_str(), buffer.data());
    EXPECT_EQ(std::string(closing), "\0031,0");
    EXPECT_LE(static_cast<size_t>(closing - buffer.data()) + 5, IrcBufferSize(source.size()));
    EXPECT_EQ(buffer[IrcBufferSize(source.size())], '\x7F');
    EXPECT_EQ(ColourTextToIrc(std::string_view(source)), std::string(buffer.data()));
}

TEST(StripColourCodes, DropsACaretWithItsFollowerAndReadsExactlyTheCount) {
    // Pairs of a text and the text without codes.
    const char* const pairs[] = {"^+x", "x", "^^a^1b",  "b",   "abc^", "abc", "^^",        "",
                                 "a^^", "a", "^1B^2ob", "Bob", "",     "",    "\xC9t\xE9", "\xC9t\xE9"};
    for (size_t i = 0; i < std::size(pairs); i += 2)
        EXPECT_EQ(StripColourCodes(pairs[i]), pairs[i + 1]) << pairs[i];
    const char source[5] = {'a', '^', '1', 'b', '^'};  // no terminator: the bytes after it are not text
    char dest[8] = "#######";
    EXPECT_EQ(StripColourCodes(source, dest, 5), 2u);
    EXPECT_EQ(std::string(dest, 3), "ab#");            // no terminator written
    EXPECT_EQ(StripColourCodes("a^1b", dest, 2), 1u);  // the code is cut by the count
    EXPECT_EQ(StripColourCodes("^^8c", dest, 3), 0u);
    EXPECT_EQ(StripColourCodes("xyz", dest, 0), 0u);
}

}  // namespace

TEST(GameColours, EachGameReadsItsOwnCodesAndTheClassicGamesKeepTheTable) {
    // Dialect, name, then the name stripped and its IRC text between the opening and closing controls.
    const std::tuple<ColourDialect, std::string, std::string, std::string> rows[] = {
        {ColourDialect::kClassic, "^+x^9y", "xy", "^+x\0034,0y"},  // the classic table, untouched
        {ColourDialect::kOpenArena, "^8Or^9a^ab", "Or^9a^ab", "\0037,0Or^9a^ab"},
        {ColourDialect::kIoQuake3, "^aA^+b^", "A^+b^", "\0034,0A^+b^"},
        {ColourDialect::kUrbanTerror, "^9x^ay", "x^ay", "\0034,0x^ay"},
        {ColourDialect::kEtLegacy, "^:x^^y^", "x^^", "\00314,0x^\00314,0^"},  // "^^" is no code, "^y" is
        {ColourDialect::kDarkPlaces, "^x00Fb^^c^xFG0d^7", "b^c^xFG0d", "\00312,0b^c^xFG0d\0031,0"},
        {ColourDialect::kDarkPlaces, "^xf00^123", "23", "\0034,0\0034,0\002\00223"}};
    for (const auto& [dialect, name, stripped, irc] : rows) {
        EXPECT_EQ(StripColourCodes(name, dialect), stripped) << name;
        EXPECT_EQ(ColourTextToIrc(name, dialect), Wrap(irc)) << name;
    }
    EXPECT_EQ(ColourDialectOf(catalogue::kQuake3), ColourDialect::kClassic);
    EXPECT_EQ(ColourDialectOf(catalogue::kNexuiz), ColourDialect::kDarkPlaces);

    // ^xRGB draws in its own colour; "^^" draws one caret; white reads as black on the light rows.
    RecordingPainter p;
    DrawColourText({0, 0, 99, 10}, p, "^x0F0a^^^xFFFb", ColourDialect::kDarkPlaces);
    EXPECT_EQ(p.calls, (std::vector<std::string>{"C0", "C65280", "a@0,0", "^@7,0", "C0", "b@14,0"}));
}
