// The games' remote-console protocol over UDP: the datagram a command goes out as, how the
// datagrams of a reply are collected, and what a reply means.
//
// Commands carry the server's rcon password in clear text, as the games define. Half-Life asks
// for a challenge first ("challenge rcon") and every later command carries it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rcon {

// Which tool command the replies belong to (0: a typed command or "serverinfo").
enum PendingCommand : uint32_t {
    kNoCommand = 0,
    kServerProperties = 40022,
    kChangeMap = 40023,
    kRefreshStatus = 40024,
    kKickPlayer = 40127,
};

// The replies are collected into buffers of this size; what would go beyond is dropped.
constexpr size_t kReplyCapacity = 64000;

// The datagram for a command (no terminating zero).
std::string FormatRconDatagram(uint32_t kind,
                               bool awaitingChallenge,
                               std::string_view challenge,
                               std::string_view password,
                               std::string_view command);

// The server's answer to "challenge rcon": the challenge, or nothing when the datagram is not one.
std::optional<std::string> ReadChallenge(std::string_view datagram);

enum class PasswordProblem { kNone, kNotSet, kWrong };
// A reply saying that the server has no rcon password, or that the one sent is wrong.
PasswordProblem PasswordProblemIn(std::string_view datagram);

// The text a typed command's reply shows in the log (the reply header cut off).
std::string_view LogText(uint32_t kind, std::string_view datagram);

// Collects the datagrams of one reply, as the pending command and the game want them.
class ReplyCollector {
  public:
    // Starts a new reply (a command was sent).
    void Start(uint32_t kind, uint32_t pending);
    // Takes one datagram; true when the reply is complete with it.
    bool Take(std::string_view datagram);
    const std::string& Text() const { return text_; }
    uint32_t Pending() const { return pending_; }

  private:
    void Append(std::string_view text);

    uint32_t kind_ = 0;
    uint32_t pending_ = kNoCommand;
    uint32_t datagramCount_ = 0;
    std::string text_;
};

struct RconPlayer {
    std::string name;
    std::string score;
    std::string ping;
    int32_t number = 0;  // the player's slot, or Half-Life's user id
};

// The players of a "status" reply: Half-Life's "#" lines; the Quake III table of today's engines
// by its header ("cl score ping name address rate", names of any visible width); an older table
// by its fixed columns.
std::vector<RconPlayer> ParseStatusReply(uint32_t kind, std::string_view reply);

// The command that kicks a player; Soldier of Fortune II takes a reason.
std::string KickCommand(uint32_t kind, int32_t number, std::string_view reason = {});

// The command history: lines of a file (at most its first 4096 bytes, up to the first empty line),
// and an entry added unless one with the same text in any letter case is there (the entries are
// then in the sorted order of the command box).
std::vector<std::string> ReadHistory(std::string_view file);
std::string WriteHistory(const std::vector<std::string>& entries);
bool AddToHistory(std::vector<std::string>& entries, std::string_view command);

}  // namespace rcon
