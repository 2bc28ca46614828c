// POSIX clock, loopback UDP sockets, resolver and threads (run inside a loopback-only namespace).
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "net/posix/posix_net.h"

namespace {

TEST(PosixClock, CountsInNanosecondsOrMicrosecondsAndSleeps) {
    net::PosixClock ns;
    net::PosixClock us(net::PosixClock::Resolution::kMicroseconds);
    EXPECT_EQ(ns.Frequency(), 1000000000u);
    EXPECT_EQ(us.Frequency(), 1000000u);
    const uint64_t c0 = ns.Counter();
    const uint64_t u0 = us.Counter();
    const uint32_t t0 = ns.TickCount();
    ns.SleepMs(30);
    EXPECT_GE(net::CounterToMs(c0, ns.Counter(), ns.Frequency()), 30u);
    EXPECT_GE(net::CounterToMs(u0, us.Counter(), us.Frequency()), 30u);
    EXPECT_GE(ns.TickCount() - t0, 29u);  // ticks are cut to whole milliseconds
    EXPECT_LT(net::CounterToMs(c0, ns.Counter(), ns.Frequency()), 1000u);
}

TEST(PosixDatagramSocket, SendsAndReceivesOnLoopbackWithoutBlocking) {
    net::PosixDatagramSocketFactory factory;
    EXPECT_FALSE(factory.HasOpenSocket());
    EXPECT_FALSE(factory.WaitReadable(0));
    auto a = factory.Open();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(factory.HasOpenSocket());
    auto local = factory.OpenEndpoint();
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(local->addressNetworkOrder, net::LoopbackAddress());
    EXPECT_NE(local->port, 0);

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

    // A datagram longer than the buffer is cut to it.
    std::string big(100, 'x');
    ASSERT_TRUE(b->SendTo(*local, big.data(), big.size()));
    ASSERT_TRUE(factory.WaitReadable(1000));
    EXPECT_EQ(a->ReceiveFrom(buffer, sizeof buffer, &from), int(sizeof buffer));

    a.reset();
    EXPECT_FALSE(factory.HasOpenSocket());
}

TEST(PosixDatagramSocket, BindsTheLocalAddressItIsGiven) {
    net::PosixDatagramSocketFactory factory(net::Endpoint{*net::ParseDottedAddress("127.0.0.2"), 0});
    auto s = factory.Open();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(factory.OpenEndpoint()->addressNetworkOrder, *net::ParseDottedAddress("127.0.0.2"));

    net::PosixDatagramSocketFactory taken(*factory.OpenEndpoint());
    EXPECT_EQ(taken.Open(), nullptr);  // the port is in use
}

TEST(PosixResolver, ResolvesLocalNamesOnly) {
    net::PosixResolver resolver;
    EXPECT_EQ(resolver.Resolve("localhost"), std::optional<uint32_t>(net::LoopbackAddress()));
    EXPECT_EQ(resolver.Resolve("127.0.0.1"), std::optional<uint32_t>(net::LoopbackAddress()));
    EXPECT_EQ(resolver.Resolve(""), std::nullopt);
    EXPECT_EQ(resolver.Resolve(nullptr), std::nullopt);
}

TEST(PosixThreadStarter, RunsTheBodyAndJoins) {
    net::PosixThreadStarter starter;
    std::atomic<int> ran{0};
    auto t = starter.Start([&ran] { ran = 42; });
    ASSERT_NE(t, nullptr);
    t->Join();
    EXPECT_EQ(ran.load(), 42);
    t->Join();  // a second join is harmless
}

}  // namespace

#endif
