// Status engine: matching replies to records, the ping, batching and completion.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

const std::string kDetails("\xFF\xFF\xFF\xFFm127.0.0.1:27015\0name\0map\0cstrike\0CS\0", 38);
const std::string kPlayers(
    "\xFF\xFF\xFF\xFF"
    "D\0",
    6);

TEST_F(EngineTest, ReplyIsTimedParsedAndCompletesTheRecord) {
    auto servers = AddMany(2);
    servers[0]->livesLeft = 2;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceUs(37900);
    ReplyName(servers[0], "^1Lab");
    engine->OnReadable();
    EXPECT_EQ(servers[0]->ping, 37u);  // whole milliseconds, cut
    EXPECT_EQ(servers[0]->livesLeft, 5);
    EXPECT_EQ(servers[0]->replyCount, 1u);
    EXPECT_EQ(servers[0]->awaitingReply, 0u);
    EXPECT_STREQ(servers[0]->hostName, "^1Lab");
    EXPECT_EQ(engine->completedCount(), 1u);
    ASSERT_EQ(host.parses.size(), 1u);
    EXPECT_TRUE(host.parses[0].terminated);
    EXPECT_FALSE(host.parses[0].keepRaw);
    EXPECT_EQ(host.rowChanges, (std::vector<ServerRecord*>{servers[0]}));
    EXPECT_TRUE(engine->Busy());
}

class EngineGigahertzTest : public EngineTest {
  protected:
    EngineGigahertzTest() : EngineTest(1000000000) { clock.AdvanceMs(10ull * 24 * 3600 * 1000); }
};

TEST_F(EngineGigahertzTest, PingUses64BitArithmeticOnLargeCounters) {
    auto servers = AddMany(1);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceMs(1234);
    ReplyName(servers[0], "far");
    engine->OnReadable();
    EXPECT_EQ(servers[0]->ping, 1234u);
}

class EngineTickCounterTest : public EngineTest {
  protected:
    EngineTickCounterTest() : EngineTest(1000) {}  // no high-resolution counter: milliseconds
};

TEST_F(EngineTickCounterTest, PingFromTheMillisecondCounter) {
    auto servers = AddMany(1);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceMs(61);
    ReplyName(servers[0], "tick");
    engine->OnReadable();
    EXPECT_EQ(servers[0]->ping, 61u);
}

TEST_F(EngineTest, UnknownSenderIsDroppedAndEndsTheHandling) {
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    network.Deliver(MakeEndpoint("10.0.0.1", 27961), StatusReply("wrong port"));
    network.Deliver(MakeEndpoint("10.0.0.99", 27960), StatusReply("stranger"));
    ReplyName(servers[0], "real");
    engine->OnReadable();
    EXPECT_TRUE(host.parses.empty());
    EXPECT_EQ(network.Queued(), 2u);
    engine->OnReadable();
    EXPECT_EQ(network.Queued(), 1u);
    engine->OnReadable();
    ASSERT_EQ(host.parses.size(), 1u);
    EXPECT_STREQ(servers[0]->hostName, "real");
}

TEST_F(EngineTest, RecordNoLongerAwaitingDropsFurtherDatagrams) {
    SetKind(7);  // a GameSpy server may answer in several datagrams: the first one completes it
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    Reply(servers[0], "\\hostname\\first\\numplayers\\0\\");
    Reply(servers[0], "\\hostname\\second\\");
    engine->OnReadable();
    EXPECT_STREQ(servers[0]->hostName, "first");
    EXPECT_EQ(servers[0]->replyCount, 1u);
    EXPECT_EQ(host.parses.size(), 1u);
    EXPECT_EQ(network.Queued(), 0u);
}

TEST_F(EngineTest, AtMostTenDatagramsPerNotification) {
    auto servers = AddMany(12);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    for (auto* r : servers)
        ReplyName(r, "x");
    engine->OnReadable();
    EXPECT_EQ(host.parses.size(), 10u);
    EXPECT_EQ(network.Queued(), 2u);
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy());
}

TEST_F(EngineTest, PendingOrReceiveFailureEndsTheHandlingOnly) {
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    ReplyName(servers[0], "a");
    network.failPending = true;
    engine->OnReadable();
    network.failPending = false;
    network.failReceive = true;
    engine->OnReadable();
    EXPECT_TRUE(host.parses.empty());
    network.failReceive = false;
    engine->OnReadable();  // later notifications still work
    EXPECT_STREQ(servers[0]->hostName, "a");
}

TEST_F(EngineTest, EmptyDatagramIsNotTakenForAMissingReply) {
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    Reply(servers[0], "");
    ReplyName(servers[0], "after");
    engine->OnReadable();
    ASSERT_EQ(host.parses.size(), 1u);
    EXPECT_STREQ(servers[0]->hostName, "after");
    EXPECT_EQ(servers[0]->livesLeft, 5);
}

TEST_F(EngineTest, OversizedDatagramIsCutTo4096BytesAndStaysTerminated) {
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    std::string big = StatusReply("big") + std::string(6000, 'A');
    Reply(servers[0], big);
    engine->OnReadable();
    ASSERT_EQ(host.parses.size(), 1u);
    EXPECT_EQ(host.parses[0].bytes.size(), net::kReceiveBufferSize);
    EXPECT_TRUE(host.parses[0].terminated);
}

