// Status engine: starting cycles and the selection of servers in each refresh mode.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

const std::string kGetStatus("\xFF\xFF\xFF\xFFgetstatus", 13);

TEST_F(EngineTest, AllServersModeMarksEveryRecordAndQueriesEachOnce) {
    auto servers = AddMany(3);
    servers[1]->awaitingReply = 1;  // left over: must not make a reply count before the request
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_TRUE(refreshBusy);
    EXPECT_TRUE(ToolbarBusy());
    EXPECT_EQ(engine->queriedCount(), 3u);
    EXPECT_TRUE(host.Saw("full-refresh"));
    EXPECT_TRUE(host.progressShown);
    EXPECT_EQ(host.progressRange, 3u);
    EXPECT_EQ(host.progressStep, 1u);
    for (auto* r : servers)
        EXPECT_EQ(r->refreshPending, 1u);
    EXPECT_EQ(servers[1]->awaitingReply, 0u);

    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.0.0.1:27960", "10.0.0.2:27960", "10.0.0.3:27960"}));
    for (auto& d : network.Sent())
        EXPECT_EQ(d.bytes, kGetStatus);
    for (auto* r : servers) {
        EXPECT_EQ(r->awaitingReply, 1u);
        EXPECT_EQ(r->ping, catalogue::kNoPing);
        EXPECT_EQ(r->queryAddress.family, 2);
    }
    EXPECT_EQ(host.ProgressPositions(), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kGraceMs));
}

TEST_F(EngineTest, SelectedModeQueriesOnlyTheRowsThePaneMarks) {
    auto servers = AddMany(4);
    servers[0]->refreshPending = 1;  // marks of an earlier request are cleared first
    host.selected = {servers[2], servers[3]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshSelected, profile));
    EXPECT_TRUE(host.Saw("mark-selected"));
    EXPECT_FALSE(host.Saw("full-refresh"));
    EXPECT_EQ(engine->queriedCount(), 2u);
    EXPECT_EQ(servers[0]->refreshPending, 0u);
    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.0.0.3:27960", "10.0.0.4:27960"}));
    // Positions count every record of the list, queried or not.
    EXPECT_EQ(host.ProgressPositions(), (std::vector<uint32_t>{3, 4}));
}

TEST_F(EngineTest, SelectedModeWithNothingSelectedEndsAtOnce) {
    AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshSelected, profile));
    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(refreshBusy);
    EXPECT_TRUE(ToolbarIdle());
    EXPECT_EQ(threads.started, 0);
    EXPECT_EQ(network.OpenedCount(), 0);
    EXPECT_FALSE(host.Saw("show-progress"));
    EXPECT_FALSE(host.Saw("cycle-finished"));
    // The next request is accepted.
    EXPECT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
}

TEST_F(EngineTest, MarkedModeQueriesTheRecordsAlreadyMarked) {
    auto servers = AddMany(3);
    servers[1]->refreshPending = 1;  // as Add Server leaves it
    ASSERT_TRUE(engine->StartCycle(net::kRefreshMarked, profile));
    EXPECT_EQ(engine->queriedCount(), 1u);
    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.0.0.2:27960"}));
}

TEST_F(EngineTest, AutoRefreshModeQueriesFlaggedServersAndNothingWhileMonitoring) {
    auto servers = AddMany(3);
    servers[0]->autoRefresh = 1;
    servers[2]->autoRefresh = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAutoRefresh, profile));
    EXPECT_EQ(engine->queriedCount(), 2u);
    EXPECT_EQ(host.announced, (std::vector<ServerRecord*>{servers[0], servers[2]}));
    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.0.0.1:27960", "10.0.0.3:27960"}));
    FireTimer();

    host.monitorActive = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAutoRefresh, profile));
    EXPECT_FALSE(engine->Busy());
    EXPECT_EQ(threads.started, 1);
}

TEST_F(EngineTest, AutoRefreshModeCountsRecordsLeftMarkedSoItDoesNotCloseEarly) {
    auto servers = AddMany(2);
    servers[0]->autoRefresh = 1;
    servers[1]->refreshPending = 1;  // an Add Server whose refresh was refused
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAutoRefresh, profile));
    EXPECT_EQ(engine->queriedCount(), 2u);
    RunWorker();
    ReplyName(servers[0], "auto");
    engine->OnReadable();
    EXPECT_TRUE(engine->Busy());  // the second request is still open
    ReplyName(servers[1], "added");
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy());
    EXPECT_STREQ(servers[1]->hostName, "added");
}

