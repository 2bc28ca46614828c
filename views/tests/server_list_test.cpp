// Tests of the server list: cells, info tip, web address, clipboard lines, filter, order, row colours,
// rows and the pane model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <random>
#include <tuple>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "testing/lock_probe.h"
#include "views/clipboard_lines.h"
#include "views/row_paint.h"
#include "views/server_columns.h"
#include "views/server_filter.h"
#include "views/server_list.h"
#include "views/server_rows.h"
#include "views/server_sort.h"
#include "views/web_address.h"

namespace {

using catalogue::ServerRecord;
using namespace views;

void Answered(ServerRecord& r, const char* name, uint32_t ping = 50, int players = 3, int maxPlayers = 16) {
    base::CopyText(r.addressText, "10.0.0.1");
    r.port = 27960;
    base::CopyText(r.hostName, name);
    base::CopyText(r.passwordText, "0");
    r.ping = ping;
    r.playerCount = players;
    r.maxPlayers = maxPlayers;
}

TEST(ServerTexts, CellsOfEveryColumnAndTheInfoTip) {
    ServerRecord r;
    Answered(r, "^1Lab ^7One", 87, 5, 16);
    base::CopyText(r.mapName, "oa_dm1");
    base::CopyText(r.gameTypeDisplay, "CTF");
    base::CopyText(r.modDisplay, "CPMA");
    const char* texts[] = {" ", " ", " ", "^1Lab ^7One", "87", "oa_dm1", "CTF", "CPMA", "5/16", "10.0.0.1:27960"};
    for (int column = 0; column < kServerColumnCount; ++column)
        EXPECT_EQ(ServerCellText(r, column), texts[column]) << column;
    EXPECT_EQ(ServerCellText(r, 10) + ServerCellText(r, -1), "");
    char buffer[6];  // a small buffer cuts the text and keeps it terminated
    EXPECT_EQ(ServerCellText(r, kColumnAddress, buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "10.0.");
    r.privateSlots = 2;
    r.isFavourite = 1;
    r.ping = catalogue::kNoPing;
    EXPECT_EQ(ServerCellText(r, kColumnPlayers) + ServerCellText(r, kColumnPing), "5/16 (-2)9999");
    EXPECT_EQ(ServerCellText(r, kColumnFavourite) + ServerCellText(r, kColumnAutoRefresh), "Y ");
    r.autoRefresh = 1;
    EXPECT_EQ(ServerCellText(r, kColumnAutoRefresh), "Y");
    for (auto [flag, shown] : {std::pair("1", "Y"), {"True", "Y"}, {"T", "Y"}, {"0", " "}, {"", " "}, {"t", " "}}) {
        base::CopyText(r.passwordText, flag);
        EXPECT_EQ(ServerCellText(r, kColumnPassword), shown) << flag;
    }

    base::CopyText(r.versionText, "ioq3 1.36");
    r.pure = r.allowDownload = 1;
    r.gravity = 800;
    r.gameSpeed = 320;
    r.maxRate = 25000;
    r.captureLimit = 8;
    r.timeLimit = 20;
    r.joinCount = 2;
    const std::string head =
        "Server: Lab One\r\nVersion: ioq3 1.36\r\nIP Address: 10.0.0.1:27960\r\nGametype: CTF\r\nServer Mod: CPMA\r\n"
        "Pure Server: Yes\r\nVoting Allowed: No\r\nD/L Allowed: Yes\r\nGravity: 800\r\nSpeed: 320\r\nMax Rate: 25000"
        "\r\nCapture Limit (CTF): 8\r\nTime Limit: 20";
    EXPECT_EQ(ServerInfoTip(r, ColourDialect::kClassic), head + "\r\nJoined Server: 2 time(s)");  // unknown contacts left out
    base::CopyText(r.location, "Berlin");
    base::CopyText(r.adminEmail, "a@b.c");
    EXPECT_EQ(ServerInfoTip(r, ColourDialect::kClassic), head + "\r\nLocation: Berlin\r\nEmail: a@b.c\r\nJoined Server: 2 time(s)");
}

TEST(ClipboardLines, PlayerBuddyAndServerLinesWithTheirPingColours) {
    constexpr ColourDialect kClassic = ColourDialect::kClassic;
    ServerRecord server;
    Answered(server, "^2Lab", 99, 5, 16);
    base::CopyText(server.mapName, "oa_dm1");
    catalogue::PlayerRecord player{.name = "^1Bob", .ping = 100, .score = -3, .server = &server};
    const std::string lab = "\0031,0 \0039,0Lab\0031,0 (\00210.0.0.1:27960\002) \00312|\0031 oa_dm1";
    EXPECT_EQ(PlayerLineText(player, kClassic), "Bob | Lab (10.0.0.1:27960) | oa_dm1 | -3 | 100 ms");
    EXPECT_EQ(PlayerLineIrc(player, kClassic),
              "\0031,0 \0034,0Bob\0031,0 \00312|\0031" + lab + " \00312|\0031 -3 \00312|\0034 100 ms");  // red
    catalogue::BuddyRecord buddy{.name = "bob", .ping = 150, .score = 7, .server = &server};
    EXPECT_EQ(BuddyLineText(buddy, kClassic), "bob | Lab (10.0.0.1:27960) | oa_dm1 | 7 | 150 ms");
    EXPECT_EQ(BuddyLineIrc(buddy, kClassic), "\0031,0 bob\0031,0 \00312|\0031 " + lab + " \00312|\0031 7 \00312|\0034 150 ms");
    EXPECT_EQ(ServerLineText(server, kClassic), "Lab | 10.0.0.1:27960 | oa_dm1 | 5/16 | 99 ms");
    EXPECT_EQ(ServerLineIrc(server, kClassic),
              "\0031,0 \0039,0Lab\0031,0 \00312|\002\0031 10.0.0.1:27960 \002\00312|\0031 "
              "oa_dm1 \00312|\0031 5/16 \00312|\0033 99 ms");  // green below 100
    player.ping = 99;
    player.server = nullptr;
    EXPECT_EQ(PlayerLineText(player, kClassic), "Bob | Not online | -3 | 99 ms");
    EXPECT_EQ(PlayerLineIrc(player, kClassic),
              "\0031,0 \0034,0Bob\0031,0 \00312|\0031Not online \00312|\0031 -3 \00312|\0033 99 ms");
    buddy.server = nullptr;
    buddy.ping = buddy.score = 0;
    EXPECT_EQ(BuddyLineText(buddy, kClassic), "bob | Not online | 0 | 0 ms");
    EXPECT_EQ(BuddyLineIrc(buddy, kClassic), "\0031,0 bob\0031,0 \00312|\0031 Not online \00312|\0031 0 \00312|\0033 0 ms");
    server.ping = 100;
    EXPECT_TRUE(ServerLineIrc(server, kClassic).ends_with(" 5/16 \00312|\0034 100 ms"));
}

TEST(ServerFilter, EachRuleHidesItsServersAndOnlyThose) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    const uint32_t q3 = catalogue::kQuake3, none = catalogue::kNoPing;
    // What the row tells, ping, players of 16, password flag, mod position, mod and game type shown, the
    // profile's game; options: hide empty, passworded, full, show no reply, bots, game type, mod filter.
    const std::tuple<const char*, uint32_t, int, char, uint32_t, const char*, const char*, uint32_t, DisplayOptions,
                     bool>
        rows[] = {{"answered", 998, 3, '0', 0, "", "", q3, {}, true},
                  {"ping 999", 999, 3, '0', 0, "", "", q3, {}, false},
                  {"no reply", none, 3, '0', 0, "", "", q3, {}, false},
                  {"no reply shown", none, 3, '0', 0, "", "", q3, {0, 0, 0, 0xFFFFFFFF}, true},
                  {"empty", 50, 0, '0', 0, "", "", q3, {1}, false},
                  {"one player", 50, 1, '0', 0, "", "", q3, {1}, true},
                  {"full", 50, 16, '0', 0, "", "", q3, {0, 0, 1}, false},
                  {"more than full", 50, 17, '0', 0, "", "", q3, {0, 0, 1}, true},
                  {"password 1", 50, 3, '1', 0, "", "", q3, {0, 1}, false},
                  {"password T", 50, 3, 'T', 0, "", "", q3, {0, 1}, false},
                  {"no password", 50, 3, '0', 0, "", "", q3, {0, 1}, true},
                  // The n-th game type item of the menu (Quake 3 lists baseq3's: 4 is "CTF"), by name
                  // ignoring case, in any mod.
                  {"game type", 50, 3, '0', 7, "", "ctf", q3, {0, 0, 0, 0, 0, 4}, true},
                  {"other game type", 50, 3, '0', 7, "", "clan arena", q3, {0, 0, 0, 0, 0, 4}, false},
                  {"beyond the menu's", 50, 3, '0', 1, "", "ctf", q3, {0, 0, 0, 0, 0, 5}, false},
                  {"no game type", 50, 3, '0', 7, "", "", q3, {0, 0, 0, 0, 0, 4}, false},
                  // The n-th mod of the profile's game.
                  {"mod", 50, 3, '0', 0, "cpma", "", q3, {0, 0, 0, 0, 0, 0, 7}, true},
                  {"other mod", 50, 3, '0', 0, "cpma", "", q3, {0, 0, 0, 0, 0, 0, 2}, false},
                  {"no such mod", 50, 3, '0', 0, "cpma", "", q3, {0, 0, 0, 0, 0, 0, 200}, false},
                  {"the silent baseq3 (no name)", 50, 3, '0', 0, "", "", q3, {0, 0, 0, 0, 0, 0, 5}, false},
                  {"another game", 50, 3, '0', 0, "CPMA", "", catalogue::kEliteForce, {0, 0, 0, 0, 0, 0, 7}, false}};
    for (auto [what, ping, players, password, modIndex, mod, gameType, kind, options, passes] : rows) {
        ServerRecord r;
        Answered(r, "x", ping, players, 16);
        r.passwordText[0] = password;
        r.modIndex = modIndex;
        base::CopyText(r.modDisplay, mod);
        base::CopyText(r.gameTypeDisplay, gameType);
        EXPECT_EQ(PassesServerFilter(r, r.ping, options, cat, kind), passes) << what;
    }
}

TEST(CompareServers, ColumnKeysDirectionsAndTheOnTopRules) {
    ServerRecord s[5];  // 0 "alpha", 1 "Zeta", 2 "^1Alpha", 3 "\xC4rger", 4 "alph"
    Answered(s[0], "alpha", 20, 1);
    Answered(s[1], "Zeta", 300, 9);
    Answered(s[2], "^1Alpha", 300, -1);
    Answered(s[3], "\xC4rger", 5, 5);
    Answered(s[4], "alph", 1);
    base::CopyText(s[0].addressText, "10.0.0.9");
    base::CopyText(s[1].addressText, "10.0.0.10");
    base::CopyText(s[0].mapName, "Q3DM17");
    base::CopyText(s[1].mapName, "q3dm17");
    base::CopyText(s[0].modDisplay, "A");
    base::CopyText(s[1].modDisplay, "B");
    base::CopyText(s[1].passwordText, "1");
    base::CopyText(s[2].passwordText, "T");
    s[2].gameTypeIndex = 0x80000000;
    s[3].gameTypeIndex = 1;
    s[2].isFavourite = s[4].isFavourite = 1;
    s[3].isFavourite = 7;
    s[3].autoRefresh = 1;
    s[1].joinCount = s[4].joinCount = 1;
    s[3].joinCount = 3;
    // Column, the two records, descending, favourites on top, visited on top, the sign of the result.
    // Players and game types compare unsigned (-1 is huge); titles as raw bytes ('Z' < '^' < 'a' < 0xC4), a
    // prefix first; addresses as text; map letter case counts; a password flag first, but "T" sorts as none.
    // Favourites on top either way (equal flags equal, before visited); visited on top by join count.
    // clang-format off
    const std::tuple<int, int, int, uint32_t, uint32_t, uint32_t, int> rows[] = {
        {kColumnPing, 0, 1, 0, 0, 0, -1},          {kColumnPing, 0, 1, 1, 0, 0, 1},
        {kColumnPing, 0, 0, 0, 0, 0, 0},           {kColumnPlayers, 0, 1, 0, 0, 0, -1},
        {kColumnPlayers, 2, 3, 0, 0, 0, 1},        {kColumnGameType, 2, 3, 0, 0, 0, 1},
        {kColumnTitle, 1, 2, 0, 0, 0, -1},         {kColumnTitle, 0, 3, 0, 0, 0, -1},
        {kColumnTitle, 4, 0, 0, 0, 0, -1},         {kColumnAddress, 1, 0, 0, 0, 0, -1},
        {kColumnMap, 1, 0, 0, 0, 0, 1},            {kColumnMod, 1, 0, 1, 0, 0, -1},
        {kColumnPassword, 1, 0, 0, 0, 0, -1},      {kColumnPassword, 2, 0, 0, 0, 0, 0},
        {kColumnFavourite, 2, 0, 0, 0, 0, -1},     {kColumnFavourite, 2, 3, 0, 0, 0, 0},
        {kColumnAutoRefresh, 0, 3, 0, 0, 0, 1},    {kColumnAutoRefresh, 3, 2, 0, 0, 0, -1},
        {10, 0, 1, 0, 0, 0, 0},                    {kColumnPing, 2, 0, 0, 1, 0, -1},
        {kColumnPing, 2, 0, 1, 1, 0, -1},          {kColumnTitle, 0, 2, 0, 1, 0, 1},
        {kColumnPing, 2, 4, 0, 1, 0, 0},           {kColumnPing, 0, 1, 0, 1, 0, -1},
        {kColumnPing, 2, 0, 0, 0, 0, 1},           {kColumnPing, 1, 0, 0, 0, 1, -1},
        {kColumnPing, 1, 0, 1, 0, 1, -1},          {kColumnTitle, 1, 4, 0, 0, 1, 0},
        {kColumnPing, 1, 3, 0, 0, 1, 1},           {kColumnPing, 0, 2, 0, 0, 1, -1},
        {kColumnPing, 2, 1, 0, 1, 1, -1}};
    // clang-format on
    for (auto [column, a, b, descending, favouritesOnTop, visitedOnTop, sign] : rows) {
        uint32_t directions[catalogue::kServerColumns] = {};
        directions[column >= 0 && column < kServerColumnCount ? column : 0] = descending;
        DisplayOptions o;
        o.FavouritesOnTop = favouritesOnTop;
        o.VisitedOnTop = visitedOnTop;
        const int result = CompareServers({s[a], s[a].ping}, {s[b], s[b].ping}, column, directions, o);
        EXPECT_EQ((result > 0) - (result < 0), sign) << "column " << column << ": " << a << " / " << b;
    }
}

TEST(RowPaint, RowColoursCellKindsAndThePingAndPlayerColours) {
    uint32_t colours[catalogue::kSchemeColours];
    for (int i = 0; i < catalogue::kSchemeColours; ++i)
        colours[i] = 0x100 + static_cast<uint32_t>(i);
    ServerRecord r;
    Answered(r, "x", 199, 15, 16);
    auto row = [&](size_t n) {
        return std::pair(ServerRowColours(colours, r, n).text, ServerRowColours(colours, r, n).background);
    };
    auto cell = [&](int column, bool selected = false) { return PaintServerCell(colours, r, 1, column, selected); };
    EXPECT_EQ(std::tuple(row(0), row(2), row(3)),
              std::tuple(std::pair(0x106u, 0x100u), std::pair(0x106u, 0x100u), std::pair(0x107u, 0x101u)));
    EXPECT_EQ(std::tuple(cell(kColumnPing).textColour, cell(kColumnPlayers).textColour, cell(kColumnMap).textColour),
              std::tuple(kPingTextGood, kPingTextGood, 0x107u));
    r.ping = 200;
    r.playerCount = 17;
    EXPECT_EQ(std::pair(cell(kColumnPing).textColour, cell(kColumnPlayers).textColour),
              std::pair(kPingTextBad, kPingTextBad));
    EXPECT_EQ(cell(kColumnFavourite).kind, CellKind::kBlankIcon);
    r.joinCount = 1;
    EXPECT_EQ(row(3), std::pair(0x109u, 0x103u));  // visited
    r.autoRefresh = 1;
    EXPECT_EQ(row(3), std::pair(0x10Au, 0x104u));  // auto refresh before visited
    r.isFavourite = 1;
    EXPECT_EQ(row(3), std::pair(0x108u, 0x102u));  // favourite before both
    base::CopyText(r.passwordText, "T");
    for (auto [column, image] : {std::pair(kColumnPassword, kImagePassword),
                                 {kColumnFavourite, kImageFavourite},
                                 {kColumnAutoRefresh, kImageAutoRefresh}})
        EXPECT_EQ(std::pair(cell(column).kind, cell(column).icon), std::pair(CellKind::kIcon, image));
    CellPaint title = cell(kColumnTitle, true);
    EXPECT_EQ(std::tuple(title.kind, title.indent, title.fill, title.textBackground),
              std::tuple(CellKind::kColourText, 10, 0x105u, 0x102u));  // selection bar, row background
    EXPECT_EQ(cell(kColumnAddress).fill, 0x102u);
    EXPECT_EQ(std::pair(ListPaneRowColours(colours, 5).text, ListPaneCellFill(colours, 5, true)),
              std::pair(0x107u, 0x105u));
    EXPECT_EQ(ListPaneCellFill(colours, 5, false), 0x101u);
}

class ServerListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        profile.kind = catalogue::kQuake3;
        profile.sortColumn = -1;
        for (int i = 0; i < catalogue::kSchemeColours; ++i)
            profile.colours[i] = 0x100 + static_cast<uint32_t>(i);
    }
    ServerRecord* Add(const char* name, uint32_t ping, int players = 1) {
        char address[20];
        base::FormatText(address, sizeof address, "10.0.%d.%d", next / 250, next % 250);
        ++next;
        catalogue::findOrCreateServer(profile.servers, catalogue::MakeServerTemplate(address, 27960));
        ServerRecord* r = profile.servers.tail;
        base::CopyText(r->hostName, name);
        r->ping = ping;
        r->playerCount = players;
        r->maxPlayers = 16;
        return r;
    }
    std::string Names(const ServerListModel& m) {
        std::string out;
        for (int i = 0; i < m.rows().size(); ++i)
            out += m.RecordAt(i)->hostName;
        return out;
    }
    int next = 1;
    catalogue::Catalogue cat;
    catalogue::GameProfile profile;
    DisplayOptions options;
};