TEST_F(EngineTest, DuplicateAddressesAreAnsweredInListOrder) {
    auto* a = Add("10.5.5.5");
    auto* b = Add("10.5.5.5", 27960);  // a host name resolving to the same place would look alike
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    ReplyName(a, "one");
    engine->OnReadable();
    EXPECT_STREQ(a->hostName, "one");
    EXPECT_EQ(b->awaitingReply, 1u);
    ReplyName(a, "two");
    engine->OnReadable();
    EXPECT_STREQ(b->hostName, "two");
    EXPECT_FALSE(engine->Busy());
}

TEST_F(EngineTest, LastExpectedReplyClosesWithoutTheTimer) {
    auto servers = AddMany(3);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    ASSERT_TRUE(host.timerMs.has_value());
    for (auto* r : servers)
        ReplyName(r, "up");
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(host.timerMs.has_value());
    EXPECT_TRUE(host.Saw("cycle-finished"));
    EXPECT_EQ(network.OpenNow(), 0);
    engine->OnCloseTimer();  // a tick already queued changes nothing
    auto events = host.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "cycle-finished"), 1);
}

TEST_F(EngineTest, AllRepliesInWhileTheWorkerRunsCloseWhenItEnds) {
    auto servers = AddMany(12);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    // The eleven first requests are answered during the pause; the twelfth is sent afterwards.
    bool closedEarly = false;
    clock.onSleep = [&](uint32_t) {
        for (int i = 0; i < 11; ++i)
            ReplyName(servers[i], "quick");
        engine->OnReadable();
        engine->OnReadable();
        closedEarly = !engine->Busy();
    };
    threads.RunWorker();
    EXPECT_FALSE(closedEarly);
    EXPECT_EQ(engine->completedCount(), 11u);
    ReplyName(servers[11], "last");
    engine->OnReadable();
    // Every reply is in, but the worker has not been joined yet: the socket stays open for it.
    EXPECT_TRUE(engine->Busy());
    EXPECT_EQ(network.OpenNow(), 1);
    engine->OnWorkerFinished();
    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(host.Saw("arm-timer"));
    EXPECT_EQ(network.SentCount(), 12u);
}

TEST_F(EngineTest, HalfLifeNeedsBothReplies) {
    SetKind(2);
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceMs(20);
    Reply(servers[0], kDetails);
    Reply(servers[1], kPlayers);  // the players reply may come first
    engine->OnReadable();
    EXPECT_EQ(servers[0]->awaitingReply, 1u);
    EXPECT_EQ(servers[1]->awaitingReply, 1u);
    EXPECT_EQ(engine->completedCount(), 0u);
    EXPECT_EQ(servers[0]->ping, 20u);
    clock.AdvanceMs(5);
    Reply(servers[1], kDetails);
    engine->OnReadable();
    EXPECT_EQ(servers[1]->awaitingReply, 0u);
    EXPECT_EQ(servers[1]->replyCount, 2u);
    EXPECT_EQ(servers[1]->ping, 25u);  // the ping of the last reply
    EXPECT_EQ(engine->completedCount(), 1u);

    // Only the details came from the first server: not complete, yet answered.
    FireTimer();
    EXPECT_STREQ(servers[0]->hostName, "hl server");
    EXPECT_EQ(servers[0]->ping, 20u);
    EXPECT_EQ(servers[0]->livesLeft, 5);
}

TEST_F(EngineTest, HalfLifeMarkersFromTheLastCycleDoNotCompleteANewOne) {
    SetKind(2);
    auto servers = AddMany(2);
    servers[0]->pure = 1;
    servers[0]->captureLimit = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    Reply(servers[0], kPlayers);
    engine->OnReadable();
    EXPECT_EQ(servers[0]->awaitingReply, 1u);
    EXPECT_EQ(engine->completedCount(), 0u);
}

TEST_F(EngineTest, RepliesAfterTheCloseAreNotRead) {
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    FireTimer();
    ReplyName(servers[0], "too late");
    engine->OnReadable();
    EXPECT_STREQ(servers[0]->hostName, "~ 10.0.0.1");
    EXPECT_EQ(host.parses.size(), 2u);  // the two no-reply parses of the close
}

}  // namespace
}  // namespace engine_test

namespace engine_test {
namespace {

TEST_F(EngineTest, RandomDatagramStormKeepsTheCountsSound) {
    SetKind(2);  // the two-reply family exercises the most state
    auto servers = AddMany(30);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    uint32_t seed = 777;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 3000 && engine->Busy(); ++round) {
        const size_t size = next() % 5000;
        std::string bytes(size, '\0');
        for (auto& c : bytes)
            c = static_cast<char>(next() >> 16);
        if (size > 4 && next() % 3 == 0) {  // often a well-formed header of either reply
            bytes.replace(0, 4, "\xFF\xFF\xFF\xFF");
            bytes[4] = next() % 2 ? 'm' : 'D';
        }
        const uint32_t who = next() % 40;  // ten of the forty senders are strangers
        const uint16_t port = next() % 8 == 0 ? 27961 : 27960;
        char address[20];
        snprintf(address, sizeof address, "10.0.0.%u", who + 1);
        network.Deliver(MakeEndpoint(address, port), bytes);
        engine->OnReadable();
        ASSERT_LE(engine->completedCount(), engine->queriedCount());
    }
    if (engine->Busy())
        FireTimer();
    EXPECT_FALSE(engine->Busy());
    for (auto* r : servers) {
        EXPECT_EQ(r->awaitingReply, 0u);
        EXPECT_EQ(r->refreshPending, 0u);
        EXPECT_LE(r->livesLeft, 5);
    }
}

}  // namespace
}  // namespace engine_test
