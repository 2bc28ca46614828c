// Source remote-console packets, the stream decoder and the session's authentication and replies.
#include "rcon/source_rcon.h"

#include "base/byte_reader.h"
#include "rcon/rcon_protocol.h"

namespace rcon {

namespace {

constexpr size_t kSizeField = 4;
constexpr size_t kBodyStart = 12;  // size, id, type
constexpr int32_t kRefusedId = -1;

}  // namespace

std::string EncodeSourceRconPacket(const SourceRconPacket& packet) {
    std::string_view body = packet.body;
    body = body.substr(0, body.find('\0'));
    if (body.size() > kSourceRconMaxSize - kSourceRconMinSize)
        body = body.substr(0, kSourceRconMaxSize - kSourceRconMinSize);
    std::string out(kBodyStart, '\0');
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    base::StoreU32LE(p, static_cast<uint32_t>(body.size() + kSourceRconMinSize));
    base::StoreI32LE(p + 4, packet.id);
    base::StoreI32LE(p + 8, packet.type);
    out.append(body);
    out.append(2, '\0');
    return out;
}

bool SourceRconDecoder::Feed(const uint8_t* data, size_t size) {
    if (broken_)
        return false;
    // What was read goes before more is kept, so a stream that keeps ending inside a packet does
    // not pile up every byte it ever brought.
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_.append(reinterpret_cast<const char*>(data), size);
    // A size outside the bounds is caught as soon as its four bytes are in, not when (never) the
    // packet it announces has come.
    if (buffer_.size() - start_ >= kSizeField) {
        const uint32_t n = base::LoadU32LE(reinterpret_cast<const uint8_t*>(buffer_.data() + start_));
        if (n < kSourceRconMinSize || n > kSourceRconMaxSize)
            broken_ = true;
    }
    return !broken_;
}

std::optional<SourceRconPacket> SourceRconDecoder::Next() {
    if (broken_ || buffer_.size() - start_ < kSizeField)
        return std::nullopt;
    const auto* p = reinterpret_cast<const uint8_t*>(buffer_.data() + start_);
    const uint32_t n = base::LoadU32LE(p);
    if (n < kSourceRconMinSize || n > kSourceRconMaxSize) {
        broken_ = true;
        return std::nullopt;
    }
    if (buffer_.size() - start_ < kSizeField + n)
        return std::nullopt;
    SourceRconPacket packet;
    packet.id = base::LoadI32LE(p + 4);
    packet.type = base::LoadI32LE(p + 8);
    std::string_view body(buffer_.data() + start_ + kBodyStart, n - kSourceRconMinSize);
    packet.body.assign(body.substr(0, body.find('\0')));
    start_ += kSizeField + n;
    // The next packet's size is checked now, like the first one's in Feed.
    if (buffer_.size() - start_ >= kSizeField) {
        const uint32_t next = base::LoadU32LE(reinterpret_cast<const uint8_t*>(buffer_.data() + start_));
        broken_ = next < kSourceRconMinSize || next > kSourceRconMaxSize;
    }
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return packet;
}

int32_t SourceRconSession::NextId() {
    // Ids stay positive: -1 is the server's refusal.
    lastId_ = lastId_ >= 0x7FFFFFF0 ? 1 : lastId_ + 1;
    return lastId_;
}

std::string SourceRconSession::Start(std::string_view password) {
    state_ = State::kAuthenticating;
    authId_ = NextId();
    return EncodeSourceRconPacket({authId_, kSourceRconAuth, std::string(password)});
}

std::string SourceRconSession::CommandBytes(const Pending& p) const {
    return EncodeSourceRconPacket({p.id, kSourceRconExecCommand, p.command}) +
           EncodeSourceRconPacket({p.marker, kSourceRconResponseValue, std::string()});
}

int32_t SourceRconSession::Command(std::string_view command, std::string* send) {
    if (state_ != State::kAuthenticating && state_ != State::kReady)
        return 0;
    Pending p;
    p.id = NextId();
    p.marker = NextId();
    p.command.assign(command);
    if (state_ == State::kReady && send)
        *send += CommandBytes(p);
    pending_.push_back(std::move(p));
    return pending_.back().id;
}

SourceRconSession::Output SourceRconSession::Receive(const uint8_t* data, size_t size) {
    Output out;
    if (state_ == State::kBroken || state_ == State::kIdle)
        return out;
    decoder_.Feed(data, size);
    while (std::optional<SourceRconPacket> packet = decoder_.Next())
        Handle(*packet, out);
    if (decoder_.broken()) {
        state_ = State::kBroken;
        pending_.clear();
        out.events.push_back({Event::Kind::kBroken});
    }
    return out;
}

void SourceRconSession::Handle(const SourceRconPacket& packet, Output& out) {
    if (state_ == State::kAuthenticating) {
        // The server first answers the authentication with an empty response value; its verdict
        // follows as an authentication response with the request's id, or -1 for a wrong password.
        if (packet.type != kSourceRconAuthResponse)
            return;
        if (packet.id == authId_) {
            state_ = State::kReady;
            out.events.push_back({Event::Kind::kAuthenticated});
            for (const Pending& p : pending_)
                out.send += CommandBytes(p);
        } else if (packet.id == kRefusedId) {
            state_ = State::kRefused;
            pending_.clear();
            out.events.push_back({Event::Kind::kRefused});
        }
        return;
    }
    if (state_ != State::kReady || packet.type != kSourceRconResponseValue)
        return;
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (packet.id == it->id) {
            const size_t room = kReplyCapacity - it->text.size();
            it->text.append(packet.body, 0, room);
            return;
        }
        if (packet.id == it->marker) {
            // Replies come in the order of the commands: those before this one are over too.
            for (auto done = pending_.begin(); done != it + 1; ++done)
                out.events.push_back({Event::Kind::kReply, done->id, std::move(done->text)});
            pending_.erase(pending_.begin(), it + 1);
            return;
        }
    }
    // Anything else (the packet after an echo, a reply to nothing asked) is dropped.
}

}  // namespace rcon