// Appends, erasures (also of rows that do not exist) and sorts, checked against a plain vector, in
// phases that grow and shrink the list so that deleted slots pile up and get compacted.
TEST_F(ServerListTest, RowsAgreeWithAPlainVectorUnderRandomEditsAndKeepTheirTextsUntilRefreshed) {
    std::vector<ServerRecord*> pool;
    for (int i = 0; i < 400; ++i)
        pool.push_back(Add("s", static_cast<uint32_t>(i)));
    ServerRows rows;
    std::vector<ServerRecord*> expected;
    std::mt19937 rng(11);
    auto byPing = [](const SortKey& a, const SortKey& b) { return int(a.ping % 7) - int(b.ping % 7); };
    for (int step = 0; step < 6250; ++step) {  // ends growing
        const bool growing = (step / 500) % 2 == 0;
        const int op = static_cast<int>(rng() % 100);
        if (op < (growing ? 70 : 20)) {
            ServerRecord* r = pool[rng() % pool.size()];
            auto it = std::find(expected.begin(), expected.end(), r);
            const int row = static_cast<int>(it - expected.begin());  // a record never gets a second row
            if (it == expected.end())
                expected.push_back(r);
            ASSERT_EQ(rows.Append(r), row);
        } else if (op < 98 && !expected.empty()) {
            const int row = static_cast<int>(rng() % expected.size());
            rows.Erase(row);
            expected.erase(expected.begin() + row);
        } else if (op < 99) {
            rows.Erase(static_cast<int>(expected.size()));
        } else {
            rows.Sort(byPing, nullptr);
            std::stable_sort(expected.begin(), expected.end(), [&](ServerRecord* a, ServerRecord* b) {
                return byPing({*a, a->ping}, {*b, b->ping}) < 0;
            });
        }
        ASSERT_EQ(rows.size(), static_cast<int>(expected.size()));
        ASSERT_EQ(rows.RecordAt(rows.size()), nullptr);
        ServerRecord* probe = pool[rng() % pool.size()];
        auto it = std::find(expected.begin(), expected.end(), probe);
        ASSERT_EQ(rows.RowOf(probe), it == expected.end() ? -1 : static_cast<int>(it - expected.begin()));
        if (!expected.empty()) {
            const int row = static_cast<int>(rng() % expected.size());
            ASSERT_EQ(rows.RecordAt(row), expected[row]);
            ASSERT_STREQ(rows.Text(row, kColumnAddress), ServerCellText(*expected[row], kColumnAddress).c_str());
        }
    }
    EXPECT_EQ(rows.RecordAt(-1), nullptr);
    rows.Clear();
    EXPECT_EQ(rows.RowOf(pool[0]), -1);
    ServerRecord* r = Add("^1Lab", 40, 3);  // a row's texts are copies until they are refreshed
    rows.Append(r);
    r->ping = catalogue::kNoPing;
    EXPECT_STREQ(rows.Text(0, kColumnPing), "40");
    rows.RefreshTexts(0);
    EXPECT_STREQ(rows.Text(0, kColumnPing), "9999");
    r->ping = 41;
    rows.Append(r);  // appending it again rewrites them
    EXPECT_STREQ(rows.Text(0, kColumnPing), "41");
    EXPECT_EQ(std::string(rows.Text(0, 10)) + rows.Text(5, 0), "");
}

