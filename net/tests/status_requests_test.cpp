// Status request datagrams: exact bytes for every game kind.
#include <gtest/gtest.h>

#include <string>

#include "net/status_requests.h"

namespace {

std::string Bytes(const net::RequestDatagram& d) {
    return std::string(reinterpret_cast<const char*>(d.bytes), d.size);
}

TEST(StatusRequests, QuakeStyleKindsSendThirteenBytes) {
    for (uint32_t kind : {0u, 1u, 3u, 5u, 6u}) {
        auto r = net::BuildStatusRequests(kind);
        ASSERT_EQ(r.count, 1) << kind;
        EXPECT_EQ(Bytes(r.datagrams[0]), std::string("\xFF\xFF\xFF\xFFgetstatus", 13)) << kind;
    }
}

TEST(StatusRequests, KindFourHasTheTypeByteNewlineAndZero) {
    auto r = net::BuildStatusRequests(4);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(Bytes(r.datagrams[0]), std::string("\xFF\xFF\xFF\xFF\x02getstatus\n\0", 16));
}

TEST(StatusRequests, GameSpyKindsSendStatus) {
    for (uint32_t kind : {7u, 8u}) {
        auto r = net::BuildStatusRequests(kind);
        ASSERT_EQ(r.count, 1);
        EXPECT_EQ(Bytes(r.datagrams[0]), "\\status\\");
    }
}

TEST(StatusRequests, HalfLifeSendsDetailsThenPlayers) {
    auto r = net::BuildStatusRequests(2);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(Bytes(r.datagrams[0]), std::string("\xFF\xFF\xFF\xFF"
                                                 "details",
                                                 11));
    EXPECT_EQ(Bytes(r.datagrams[1]), std::string("\xFF\xFF\xFF\xFF"
                                                 "players",
                                                 11));
}

TEST(StatusRequests, UnknownKindSendsNothing) {
    EXPECT_EQ(net::BuildStatusRequests(9).count, 0);
    EXPECT_EQ(net::BuildStatusRequests(0xFFFFFFFFu).count, 0);
}

TEST(StatusRequests, ReplyMarkersAndTwoRepliesByKind) {
    for (uint32_t kind = 0; kind < 9; ++kind) {
        const bool markers = kind == 2 || kind == 4 || kind == 7 || kind == 8;
        EXPECT_EQ(net::UsesReplyMarkers(kind), markers) << kind;
        EXPECT_EQ(net::NeedsTwoReplies(kind), kind == 2) << kind;
    }
}

}  // namespace
