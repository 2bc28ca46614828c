// Status engine: closing a cycle, unanswered and stale servers, failures of socket and thread.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, CloseMarksSilentServersAndRestoresTheWindow) {
    auto servers = AddMany(3);
    servers[2]->isFavourite = 1;
    base::CopyText(servers[2]->hostName, "Fav");
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    clock.AdvanceMs(3);
    RunWorker();
    clock.AdvanceMs(12);
    ReplyName(servers[0], "up");
    engine->OnReadable();
    host.rowChanges.clear();
    FireTimer();

    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(refreshBusy);
    EXPECT_TRUE(ToolbarIdle());
    EXPECT_FALSE(host.progressShown);
    EXPECT_EQ(network.OpenNow(), 0);
    EXPECT_EQ(engine->lastCycleMs(), 1512u);  // from the worker's start to the timer
    EXPECT_STREQ(servers[0]->hostName, "up");
    EXPECT_EQ(servers[0]->ping, 12u);
    EXPECT_STREQ(servers[1]->hostName, "~ 10.0.0.2");
    EXPECT_EQ(servers[1]->livesLeft, 4);
    EXPECT_STREQ(servers[2]->hostName, "Fav");  // a favourite keeps its name
    EXPECT_EQ(servers[2]->ping, catalogue::kNoPing);
    EXPECT_EQ(host.rowChanges, (std::vector<ServerRecord*>{servers[1], servers[2]}));
    for (auto* r : servers) {
        EXPECT_EQ(r->refreshPending, 0u);
        EXPECT_EQ(r->awaitingReply, 0u);
    }
    auto events = host.Events();
    auto finished = std::find(events.begin(), events.end(), "cycle-finished");
    auto hidden = std::find(events.begin(), events.end(), "hide-progress");
    EXPECT_TRUE(finished < hidden);
}

TEST_F(EngineTest, SilentServerIsRemovedAtTheEndOfItsSixthSilentCycle) {
    auto* silent = Add("10.0.0.1");
    auto* favourite = Add("10.0.0.2");
    favourite->isFavourite = 1;
    auto* alive = Add("10.0.0.3");
    for (int cycle = 1; cycle <= 6; ++cycle) {
        ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
        RunWorker();
        ReplyName(alive, "alive");
        engine->OnReadable();
        FireTimer();
        if (cycle < 6) {
            ASSERT_EQ(profile.servers.count, 3u) << "cycle " << cycle;
            EXPECT_EQ(silent->livesLeft, 5 - cycle);
        }
    }
    EXPECT_EQ(host.removed, (std::vector<std::string>{"10.0.0.1"}));
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_EQ(profile.servers.head, favourite);
    EXPECT_EQ(favourite->livesLeft, -1);
    EXPECT_EQ(alive->livesLeft, 5);

    SilentCycle();  // favourites are never removed
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_EQ(favourite->livesLeft, -2);
}

TEST_F(EngineTest, StaleSweepCoversRecordsOutsideTheCycleAndClampsLives) {
    auto servers = AddMany(3);
    servers[0]->livesLeft = 9;   // as loaded from a damaged list file
    servers[1]->livesLeft = -3;  // not queried in this cycle, still stale
    servers[2]->isFavourite = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshFavourites, profile));
    RunWorker();
    ReplyName(servers[2], "fav");
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy());
    EXPECT_EQ(servers[0]->livesLeft, 5);
    EXPECT_EQ(host.removed, (std::vector<std::string>{"10.0.0.2"}));
}

TEST_F(EngineTest, GraceTimeFollowsTheMonitorAtTheWorkersEnd) {
    AddMany(1);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    host.monitorActive = true;
    RunWorker();
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(750));
}

TEST_F(EngineTest, TimerWhileTheWorkerRunsOrWhileIdleChangesNothing) {
    AddMany(2);
    engine->OnCloseTimer();
    EXPECT_FALSE(host.Saw("cycle-finished"));
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    engine->OnCloseTimer();
    EXPECT_TRUE(engine->Busy());
    EXPECT_TRUE(threads.HasPendingWorker());
    RunWorker();
    FireTimer();
    EXPECT_FALSE(engine->Busy());
}

TEST_F(EngineTest, SocketFailureSendsNothingAndEveryServerEndsUnanswered) {
    auto servers = AddMany(2);
    servers[0]->ping = 30;
    network.failOpen = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(threads.started, 0);
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kGraceMs));
    FireTimer();
    EXPECT_FALSE(engine->Busy());
    EXPECT_STREQ(servers[0]->hostName, "~ 10.0.0.1");
    EXPECT_EQ(servers[0]->ping, catalogue::kNoPing);
    EXPECT_EQ(servers[1]->livesLeft, 4);
}

TEST_F(EngineTest, ThreadFailureClosesTheSocketAndEndsLikeASocketFailure) {
    auto servers = AddMany(1);
    threads.failStart = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(network.OpenNow(), 0);
    FireTimer();
    EXPECT_STREQ(servers[0]->hostName, "~ 10.0.0.1");
    EXPECT_FALSE(refreshBusy);
}

TEST_F(EngineTest, DestroyingTheEngineStopsAndJoinsTheWorker) {
    AddMany(30);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    engine.reset();
    EXPECT_EQ(threads.joined, 1);
    EXPECT_EQ(network.SentCount(), 0u);  // the stop was seen before the first record
    EXPECT_EQ(network.OpenNow(), 0);
}

}  // namespace
}  // namespace engine_test
