// The games' remote-console protocol over UDP: the datagram a command goes out as, how the
// datagrams of a reply are collected, and what a reply means.
//
// Commands carry the server's rcon password in clear text, as the games define, except DarkPlaces'
// secure form, which signs the command with it. Half-Life asks for a challenge first ("challenge
// rcon") and every later command carries it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rcon {

// Which tool command the replies belong to (0: a typed command or "serverinfo").
enum PendingCommand : uint32_t {
    kNoCommand = 0,
    kServerProperties = 1,
    kChangeMap = 2,
    kRefreshStatus = 3,
    kKickPlayer = 4,
};

// A reply is collected up to this size; what would go beyond is dropped. A DarkPlaces server's
// whole cvar list is about 190 KB.
constexpr size_t kReplyCapacity = 256 * 1024;
// DarkPlaces sends a long reply in datagrams of this size; a shorter one is the reply's last.
constexpr size_t kDarkPlacesFullDatagram = 1399;
// A reply that has no end marker (today's Quake III engines send a long table in pieces of about
// 1 KB) is complete when no datagram came for this long.
constexpr uint32_t kReplyQuietMs = 300;

// The datagram for a command (no terminating zero). Half-Life's carries the challenge.
std::string FormatRconDatagram(uint32_t kind,
                               std::string_view challenge,
                               std::string_view password,
                               std::string_view command);
constexpr std::string_view kChallengeRequest =
    "\xFF\xFF\xFF\xFF"
    "challenge rcon";
// DarkPlaces' time-based secure form ("srcon HMAC-MD4 TIME"): the time (seconds and microseconds
// since 1970) and the command, signed with HMAC-MD4 keyed by the password. The server takes it
// within a few seconds of its own clock, once.
std::string FormatSecureDatagram(std::string_view password, std::string_view command, int64_t unixMicros);

// The server's answer to "challenge rcon": the challenge, or nothing when the datagram is not one.
std::optional<std::string> ReadChallenge(std::string_view datagram);

enum class PasswordProblem { kNone, kNotSet, kWrong };
// A reply that is the server's message that it has no rcon password, or that the one sent is
// wrong (not any reply that merely contains those words, such as a player of that name).
PasswordProblem PasswordProblemIn(std::string_view datagram);

// The text a reply shows in the log (the reply header cut off, by game).
std::string_view LogText(uint32_t kind, std::string_view datagram);

// Collects the datagrams of one reply, as the pending command and the game want them.
class ReplyCollector {
  public:
    // Starts a new reply (a command was sent, or a later reply of a status or kick began).
    void Start(uint32_t kind, uint32_t pending, uint32_t nowMs);
    // Takes one datagram; true when the reply is complete with it.
    bool Take(std::string_view datagram, uint32_t nowMs);
    // True when a reply that ends by silence has had datagrams and then none for kReplyQuietMs.
    bool Quiet(uint32_t nowMs) const;
    // The reply was handled: later datagrams of a kept pending command start a new one.
    void Finish() { finished_ = true; }
    bool Finished() const { return finished_; }
    const std::string& Text() const { return text_; }
    uint32_t Pending() const { return pending_; }

  private:
    void Append(std::string_view text);

    uint32_t kind_ = 0;
    uint32_t pending_ = kNoCommand;
    uint32_t datagramCount_ = 0;
    uint32_t lastAt_ = 0;
    bool finished_ = false;
    std::string text_;
};

// The console's protocol by game: the Half-Life UDP rcon with its challenge (the classic Half-Life
// and the Half-Life engine on Steam), Source RCON over TCP (the Source engine games), or the
// Quake III style UDP rcon of the others.
bool SpeaksHalfLifeRcon(uint32_t kind);
bool SpeaksSourceRcon(uint32_t kind);

// The games whose every reply is one datagram (Half-Life, Medal of Honor, Unreal Tournament,
// Renegade); the others' replies are collected.
bool ReplyIsOneDatagram(uint32_t kind);

// The command that kicks a player (Half-Life's and Source's by user id); Soldier of Fortune II takes
// a reason.
std::string KickCommand(uint32_t kind, int32_t number, std::string_view reason = {});

}  // namespace rcon
