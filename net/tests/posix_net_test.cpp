// The edges of the POSIX loopback UDP sockets (their clock, resolver and threads serve the loopback
// engine test), and the loopback-only rule of the protocol fixtures (run inside a loopback-only
// network namespace).
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <string>

#include "net/posix/posix_net.h"
#include "testing/fixture_process.h"

namespace {

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

#endif
