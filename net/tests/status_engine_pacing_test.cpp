// Status engine: the worker's request datagrams, pacing, time-out sweep, name resolution and stop.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

// Groups the sent datagrams into bursts separated by the worker's pauses (the fake clock only moves
// while the worker sleeps, so a burst shares one counter value).
std::vector<size_t> Bursts(const std::vector<testing_support::SentDatagram>& sent) {
    std::vector<size_t> bursts;
    for (size_t i = 0; i < sent.size(); ++i) {
        if (i == 0 || sent[i].counter != sent[i - 1].counter)
            bursts.push_back(0);
        ++bursts.back();
    }
    return bursts;
}

TEST_F(EngineTest, ElevenRequestsThenA200MsPause) {
    AddMany(25);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    auto sent = network.Sent();
    ASSERT_EQ(sent.size(), 25u);
    EXPECT_EQ(Bursts(sent), (std::vector<size_t>{11, 11, 3}));
    EXPECT_EQ(sent[11].counter - sent[10].counter, 200000u);  // microsecond counter
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{200, 200}));
}

TEST_F(EngineTest, ExactlyElevenRequestsPauseOnceAfterTheLast) {
    AddMany(11);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{200}));
}

TEST_F(EngineTest, SkippedRecordsDoNotCountTowardsThePause) {
    auto servers = AddMany(11);
    servers.push_back(Add("nowhere.example"));
    // Mode 2 queries the marked records: all but one, and one of them cannot be resolved.
    for (auto* r : servers)
        r->refreshPending = r == servers[3] ? 0 : 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshMarked, profile));
    RunWorker();
    EXPECT_EQ(network.SentCount(), 10u);
    EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(EngineTest, HalfLifeSendsTwoDatagramsPerServerAndPausesAfterSixServers) {
    SetKind(2);
    AddMany(7);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(host.progressStep, 2u);
    RunWorker();
    auto sent = network.Sent();
    ASSERT_EQ(sent.size(), 14u);
    EXPECT_EQ(Bursts(sent), (std::vector<size_t>{12, 2}));
    EXPECT_EQ(sent[0].bytes, std::string("\xFF\xFF\xFF\xFF"
                                         "details",
                                         11));
    EXPECT_EQ(sent[1].bytes, std::string("\xFF\xFF\xFF\xFF"
                                         "players",
                                         11));
    EXPECT_EQ(sent[0].to, sent[1].to);
}

class EngineTickWrapTest : public EngineTest {
  protected:
    EngineTickWrapTest() : EngineTest(1000000, 0xFFFFFF9Cu) {}  // 100 ms before the wrap
};

TEST_F(EngineTickWrapTest, ThePauseLasts200MsAcrossTheTickCountWrap) {
    AddMany(11);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    uint64_t before = clock.NowMs();
    RunWorker();
    EXPECT_EQ(clock.NowMs() - before, 200u);
}

TEST_F(EngineTest, RequestsAreResetAndMarkedBeforeSending) {
    SetKind(7);  // GameSpy style: reply markers cleared
    auto servers = AddMany(2);
    servers[0]->ping = 42;
    servers[0]->replyCount = 3;
    servers[0]->captureLimit = 8;
    servers[0]->pure = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    clock.AdvanceMs(5);
    RunWorker();
    EXPECT_EQ(servers[0]->ping, catalogue::kNoPing);
    EXPECT_EQ(servers[0]->replyCount, 0u);
    EXPECT_EQ(servers[0]->captureLimit, 0);
    EXPECT_EQ(servers[0]->pure, 0);
    EXPECT_EQ(servers[0]->awaitingReply, 1u);
    EXPECT_EQ(servers[0]->sendTime, 5000u);
    EXPECT_EQ(network.Sent()[0].bytes, "\\status\\");
}

TEST_F(EngineTest, QuakeStyleKindsKeepTheirCaptureLimit) {
    auto servers = AddMany(1);
    servers[0]->captureLimit = 8;
    servers[0]->pure = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(servers[0]->captureLimit, 8);
    EXPECT_EQ(servers[0]->pure, 1);
}

TEST_F(EngineTest, QueryAddressHoldsThePortInNetworkOrder) {
    auto* r = Add("192.168.7.9", 0x6D38);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    const uint8_t* port = reinterpret_cast<const uint8_t*>(&r->queryAddress.portNetworkOrder);
    EXPECT_EQ(port[0], 0x6D);
    EXPECT_EQ(port[1], 0x38);
    const uint8_t* address = reinterpret_cast<const uint8_t*>(&r->queryAddress.addressNetworkOrder);
    EXPECT_EQ(address[0], 192);
    EXPECT_EQ(address[3], 9);
}