TEST_F(ServerListTest, RowsComeAndGoWithTheFilterForwardPlayersReportSelectionsAndPaint) {
    ServerListModel m(profile, options, cat);
    ServerRecord* a = Add("a", 50);
    ServerRecord* silent = Add("b", catalogue::kNoPing);
    auto update = [](ServerRowUpdate u) { return std::tuple(u.change, u.row, u.forwardPlayers); };
    EXPECT_EQ(update(m.AddServerRow(*a)), std::tuple(RowChange::kInserted, 0, false));
    EXPECT_EQ(update(m.AddServerRow(*a)), std::tuple(RowChange::kUpdated, 0, false));  // never a second row
    EXPECT_EQ(update(m.AddServerRow(*silent)), std::tuple(RowChange::kNone, -1, false));
    EXPECT_EQ(m.VisibleText(), "1/2 Servers visible");
    // Selection: only changes are reported, with remote control except for Unreal Tournament.
    a->isFavourite = 1;
    EXPECT_FALSE(m.SelectionChanged(-1).changed);
    SelectionChange s = m.SelectionChanged(0);
    EXPECT_EQ(std::tuple(s.changed, s.record, s.isFavourite, s.remoteControl), std::tuple(true, a, true, true));
    EXPECT_FALSE(m.SelectionChanged(0).changed);
    s = m.SelectionChanged(-1);
    EXPECT_EQ(std::pair(s.changed, s.record != nullptr), std::pair(true, false));
    profile.kind = catalogue::kUnrealTournament;
    EXPECT_FALSE(m.SelectionChanged(0).remoteControl);
    profile.kind = catalogue::kQuake3;
    a->ping = 300;  // cells are painted from the record, a row that does not exist blank
    EXPECT_EQ(std::pair(m.PaintCell(0, kColumnPing, false).textColour, m.PaintCell(3, kColumnTitle, false).kind),
              std::pair(kPingTextBad, CellKind::kBlankIcon));
    a->isFavourite = 0;
    a->joinCount = 2;
    EXPECT_EQ(m.ColoursOfRow(0).text, profile.colours[kSchemeVisitedText]);
    // No row and filtered out: nothing inserted, but the players are forwarded all the same.
    EXPECT_EQ(update(m.ServerChanged(*silent)), std::tuple(RowChange::kNone, -1, true));
    silent->ping = 60;
    EXPECT_EQ(update(m.ServerChanged(*silent)), std::tuple(RowChange::kInserted, 1, true));
    silent->ping = 70;
    EXPECT_EQ(update(m.ServerChanged(*silent)), std::tuple(RowChange::kUpdated, 1, true));
    EXPECT_STREQ(m.rows().Text(1, kColumnPing), "70");
    silent->ping = catalogue::kNoPing;  // a row that now fails the filter goes, players not forwarded
    EXPECT_EQ(update(m.ServerChanged(*silent)), std::tuple(RowChange::kDeleted, 1, false));
    // A record without a row has nothing to remove; a row takes its record with it.
    EXPECT_EQ(m.EraseRowAndServer(m.RowOf(silent)), -1);
    EXPECT_EQ(m.EraseRowAndServer(0), 0);
    EXPECT_EQ(profile.servers.count, 1u);
    EXPECT_EQ(profile.servers.head, silent);
}

