// Status engine: matching replies to their records, the ping, batches of datagrams and completion.
#include "net/tests/status_engine_fixture.h"

namespace engine_test {
namespace {

const std::string kDetails("\xFF\xFF\xFF\xFFm127.0.0.1:27015\0name\0map\0cstrike\0CS\0", 38);
const std::string kPlayers(
    "\xFF\xFF\xFF\xFF"
    "D\0",
    6);

TEST_F(EngineTest, AReplyIsTimedParsedAndMatchedToTheFirstRecordStillWaitingAtItsAddress) {
    auto servers = AddMany(3);
    ServerRecord* twin = Add("10.0.0.1");  // an address twice in the list: answered in list order
    servers[0]->livesLeft = 2;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceUs(37900);
    network.Deliver(MakeEndpoint("10.0.0.1", 27961), StatusReply("wrong port"));  // unknown senders end
    network.Deliver(MakeEndpoint("10.0.0.99", 27960), StatusReply("stranger"));   // the handling each time
    Reply(servers[0], "");                                                        // an empty datagram is no reply
    ReplyName(servers[0], "^1Lab");
    ReplyName(servers[0], "twin");
    engine->OnReadable();
    EXPECT_EQ(network.Queued(), 4u);
    engine->OnReadable();
    engine->OnReadable();
    EXPECT_EQ(std::tuple(servers[0]->ping, servers[0]->livesLeft, servers[0]->replyCount, servers[0]->awaitingReply),
              std::tuple(37u, 5, 1u, 0u));  // whole milliseconds, cut
    EXPECT_EQ(std::pair(std::string(servers[0]->hostName), std::string(twin->hostName)),
              std::pair(std::string("^1Lab"), std::string("twin")));
    EXPECT_EQ(
        std::tuple(engine->completedCount(), host.parses.size(), host.parses[0].terminated, host.parses[0].keepRaw),
        std::tuple(2u, size_t(2), true, false));
    EXPECT_EQ(host.rowChanges, (std::vector<ServerRecord*>{servers[0], twin}));
    network.failPending = true;  // a failed look or receive ends only this handling
    ReplyName(servers[1], "a");
    engine->OnReadable();
    network.failPending = false;
    network.failReceive = true;
    engine->OnReadable();
    EXPECT_EQ(host.parses.size(), 2u);
    network.failReceive = false;
    Reply(servers[2], StatusReply("big") + std::string(6000, 'A'));  // cut to the buffer, still terminated
    engine->OnReadable();
    EXPECT_STREQ(servers[1]->hostName, "a");
    EXPECT_EQ(std::tuple(host.parses.back().bytes.size(), host.parses.back().terminated),
              std::tuple(net::kReceiveBufferSize, true));
    EXPECT_FALSE(engine->Busy());  // the last expected reply closes the cycle without the timer
    EXPECT_FALSE(host.timerMs.has_value() || network.OpenNow() != 0);
    engine->OnCloseTimer();             // a tick already queued changes nothing
    ReplyName(servers[1], "too late");  // nothing is read after the close
    engine->OnReadable();
    auto events = host.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "cycle-finished"), 1);
    EXPECT_STREQ(servers[1]->hostName, "a");
}

// Counters of a machine without a high-resolution counter (milliseconds) and of a gigahertz one, ten
// days after boot: the ping is computed in 64 bits and cut to whole milliseconds.
class EngineCounterTest : public EngineTest, public ::testing::WithParamInterface<uint64_t> {
  protected:
    EngineCounterTest() : EngineTest(GetParam()) { clock.AdvanceMs(10ull * 24 * 3600 * 1000); }
};

TEST_P(EngineCounterTest, PingInWholeMillisecondsFromAnyCounter) {
    auto servers = AddMany(1);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceUs(1234900);
    ReplyName(servers[0], "far");
    engine->OnReadable();
    EXPECT_EQ(servers[0]->ping, 1234u);
}

INSTANTIATE_TEST_SUITE_P(Counters, EngineCounterTest, ::testing::Values(1000, 1000000000));

