// Tests of the server list's cell texts, filter, comparison, header markers and row colours.
#include <gtest/gtest.h>

#include <memory>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "views/row_paint.h"
#include "views/server_columns.h"
#include "views/server_filter.h"
#include "views/server_sort.h"

namespace {

using catalogue::ServerRecord;
using namespace views;

std::unique_ptr<ServerRecord> Answered(const char* name, uint32_t ping = 50, int players = 3, int maxPlayers = 16) {
    auto r = std::make_unique<ServerRecord>();
    base::CopyText(r->addressText, "10.0.0.1");
    r->port = 27960;
    base::CopyText(r->hostName, name);
    base::CopyText(r->passwordText, "0");
    r->ping = ping;
    r->playerCount = players;
    r->maxPlayers = maxPlayers;
    return r;
}

TEST(ServerCellText, TheTenColumns) {
    auto r = Answered("^1Lab ^7One", 87, 5, 16);
    base::CopyText(r->mapName, "oa_dm1");
    base::CopyText(r->gameTypeDisplay, "FFA");
    base::CopyText(r->modDisplay, "BaseQ3");
    EXPECT_EQ(ServerCellText(*r, kColumnPassword), " ");
    EXPECT_EQ(ServerCellText(*r, kColumnFavourite), " ");
    EXPECT_EQ(ServerCellText(*r, kColumnAutoRefresh), " ");
    EXPECT_EQ(ServerCellText(*r, kColumnTitle), "^1Lab ^7One");
    EXPECT_EQ(ServerCellText(*r, kColumnPing), "87");
    EXPECT_EQ(ServerCellText(*r, kColumnMap), "oa_dm1");
    EXPECT_EQ(ServerCellText(*r, kColumnGameType), "FFA");
    EXPECT_EQ(ServerCellText(*r, kColumnMod), "BaseQ3");
    EXPECT_EQ(ServerCellText(*r, kColumnPlayers), "5/16");
    EXPECT_EQ(ServerCellText(*r, kColumnAddress), "10.0.0.1:27960");
    EXPECT_EQ(ServerCellText(*r, 10), "");
    EXPECT_EQ(ServerCellText(*r, -1), "");

    r->privateSlots = 2;
    r->isFavourite = 1;
    r->autoRefresh = 1;
    EXPECT_EQ(ServerCellText(*r, kColumnPlayers), "5/16 (-2)");
    EXPECT_EQ(ServerCellText(*r, kColumnFavourite), "Y");
    EXPECT_EQ(ServerCellText(*r, kColumnAutoRefresh), "Y");
    r->ping = catalogue::kNoPing;
    EXPECT_EQ(ServerCellText(*r, kColumnPing), "9999");
}

TEST(ServerCellText, PasswordCellShowsOneAndTrueButNotOthers) {
    auto r = Answered("x");
    for (const char* flag : {"1", "True", "T"}) {
        base::CopyText(r->passwordText, flag);
        EXPECT_EQ(ServerCellText(*r, kColumnPassword), "Y") << flag;
    }
    for (const char* flag : {"0", "", "t", "yes"}) {
        base::CopyText(r->passwordText, flag);
        EXPECT_EQ(ServerCellText(*r, kColumnPassword), " ") << flag;
    }
}

TEST(ServerCellText, SmallBufferIsCutAndTerminated) {
    auto r = Answered("A rather long server name");
    char buffer[6];
    EXPECT_EQ(ServerCellText(*r, kColumnTitle, buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "A rat");
    EXPECT_EQ(ServerCellText(*r, kColumnAddress, buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "10.0.");
}

TEST(ServerColumns, CreationOrderAndCaptions) {
    EXPECT_EQ(kServerColumnInsertOrder[0], kColumnAddress);
    EXPECT_EQ(kServerColumnInsertOrder[6], kColumnTitle);
    // Each column is inserted at position 0, so inserting in this order yields 0..9 left to right.
    std::vector<int> display;
    for (int c : kServerColumnInsertOrder)
        display.insert(display.begin(), c);
    for (int i = 0; i < kServerColumnCount; ++i)
        EXPECT_EQ(display[i], i);
    EXPECT_STREQ(ServerColumnCaption(kColumnTitle), "Server Title");
    EXPECT_STREQ(ServerColumnCaption(kColumnAddress), "Server Address");
    EXPECT_STREQ(ServerColumnCaption(kColumnPassword), "");
    EXPECT_EQ(ServersVisibleText(12, 30000), "12/30000 Servers visible");
}

TEST(ServerInfoTip, ListsTheStatusAndLeavesOutUnknownContacts) {
    auto r = Answered("^1Lab");
    base::CopyText(r->versionText, "ioq3 1.36");
    base::CopyText(r->gameTypeDisplay, "CTF");
    base::CopyText(r->modDisplay, "CPMA");
    r->pure = 1;
    r->gravity = 800;
    r->gameSpeed = 320;
    r->maxRate = 25000;
    r->captureLimit = 8;
    r->timeLimit = 20;
    r->joinCount = 2;
    EXPECT_EQ(ServerInfoTip(*r),
              "Server: Lab\r\nVersion: ioq3 1.36\r\nIP Address: 10.0.0.1:27960\r\nGametype: CTF\r\nServer Mod: CPMA"
              "\r\nPure Server: Yes\r\nVoting Allowed: No\r\nD/L Allowed: No\r\nGravity: 800\r\nSpeed: 320"
              "\r\nMax Rate: 25000\r\nCapture Limit (CTF): 8\r\nTime Limit: 20\r\nJoined Server: 2 time(s)");
    base::CopyText(r->location, "Berlin");
    base::CopyText(r->adminEmail, "a@b.c");
    std::string tip = ServerInfoTip(*r);
    EXPECT_NE(tip.find("\r\nTime Limit: 20\r\nLocation: Berlin\r\nEmail: a@b.c\r\nJoined"), std::string::npos);
    EXPECT_EQ(tip.find("Website"), std::string::npos);
}

class ServerFilterTest : public ::testing::Test {
  protected:
    void SetUp() override { cat.buildCatalogue(); }
    bool Passes(const ServerRecord& r) { return PassesServerFilter(r, options, cat, catalogue::kQuake3); }
    catalogue::Catalogue cat;
    DisplayOptions options;
};

TEST_F(ServerFilterTest, EveryFlagOffShowsAnsweredServers) {
    auto r = Answered("x", 998, 0, 0);
    EXPECT_TRUE(Passes(*r));
}

TEST_F(ServerFilterTest, NoReplyMeansPing999OrMore) {
    auto r = Answered("x", 999);
    EXPECT_FALSE(Passes(*r));
    r->ping = catalogue::kNoPing;
    EXPECT_FALSE(Passes(*r));
    options.ShowNoReply = 0xFFFFFFFF;
    EXPECT_TRUE(Passes(*r));
}

TEST_F(ServerFilterTest, EmptyFullAndPassworded) {
    auto empty = Answered("x", 50, 0, 16);
    auto full = Answered("x", 50, 16, 16);
    auto over = Answered("x", 50, 17, 16);
    EXPECT_TRUE(Passes(*empty));
    options.HideEmpty = 1;
    EXPECT_FALSE(Passes(*empty));
    EXPECT_TRUE(Passes(*full));
    options.HideFull = 1;
    EXPECT_FALSE(Passes(*full));
    EXPECT_TRUE(Passes(*over));  // "full" is exactly playerCount == maxPlayers

    auto locked = Answered("x");
    base::CopyText(locked->passwordText, "T");
    EXPECT_TRUE(Passes(*locked));
    options.HidePassworded = 1;
    EXPECT_FALSE(Passes(*locked));
    base::CopyText(locked->passwordText, "1");
    EXPECT_FALSE(Passes(*locked));
    base::CopyText(locked->passwordText, "0");
    EXPECT_TRUE(Passes(*locked));
}

TEST_F(ServerFilterTest, ModFilterComparesWithTheGamesModIgnoringCase) {
    auto r = Answered("x");
    base::CopyText(r->modDisplay, "cpma");
    options.ModFilter = 7;
    EXPECT_TRUE(Passes(*r));
    options.ModFilter = 2;
    EXPECT_FALSE(Passes(*r));
    options.ModFilter = 200;  // no such mod
    EXPECT_FALSE(Passes(*r));
    options.ModFilter = 7;
    r->modDisplay[0] = '\0';
    EXPECT_FALSE(Passes(*r));
    // The game is the profile's kind: Elite Force's mod 7 does not exist.
    base::CopyText(r->modDisplay, "CPMA");
    EXPECT_FALSE(PassesServerFilter(*r, options, cat, catalogue::kEliteForce));
}

class CompareServersTest : public ::testing::Test {
  protected:
    int Compare(const ServerRecord& a, const ServerRecord& b, int column) {
        return CompareServers(a, b, column, descending, options);
    }
    uint32_t descending[catalogue::kServerColumns] = {};
    DisplayOptions options;
};

TEST_F(CompareServersTest, NumbersAscendAndDescendAndMinusOneIsEqual) {
    auto fast = Answered("a", 20, 1);
    auto slow = Answered("b", 300, 9);
    EXPECT_LT(Compare(*fast, *slow, kColumnPing), 0);
    EXPECT_GT(Compare(*slow, *fast, kColumnPing), 0);
    EXPECT_EQ(Compare(*fast, *fast, kColumnPing), 0);
    EXPECT_LT(Compare(*fast, *slow, kColumnPlayers), 0);
    descending[kColumnPing] = 1;
    EXPECT_GT(Compare(*fast, *slow, kColumnPing), 0);
    EXPECT_LT(Compare(*fast, *slow, kColumnPlayers), 0);  // directions are per column
    EXPECT_EQ(Compare(*fast, *slow, -1), 0);
    EXPECT_EQ(Compare(*fast, *slow, 10), 0);
}

TEST_F(CompareServersTest, NumbersCompareUnsigned) {
    auto a = Answered("a", 1, -1);  // a negative count is a huge unsigned value
    auto b = Answered("b", 1, 5);
    EXPECT_GT(Compare(*a, *b, kColumnPlayers), 0);
    a->gameTypeIndex = 0x80000000u;
    b->gameTypeIndex = 1;
    EXPECT_GT(Compare(*a, *b, kColumnGameType), 0);
}

TEST_F(CompareServersTest, TextsAreRawUnsignedBytesWithColourCodes) {
    auto upper = Answered("Zeta");
    auto coded = Answered("^1Alpha");
    auto lower = Answered("alpha");
    auto high = Answered("\xC4rger");
    EXPECT_LT(Compare(*upper, *coded, kColumnTitle), 0);  // 'Z' 0x5A < '^' 0x5E
    EXPECT_LT(Compare(*coded, *lower, kColumnTitle), 0);  // '^' 0x5E < 'a' 0x61
    EXPECT_LT(Compare(*lower, *high, kColumnTitle), 0);   // 0xC4 is above every ASCII byte
    auto prefix = Answered("alph");
    EXPECT_LT(Compare(*prefix, *lower, kColumnTitle), 0);
    base::CopyText(upper->addressText, "10.0.0.10");
    base::CopyText(lower->addressText, "10.0.0.9");
    EXPECT_LT(Compare(*upper, *lower, kColumnAddress), 0);  // text, not numeric
    base::CopyText(upper->mapName, "q3dm17");
    base::CopyText(lower->mapName, "Q3DM17");
    EXPECT_GT(Compare(*upper, *lower, kColumnMap), 0);  // case-sensitive
    base::CopyText(upper->modDisplay, "B");
    base::CopyText(lower->modDisplay, "A");
    descending[kColumnMod] = 1;
    EXPECT_LT(Compare(*upper, *lower, kColumnMod), 0);
}

TEST_F(CompareServersTest, FlagColumnsPutTheFlagFirstAndPasswordCountsOnlyOne) {
    auto a = Answered("a");
    auto b = Answered("b");
    base::CopyText(a->passwordText, "1");
    EXPECT_LT(Compare(*a, *b, kColumnPassword), 0);
    descending[kColumnPassword] = 1;
    EXPECT_GT(Compare(*a, *b, kColumnPassword), 0);
    base::CopyText(a->passwordText, "T");  // drawn with the lock, but sorts as unprotected
    EXPECT_EQ(Compare(*a, *b, kColumnPassword), 0);
    a->isFavourite = 1;
    EXPECT_LT(Compare(*a, *b, kColumnFavourite), 0);
    b->isFavourite = 7;
    EXPECT_EQ(Compare(*a, *b, kColumnFavourite), 0);
    b->autoRefresh = 1;
    EXPECT_GT(Compare(*a, *b, kColumnAutoRefresh), 0);
}

TEST_F(CompareServersTest, FavouritesStayOnTopInBothDirections) {
    auto fav = Answered("zzz", 500);
    fav->isFavourite = 1;
    auto other = Answered("aaa", 5);
    options.FavouritesOnTop = 1;
    for (uint32_t dir : {0u, 1u}) {
        descending[kColumnPing] = descending[kColumnTitle] = dir;
        EXPECT_LT(Compare(*fav, *other, kColumnPing), 0);
        EXPECT_GT(Compare(*other, *fav, kColumnTitle), 0);
    }
    // Two favourites are equal whatever the column; two others go by the column.
    auto fav2 = Answered("aaa", 1);
    fav2->isFavourite = 1;
    EXPECT_EQ(Compare(*fav, *fav2, kColumnPing), 0);
    auto other2 = Answered("bbb", 1);
    descending[kColumnPing] = 0;
    EXPECT_GT(Compare(*other, *other2, kColumnPing), 0);
    // Without the option favourites sort by the column like the rest.
    options.FavouritesOnTop = 0;
    EXPECT_GT(Compare(*fav, *other, kColumnPing), 0);
}

TEST_F(CompareServersTest, VisitedOnTopGroupsByJoinCount) {
    auto visited = Answered("z", 500);
    visited->joinCount = 1;
    auto fresh = Answered("a", 5);
    options.VisitedOnTop = 1;
    descending[kColumnPing] = 1;
    EXPECT_LT(Compare(*visited, *fresh, kColumnPing), 0);
    descending[kColumnPing] = 0;
    EXPECT_LT(Compare(*visited, *fresh, kColumnPing), 0);
    // Same join count: equal whatever the column; different counts: by the column.
    auto visited2 = Answered("a", 1);
    visited2->joinCount = 1;
    EXPECT_EQ(Compare(*visited, *visited2, kColumnPing), 0);
    EXPECT_EQ(Compare(*visited, *visited2, kColumnTitle), 0);
    visited2->joinCount = 3;
    EXPECT_GT(Compare(*visited, *visited2, kColumnPing), 0);
    // Two unvisited servers go by the column.
    auto fresh2 = Answered("b", 1);
    EXPECT_GT(Compare(*fresh, *fresh2, kColumnPing), 0);
    // Favourites come first, before the visited rule.
    options.FavouritesOnTop = 1;
    fresh->isFavourite = 1;
    EXPECT_LT(Compare(*fresh, *visited, kColumnPing), 0);
}

TEST(ServerColumnClick, MarkersAndDirections) {
    catalogue::GameProfile p;
    p.sortColumn = 1;
    // Another column: the former one gets the "sorted before" image, the new one its direction.
    HeaderMarkers m = ServerColumnClick(p, kColumnPing);
    EXPECT_EQ(m.formerColumn, 1);
    EXPECT_EQ(m.column, kColumnPing);
    EXPECT_EQ(m.image, kImageAscending);
    EXPECT_EQ(p.sortColumn, kColumnPing);
    EXPECT_EQ(p.sortDescending[kColumnPing], 0u);
    // The same column flips.
    m = ServerColumnClick(p, kColumnPing);
    EXPECT_EQ(m.formerColumn, -1);
    EXPECT_EQ(m.image, kImageDescending);
    EXPECT_EQ(p.sortDescending[kColumnPing], 1u);
    m = ServerColumnClick(p, kColumnPing);
    EXPECT_EQ(m.image, kImageAscending);
    EXPECT_EQ(p.sortDescending[kColumnPing], 0u);
    // A column keeps its own direction when it is chosen again later.
    p.sortDescending[kColumnMap] = 1;
    m = ServerColumnClick(p, kColumnMap);
    EXPECT_EQ(m.formerColumn, kColumnPing);
    EXPECT_EQ(m.image, kImageDescending);
    EXPECT_EQ(p.sortDescending[kColumnMap], 1u);
    // No column sorted before: no former marker; the marker agrees with the direction.
    p.sortColumn = -1;
    m = ServerColumnClick(p, kColumnTitle);
    EXPECT_EQ(m.formerColumn, -1);
    EXPECT_EQ(m.image, kImageAscending);
    p.sortColumn = -1;
    m = ServerColumnClick(p, kColumnMap);
    EXPECT_EQ(m.image, kImageDescending);
    // Out of range: nothing changes.
    m = ServerColumnClick(p, 10);
    EXPECT_EQ(m.column, -1);
    EXPECT_EQ(p.sortColumn, kColumnMap);
}

TEST(ServerSortMarker, RestoresTheMarkerOfTheSortColumn) {
    catalogue::GameProfile p;
    p.sortColumn = kColumnPlayers;
    p.sortDescending[kColumnPlayers] = 1;
    EXPECT_EQ(ServerSortMarker(p).column, kColumnPlayers);
    EXPECT_EQ(ServerSortMarker(p).image, kImageDescending);
    p.sortColumn = -1;
    EXPECT_EQ(ServerSortMarker(p).column, -1);
    p.sortColumn = 42;
    EXPECT_EQ(ServerSortMarker(p).column, -1);
}

class RowPaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < catalogue::kSchemeColours; ++i)
            colours[i] = 0x100 + static_cast<uint32_t>(i);
    }
    uint32_t colours[catalogue::kSchemeColours];
};

