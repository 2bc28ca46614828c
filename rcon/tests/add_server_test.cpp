// Add Server: the colon in the address box, dotted addresses, ports, a server already listed.
#include <gtest/gtest.h>

#include "rcon/add_server.h"

namespace {

TEST(AddServer, TypedAddressesAndPorts) {
    EXPECT_EQ(rcon::SplitTypedAddress("10.0.0.1:27961").address, "10.0.0.1");
    EXPECT_EQ(rcon::SplitTypedAddress("10.0.0.1:27961").port, "27961");
    EXPECT_EQ(rcon::SplitTypedAddress("localhost:").address, "localhost");
    EXPECT_FALSE(rcon::SplitTypedAddress("localhost:").port || rcon::SplitTypedAddress("10.0.0.1").port);
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
    EXPECT_EQ(
        std::tuple(listed, std::string(added->addressText), added->hostPort, added->isFavourite, added->refreshPending),
        std::tuple(false, std::string("10.0.0.1"), 27965u, 0u, 1u));
    added->refreshPending = 0;
    auto [again, wasListed] = rcon::AddServerToList(list, {{10, 0, 0, 1}, 27960, 27960, false});
    // A favourite whatever the box said.
    EXPECT_EQ(std::tuple(again, wasListed, again->isFavourite, again->refreshPending, list.count),
              std::tuple(added, true, 1u, 1u, 1u));
}

}  // namespace
