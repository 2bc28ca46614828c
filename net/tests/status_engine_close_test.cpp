// Status engine: closing a cycle, silent and stale servers, failures of socket and thread.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, TheCloseMarksSilentServersAndRestoresTheWindow) {
    auto servers = AddMany(3);
    servers[2]->isFavourite = 1;
    base::CopyText(servers[2]->hostName, "Fav");
    engine->OnCloseTimer();  // while idle: nothing
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    engine->OnCloseTimer();  // while the worker runs: nothing
    EXPECT_TRUE(engine->Busy() && threads.HasPendingWorker());
    clock.AdvanceMs(3);
    host.monitorActive = true;  // the grace time follows the monitor at the worker's end
    RunWorker();
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kMonitorGraceMs));
    host.timerMs = net::kGraceMs;
    clock.AdvanceMs(12);
    ReplyName(servers[0], "up");
    engine->OnReadable();
    host.rowChanges.clear();
    FireTimer();
    EXPECT_FALSE(engine->Busy() || refreshBusy || host.progressShown || network.OpenNow() != 0);
    EXPECT_EQ(Toolbar(), "eeei");
    EXPECT_EQ(engine->lastCycleMs(), 1512u);  // from the worker's start to the timer
    EXPECT_EQ(std::tuple(std::string(servers[0]->hostName), servers[0]->ping), std::tuple(std::string("up"), 12u));
    EXPECT_EQ(std::tuple(std::string(servers[1]->hostName), servers[1]->livesLeft),
              std::tuple(std::string("~ 10.0.0.2"), 4));
    EXPECT_EQ(std::tuple(std::string(servers[2]->hostName), servers[2]->ping),
              std::tuple(std::string("Fav"), catalogue::kNoPing));  // a favourite keeps its name
    EXPECT_EQ(host.rowChanges, (std::vector<ServerRecord*>{servers[1], servers[2]}));
    for (auto* r : servers)
        EXPECT_EQ(r->refreshPending + r->awaitingReply, 0u);
    auto events = host.Events();
    EXPECT_LT(std::find(events.begin(), events.end(), "cycle-finished"),
              std::find(events.begin(), events.end(), "hide-progress"));
}

TEST_F(EngineTest, ASilentServerGoesAtTheEndOfItsSixthSilentCycleButFavouritesStay) {
    auto* silent = Add("10.0.0.1");
    auto* favourite = Add("10.0.0.2");
    favourite->isFavourite = 1;
    auto* alive = Add("10.0.0.3");
    for (int cycle = 1; cycle <= 7; ++cycle) {
        ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
        RunWorker();
        ReplyName(alive, "alive");
        engine->OnReadable();
        FireTimer();
        ASSERT_TRUE(cycle >= 6 || (profile.servers.count == 3 && silent->livesLeft == 5 - cycle)) << cycle;
    }
    EXPECT_EQ(host.removed, Strings{"10.0.0.1"});
    EXPECT_EQ(std::tuple(profile.servers.count, profile.servers.head, favourite->livesLeft, alive->livesLeft),
              std::tuple(2u, favourite, -2, 5));
}

TEST_F(EngineTest, TheStaleSweepCoversRecordsOutsideTheCycleAndClampsLives) {
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
    EXPECT_EQ(host.removed, Strings{"10.0.0.2"});
}

TEST_F(EngineTest, WithoutASocketOrAThreadNothingIsSentAndEveryServerEndsUnanswered) {
    auto servers = AddMany(2);
    servers[0]->ping = 30;
    network.failOpen = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(std::pair(threads.started, host.timerMs), std::pair(0, std::optional<uint32_t>(net::kGraceMs)));
    FireTimer();
    EXPECT_FALSE(engine->Busy());
    EXPECT_EQ(std::tuple(std::string(servers[0]->hostName), servers[0]->ping, servers[1]->livesLeft),
              std::tuple(std::string("~ 10.0.0.1"), catalogue::kNoPing, 4));
    network.failOpen = false;
    threads.failStart = true;
    host.monitorActive = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(std::pair(network.OpenNow(), host.timerMs), std::pair(0, std::optional<uint32_t>(net::kMonitorGraceMs)));
    FireTimer();
    EXPECT_EQ(std::pair(servers[1]->livesLeft, refreshBusy), std::pair(3, false));
}

TEST_F(EngineTest, DestroyingTheEngineStopsAndJoinsItsWorker) {
    AddMany(30);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    engine.reset();
    EXPECT_EQ(std::tuple(threads.joined, network.SentCount(), network.OpenNow()), std::tuple(1, size_t(0), 0));
}

}  // namespace
}  // namespace engine_test