TEST_F(EngineTest, FavouritesModeQueriesFavouritesOnly) {
    auto servers = AddMany(3);
    servers[1]->isFavourite = 1;
    servers[2]->refreshPending = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshFavourites, profile));
    EXPECT_EQ(engine->queriedCount(), 1u);
    EXPECT_EQ(servers[2]->refreshPending, 0u);
    EXPECT_EQ(host.announced, (std::vector<ServerRecord*>{servers[1]}));
    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.0.0.2:27960"}));
}

TEST_F(EngineTest, MonitorModeClosesAtTheSingleReplyAndUsesTheShortGrace) {
    auto servers = AddMany(2);
    servers[1]->refreshPending = 1;
    host.monitorActive = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshMonitored, profile));
    RunWorker();
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kMonitorGraceMs));
    ReplyName(servers[1], "watched");
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(host.timerMs.has_value());
    EXPECT_EQ(network.OpenNow(), 0);
}

TEST_F(EngineTest, ServerInformationQueriesTheFirstSelectedAndShowsItsReply) {
    auto servers = AddMany(3);
    servers[2]->refreshPending = 1;  // must not be queried: its reply would replace the kept one
    host.rawReply = "old";
    host.selected = {servers[1]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    EXPECT_TRUE(host.rawReply.empty());
    EXPECT_TRUE(engine->keepRawReply());
    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.0.0.2:27960"}));
    ReplyName(servers[1], "info");
    engine->OnReadable();
    ASSERT_FALSE(engine->Busy());
    ASSERT_EQ(host.parses.size(), 1u);
    EXPECT_TRUE(host.parses[0].keepRaw);
    EXPECT_TRUE(host.Saw("server-information"));
    EXPECT_NE(host.shownInformation.find("\\sv_hostname\\info"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(engine->keepRawReply());
}

TEST_F(EngineTest, ServerInformationWithSeveralSelectedWaitsForTheTimer) {
    auto servers = AddMany(3);
    host.selected = {servers[0], servers[1], servers[2]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    EXPECT_EQ(engine->queriedCount(), 3u);
    RunWorker();
    EXPECT_EQ(network.SentCount(), 1u);
    ReplyName(servers[0], "first");
    engine->OnReadable();
    EXPECT_TRUE(engine->Busy());
    FireTimer();
    EXPECT_TRUE(host.Saw("server-information"));
}

TEST_F(EngineTest, ServerInformationWithoutReplyShowsTheTimeoutMessage) {
    auto servers = AddMany(1);
    host.selected = {servers[0]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    RunWorker();
    FireTimer();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Server didn't respond within the timeout period, please try again!");
    EXPECT_FALSE(host.Saw("server-information"));
    // The next ordinary refresh keeps no raw reply.
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_FALSE(engine->keepRawReply());
}

TEST_F(EngineTest, ServerInformationShowsNothingForHalfLife) {
    SetKind(2);
    auto servers = AddMany(1);
    host.selected = {servers[0]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    RunWorker();
    FireTimer();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(host.Saw("server-information"));
}

TEST_F(EngineTest, RefreshIsRefusedWhileBusyAndForUnknownModes) {
    AddMany(2);
    refreshBusy = true;  // a master query runs
    EXPECT_FALSE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_TRUE(host.toolbar.empty());
    refreshBusy = false;

    EXPECT_FALSE(engine->StartCycle(7, profile));
    EXPECT_FALSE(refreshBusy);

    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_FALSE(engine->StartCycle(net::kRefreshFavourites, profile));
    EXPECT_EQ(threads.started, 1);
    RunWorker();
    EXPECT_FALSE(engine->StartCycle(net::kRefreshAll, profile));  // still waiting for replies
    FireTimer();
    EXPECT_FALSE(refreshBusy);
    EXPECT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
}

TEST_F(EngineTest, EmptyListEndsAtOnce) {
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_FALSE(engine->Busy());
    EXPECT_TRUE(ToolbarIdle());
}

}  // namespace
}  // namespace engine_test
