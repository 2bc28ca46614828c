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

// Twenty-five responders answering after 10 ms x (i % 5), every fifth one silent, one of them asked
// by host name: three bursts with their pauses, replies matched while the worker walks, each ping
// measured, the silent ones marked at the close after the grace time.
TEST(LoopbackEngine, ACycleAgainstRealRespondersTimesEachReplyAndMarksTheSilentOnes) {
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
    host.onArmTimer = [&](uint32_t ms) { loop.ArmTimer(ms); };
    host.onKillTimer = [&] { loop.KillTimer(); };
    ASSERT_TRUE(farm.Open(25));
    std::vector<ServerRecord*> records;
    for (size_t i = 0; i < 25; ++i) {
        auto& s = *farm.servers()[i];
        s.delayUs = static_cast<uint32_t>(10000 * (i % 5));
        s.silent = i % 5 == 3;
        s.reply = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\lab " + std::to_string(i) + "\\mapname\\oa_dm1\n";
        auto r = std::make_unique<ServerRecord>();
        base::CopyText(r->addressText, i == 4 ? "localhost" : "127.0.0.1");
        r->port = s.endpoint.port;
        records.push_back(r.get());
        catalogue::appendServer(profile.servers, std::move(r));
    }
    ASSERT_TRUE(farm.Start(2));
    {
        net::StatusEngine engine(net::StatusEngineDeps{host, clock, sockets, resolver, threads, messages, refreshBusy});
        ASSERT_TRUE(engine.StartCycle(net::kRefreshAll, profile));
        ASSERT_TRUE(loop.RunUntilIdle(engine, 10000));
        EXPECT_FALSE(refreshBusy);
        EXPECT_GE(engine.lastCycleMs(), 2 * net::kPauseMs + net::kGraceMs);  // the silent ones kept it open
        EXPECT_LT(engine.lastCycleMs(), 10000u);
    }
    farm.Stop();
    for (size_t i = 0; i < records.size(); ++i) {
        const ServerRecord& r = *records[i];
        EXPECT_EQ(farm.servers()[i]->requests.load(), 1u) << i;
        if (i % 5 == 3) {
            EXPECT_EQ(std::tuple(std::string(r.hostName), r.ping, r.livesLeft),
                      std::tuple(std::string("~ ") + r.addressText, catalogue::kNoPing, 4))
                << i;
            continue;
        }
        EXPECT_EQ(std::string(r.hostName), "lab " + std::to_string(i));
        // The send time is taken right after the send returns: a worker descheduled in between (the
        // machine is shared, the sanitizers are slow) shortens the measured ping by that much.
        EXPECT_GE(r.ping + 5, 10 * (i % 5)) << i;
        EXPECT_LT(r.ping, 10 * (i % 5) + 300) << i;
        EXPECT_EQ(r.livesLeft, 5) << i;
    }
}

TEST(PosixNet, SocketsSendAndReceiveOnLoopbackWithoutBlockingAndBindTheirAddress) {
    net::PosixDatagramSocketFactory factory;
    EXPECT_FALSE(factory.HasOpenSocket() || factory.WaitReadable(0));
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
    EXPECT_EQ(a->Pending(), std::optional<size_t>(0));
    EXPECT_FALSE(factory.WaitReadable(10));
    ASSERT_TRUE(b->SendTo(*local, "hello", 5));
    EXPECT_TRUE(factory.WaitReadable(1000));
    EXPECT_EQ(a->Pending(), std::optional<size_t>(5));
    ASSERT_EQ(a->ReceiveFrom(buffer, sizeof buffer, &from), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(from, bEnd);
    const std::string big(100, 'x');  // a datagram longer than the buffer is cut to it
    ASSERT_TRUE(b->SendTo(*local, big.data(), big.size()));
    ASSERT_TRUE(factory.WaitReadable(1000));
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
