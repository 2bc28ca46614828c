// Status engine: starting cycles, the servers each refresh mode selects, and the requests it refuses.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, AllServersAreMarkedAndQueriedOnceWhileTheToolbarShowsTheRefresh) {
    auto servers = AddMany(3);
    servers[1]->awaitingReply = 1;  // left over: must not make a reply count before its request
    refreshBusy = true;             // a master query runs: refused
    EXPECT_FALSE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_TRUE(host.toolbar.empty());
    refreshBusy = false;
    EXPECT_FALSE(engine->StartCycle(net::kRefreshModeCount, profile));  // no such mode
    EXPECT_FALSE(refreshBusy);
    EXPECT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_FALSE(engine->StartCycle(net::kRefreshFavourites, profile));  // busy with its own cycle
    EXPECT_EQ(threads.started, 1);
    EXPECT_TRUE(refreshBusy);
    EXPECT_EQ(Toolbar(), "iiie");
    EXPECT_EQ(std::tuple(engine->queriedCount(), host.Saw("full-refresh"), host.progressShown, host.progressRange),
              std::tuple(3u, true, true, 3u));
    EXPECT_EQ(std::tuple(servers[0]->refreshPending, servers[2]->refreshPending, servers[1]->awaitingReply),
              std::tuple(1u, 1u, 0u));
    RunWorker();
    EXPECT_EQ(SentTargets(), (Strings{"10.0.0.1:27960", "10.0.0.2:27960", "10.0.0.3:27960"}));
    EXPECT_EQ(host.ProgressPositions(), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kGraceMs));
    EXPECT_FALSE(engine->StartCycle(net::kRefreshAll, profile));  // still waiting for replies
    FireTimer();
    EXPECT_EQ(Toolbar(), "eeei");
    EXPECT_FALSE(refreshBusy);
}

TEST_F(EngineTest, EachModeQueriesItsOwnSelection) {
    auto s = AddMany(4);
    auto run = [&](uint32_t mode) {
        host.announced.clear();
        const size_t before = network.SentCount();
        EXPECT_TRUE(engine->StartCycle(mode, profile));
        const uint32_t queried = engine->queriedCount();
        if (threads.HasPendingWorker())
            RunWorker();
        if (engine->Busy())
            FireTimer();
        Strings targets = SentTargets();
        return std::pair(queried, Strings(targets.begin() + before, targets.end()));
    };
    // Selected rows only; marks of an earlier request are cleared first; positions count every record.
    s[0]->refreshPending = 1;
    host.selected = {s[2], s[3]};
    EXPECT_EQ(run(net::kRefreshSelected), std::pair(2u, Strings{"10.0.0.3:27960", "10.0.0.4:27960"}));
    EXPECT_EQ(host.ProgressPositions(), (std::vector<uint32_t>{3, 4}));
    EXPECT_TRUE(host.Saw("mark-selected"));
    // Records already marked (Add Server).
    s[1]->refreshPending = 1;
    EXPECT_EQ(run(net::kRefreshMarked), std::pair(1u, Strings{"10.0.0.2:27960"}));
    // Auto refresh: the flagged ones, plus one left marked by a refresh that could not start.
    s[0]->autoRefresh = s[2]->autoRefresh = 1;
    s[3]->refreshPending = 1;
    EXPECT_EQ(run(net::kRefreshAutoRefresh),
              std::pair(3u, Strings{"10.0.0.1:27960", "10.0.0.3:27960", "10.0.0.4:27960"}));
    EXPECT_EQ(host.announced, (std::vector<ServerRecord*>{s[0], s[2]}));
    // Favourites only: other marks are dropped.
    s[1]->isFavourite = 1;
    s[2]->refreshPending = 1;
    EXPECT_EQ(run(net::kRefreshFavourites), std::pair(1u, Strings{"10.0.0.2:27960"}));
    EXPECT_EQ(host.announced, (std::vector<ServerRecord*>{s[1]}));
    EXPECT_EQ(s[2]->refreshPending, 0u);
    // While the monitor runs auto refresh queries nothing; the monitored record closes at its reply,
    // with the short grace time.
    host.monitorActive = true;
    EXPECT_EQ(run(net::kRefreshAutoRefresh), std::pair(0u, Strings{}));
    s[3]->refreshPending = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshMonitored, profile));
    RunWorker();
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kMonitorGraceMs));
    ReplyName(s[3], "watched");
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy() || host.timerMs.has_value() || network.OpenNow() != 0);
    // Nothing selected, or nothing in the list: the cycle ends at once.
    host.selected.clear();
    const int started = threads.started;
    EXPECT_EQ(run(net::kRefreshSelected), std::pair(0u, Strings{}));
    EXPECT_EQ(std::tuple(threads.started, refreshBusy, Toolbar()), std::tuple(started, false, std::string("eeei")));
    catalogue::clearServers(profile.servers);
    EXPECT_EQ(run(net::kRefreshAll), std::pair(0u, Strings{}));
}

TEST_F(EngineTest, ServerInformationQueriesTheFirstSelectedRowAndShowsItsReply) {
    auto s = AddMany(3);
    s[2]->refreshPending = 1;  // must not be queried: its reply would replace the kept one
    host.rawReply = "old";
    host.selected = {s[1]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    EXPECT_TRUE(host.rawReply.empty() && engine->keepRawReply());
    RunWorker();
    EXPECT_EQ(SentTargets(), Strings{"10.0.0.2:27960"});
    ReplyName(s[1], "info");
    engine->OnReadable();
    ASSERT_FALSE(engine->Busy());
    EXPECT_TRUE(host.parses.at(0).keepRaw && host.Saw("server-information") && messages.shown.empty());
    EXPECT_NE(host.shownInformation.find("\\sv_hostname\\info"), std::string::npos);
    EXPECT_FALSE(engine->keepRawReply());

    host.selected = {s[0], s[1], s[2]};  // several selected: still one request, the close by timer 2
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    EXPECT_EQ(engine->queriedCount(), 3u);
    RunWorker();
    EXPECT_EQ(network.SentCount(), 2u);
    FireTimer();  // no reply this time
    EXPECT_EQ(messages.shown, Strings{"Server didn't respond within the timeout period, please try again!"});
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));  // the next refresh keeps no raw reply
    EXPECT_FALSE(engine->keepRawReply());
    RunWorker();
    FireTimer();

    SetKind(catalogue::kHalfLife);  // nothing is shown for Half-Life
    host.selected = {s[0]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    RunWorker();
    FireTimer();
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace engine_test
