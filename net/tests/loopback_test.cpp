// On real POSIX loopback UDP (run inside a loopback-only network namespace; also run under
// ThreadSanitizer): the status engine with real threads against loopback responders, the edges of the
// sockets, and the loopback-only rule of the protocol fixtures.
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
#include "testing/fixture_process.h"
#include "testing/loopback_farm.h"
#include "testing/posix_engine_loop.h"

namespace {

using catalogue::ServerRecord;

// Loopback responders answering after their own delay or never, one of them asked by host name, and
// a stranger sending the status socket datagrams of its own. At the classic pace: bursts with their
// pauses and the grace time the silent ones keep open; at the fast pace: no grace beyond the
// time-out. At both every live server answers with a ping within generous bounds of its delay (the
// machine is shared and the sanitizers are slow).
TEST(LoopbackEngine, EveryLiveServerAnswersWithItsPingAndAStrangersDatagramsAreDropped) {
    struct Run {
        net::Pacing pacing;
        size_t servers;
        uint32_t delayStepMs;  // server i answers after (i x step) % 60 ms
        size_t silentEvery;    // server i is silent when i % silentEvery == 3
        uint32_t minCycleMs;
    };
    for (const Run& run : {Run{net::kClassicPacing, 25, 10, 5, 2 * net::kClassicPacing.pauseMs + net::kGraceMs},
                           Run{net::kFastPacing, 300, 7, 20, net::kFastPacing.timeoutMs}}) {
        auto delayMs = [&](size_t i) { return uint32_t(i * run.delayStepMs % 60); };
        auto silent = [&](size_t i) { return i % run.silentEvery == 3; };
        catalogue::GameProfile profile;
        profile.kind = catalogue::kQuake3;
        net::PosixClock clock;
        net::PosixDatagramSocketFactory sockets;
        net::PosixResolver resolver;
        net::PosixThreadStarter threads;
        testing_support::FakeMessageSink messages;
        bool refreshBusy = false;
        testing_support::FakeStatusHost host(profile.servers);
        testing_support::PosixEngineLoop loop(sockets, clock);
        testing_support::LoopbackFarm farm;
        host.onWorkerFinished = [&] { loop.PostWorkerFinished(); };
        host.onRepliesWaiting = [&] { loop.PostRepliesWaiting(); };
        host.onArmTimer = [&](uint32_t ms) { loop.ArmTimer(ms); };
        host.onKillTimer = [&] { loop.KillTimer(); };
        ASSERT_TRUE(farm.Open(run.servers));
        std::vector<ServerRecord*> records;
        for (size_t i = 0; i < run.servers; ++i) {
            auto& s = *farm.servers()[i];
            s.delayUs = delayMs(i) * 1000;
            s.silent = silent(i);
            s.reply = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\lab " + std::to_string(i) + "\\mapname\\oa_dm1\n";
            auto r = std::make_unique<ServerRecord>();
            base::CopyText(r->addressText, i == 4 ? "localhost" : "127.0.0.1");
            r->port = s.endpoint.port;
            records.push_back(r.get());
            catalogue::appendServer(profile.servers, std::move(r));
        }
        ASSERT_TRUE(farm.Start(2));
        auto stranger = net::OpenPosixDatagramSocket(net::Endpoint{}, nullptr);
        ASSERT_NE(stranger, nullptr);
        {
            net::StatusEngine engine(
                net::StatusEngineDeps{host, clock, sockets, resolver, threads, messages, refreshBusy});
            engine.SetPacing(run.pacing);
            ASSERT_TRUE(engine.StartCycle(net::kRefreshAll, profile));
            const std::string spoof = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\spoof\\";
            for (int i = 0; i < 40; ++i)
                ASSERT_TRUE(stranger->SendTo(*sockets.OpenEndpoint(), spoof.data(), spoof.size()));
            ASSERT_TRUE(loop.RunUntilIdle(engine, 20000));
            EXPECT_FALSE(refreshBusy);
            EXPECT_EQ(std::pair(engine.unsolicitedDropped(), engine.overflowDropped()),
                      std::pair(uint64_t(40), uint64_t(0)));
            EXPECT_GE(engine.lastCycleMs(), run.minCycleMs);  // the silent ones kept it open
        }
        farm.Stop();
        for (size_t i = 0; i < records.size(); ++i) {
            const ServerRecord& r = *records[i];
            EXPECT_EQ(farm.servers()[i]->requests.load(), 1u) << i;
            if (silent(i)) {
                EXPECT_EQ(std::tuple(std::string(r.hostName), r.ping, r.livesLeft),
                          std::tuple(std::string("~ ") + r.addressText, catalogue::kNoPing, 4))
                    << i;
                continue;
            }
            EXPECT_EQ(std::string(r.hostName), "lab " + std::to_string(i));
            EXPECT_GE(r.ping + 1, delayMs(i)) << i;  // whole milliseconds, cut
            EXPECT_LT(r.ping, delayMs(i) + 500) << i;
            EXPECT_EQ(r.livesLeft, 5) << i;
        }
    }
}

TEST(PosixNet, SocketsSendAndReceiveOnLoopbackWithoutBlockingAndBindTheirAddress) {
    net::PosixDatagramSocketFactory factory;
    EXPECT_FALSE(factory.HasOpenSocket());
    auto a = factory.Open();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(factory.HasOpenSocket());
    auto local = factory.OpenEndpoint();
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(local->addressNetworkOrder, net::LoopbackAddress());
    net::Endpoint bEnd;
    auto b = net::OpenPosixDatagramSocket(net::Endpoint{}, &bEnd);
    ASSERT_NE(b, nullptr);
    EXPECT_GE(net::PosixDescriptor(*b), 0);
    char buffer[64];
    net::Endpoint from;
    EXPECT_EQ(a->ReceiveFrom(buffer, sizeof buffer, &from), -1);  // nothing waiting: no block
    EXPECT_FALSE(a->WaitReadable(10));
    ASSERT_TRUE(b->SendTo(*local, "hello", 5));
    EXPECT_TRUE(a->WaitReadable(1000));
    ASSERT_EQ(a->ReceiveFrom(buffer, sizeof buffer, &from), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(from, bEnd);
    const std::string big(100, 'x');  // a datagram longer than the buffer is cut to it
    ASSERT_TRUE(b->SendTo(*local, big.data(), big.size()));
    ASSERT_TRUE(a->WaitReadable(1000));
    EXPECT_EQ(a->ReceiveFrom(buffer, sizeof buffer, &from), int(sizeof buffer));
    a.reset();
    EXPECT_FALSE(factory.HasOpenSocket());

    net::PosixDatagramSocketFactory bound(net::Endpoint{*net::ParseDottedAddress("127.0.0.2"), 0});
    auto s = bound.Open();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(bound.OpenEndpoint()->addressNetworkOrder, *net::ParseDottedAddress("127.0.0.2"));
    net::PosixDatagramSocketFactory taken(*bound.OpenEndpoint());
    EXPECT_EQ(taken.Open(), nullptr);  // the port is in use
}

TEST(ProtocolFixtures, RefuseEveryAddressOutsideLoopback) {
    for (const char* name : {"quake3_fixture", "gamespy_fixture", "halflife_fixture", "master_fixture"}) {
        for (const char* address : {"10.0.0.1", "0.0.0.0"}) {
            testing_support::FixtureProcess fixture;
            EXPECT_FALSE(fixture.Start(name, {"--format", "q3", "--bind", address})) << name << " " << address;
        }
    }
}

}  // namespace

#endif  // !_WIN32