TEST_F(EngineTest, AtMostTenDatagramsPerNotificationAndAGameSpyRecordTakesItsFirstOnly) {
    SetKind(catalogue::kUnrealTournament);  // its servers may answer in several datagrams
    auto servers = AddMany(12);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    Reply(servers[0], "\\hostname\\first\\numplayers\\0\\");
    Reply(servers[0], "\\hostname\\second\\");  // its record waits no more: dropped, the handling ends
    for (int i = 1; i < 12; ++i)
        Reply(servers[i], "\\hostname\\x\\");
    engine->OnReadable();
    EXPECT_EQ(
        std::tuple(std::string(servers[0]->hostName), servers[0]->replyCount, host.parses.size(), network.Queued()),
        std::tuple(std::string("first"), 1u, size_t(1), size_t(11)));
    engine->OnReadable();
    EXPECT_EQ(std::pair(host.parses.size(), network.Queued()), std::pair(size_t(11), size_t(1)));
    engine->OnReadable();
    EXPECT_FALSE(engine->Busy());
}

TEST_F(EngineTest, RepliesThatAllCameWhileTheWorkerRanCloseTheCycleWhenItEnds) {
    auto servers = AddMany(12);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    bool closedEarly = false;  // the eleven first are answered in the pause, the twelfth is sent after it
    clock.onSleep = [&](uint32_t) {
        for (int i = 0; i < 11; ++i)
            ReplyName(servers[i], "quick");
        engine->OnReadable();
        engine->OnReadable();
        closedEarly = !engine->Busy();
    };
    threads.RunWorker();
    EXPECT_FALSE(closedEarly);
    ReplyName(servers[11], "last");
    engine->OnReadable();
    EXPECT_TRUE(engine->Busy());  // every reply is in, but the worker still needs the socket
    EXPECT_EQ(network.OpenNow(), 1);
    engine->OnWorkerFinished();
    EXPECT_FALSE(engine->Busy() || host.Saw("arm-timer"));
    EXPECT_EQ(network.SentCount(), 12u);
}

TEST_F(EngineTest, AHalfLifeServerIsCompleteWithBothRepliesOfThisCycle) {
    SetKind(catalogue::kHalfLife);
    auto servers = AddMany(2);
    servers[0]->pure = servers[0]->captureLimit = 1;  // markers of the last cycle
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceMs(20);
    Reply(servers[0], kDetails);
    Reply(servers[1], kPlayers);  // the players may come first
    engine->OnReadable();
    EXPECT_EQ(
        std::tuple(servers[0]->awaitingReply, servers[1]->awaitingReply, engine->completedCount(), servers[0]->ping),
        std::tuple(1u, 1u, 0u, 20u));
    clock.AdvanceMs(5);
    Reply(servers[1], kDetails);
    engine->OnReadable();
    EXPECT_EQ(std::tuple(servers[1]->awaitingReply, servers[1]->replyCount, servers[1]->ping, engine->completedCount()),
              std::tuple(0u, 2u, 25u, 1u));  // the ping of the last reply
    FireTimer();                             // only the details of the first: not complete, yet answered
    EXPECT_EQ(std::tuple(std::string(servers[0]->hostName), servers[0]->ping, servers[0]->livesLeft),
              std::tuple(std::string("hl server"), 20u, 5));
}

TEST_F(EngineTest, ARandomDatagramStormKeepsTheCountsSound) {
    SetKind(catalogue::kHalfLife);  // the two-reply family has the most state
    auto servers = AddMany(30);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    uint32_t seed = 777;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 3000 && engine->Busy(); ++round) {
        std::string bytes(next() % 5000, '\0');
        for (auto& c : bytes)
            c = static_cast<char>(next() >> 16);
        if (bytes.size() > 4 && next() % 3 == 0)  // often a well-formed header of either reply
            bytes.replace(0, 5,
                          next() % 2 ? "\xFF\xFF\xFF\xFFm"
                                     : "\xFF\xFF\xFF\xFF"
                                       "D");
        const std::string address = "10.0.0." + std::to_string(next() % 40 + 1);  // ten strangers among them
        network.Deliver(MakeEndpoint(address.c_str(), next() % 8 == 0 ? 27961 : 27960), bytes);
        engine->OnReadable();
        ASSERT_LE(engine->completedCount(), engine->queriedCount());
    }
    if (engine->Busy())
        FireTimer();
    EXPECT_FALSE(engine->Busy());
    for (auto* r : servers)
        EXPECT_TRUE(r->awaitingReply == 0 && r->refreshPending == 0 && r->livesLeft <= 5) << r->addressText;
}

}  // namespace
}  // namespace engine_test
