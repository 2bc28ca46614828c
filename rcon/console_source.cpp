// The console over Source RCON: the connection made when a command goes, the password's verdict,
// replies matched to their commands by id, and the ends of a connection that the log tells of.
#include <algorithm>

#include "rcon/console_session.h"

namespace rcon {

namespace {

constexpr size_t kReadBytes = 16384;
// Reads per wake-up, so that a flooding server cannot hold the window's thread.
constexpr int kMostReadsPerWake = 64;

}  // namespace

bool ConsoleSession::StatusDue() const {
    return std::any_of(due_.begin(), due_.end(), [](const auto& d) { return d.second.pending == kRefreshStatus; });
}

void ConsoleSession::TransmitSource(const Command& command) {
    last_ = command;
    if (link_ == Link::kClosed && !OpenLink())
        return;
    std::string bytes;
    const int32_t id = source_->Command(command.text, &bytes);
    if (!id)
        return;
    if (due_.empty())
        linkSince_ = clock_.TickCount();  // the time the server has to answer starts now
    due_.emplace_back(id, command);
    SendOnLink(bytes);
}

bool ConsoleSession::OpenLink() {
    source_.emplace();
    unsent_ = source_->Start(password_);
    due_.clear();
    if (!stream_->Connect(setup_.server)) {
        DropLink(kSourceNoConnectNote);
        return false;
    }
    link_ = Link::kConnecting;
    linkSince_ = clock_.TickCount();
    return true;
}

void ConsoleSession::SendOnLink(const std::string& bytes) {
    if (bytes.empty())
        return;
    if (link_ == Link::kConnecting)
        unsent_ += bytes;
    else if (link_ == Link::kOpen && !stream_->Send(bytes.data(), bytes.size()))
        DropLink(kSourceClosedNote);
}

void ConsoleSession::DropLink(std::string_view note) {
    if (link_ != Link::kClosed)
        stream_->Close();
    link_ = Link::kClosed;
    source_.reset();
    unsent_.clear();
    due_.clear();
    AppendLog(note);
}

void ConsoleSession::OnConnected(int error) {
    if (!stream_ || link_ != Link::kConnecting)
        return;  // a connect that was given up meanwhile
    if (error)
        return DropLink(kSourceNoConnectNote);
    link_ = Link::kOpen;
    linkSince_ = clock_.TickCount();
    std::string bytes;
    bytes.swap(unsent_);
    SendOnLink(bytes);
}

void ConsoleSession::OnStreamReadable() {
    receive_.resize(kReadBytes);
    for (int i = 0; i < kMostReadsPerWake && link_ == Link::kOpen && !closed_; ++i) {
        const int n = stream_->Receive(receive_.data(), receive_.size());
        if (n == StreamSocket::kNothingWaiting)
            return;
        if (n <= 0)
            return DropLink(kSourceClosedNote);
        linkSince_ = clock_.TickCount();
        SourceRconSession::Output out =
            source_->Receive(reinterpret_cast<const uint8_t*>(receive_.data()), static_cast<size_t>(n));
        SendOnLink(out.send);
        for (SourceRconSession::Event& event : out.events) {
            switch (event.kind) {
                case SourceRconSession::Event::Kind::kAuthenticated:
                    break;
                case SourceRconSession::Event::Kind::kRefused:
                    // The last command goes again once the user has given the password.
                    held_ = last_;
                    DropLink(kSourceRefusedNote);
                    password_.clear();
                    effects_.push_back(TellUser{kPasswordWrongMessage});
                    return AskForPassword();
                case SourceRconSession::Event::Kind::kReply:
                    OnSourceReply(event.commandId, std::move(event.text));
                    break;
                case SourceRconSession::Event::Kind::kBroken:
                    return DropLink(kSourceGarbledNote);
            }
            if (link_ != Link::kOpen)
                return;  // a reply's handling asked for the password, or the link ended
        }
    }
}

void ConsoleSession::OnSourceReply(int32_t id, std::string text) {
    auto it = std::find_if(due_.begin(), due_.end(), [id](const auto& d) { return d.first == id; });
    if (it == due_.end())
        return;
    const Command command = it->second;
    due_.erase(it);
    linkSince_ = clock_.TickCount();
    const uint32_t kind = setup_.kind;
    switch (command.pending) {
        case kServerProperties:
            effects_.push_back(ShowProperties{CvarRows(kind, text)});
            break;
        case kChangeMap:
            effects_.push_back(ShowMaps{MapListEntries(text)});
            break;
        case kRefreshStatus:
            if (IsStatusReply(text)) {
                players_ = ParseStatusReply(kind, text);
                effects_.push_back(PlayersChanged{});
            } else {
                AppendLog(text);
            }
            break;
        case kKickPlayer:
            // What the server said, then the list as it is now.
            AppendLog(text);
            Request({StatusCommand(), kRefreshStatus});
            break;
        default:
            AppendLog(text);
            break;
    }
}

void ConsoleSession::TickSource(uint32_t now) {
    if (link_ == Link::kConnecting && now - linkSince_ >= kSourceConnectMs)
        DropLink(kSourceConnectTimeNote);
    const bool answerDue = !due_.empty() || (source_ && source_->state() == SourceRconSession::State::kAuthenticating);
    if (link_ == Link::kOpen && answerDue && now - linkSince_ >= kSourceAnswerMs)
        DropLink(kSourceSilentNote);
}

}  // namespace rcon