TEST_F(ServerListTest, ColumnClicksSortTheRowsFlipOrKeepDirectionsAndMarkTheFormerColumn) {
    ServerListModel m(profile, options, cat);
    for (auto [name, ping] : {std::pair{"b", 30u}, {"c", 10u}, {"a", 20u}})
        m.AddServerRow(*Add(name, ping));
    auto click = [&](int column) {
        HeaderMarkers h = m.ColumnClick(column);
        return std::tuple(h.formerColumn, h.column, h.image, profile.sortColumn, Names(m));
    };
    using Clicked = std::tuple<int, int, int, int, std::string>;
    EXPECT_EQ(click(kColumnPing), Clicked(-1, 4, kImageAscending, 4, "cab"));   // nothing sorted before
    EXPECT_EQ(click(kColumnPing), Clicked(-1, 4, kImageDescending, 4, "bac"));  // the same column flips
    profile.sortDescending[kColumnTitle] = 1;                                   // another keeps its direction
    EXPECT_EQ(click(kColumnTitle), Clicked(4, 3, kImageDescending, 3, "cba"));
    EXPECT_EQ(click(10), Clicked(-1, -1, -1, 3, "cba"));  // no such column: nothing changes
    m.AddServerRow(*Add("z", 5));                         // rows added later go to the end until the next sort
    HeaderMarkers h = m.RestoreSort();
    EXPECT_EQ(std::tuple(h.column, h.image, Names(m)), std::tuple(3, kImageDescending, std::string("zcba")));
    EXPECT_EQ(click(kColumnTitle), Clicked(-1, 3, kImageAscending, 3, "abcz"));
    profile.sortColumn = 42;
    EXPECT_EQ(m.RestoreSort().column, -1);
}

