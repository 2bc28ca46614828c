// One remote-control console: its server, password, Half-Life challenge, DarkPlaces authentication,
// Source RCON connection, pending command and reply, player list, log and kicks, driven by what
// happens to it and answering with effects that its window carries out.
//
// Contract: every call is made on one thread. The session sends through its own socket and never
// waits. Effects that need a modal dialog or message box (the prompts) are only asked for: the
// window shows them one at a time, after the call that asked has returned, and answers with the
// matching call. While the password prompt is asked for and unanswered nothing is sent: commands
// wait (the latest one; the auto-status never replaces a waiting command) and go once the user
// confirms the password. A console sends nothing before its password was confirmed in the prompt.
//
// The Source engine games (SpeaksSourceRcon) speak Source RCON over TCP: the console connects when
// its first command goes, authenticates with the password, and each reply is matched to its command.
// A refused password, a failed or timed-out connect, a dropped connection and a server that stops
// answering each end the connection with a line in the log (a refused password also asks for the
// password again); the next command connects anew.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "net/clock.h"
#include "net/datagram_socket.h"
#include "rcon/rcon_protocol.h"
#include "rcon/server_properties.h"
#include "rcon/source_rcon.h"
#include "rcon/status_table.h"
#include "rcon/stream_socket.h"

namespace rcon {

constexpr char kPasswordNotSetMessage[] =
    "No remote control password has been set on this server!\n\nYou will be unable to remotely administer this "
    "server until it is preset!";
constexpr char kPasswordWrongMessage[] = "You're Remote Control password is incorrect!";
constexpr char kNoMapListMessage[] = "Server doesn't support this feature! :/";

// The toolbar's two commands that are no pending command.
constexpr uint32_t kServerInfoCommand = 5;
constexpr uint32_t kClearLogCommand = 6;

// The log keeps at most kLogLimit characters: when an append goes beyond, the oldest lines are cut
// until at most kLogKept remain.
constexpr size_t kLogLimit = 128 * 1024;
constexpr size_t kLogKept = 96 * 1024;
// Half-Life: "challenge rcon" is asked again when no challenge came for this long.
constexpr uint32_t kChallengeRetryMs = 3000;
// DarkPlaces: a server that wants secure commands (rcon_secure 1, Nexuiz's default) drops plain ones
// silently, as it drops a wrong password. A console whose first "status" got no answer for this long
// sends it again in the time-based secure form, and keeps the form that was answered.
constexpr uint32_t kDarkPlacesProbeMs = 1500;
constexpr char kNoAnswerNote[] = "No answer from the server (DarkPlaces servers do not answer a wrong password).\n";
// Source RCON: a connect that has not been made for this long is given up; a connection that has
// brought nothing for this long while a reply (or the password's verdict) is due is closed.
constexpr uint32_t kSourceConnectMs = 5000;
constexpr uint32_t kSourceAnswerMs = 10000;
constexpr char kSourceRefusedNote[] = "The server refused the remote control password.\n";
constexpr char kSourceNoConnectNote[] = "Could not connect to the server's remote control port.\n";
constexpr char kSourceConnectTimeNote[] = "No connection to the server's remote control port within 5 seconds.\n";
constexpr char kSourceClosedNote[] = "The server closed the remote control connection.\n";
constexpr char kSourceSilentNote[] = "No answer from the server for 10 seconds: the connection was closed.\n";
constexpr char kSourceGarbledNote[] = "The server's answer was not Source RCON: the connection was closed.\n";

// Effects that change the window's controls.
struct LogAppended {
    size_t cutFront = 0;  // characters removed from the start of the log first
    std::string text;     // appended, line ends as CR LF
};
struct LogCleared {};
struct PlayersChanged {};
// Store the confirmed password and port in the server's record (the user ticked "Save").
struct KeepPassword {
    std::string password;
    uint32_t port = 0;
};
// The console ends (its password prompt was cancelled): the window removes it.
struct CloseConsole {};
// Prompts: each needs a modal dialog or message box.
struct AskPassword {
    std::string password;
    uint32_t port = 0;  // 0: the game's default remote-control port is shown
    bool save = true;
};
struct AskKickReason {
    int32_t number = 0;
    std::string name;
};
struct TellUser {
    enum Icon { kStop, kInformation };
    std::string message;
    Icon icon = kStop;
};
struct ShowProperties {
    std::vector<PropertyRow> rows;
};
struct ShowMaps {
    std::vector<std::string> maps;
};
using ConsoleEffect = std::variant<LogAppended,
                                   LogCleared,
                                   PlayersChanged,
                                   KeepPassword,
                                   CloseConsole,
                                   AskPassword,
                                   AskKickReason,
                                   TellUser,
                                   ShowProperties,
                                   ShowMaps>;
// True for the effects that need a modal dialog or message box.
bool IsPrompt(const ConsoleEffect& effect);

struct ConsoleSetup {
    uint32_t kind = 0;
    net::Endpoint server;  // the server's address and remote-control port
    std::string password;  // the record's saved rcon password
    // Seconds and microseconds since 1970 (DarkPlaces' secure form); the system clock when empty.
    std::function<int64_t()> unixMicros;
};

struct PasswordAnswer {
    std::string password;
    uint32_t port = 0;
    bool save = true;
};

class ConsoleSession {
  public:
    ConsoleSession(ConsoleSetup setup, std::unique_ptr<net::DatagramSocket> socket, net::Clock& clock);
    // A Source engine game's console, over its TCP connection.
    ConsoleSession(ConsoleSetup setup, std::unique_ptr<StreamSocket> stream, net::Clock& clock);

