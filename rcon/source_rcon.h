// The Source engine's remote console over TCP: its packets, their reading from a byte stream, and a
// session (authentication, then commands whose replies may span several packets) that takes bytes
// in and gives bytes out, so that any socket can carry it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rcon {

// Packet types. The client's command and the server's answer to an authentication share a value.
enum SourceRconType : int32_t {
    kSourceRconResponseValue = 0,
    kSourceRconExecCommand = 2,
    kSourceRconAuthResponse = 2,
    kSourceRconAuth = 3,
};

// The size field counts the id, the type, the body and its two terminating zero bytes. Servers
// keep a packet to 4096 bytes; a size beyond kSourceRconMaxSize (or under the empty packet's 10)
// cannot be a packet, and the stream is then broken.
constexpr size_t kSourceRconMinSize = 10;
constexpr size_t kSourceRconMaxSize = 16384;

struct SourceRconPacket {
    int32_t id = 0;
    int32_t type = 0;
    std::string body;  // without its terminator; the text up to a zero byte it may hold
};

// Size (little-endian), id, type, the body (cut at a zero byte it holds), and two zero bytes.
std::string EncodeSourceRconPacket(const SourceRconPacket& packet);

// Cuts a byte stream into packets, however the bytes were split by the reads.
class SourceRconDecoder {
  public:
    // False once the stream is broken (and from then on): the connection must be closed.
    bool Feed(const uint8_t* data, size_t size);
    // The next whole packet, if one is there.
    std::optional<SourceRconPacket> Next();
    bool broken() const { return broken_; }
    // Bytes kept: never more than the unread rest of the stream (a packet not yet whole) and the
    // bytes of the last Feed, however long the stream runs.
    size_t held() const { return buffer_.size(); }

  private:
    std::string buffer_;
    size_t start_ = 0;
    bool broken_ = false;
};

// One connection. Start gives the authentication packet. Commands given before the server has
// accepted the password wait and go once it has. Each command is followed by an empty
// SERVERDATA_RESPONSE_VALUE packet of its own id: the server answers that one only after the whole
// reply to the command, so its echo completes the reply (the extra packet servers send after the
// echo is dropped). Replies are collected up to kReplyCapacity bytes each.
class SourceRconSession {
  public:
    enum class State { kIdle, kAuthenticating, kReady, kRefused, kBroken };

    struct Event {
        enum class Kind { kAuthenticated, kRefused, kReply, kBroken };
        Kind kind;
        int32_t commandId = 0;  // kReply: what Command returned
        std::string text;       // kReply: the reply, its packets joined
    };
    struct Output {
        std::vector<Event> events;
        std::string send;  // bytes to send now
    };

    // The bytes of the authentication packet; the session then waits for the server's answer.
    std::string Start(std::string_view password);
    // Queues a command; its id is returned and `*send` gets the bytes to send now (none before the
    // password was accepted). Returns 0 and sends nothing once refused or broken.
    int32_t Command(std::string_view command, std::string* send);
    // Bytes received from the server: what happened, and what to send now.
    Output Receive(const uint8_t* data, size_t size);

    State state() const { return state_; }
    size_t pendingCommands() const { return pending_.size(); }

  private:
    struct Pending {
        int32_t id;
        int32_t marker;
        std::string command;
        std::string text;
    };
    std::string CommandBytes(const Pending& p) const;
    void Handle(const SourceRconPacket& packet, Output& out);
    int32_t NextId();

    State state_ = State::kIdle;
    SourceRconDecoder decoder_;
    int32_t authId_ = 0;
    int32_t lastId_ = 0;
    std::deque<Pending> pending_;
};

}  // namespace rcon