TEST_F(ServerListTest, PingIsReadUnderTheRefreshLockByTheFilterAndOnceBeforeASort) {
    std::mutex lock;
    ServerListModel m(profile, options, cat, [&lock] { return &lock; });
    ServerRecord* a = Add("a", 30);
    m.AddServerRow(*a);
    m.AddServerRow(*Add("b", 20));
    profile.sortColumn = kColumnPing;
    // While the refresh's worker holds the lock and writes a's ping, the model's reads wait for it.
    EXPECT_TRUE(testing_support::WaitsForLock(
        lock, [&] { m.Sort(); }, [&] { a->ping = 10; }));
    EXPECT_EQ(Names(m), "ab");
    EXPECT_TRUE(testing_support::WaitsForLock(
        lock, [&] { m.ServerChanged(*a); }, [&] { a->ping = catalogue::kNoPing; }));
    EXPECT_EQ(Names(m), "b");  // no reply: filtered out
}

TEST(WebAddress, OnlyWebPagesAreOpenedWwwGetsHttpAndAFieldWithoutTerminatorIsReadToItsSizeOnly) {
    auto opened = [](const char* address) { return views::WebAddressToOpen(address, std::strlen(address) + 1); };
    for (const char* kept : {"http://lab.example/", "HTTPS://lab.example/x"})
        EXPECT_EQ(opened(kept), kept);
    for (const char* www : {"www.clan.org", "WWW.Clan.org/forum"})
        EXPECT_EQ(opened(www), std::string("http://") + www);
    for (const char* refused :
         {"http://", "www.", "", "clan.org", "file:///c:/x.bat", "C:\\windows\\system32\\calc.exe",
          "\\\\host\\share\\x.exe", "mailto:a@b", "http://a b", "www.a.org\t-x"})
        EXPECT_EQ(opened(refused), "") << refused;
    char field[8];
    std::memcpy(field, "www.abcdXXXX", sizeof field);
    EXPECT_EQ(views::WebAddressToOpen(field, sizeof field), "http://www.abcd");
    EXPECT_EQ(views::WebAddressToOpen(nullptr, 4), "");
}

}  // namespace
