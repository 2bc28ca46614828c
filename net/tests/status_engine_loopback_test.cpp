// Status engine with real threads and POSIX UDP against loopback responders (run inside a
// loopback-only network namespace; also run under ThreadSanitizer).
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "net/posix/posix_net.h"
#include "net/status_engine.h"
#include "testing/fake_message_sink.h"
#include "testing/fake_status_host.h"
#include "testing/loopback_farm.h"
#include "testing/posix_engine_loop.h"

namespace {

using catalogue::ServerRecord;

class LoopbackEngineTest : public ::testing::Test {
  protected:
    LoopbackEngineTest() : host(profile.servers), loop(sockets, clock) {
        profile.kind = 1;
        host.onWorkerFinished = [this] { loop.PostWorkerFinished(); };
        host.onArmTimer = [this](uint32_t ms) { loop.ArmTimer(ms); };
        host.onKillTimer = [this] { loop.KillTimer(); };
        engine = std::make_unique<net::StatusEngine>(
            net::StatusEngineDeps{host, clock, sockets, resolver, threads, messages, refreshBusy});
    }
    ~LoopbackEngineTest() override {
        engine.reset();
        farm.Stop();
    }

    // n responders answering after delayMs(i); the list gets one record per responder.
    void StartFarm(size_t n, uint32_t (*delayMs)(size_t), bool (*silent)(size_t)) {
        ASSERT_TRUE(farm.Open(n));
        for (size_t i = 0; i < n; ++i) {
            auto& s = *farm.servers()[i];
            s.delayUs = delayMs(i) * 1000;
            s.silent = silent(i);
            s.reply = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\lab " + std::to_string(i) + "\\mapname\\oa_dm1\n";
            auto r = std::make_unique<ServerRecord>();
            base::CopyText(r->addressText, "127.0.0.1");
            r->port = s.endpoint.port;
            records.push_back(r.get());
            catalogue::appendServer(profile.servers, std::move(r));
        }
        ASSERT_TRUE(farm.Start(2));
    }

    catalogue::GameProfile profile;
    net::PosixClock clock;
    net::PosixDatagramSocketFactory sockets;
    net::PosixResolver resolver;
    net::PosixThreadStarter threads;
    testing_support::FakeMessageSink messages;
    bool refreshBusy = false;
    testing_support::FakeStatusHost host;
    testing_support::PosixEngineLoop loop;
    testing_support::LoopbackFarm farm;
    std::vector<ServerRecord*> records;
    std::unique_ptr<net::StatusEngine> engine;
};

TEST_F(LoopbackEngineTest, CycleAgainstRespondersTimesEachReplyAndMarksTheSilentOne) {
    StartFarm(
        5, [](size_t i) { return uint32_t(10 * i); }, [](size_t i) { return i == 3; });
    // One record names its server by host name.
    auto named = std::make_unique<ServerRecord>();
    base::CopyText(named->addressText, "localhost");
    named->port = farm.servers()[4]->endpoint.port;
    ServerRecord* byName = named.get();
    catalogue::appendServer(profile.servers, std::move(named));

    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    ASSERT_TRUE(loop.RunUntilIdle(*engine, 10000));
    EXPECT_FALSE(refreshBusy);
    for (size_t i = 0; i < 5; ++i) {
        ServerRecord* r = records[i];
        if (i == 3) {
            EXPECT_STREQ(r->hostName, "~ 127.0.0.1");
            EXPECT_EQ(r->ping, catalogue::kNoPing);
            EXPECT_EQ(r->livesLeft, 4);
            continue;
        }
        EXPECT_EQ(std::string(r->hostName), "lab " + std::to_string(i));
        // The send time is taken right after the send returns: a worker descheduled in between (the
        // machine is shared, the sanitizers are slow) shortens the measured ping by that much.
        EXPECT_GE(r->ping + 5, 10 * i) << i;
        EXPECT_LT(r->ping, 10 * i + 200) << i;  // generous: sanitizers slow everything down
        EXPECT_EQ(r->livesLeft, 5);
    }
    EXPECT_STREQ(byName->hostName, "lab 4");
    EXPECT_GE(engine->lastCycleMs(), net::kGraceMs);  // the silent server kept the cycle open
}

TEST_F(LoopbackEngineTest, RepliesDuringTheWalkAreMatchedAndTheCycleClosesWhenAllAnswered) {
    StartFarm(
        40, [](size_t i) { return uint32_t(i % 7); }, [](size_t) { return false; });
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    ASSERT_TRUE(loop.RunUntilIdle(*engine, 10000));
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(std::string(records[i]->hostName), "lab " + std::to_string(i));
        EXPECT_LT(records[i]->ping, 500u);  // measured (the delays here are too short to bound it below)
        EXPECT_EQ(farm.servers()[i]->requests.load(), 1u);
    }
    // Three pauses of 200 ms, then the close as soon as the last reply is in: no 1500 ms grace.
    EXPECT_GE(engine->lastCycleMs(), 600u);
    EXPECT_LT(engine->lastCycleMs(), 1500u);
}

TEST_F(LoopbackEngineTest, StopDuringTheWalkLeavesTheRestUnasked) {
    StartFarm(
        60, [](size_t) { return uint32_t(1); }, [](size_t) { return false; });
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    // Stop as soon as the first reply was handled.
    while (engine->Busy() && engine->completedCount() == 0) {
        if (sockets.WaitReadable(5))
            engine->OnReadable();
    }
    engine->RequestStop();
    ASSERT_TRUE(loop.RunUntilIdle(*engine, 10000));
    uint32_t asked = 0;
    for (auto& s : farm.servers())
        asked += s->requests.load();
    EXPECT_GE(asked, 11u);
    EXPECT_LE(asked, 22u);
    EXPECT_STREQ(records[59]->hostName, "");  // never asked, never touched
    EXPECT_EQ(records[59]->livesLeft, 5);
}

}  // namespace

#endif
