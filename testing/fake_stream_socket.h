// A stream socket for the console's tests: records connects, sends and closes in a line the test
// reads, and hands out the bytes (and the end) the test delivers.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "rcon/source_rcon.h"
#include "rcon/stream_socket.h"

namespace testing_support {

struct FakeStreamLine {
    std::string events;    // "connect(PORT)", "auth(PW)", "exec(CMD)", "mark", "close", "|" between
    std::string incoming;  // what the next reads get
    bool ended = false;    // after `incoming`, the server closed the connection
    bool refuseConnect = false;
    void Note(const std::string& event) { events += (events.empty() ? "" : "|") + event; }

    // What a server sends: the password's verdict on the first connection's authentication (id 1),
    // and the reply to the command of that id in packets of 40 bytes, then the echo of its end marker
    // (the next id) and the packet servers send after it.
    void Verdict(bool accepted) { incoming += Packet(1, 0, "") + Packet(accepted ? 1 : -1, 2, ""); }
    void Answer(int32_t id, const std::string& text) {
        for (size_t at = 0; at < text.size(); at += 40)
            incoming += Packet(id, 0, text.substr(at, 40));
        incoming += Packet(id + 1, 0, "") + Packet(id + 1, 0, std::string("\0\1", 2));
    }
    static std::string Packet(int32_t id, int32_t type, const std::string& body) {
        return rcon::EncodeSourceRconPacket({id, type, body});
    }
};

class FakeStreamSocket : public rcon::StreamSocket {
  public:
    explicit FakeStreamSocket(std::shared_ptr<FakeStreamLine> line) : line_(std::move(line)) {}

    bool Connect(const net::Endpoint& to) override {
        line_->Note("connect(" + std::to_string(to.port) + ")");
        line_->incoming.clear();
        line_->ended = false;
        sent_ = {};
        return !line_->refuseConnect;
    }
    bool Send(const void* data, size_t size) override {
        // Each packet sent is noted by what it is.
        sent_.Feed(static_cast<const uint8_t*>(data), size);
        while (auto p = sent_.Next()) {
            if (p->type == rcon::kSourceRconAuth)
                line_->Note("auth(" + p->body + ")");
            else if (p->type == rcon::kSourceRconExecCommand)
                line_->Note("exec(" + p->body + ")");
            else
                line_->Note(p->body.empty() ? "mark" : "value(" + p->body + ")");
        }
        return true;
    }
    int Receive(void* buffer, size_t capacity) override {
        if (line_->incoming.empty())
            return line_->ended ? 0 : kNothingWaiting;
        size_t n = std::min(capacity, line_->incoming.size());
        std::memcpy(buffer, line_->incoming.data(), n);
        line_->incoming.erase(0, n);
        return static_cast<int>(n);
    }
    void Close() override { line_->Note("close"); }

  private:
    std::shared_ptr<FakeStreamLine> line_;
    rcon::SourceRconDecoder sent_;
};

}  // namespace testing_support
