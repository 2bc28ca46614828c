// Tests of the server rows (lookup by record across deletions and sorts) and the server pane logic.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "views/server_list.h"
#include "views/server_rows.h"

namespace {

using catalogue::ServerRecord;
using namespace views;

class ServerListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        profile.kind = catalogue::kQuake3;
        profile.sortColumn = kColumnPing;
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
    std::vector<std::string> Names(const ServerListModel& m) {
        std::vector<std::string> out;
        for (int i = 0; i < m.rows().size(); ++i)
            out.push_back(m.RecordAt(i)->hostName);
        return out;
    }
    int next = 1;
    catalogue::Catalogue cat;
    catalogue::GameProfile profile;
    DisplayOptions options;
};

TEST_F(ServerListTest, RowsFindTheirRecordsAfterDeletionsAndSorts) {
    ServerRows rows;
    std::vector<ServerRecord*> records;
    for (int i = 0; i < 50; ++i) {
        records.push_back(Add("s", static_cast<uint32_t>(i)));
        EXPECT_EQ(rows.Append(records.back()), i);
    }
    EXPECT_EQ(rows.Append(records[3]), 3);  // no second row for a record
    EXPECT_EQ(rows.size(), 50);
    rows.Erase(10);
    rows.Erase(0);
    rows.Erase(47);  // the last row
    rows.Erase(99);  // ignored
    EXPECT_EQ(rows.size(), 47);
    EXPECT_EQ(rows.RowOf(records[0]), -1);
    EXPECT_EQ(rows.RowOf(records[10]), -1);
    EXPECT_EQ(rows.RowOf(records[49]), -1);
    EXPECT_EQ(rows.RowOf(records[1]), 0);
    EXPECT_EQ(rows.RowOf(records[11]), 9);
    EXPECT_EQ(rows.RowOf(records[48]), 46);
    EXPECT_EQ(rows.Append(records[0]), 47);
    rows.Sort([](const ServerRecord& a, const ServerRecord& b) { return int(b.ping) - int(a.ping); });
    EXPECT_EQ(rows.RecordAt(0), records[48]);
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows.RowOf(rows.RecordAt(i)), i);
    EXPECT_EQ(rows.RecordAt(-1), nullptr);
    EXPECT_EQ(rows.RecordAt(rows.size()), nullptr);
    rows.Clear();
    EXPECT_EQ(rows.RowOf(records[1]), -1);
}

TEST_F(ServerListTest, RowsAgreeWithAPlainVectorUnderRandomEdits) {
    std::vector<ServerRecord*> pool;
    for (int i = 0; i < 400; ++i)
        pool.push_back(Add("s", static_cast<uint32_t>(i)));
    ServerRows rows;
    std::vector<ServerRecord*> expected;
    std::mt19937 rng(11);
    for (int step = 0; step < 6000; ++step) {
        // Phases that grow and shrink the list, so that deleted slots pile up and get compacted.
        const bool growing = (step / 500) % 2 == 0;
        int op = static_cast<int>(rng() % 100);
        if (op < (growing ? 70 : 20)) {
            ServerRecord* r = pool[rng() % pool.size()];
            int row = rows.Append(r);
            auto it = std::find(expected.begin(), expected.end(), r);
            if (it == expected.end()) {
                expected.push_back(r);
                ASSERT_EQ(row, static_cast<int>(expected.size()) - 1);
            } else {
                ASSERT_EQ(row, it - expected.begin());
            }
        } else if (op < 99 && !expected.empty()) {
            int row = static_cast<int>(rng() % expected.size());
            rows.Erase(row);
            expected.erase(expected.begin() + row);
        } else {
            auto byPing = [](const ServerRecord& a, const ServerRecord& b) {
                return int(a.ping % 7) - int(b.ping % 7);
            };
            rows.Sort(byPing);
            std::stable_sort(expected.begin(), expected.end(),
                             [&](ServerRecord* a, ServerRecord* b) { return byPing(*a, *b) < 0; });
        }
        ASSERT_EQ(rows.size(), static_cast<int>(expected.size()));
        ServerRecord* probe = pool[rng() % pool.size()];
        auto it = std::find(expected.begin(), expected.end(), probe);
        ASSERT_EQ(rows.RowOf(probe), it == expected.end() ? -1 : static_cast<int>(it - expected.begin()));
        if (!expected.empty()) {
            int row = static_cast<int>(rng() % expected.size());
            ASSERT_EQ(rows.RecordAt(row), expected[row]);
            ASSERT_STREQ(rows.Text(row, kColumnAddress), ServerCellText(*expected[row], kColumnAddress).c_str());
        }
    }
}

