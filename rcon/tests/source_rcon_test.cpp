// Tests of the Source remote console: packet bytes, the stream decoder over any cut of the stream,
// and the session's authentication, queued commands and replies that span packets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rcon/rcon_protocol.h"
#include "rcon/source_rcon.h"
#include "testing/wire_bytes.h"

namespace {

using rcon::SourceRconPacket;
using testing_support::U;
using Session = rcon::SourceRconSession;
using Kind = Session::Event::Kind;

std::string P(int32_t id, int32_t type, const std::string& body) {
    return rcon::EncodeSourceRconPacket({id, type, body});
}
std::string Decoded(rcon::SourceRconDecoder& d) {
    std::string out;
    while (auto p = d.Next())
        out += "[" + std::to_string(p->id) + " " + std::to_string(p->type) + " " + p->body + "]";
    return out;
}

TEST(SourceRcon, PacketsRoundTripAndTheDecoderCutsAnyStream) {
    EXPECT_EQ(P(7, rcon::kSourceRconAuth, "pw"), std::string("\x0C\0\0\0\x07\0\0\0\x03\0\0\0pw\0\0", 16));
    EXPECT_EQ(P(-1, 0, std::string("a\0b", 3)), std::string("\x0B\0\0\0\xFF\xFF\xFF\xFF\0\0\0\0a\0\0", 15));
    // A long stream of three packets again and again (one with bytes after a zero in its body), read in
    // pieces that end at every place inside them: all is read, and only what is unread is kept.
    const std::string three =
        P(1, 2, "status") + P(2, 0, "") + std::string("\x0E\0\0\0\x02\0\0\0\0\0\0\0\0\x01\0\0\0\0", 18);
    std::string stream, read, expected;
    for (int i = 0; i < 200; ++i, expected += "[1 2 status][2 0 ][2 0 ]")
        stream += three;
    rcon::SourceRconDecoder d;
    for (size_t at = 0; at < stream.size(); at += 97) {
        d.Feed(U(stream) + at, std::min<size_t>(97, stream.size() - at));
        read += Decoded(d);
        ASSERT_LE(d.held(), 97 + three.size()) << at;
    }
    EXPECT_EQ(read, expected);
    // Sizes that no packet has break the stream once they are seen (a packet before them is read), and
    // for good.
    for (uint32_t size : {9u, 16385u, 0xFFFFFFFFu}) {
        const std::string head{char(size), char(size >> 8), char(size >> 16), char(size >> 24)};
        rcon::SourceRconDecoder first, later;
        EXPECT_FALSE(first.Feed(U(head), 4)) << size;
        const std::string stream = P(5, 0, "ok") + head;
        EXPECT_TRUE(later.Feed(U(stream), stream.size()));
        EXPECT_EQ(Decoded(later), "[5 0 ok]");
        EXPECT_TRUE(later.broken());
        EXPECT_FALSE(later.Feed(U(P(6, 0, "x")), 14));
        EXPECT_EQ(Decoded(later), "");
    }
}

// The session against a scripted server: what it sends and what it reports.
std::string Events(const Session::Output& o) {
    std::string out;
    for (const auto& e : o.events)
        out += e.kind == Kind::kReply           ? "reply " + std::to_string(e.commandId) + ":" + e.text + ";"
               : e.kind == Kind::kAuthenticated ? "authenticated;"
               : e.kind == Kind::kRefused       ? "refused;"
                                                : "broken;";
    return out;
}

TEST(SourceRcon, SessionAuthenticatesQueuesAndCompletesRepliesOverPackets) {
    Session s;
    EXPECT_EQ(s.Start("secret"), P(1, rcon::kSourceRconAuth, "secret"));
    std::string send;
    EXPECT_EQ(s.Command("status", &send), 2);  // waits for the password to be accepted
    EXPECT_EQ(send, "");
    Session::Output o = s.Receive(U(P(1, 0, "") + P(1, 2, "")), 28);
    EXPECT_EQ(Events(o), "authenticated;");
    EXPECT_EQ(o.send, P(2, 2, "status") + P(3, 0, ""));
    EXPECT_EQ(s.Command("cvarlist", &send), 4);
    EXPECT_EQ(send, P(4, 2, "cvarlist") + P(5, 0, ""));
    // A reply in two packets, the marker's echo and its follow-up, then the next reply; a stray id is dropped.
    const std::string server = P(2, 0, "host: Lab\n") + P(2, 0, "players: 2\n") + P(99, 0, "stray") + P(3, 0, "") +
                               std::string("\x0E\0\0\0\x03\0\0\0\0\0\0\0\0\x01\0\0\0\0", 18) + P(4, 0, "a 1\n") +
                               P(5, 0, "");
    o = s.Receive(U(server), server.size());
    EXPECT_EQ(Events(o), "reply 2:host: Lab\nplayers: 2\n;reply 4:a 1\n;");
    EXPECT_EQ(s.pendingCommands(), 0u);
    // A marker overtaking an earlier command's marker completes both, in order; replies are bounded.
    s.Command("one", &send);
    s.Command("two", &send);
    const std::string big(4000, 'b');
    std::string flood;
    while (flood.size() < rcon::kReplyCapacity + big.size())
        flood += P(6, 0, big);
    o = s.Receive(U(flood + P(9, 0, "")), flood.size() + 14);
    ASSERT_EQ(o.events.size(), 2u);
    EXPECT_EQ(std::pair(o.events[0].text.size(), o.events[1].commandId), std::pair(rcon::kReplyCapacity, 8));
    // A broken stream ends the session.
    o = s.Receive(U(std::string("\x05\0\0\0", 4)), 4);
    EXPECT_EQ(Events(o), "broken;");
    EXPECT_EQ(s.Command("status", &send), 0);

    Session refused;
    refused.Start("wrong");
    refused.Command("status", &send);
    o = refused.Receive(U(P(1, 0, "") + P(-1, 2, "")), 28);
    EXPECT_EQ(Events(o) + o.send, "refused;");
    EXPECT_EQ(refused.state(), Session::State::kRefused);
    EXPECT_EQ(refused.Command("status", &send), 0);
}

}  // namespace