TEST_F(RowPaintTest, EvenOddAndTheFirstMatchingMark) {
    auto r = Answered("x");
    EXPECT_EQ(ServerRowColours(colours, *r, 0).text, 0x106u);
    EXPECT_EQ(ServerRowColours(colours, *r, 0).background, 0x100u);
    EXPECT_EQ(ServerRowColours(colours, *r, 3).text, 0x107u);
    EXPECT_EQ(ServerRowColours(colours, *r, 3).background, 0x101u);
    r->joinCount = 1;
    EXPECT_EQ(ServerRowColours(colours, *r, 3).text, 0x109u);
    EXPECT_EQ(ServerRowColours(colours, *r, 3).background, 0x103u);
    r->autoRefresh = 1;
    EXPECT_EQ(ServerRowColours(colours, *r, 3).text, 0x10Au);
    EXPECT_EQ(ServerRowColours(colours, *r, 3).background, 0x104u);
    r->isFavourite = 1;
    EXPECT_EQ(ServerRowColours(colours, *r, 2).text, 0x108u);
    EXPECT_EQ(ServerRowColours(colours, *r, 2).background, 0x102u);
}

TEST_F(RowPaintTest, PingAndPlayerCountColours) {
    auto r = Answered("x", 199, 15, 16);
    EXPECT_EQ(PaintServerCell(colours, *r, 0, kColumnPing, false).textColour, kPingTextGood);
    r->ping = 200;
    EXPECT_EQ(PaintServerCell(colours, *r, 0, kColumnPing, false).textColour, kPingTextBad);
    EXPECT_EQ(kPingTextBad, 0x000000E0u);
    EXPECT_EQ(kPingTextGood, 0x00008000u);
    EXPECT_EQ(PaintServerCell(colours, *r, 0, kColumnPlayers, false).textColour, kPingTextGood);
    r->playerCount = 16;
    EXPECT_EQ(PaintServerCell(colours, *r, 0, kColumnPlayers, false).textColour, kPingTextBad);
    r->playerCount = 17;
    EXPECT_EQ(PaintServerCell(colours, *r, 0, kColumnPlayers, false).textColour, kPingTextBad);
    // Other text columns use the row's text colour.
    EXPECT_EQ(PaintServerCell(colours, *r, 1, kColumnMap, false).textColour, 0x107u);
}