TEST_F(EngineTest, HostNamesAreResolvedAndUnresolvableOnesSkipped) {
    auto* named = Add("lab.example");
    auto* lost = Add("gone.example");
    auto* dotted = Add("10.1.1.1");
    resolver.names["lab.example"] = *net::ParseDottedAddress("10.9.9.9");
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(SentTargets(), (std::vector<std::string>{"10.9.9.9:27960", "10.1.1.1:27960"}));
    EXPECT_EQ(resolver.lookups, (std::vector<std::string>{"lab.example", "gone.example"}));
    EXPECT_EQ(lost->awaitingReply, 0u);
    EXPECT_EQ(lost->refreshPending, 1u);

    network.Deliver(MakeEndpoint("10.9.9.9", 27960), StatusReply("named"));
    engine->OnReadable();
    EXPECT_STREQ(named->hostName, "named");
    FireTimer();
    EXPECT_STREQ(lost->hostName, "~ gone.example");
    EXPECT_EQ(lost->ping, catalogue::kNoPing);
    EXPECT_STREQ(dotted->hostName, "~ 10.1.1.1");
}

TEST_F(EngineTest, SweepGivesUpRequestsOlderThan999MsAndIgnoresTheirLateReplies) {
    auto servers = AddMany(60);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    // During the fourth pause (800 ms after the first burst) the first server answers; during the
    // fifth pause the second burst's first server would be 800 ms old, the first burst 1000 ms.
    int pauses = 0;
    bool sweptBeforeLateReply = false;
    clock.onSleep = [&](uint32_t) {
        ++pauses;
        if (pauses == 4) {
            ReplyName(servers[0], "in time");
            engine->OnReadable();
        }
        if (pauses == 5) {
            sweptBeforeLateReply = servers[1]->awaitingReply == 1;  // the sweep follows the pause
            ReplyName(servers[1], "late");
        }
    };
    threads.RunWorker();
    EXPECT_TRUE(sweptBeforeLateReply);
    // The fifth sweep gave up the first burst (sent at 0 ms, now 1000 ms) but not the second.
    EXPECT_EQ(servers[1]->awaitingReply, 0u);
    EXPECT_EQ(servers[10]->awaitingReply, 0u);
    EXPECT_EQ(servers[11]->awaitingReply, 1u);
    EXPECT_EQ(servers[0]->awaitingReply, 0u);  // completed, not swept
    engine->OnWorkerFinished();
    engine->OnReadable();
    EXPECT_STREQ(servers[1]->hostName, "~ New Server!");  // the late reply was dropped
    FireTimer();
    EXPECT_STREQ(servers[0]->hostName, "in time");
    EXPECT_EQ(servers[0]->ping, 800u);
    EXPECT_STREQ(servers[1]->hostName, "~ 10.0.0.2");
    EXPECT_EQ(servers[1]->ping, catalogue::kNoPing);
}

TEST_F(EngineTest, StopEndsTheWalkBeforeTheNextRecord) {
    auto servers = AddMany(30);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    servers[29]->ping = 77;
    clock.onSleep = [&](uint32_t) { engine->RequestStop(); };
    RunWorker();
    EXPECT_EQ(network.SentCount(), 11u);
    ASSERT_TRUE(host.timerMs.has_value());  // the cycle still closes through timer 2
    FireTimer();
    EXPECT_FALSE(engine->Busy());
    EXPECT_STREQ(servers[10]->hostName, "~ 10.0.0.11");  // asked and silent
    EXPECT_EQ(servers[29]->ping, 77u);                   // never asked: left as it was
    EXPECT_EQ(servers[29]->refreshPending, 0u);
    // A server never answered that the walk did not reach is not counted as silent either.
    EXPECT_EQ(servers[28]->ping, catalogue::kNoPing);
    EXPECT_STREQ(servers[28]->hostName, "~ New Server!");
    EXPECT_EQ(servers[28]->livesLeft, 5);

    clock.onSleep = nullptr;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));  // the stop does not carry over
    RunWorker();
    EXPECT_EQ(network.SentCount(), 41u);
}

TEST_F(EngineTest, StopWhileIdleDoesNotCutTheNextCycle) {
    AddMany(3);
    engine->RequestStop();
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(network.SentCount(), 3u);
}

}  // namespace
}  // namespace engine_test
