// Add Server: the colon in the address box, dotted addresses, ports, a server already listed.
#include <gtest/gtest.h>

#include "rcon/add_server.h"

namespace {

TEST(AddServer, TypedAddressesAndPorts) {
    EXPECT_EQ(rcon::SplitTypedAddress("10.0.0.1:27961").address, "10.0.0.1");
    EXPECT_EQ(rcon::SplitTypedAddress("10.0.0.1:27961").port, "27961");
    EXPECT_EQ(rcon::SplitTypedAddress("localhost:").address, "localhost");
    EXPECT_FALSE(rcon::SplitTypedAddress("localhost:").port);
    EXPECT_FALSE(rcon::SplitTypedAddress("10.0.0.1").port);
    for (const char* bad : {"256.0.0.1", "1.2.3", "1.2.3.4.5", "1..2.3", "1.2.3.x", "0001.2.3.4", "", "1.2.3.4 "})
        EXPECT_FALSE(rcon::ParseDottedAddress(bad)) << bad;
    EXPECT_EQ(rcon::ParseDottedAddress("127.10.0.255"), (std::array<uint32_t, 4>{127, 10, 0, 255}));
    const std::pair<const char*, uint32_t> ports[] = {{"27960", 27960}, {"65535", 65535}, {"65536", 0},
                                                      {"0", 0},         {"", 0},          {"27a", 0}};
    for (auto [text, port] : ports)
        EXPECT_EQ(rcon::ParsePortText(text), port) << text;
}

TEST(AddServer, ANewServerIsMarkedAndAListedOneBecomesAFavourite) {
    catalogue::ServerList list;
    auto [added, listed] = rcon::AddServerToList(list, {{10, 0, 0, 1}, 27960, 27965, false});
    ASSERT_NE(added, nullptr);
    EXPECT_FALSE(listed);
    EXPECT_STREQ(added->addressText, "10.0.0.1");
    EXPECT_EQ(added->hostPort, 27965u);
    EXPECT_EQ(added->isFavourite, 0u);
    EXPECT_EQ(added->refreshPending, 1u);
    added->refreshPending = 0;
    auto [again, wasListed] = rcon::AddServerToList(list, {{10, 0, 0, 1}, 27960, 27960, false});
    EXPECT_EQ(again, added);
    EXPECT_TRUE(wasListed);
    EXPECT_EQ(again->isFavourite, 1u);  // whatever the box said
    EXPECT_EQ(again->refreshPending, 1u);
    EXPECT_EQ(list.count, 1u);
}

}  // namespace
