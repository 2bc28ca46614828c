// Status engine: the worker's requests, their pacing, the time-out sweep, name resolution and stop.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

TEST_F(EngineTest, RequestsGoInBurstsOfElevenEachFollowedByA200MsPause) {
    // Kind, servers, the one left unmarked and the unresolvable one (mode 2), then the bursts and pauses.
    const std::tuple<uint32_t, int, bool, std::vector<size_t>, std::vector<uint32_t>> runs[] = {
        {catalogue::kQuake3, 25, false, {11, 11, 3}, {200, 200}},
        {catalogue::kQuake3, 11, false, {11}, {200}},      // exactly eleven: one pause after the last
        {catalogue::kQuake3, 11, true, {10}, {}},          // records not asked do not count
        {catalogue::kHalfLife, 7, false, {12, 2}, {200}},  // two datagrams per server
    };
    clock.AdvanceMs(0xFFFFFF9Cu);  // the first pause starts 100 ms before the tick count wraps at 2^32
    for (auto [kind, servers, skipping, bursts, sleeps] : runs) {
        SetKind(kind);
        catalogue::clearServers(profile.servers);
        std::vector<ServerRecord*> records = AddMany(servers);
        if (skipping) {
            records.push_back(Add("nowhere.example"));
            for (ServerRecord* r : records)
                r->refreshPending = r != records[3];
        }
        const size_t sentBefore = network.SentCount(), sleptBefore = clock.Sleeps().size();
        ASSERT_TRUE(engine->StartCycle(skipping ? net::kRefreshMarked : net::kRefreshAll, profile));
        EXPECT_EQ(host.progressStep, kind == catalogue::kHalfLife ? 2u : 1u);
        RunWorker();
        const auto sent = network.Sent();
        std::vector<size_t> seen;  // the fake clock moves only while the worker sleeps
        for (size_t i = sentBefore; i < sent.size(); ++i) {
            if (i == sentBefore || sent[i].counter != sent[i - 1].counter)
                seen.push_back(0);
            ++seen.back();
        }
        EXPECT_EQ(seen, bursts) << servers;
        const std::vector<uint32_t> slept = clock.Sleeps();
        EXPECT_EQ(std::vector<uint32_t>(slept.begin() + sleptBefore, slept.end()), sleeps) << servers;
        EXPECT_TRUE(servers != 25 || sent[11].counter - sent[10].counter == 200000u);  // a microsecond counter
        FireTimer();
    }
}

TEST_F(EngineTest, EachRequestResetsItsRecordAndGoesToItsResolvedAddress) {
    SetKind(catalogue::kUnrealTournament);  // a kind whose reply markers are cleared
    ServerRecord* r = Add("192.168.7.9", 0x6D38);
    ServerRecord* named = Add("lab.example");
    ServerRecord* lost = Add("gone.example");
    resolver.names["lab.example"] = *net::ParseDottedAddress("10.9.9.9");
    r->ping = 42;
    r->replyCount = 3;
    r->captureLimit = 8;
    r->pure = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    clock.AdvanceMs(5);
    RunWorker();
    EXPECT_EQ(std::tuple(r->ping, r->replyCount, r->captureLimit, r->pure, r->awaitingReply, r->sendTime),
              std::tuple(catalogue::kNoPing, 0u, 0, 0, 1u, uint64_t(5000)));
    EXPECT_EQ(SentTargets(), (Strings{"192.168.7.9:27960", "10.9.9.9:27960"}));
    EXPECT_EQ(network.Sent()[0].bytes, "\\status\\");
    EXPECT_EQ(resolver.lookups, (Strings{"lab.example", "gone.example"}));
    EXPECT_EQ(std::tuple(std::memcmp(&r->queryAddress.portNetworkOrder, "\x6D\x38", 2), r->queryAddress.family,
                         r->queryAddress.addressNetworkOrder),
              std::tuple(0, uint16_t(2), *net::ParseDottedAddress("192.168.7.9")));
    EXPECT_EQ(std::pair(lost->awaitingReply, lost->refreshPending), std::pair(0u, 1u));  // no request
    network.Deliver(MakeEndpoint("10.9.9.9", 27960), "\\hostname\\named\\");
    engine->OnReadable();
    EXPECT_STREQ(named->hostName, "named");
    FireTimer();
    EXPECT_EQ(std::tuple(std::string(lost->hostName), lost->ping),
              std::tuple(std::string("~ gone.example"), catalogue::kNoPing));

    SetKind(catalogue::kQuake3);  // the other kinds keep their markers
    r->captureLimit = 8;
    r->pure = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(std::pair(r->captureLimit, r->pure), std::pair(8, 1));
    EXPECT_EQ(network.Sent().back().bytes, std::string("\xFF\xFF\xFF\xFFgetstatus", 13));
}

TEST_F(EngineTest, EachPauseGivesUpRequestsOlderThan999MsAndTheirLateRepliesAreDropped) {
    auto servers = AddMany(60);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    // In the fourth pause (800 ms after the first burst) the first server answers; in the fifth the
    // first burst is 1000 ms old, the second 800 ms.
    int pauses = 0;
    bool sweptAfterThePause = false;
    clock.onSleep = [&](uint32_t) {
        if (++pauses == 4) {
            ReplyName(servers[0], "in time");
            engine->OnReadable();
        } else if (pauses == 5) {
            sweptAfterThePause = servers[1]->awaitingReply == 1;
            ReplyName(servers[1], "late");
        }
    };
    threads.RunWorker();
    EXPECT_TRUE(sweptAfterThePause);
    EXPECT_EQ(std::tuple(servers[0]->awaitingReply, servers[1]->awaitingReply, servers[10]->awaitingReply,
                         servers[11]->awaitingReply),
              std::tuple(0u, 0u, 0u, 1u));  // the first answered; the rest of its burst given up
    engine->OnWorkerFinished();
    engine->OnReadable();
    EXPECT_STREQ(servers[1]->hostName, "~ New Server!");  // the late reply was dropped
    FireTimer();
    EXPECT_EQ(std::pair(std::string(servers[0]->hostName), servers[0]->ping), std::pair(std::string("in time"), 800u));
    EXPECT_EQ(std::pair(std::string(servers[1]->hostName), servers[1]->ping),
              std::pair(std::string("~ 10.0.0.2"), catalogue::kNoPing));
}

TEST_F(EngineTest, StopEndsTheWalkBeforeTheNextRecordAndNeverOutlivesItsCycle) {
    auto servers = AddMany(30);
    engine->RequestStop();  // while idle: no effect on the next cycle
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    servers[29]->ping = 77;
    clock.onSleep = [&](uint32_t) { engine->RequestStop(); };
    RunWorker();
    EXPECT_EQ(network.SentCount(), 11u);
    FireTimer();  // the cycle still closes through timer 2
    EXPECT_FALSE(engine->Busy());
    EXPECT_STREQ(servers[10]->hostName, "~ 10.0.0.11");                                        // asked and silent
    EXPECT_EQ(std::pair(servers[29]->ping, servers[29]->refreshPending), std::pair(77u, 0u));  // never asked
    // A server never answered that the walk did not reach is not counted as silent either.
    EXPECT_EQ(std::tuple(std::string(servers[28]->hostName), servers[28]->livesLeft),
              std::tuple(std::string("~ New Server!"), 5));
    clock.onSleep = nullptr;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(network.SentCount(), 41u);
}

}  // namespace
}  // namespace engine_test
