// The console's state machine. A command goes out only when the password is confirmed, the
// Half-Life challenge is known and DarkPlaces' form (plain or secure) is settled; until then the
// latest command waits, so no timer or reply can send one behind an open prompt.
#include "rcon/console_session.h"

#include <algorithm>
#include <chrono>

#include "catalogue/catalogue.h"

namespace rcon {

namespace {

using namespace catalogue;

constexpr size_t kReceiveBytes = 65536;
// Datagrams read per wake-up, so that a flooding peer cannot hold the window's thread.
constexpr int kMostReadsPerWake = 256;

int64_t SystemUnixMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// The reply to a kick says the player left.
bool KickConfirmed(uint32_t kind, const std::string& text) {
    if (IsDarkPlaces(kind))
        return text.find("\" dropped") != std::string::npos;
    return text.find("ClientDisconnect:") != std::string::npos ||
           (kind == kMedalOfHonour && text.find("kicked") != std::string::npos);
}

}  // namespace

bool IsPrompt(const ConsoleEffect& effect) {
    return std::holds_alternative<AskPassword>(effect) || std::holds_alternative<AskKickReason>(effect) ||
           std::holds_alternative<TellUser>(effect) || std::holds_alternative<ShowProperties>(effect) ||
           std::holds_alternative<ShowMaps>(effect);
}

ConsoleSession::ConsoleSession(ConsoleSetup setup, std::unique_ptr<net::DatagramSocket> socket, net::Clock& clock)
    : setup_(std::move(setup)), socket_(std::move(socket)), clock_(clock), password_(setup_.password) {
    if (!setup_.unixMicros)
        setup_.unixMicros = SystemUnixMicros;
}

ConsoleSession::ConsoleSession(ConsoleSetup setup, std::unique_ptr<StreamSocket> stream, net::Clock& clock)
    : setup_(std::move(setup)), stream_(std::move(stream)), clock_(clock), password_(setup_.password) {}

std::string ConsoleSession::StatusCommand() const {
    // DarkPlaces' plain "status" has neither pings nor whole names; its extended table has both.
    return IsDarkPlaces(setup_.kind) ? "status 1" : "status";
}

void ConsoleSession::Open() {
    awaitingChallenge_ = SpeaksHalfLifeRcon(setup_.kind);
    Request({StatusCommand(), kRefreshStatus});
}

void ConsoleSession::Type(std::string_view command) {
    Request({std::string(command), kNoCommand});
    AppendLog(std::string(command) + "\n\n");
}

void ConsoleSession::Run(std::string_view command) {
    Request({std::string(command), kNoCommand});
}

void ConsoleSession::RunTool(uint32_t command) {
    const uint32_t kind = setup_.kind;
    switch (command) {
        case kServerProperties:
            Request({"cvarlist", kServerProperties});
            break;
        case kChangeMap:
            if (kind == kMedalOfHonour)
                effects_.push_back(TellUser{kNoMapListMessage, TellUser::kInformation});
            else
                Request({SpeaksHalfLifeRcon(kind) || SpeaksSourceRcon(kind) ? "maps *"
                         : IsDarkPlaces(kind)                               ? "ls maps/*.bsp"
                                                                            : "dir maps",
                         kChangeMap});
            break;
        case kRefreshStatus:
            Request({StatusCommand(), kRefreshStatus});
            break;
        case kServerInfoCommand:
            // DarkPlaces and Source have no "serverinfo"; their "status" heads the table with host,
            // version and map.
            Request({IsDarkPlaces(kind) || SpeaksSourceRcon(kind) ? "status" : "serverinfo", kNoCommand});
            break;
        case kClearLogCommand:
            log_.clear();
            effects_.push_back(LogCleared{});
            break;
        default:
            break;
    }
}

void ConsoleSession::AutoStatus() {
    if (StatusDue())
        return;  // a slow server is not asked again and again
    Request({StatusCommand(), kRefreshStatus}, true);
}

void ConsoleSession::Kick(int32_t number) {
    auto player =
        std::find_if(players_.begin(), players_.end(), [number](const auto& p) { return p.number == number; });
    if (player == players_.end())
        return;
    if (setup_.kind == kSoldierOfFortune2) {
        effects_.push_back(AskKickReason{number, player->name});
        return;
    }
    kicked_ = number;
    Request({KickCommand(setup_.kind, number), kKickPlayer});
}

void ConsoleSession::AnswerKickReason(int32_t number, const std::optional<std::string>& reason) {
    if (!reason)
        return;
    kicked_ = number;
    Request({KickCommand(setup_.kind, number, *reason), kKickPlayer});
}

void ConsoleSession::Request(const Command& command, bool fromTimer) {
    if (closed_)
        return;
    if (awaitingPassword_)
        return Hold(command, fromTimer);
    if (password_.empty() || !passwordConfirmed_) {
        Hold(command, fromTimer);
        return AskForPassword();
    }
    if (awaitingChallenge_) {
        Hold(command, fromTimer);
        if (!challengeAskedAt_) {
            socket_->SendTo(setup_.server, kChallengeRequest.data(), kChallengeRequest.size());
            challengeAskedAt_ = clock_.TickCount();
        }
        return;
    }
    if (IsDarkPlaces(setup_.kind)) {
        if (probe_)
            return Hold(command, fromTimer);
        if (form_ == DarkPlacesForm::kUntested) {
            probe_ = Probe{command, false, clock_.TickCount()};
            return Transmit(command, false);
        }
    }
    Transmit(command, form_ == DarkPlacesForm::kSecure);
}

void ConsoleSession::Hold(const Command& command, bool fromTimer) {
    if (!fromTimer || !held_)
        held_ = command;
}

void ConsoleSession::ReleaseHeld() {
    if (!held_)
        return;
    Command command = std::move(*held_);
    held_.reset();
    Request(command);
}

void ConsoleSession::Transmit(const Command& command, bool secure) {
    if (stream_)
        return TransmitSource(command);
    std::string datagram = secure ? FormatSecureDatagram(password_, command.text, setup_.unixMicros())
                                  : FormatRconDatagram(setup_.kind, challenge_, password_, command.text);
    socket_->SendTo(setup_.server, datagram.data(), datagram.size());
    reply_.Start(setup_.kind, command.pending, clock_.TickCount());
    last_ = command;
}

void ConsoleSession::AskForPassword() {
    awaitingPassword_ = true;
    effects_.push_back(AskPassword{password_, setup_.server.port, savePassword_});
}

void ConsoleSession::AnswerPassword(const std::optional<PasswordAnswer>& answer) {
    if (!awaitingPassword_ || closed_)
        return;
    awaitingPassword_ = false;
    if (!answer) {
        closed_ = true;
        held_.reset();
        if (stream_)
            DropLink("");
        effects_.push_back(CloseConsole{});
        return;
    }
    password_ = answer->password;
    savePassword_ = answer->save;
    passwordConfirmed_ = true;
    if (answer->port && answer->port != setup_.server.port) {
        setup_.server.port = static_cast<uint16_t>(answer->port);
        // A challenge belongs to the address it was asked from and at.
        if (SpeaksHalfLifeRcon(setup_.kind)) {
            awaitingChallenge_ = true;
            challengeAskedAt_.reset();
        }
    }
    // A connection made with another password or to another port is not the one wanted now.
    if (stream_)
        DropLink("");
    if (savePassword_)
        effects_.push_back(KeepPassword{password_, setup_.server.port});
    ReleaseHeld();
}

void ConsoleSession::OnReadable() {
    if (stream_)
        return OnStreamReadable();
    receive_.resize(kReceiveBytes);
    for (int i = 0; i < kMostReadsPerWake && !closed_; ++i) {
        net::Endpoint from;
        int n = socket_->ReceiveFrom(receive_.data(), receive_.size(), &from);
        if (n < 0)
            break;
        if (from == setup_.server)
            OnDatagram(std::string_view(receive_.data(), static_cast<size_t>(n)));
    }
}

void ConsoleSession::OnDatagram(std::string_view d) {
    if (d.size() < 4)
        return;  // no reply of any game is that short
    if (PasswordProblem problem = PasswordProblemIn(d); problem != PasswordProblem::kNone) {
        if (awaitingPassword_)
            return;  // a reply still on its way to an earlier command
        effects_.push_back(
            TellUser{problem == PasswordProblem::kNotSet ? kPasswordNotSetMessage : kPasswordWrongMessage});
        password_.clear();
        held_ = last_;
        return AskForPassword();
    }
    const uint32_t now = clock_.TickCount();
    if (awaitingChallenge_) {
        if (std::optional<std::string> challenge = ReadChallenge(d)) {
            challenge_ = *challenge;
            awaitingChallenge_ = false;
            challengeAskedAt_.reset();
            if (!held_)
                held_ = Command{StatusCommand(), kRefreshStatus};
            ReleaseHeld();
        }
        return;
    }
    if (probe_) {
        // The first answer settles the form; what waited goes once this reply is whole.
        form_ = probe_->secure ? DarkPlacesForm::kSecure : DarkPlacesForm::kPlain;
        probe_.reset();
        releaseAfterReply_ = true;
    }
    lastDatagram_.assign(d.substr(0, kReplyCapacity));
    if (reply_.Pending() == kNoCommand) {
        AppendLog(LogText(setup_.kind, d));
    } else {
        if (reply_.Finished())
            reply_.Start(setup_.kind, reply_.Pending(), now);
        if (reply_.Take(d, now))
            OnReplyComplete();
    }
    if (releaseAfterReply_ && (reply_.Pending() == kNoCommand || reply_.Finished())) {
        releaseAfterReply_ = false;
        ReleaseHeld();
    }
}

void ConsoleSession::OnReplyComplete() {
    const uint32_t kind = setup_.kind;
    const std::string text = reply_.Text();
    switch (reply_.Pending()) {
        case kServerProperties:
            reply_.Start(kind, kNoCommand, clock_.TickCount());
            effects_.push_back(ShowProperties{CvarRows(kind, text)});
            break;
        case kChangeMap: {
            std::vector<std::string> maps = IsDarkPlaces(kind)         ? DarkPlacesMapEntries(text)
                                            : ReplyIsOneDatagram(kind) ? MapListEntries(LogText(kind, lastDatagram_))
                                                                       : MapListEntries(text);
            reply_.Start(kind, kNoCommand, clock_.TickCount());
            effects_.push_back(ShowMaps{std::move(maps)});
            break;
        }
        case kRefreshStatus:
            reply_.Finish();
            if (IsStatusReply(text)) {
                players_ = ParseStatusReply(kind, text);
                effects_.push_back(PlayersChanged{});
            }
            break;
        case kKickPlayer:
            reply_.Finish();
            if (SpeaksHalfLifeRcon(kind)) {
                Request({StatusCommand(), kRefreshStatus});
            } else if (kicked_ && KickConfirmed(kind, text)) {
                std::erase_if(players_, [this](const RconPlayer& p) { return p.number == *kicked_; });
                kicked_.reset();
                effects_.push_back(PlayersChanged{});
            } else {
                AppendLog(text);
            }
            break;
        default:
            break;
    }
}

void ConsoleSession::Tick() {
    if (closed_)
        return;
    const uint32_t now = clock_.TickCount();
    if (stream_)
        return TickSource(now);
    if (reply_.Quiet(now)) {
        OnReplyComplete();
        if (releaseAfterReply_) {
            releaseAfterReply_ = false;
            ReleaseHeld();
        }
    }
    if (awaitingChallenge_ && challengeAskedAt_ && !awaitingPassword_ &&
        now - *challengeAskedAt_ >= kChallengeRetryMs) {
        socket_->SendTo(setup_.server, kChallengeRequest.data(), kChallengeRequest.size());
        challengeAskedAt_ = now;
    }
    if (probe_ && now - probe_->sentAt >= kDarkPlacesProbeMs) {
        if (!probe_->secure) {
            probe_->secure = true;
            probe_->sentAt = now;
            Transmit(probe_->command, true);
        } else {
            probe_.reset();
            held_.reset();
            AppendLog(kNoAnswerNote);
        }
    }
}

void ConsoleSession::AppendLog(std::string_view text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n' && (lines.empty() || lines.back() != '\r'))
            lines += '\r';
        lines += c == '\0' ? ' ' : c;  // the log control ends its text at a zero byte
    }
    if (lines.empty())
        return;
    if (log_.size() + lines.size() <= kLogLimit) {
        log_ += lines;
        effects_.push_back(LogAppended{0, std::move(lines)});
        return;
    }
    // The newest text stays, from the start of a line.
    const size_t before = log_.size();
    std::string all = log_ + lines;
    size_t cut = all.size() - kLogKept;
    if (size_t lineEnd = all.find('\n', cut); lineEnd != std::string::npos && lineEnd + 1 < all.size())
        cut = lineEnd + 1;
    log_ = all.substr(cut);
    effects_.push_back(LogAppended{std::min(cut, before), lines.substr(cut > before ? cut - before : 0)});
}

std::vector<ConsoleEffect> ConsoleSession::TakeEffects() {
    std::vector<ConsoleEffect> effects;
    effects.swap(effects_);
    return effects;
}

}  // namespace rcon