TEST_F(RowPaintTest, CellKindsFillsAndIcons) {
    auto r = Answered("x");
    base::CopyText(r->passwordText, "T");
    CellPaint p = PaintServerCell(colours, *r, 1, kColumnPassword, false);
    EXPECT_EQ(p.kind, CellKind::kIcon);
    EXPECT_EQ(p.icon, kImagePassword);
    EXPECT_EQ(PaintServerCell(colours, *r, 1, kColumnFavourite, false).kind, CellKind::kBlankIcon);
    r->isFavourite = 1;
    EXPECT_EQ(PaintServerCell(colours, *r, 1, kColumnFavourite, false).icon, kImageFavourite);
    r->autoRefresh = 1;
    EXPECT_EQ(PaintServerCell(colours, *r, 1, kColumnAutoRefresh, false).icon, kImageAutoRefresh);

    p = PaintServerCell(colours, *r, 1, kColumnTitle, true);
    EXPECT_EQ(p.kind, CellKind::kColourText);
    EXPECT_EQ(p.indent, 10);
    EXPECT_EQ(p.fill, 0x105u);            // selection bar
    EXPECT_EQ(p.textBackground, 0x102u);  // favourite background, not the selection
    p = PaintServerCell(colours, *r, 1, kColumnAddress, false);
    EXPECT_EQ(p.kind, CellKind::kText);
    EXPECT_EQ(p.fill, 0x102u);
}

TEST_F(RowPaintTest, ListPaneRows) {
    EXPECT_EQ(ListPaneRowColours(colours, 4).text, 0x106u);
    EXPECT_EQ(ListPaneRowColours(colours, 5).background, 0x101u);
    EXPECT_EQ(ListPaneCellFill(colours, 5, false), 0x101u);
    EXPECT_EQ(ListPaneCellFill(colours, 5, true), 0x105u);
}

}  // namespace