TEST_F(ServerListTest, RowTextsAreCopiesUntilRefreshed) {
    ServerRows rows;
    ServerRecord* r = Add("^1Lab", 40, 3);
    int row = rows.Append(r);
    EXPECT_STREQ(rows.Text(row, kColumnTitle), "^1Lab");
    EXPECT_STREQ(rows.Text(row, kColumnPlayers), "3/16");
    r->ping = catalogue::kNoPing;  // the status thread starts a new request
    EXPECT_STREQ(rows.Text(row, kColumnPing), "40");
    rows.RefreshTexts(row);
    EXPECT_STREQ(rows.Text(row, kColumnPing), "9999");
    EXPECT_STREQ(rows.Text(row, 10), "");
    EXPECT_STREQ(rows.Text(5, 0), "");
}

TEST_F(ServerListTest, SortSurvivesAComparisonThatIsNotAnOrder) {
    ServerRows rows;
    for (int i = 0; i < 3000; ++i)
        rows.Append(Add("s", static_cast<uint32_t>(i)));
    // Answers depend only on the pair, but contradict each other across pairs.
    rows.Sort([](const ServerRecord& a, const ServerRecord& b) {
        uint32_t h = (a.ping * 2654435761u) ^ (b.ping * 40503u);
        return static_cast<int>(h % 3) - 1;
    });
    EXPECT_EQ(rows.size(), 3000);
    std::vector<uint32_t> pings;
    for (int i = 0; i < rows.size(); ++i)
        pings.push_back(rows.RecordAt(i)->ping);
    std::sort(pings.begin(), pings.end());
    for (uint32_t i = 0; i < 3000; ++i)
        ASSERT_EQ(pings[i], i);
}

TEST_F(ServerListTest, AddRowOnlyWhenThePassesFilter) {
    ServerListModel m(profile, options, cat);
    ServerRecord* answered = Add("a", 50);
    ServerRecord* silent = Add("b", catalogue::kNoPing);
    ServerRowUpdate u = m.AddServerRow(*answered);
    EXPECT_EQ(u.change, RowChange::kInserted);
    EXPECT_EQ(u.row, 0);
    EXPECT_FALSE(u.forwardPlayers);
    u = m.AddServerRow(*answered);  // no second row for the same record
    EXPECT_EQ(u.change, RowChange::kUpdated);
    EXPECT_EQ(u.row, 0);
    u = m.AddServerRow(*silent);
    EXPECT_EQ(u.change, RowChange::kNone);
    EXPECT_EQ(m.RowOf(silent), -1);
    EXPECT_EQ(m.VisibleText(), "1/2 Servers visible");
}

TEST_F(ServerListTest, ServerChangedInsertsUpdatesOrDeletes) {
    ServerListModel m(profile, options, cat);
    ServerRecord* r = Add("a", catalogue::kNoPing);
    // No row and filtered out: nothing inserted, but the players are still forwarded.
    ServerRowUpdate u = m.ServerChanged(*r);
    EXPECT_EQ(u.change, RowChange::kNone);
    EXPECT_TRUE(u.forwardPlayers);
    r->ping = 60;
    u = m.ServerChanged(*r);
    EXPECT_EQ(u.change, RowChange::kInserted);
    EXPECT_TRUE(u.forwardPlayers);
    r->ping = 70;
    u = m.ServerChanged(*r);
    EXPECT_EQ(u.change, RowChange::kUpdated);
    EXPECT_EQ(u.row, 0);
    EXPECT_TRUE(u.forwardPlayers);
    EXPECT_STREQ(m.rows().Text(0, kColumnPing), "70");
    // A row that now fails the filter goes, and the players are not forwarded.
    r->ping = catalogue::kNoPing;
    u = m.ServerChanged(*r);
    EXPECT_EQ(u.change, RowChange::kDeleted);
    EXPECT_EQ(u.row, 0);
    EXPECT_FALSE(u.forwardPlayers);
    EXPECT_EQ(m.rows().size(), 0);
}