    // Asks for the server's "status" (Half-Life: the challenge first), which asks for the password.
    void Open();
    // A command typed in the command box: sent with no pending command and echoed in the log.
    void Type(std::string_view command);
    // A command of a tool dialog ("map x", a changed cvar): its reply goes to the log.
    void Run(std::string_view command);
    // The toolbar's commands: kServerProperties, kChangeMap and kRefreshStatus, kServerInfoCommand and
    // kClearLogCommand; anything else does nothing.
    void RunTool(uint32_t command);
    // The auto-status period has passed.
    void AutoStatus();
    // "Kick Player!" on the listed player of that number (Soldier of Fortune II asks a reason first).
    void Kick(int32_t number);
    // Reads every datagram waiting on the socket; only the server's own are taken (Source: what has
    // come on the connection, and its end).
    void OnReadable();
    // Source: the connection was made (0) or could not be (the socket's error).
    void OnConnected(int error);
    // Called about every 100 ms: replies that end by silence, the challenge and DarkPlaces' probe.
    void Tick();
    // The prompts' answers (nothing when the user cancelled).
    void AnswerPassword(const std::optional<PasswordAnswer>& answer);
    void AnswerKickReason(int32_t number, const std::optional<std::string>& reason);

    // The effects since the last call, in order.
    std::vector<ConsoleEffect> TakeEffects();

    uint32_t Kind() const { return setup_.kind; }
    const net::Endpoint& Server() const { return setup_.server; }
    const std::vector<RconPlayer>& Players() const { return players_; }
    const std::string& Log() const { return log_; }
    bool AwaitingPassword() const { return awaitingPassword_; }

  private:
    struct Command {
        std::string text;
        uint32_t pending = kNoCommand;
    };
    enum class DarkPlacesForm { kUntested, kPlain, kSecure };
    struct Probe {
        Command command;
        bool secure = false;
        uint32_t sentAt = 0;
    };

    void Request(const Command& command, bool fromTimer = false);
    void Hold(const Command& command, bool fromTimer);
    void ReleaseHeld();
    void Transmit(const Command& command, bool secure);
    void AskForPassword();
    void OnDatagram(std::string_view datagram);
    void OnReplyComplete();
    void AppendLog(std::string_view text);
    std::string StatusCommand() const;
    // Source RCON (console_source.cpp).
    void TransmitSource(const Command& command);
    bool OpenLink();
    void SendOnLink(const std::string& bytes);
    void DropLink(std::string_view note);
    void OnStreamReadable();
    void OnSourceReply(int32_t id, std::string text);
    void TickSource(uint32_t now);
    bool StatusDue() const;

    ConsoleSetup setup_;
    std::unique_ptr<net::DatagramSocket> socket_;
    std::unique_ptr<StreamSocket> stream_;
    net::Clock& clock_;
    std::vector<ConsoleEffect> effects_;

    std::string password_;
    bool passwordConfirmed_ = false;
    bool savePassword_ = true;
    bool awaitingPassword_ = false;
    bool closed_ = false;
    std::optional<Command> held_;
    Command last_;  // the last command sent, sent again after a rejected password

    bool awaitingChallenge_ = false;
    std::optional<uint32_t> challengeAskedAt_;
    std::string challenge_;

    DarkPlacesForm form_ = DarkPlacesForm::kUntested;
    std::optional<Probe> probe_;
    bool releaseAfterReply_ = false;  // the waiting command goes when the current reply is whole

    ReplyCollector reply_;
    std::string lastDatagram_;
    std::vector<RconPlayer> players_;
    std::optional<int32_t> kicked_;  // the player of the kick whose reply is awaited
    std::string log_;
    std::vector<char> receive_;

    enum class Link { kClosed, kConnecting, kOpen };
    Link link_ = Link::kClosed;
    std::optional<SourceRconSession> source_;
    std::string unsent_;                            // what waits for the connection to be made
    std::vector<std::pair<int32_t, Command>> due_;  // commands sent whose replies have not come
    uint32_t linkSince_ = 0;                        // when the connect began, or the connection last brought something
};

}  // namespace rcon