TEST_F(ServerListTest, EraseRowAndServerFreesTheRecordOnlyForARow) {
    ServerListModel m(profile, options, cat);
    ServerRecord* a = Add("a", 10);
    ServerRecord* hidden = Add("b", catalogue::kNoPing);
    ServerRecord* c = Add("c", 30);
    m.AddServerRow(*a);
    m.AddServerRow(*hidden);
    m.AddServerRow(*c);
    // The stale record without a row has no row to remove: it stays in the list.
    EXPECT_EQ(m.RowOf(hidden), -1);
    EXPECT_EQ(m.EraseRowAndServer(m.RowOf(hidden)), -1);
    EXPECT_EQ(profile.servers.count, 3u);
    EXPECT_EQ(m.EraseRowAndServer(0), 0);
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_EQ(profile.servers.head, hidden);
    EXPECT_EQ(m.RowOf(c), 0);
}

TEST_F(ServerListTest, ColumnClickSortsAndRestoreSortShowsTheMarker) {
    ServerListModel m(profile, options, cat);
    profile.sortColumn = -1;
    for (auto [name, ping] : {std::pair{"b", 30u}, {"c", 10u}, {"a", 20u}})
        m.AddServerRow(*Add(name, ping));
    HeaderMarkers h = m.ColumnClick(kColumnPing);
    EXPECT_EQ(h.image, kImageAscending);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"c", "a", "b"}));
    h = m.ColumnClick(kColumnPing);
    EXPECT_EQ(h.image, kImageDescending);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"b", "a", "c"}));
    h = m.ColumnClick(kColumnTitle);
    EXPECT_EQ(h.formerColumn, kColumnPing);
    EXPECT_EQ(Names(m), (std::vector<std::string>{"a", "b", "c"}));
    // Rows added later go to the end until the next sort.
    m.AddServerRow(*Add("0", 5));
    EXPECT_EQ(Names(m).back(), "0");
    h = m.RestoreSort();
    EXPECT_EQ(h.column, kColumnTitle);
    EXPECT_EQ(h.image, kImageAscending);
    EXPECT_EQ(Names(m).front(), "0");
}

TEST_F(ServerListTest, FavouritesOnTopSortKeepsEqualFavouritesInTheirOrder) {
    options.FavouritesOnTop = 1;
    ServerListModel m(profile, options, cat);
    ServerRecord* f1 = Add("f1", 90);
    ServerRecord* f2 = Add("f2", 10);
    f1->isFavourite = f2->isFavourite = 1;
    m.AddServerRow(*Add("x", 50));
    m.AddServerRow(*f1);
    m.AddServerRow(*f2);
    m.AddServerRow(*Add("y", 40));
    profile.sortDescending[kColumnPing] = 1;
    m.Sort();
    EXPECT_EQ(Names(m), (std::vector<std::string>{"f1", "f2", "x", "y"}));
    profile.sortDescending[kColumnPing] = 0;
    m.Sort();
    EXPECT_EQ(Names(m), (std::vector<std::string>{"f1", "f2", "y", "x"}));
}

TEST_F(ServerListTest, SelectionChangesReportTheRecordAndCommandStates) {
    ServerListModel m(profile, options, cat);
    ServerRecord* r = Add("a", 10);
    r->isFavourite = 1;
    m.AddServerRow(*r);
    SelectionChange s = m.SelectionChanged(-1);
    EXPECT_FALSE(s.changed);
    s = m.SelectionChanged(0);
    EXPECT_TRUE(s.changed);
    EXPECT_EQ(s.record, r);
    EXPECT_TRUE(s.isFavourite);
    EXPECT_TRUE(s.remoteControl);
    EXPECT_FALSE(m.SelectionChanged(0).changed);
    s = m.SelectionChanged(-1);
    EXPECT_TRUE(s.changed);
    EXPECT_EQ(s.record, nullptr);

    catalogue::GameProfile ut;
    ut.kind = catalogue::kUnrealTournament;
    ServerListModel u(ut, options, cat);
    u.AddServerRow(*r);
    EXPECT_FALSE(u.SelectionChanged(0).remoteControl);
}

TEST_F(ServerListTest, PaintOfAnInvalidRowDrawsNothing) {
    ServerListModel m(profile, options, cat);
    EXPECT_EQ(m.PaintCell(3, kColumnTitle, false).kind, CellKind::kBlankIcon);
    ServerRecord* r = Add("a", 300);
    m.AddServerRow(*r);
    EXPECT_EQ(m.PaintCell(0, kColumnPing, false).textColour, kPingTextBad);
    r->joinCount = 2;
    EXPECT_EQ(m.ColoursOfRow(0).text, profile.colours[kSchemeVisitedText]);
}

}  // namespace
