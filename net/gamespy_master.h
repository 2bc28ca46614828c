// The GameSpy master server protocol over TCP: the validation of a master's challenge, and the reading
// of the greeting and the "\ip\" list from the byte stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/master_list.h"

namespace net {

// The port GameSpy masters take list requests on.
constexpr uint16_t kGameSpyMasterPort = 28900;

// The game name and secret key a game identifies itself with; empty when the kind has no GameSpy
// master.
struct GameSpyIdentity {
    const char* gameName = "";
    const char* key = "";
};
GameSpyIdentity GameSpyIdentityOf(uint32_t kind);

// The published validation of a challenge with a game's key (the plain, "enctype 0" form): eight
// characters of the base-64 alphabet for a six-character challenge. An empty challenge, one longer
// than 64 characters or an empty key gives an empty text.
std::string GameSpyValidate(std::string_view challenge, std::string_view key);

// What the client sends once it has the challenge: the identity with the validation, then the list
// request, "\gamename\<game>\location\0\validate\<response>\final\\list\\gamename\<game>\final\".
std::string GameSpyListRequest(const GameSpyIdentity& identity, std::string_view challenge);

// Reads a master's stream as it arrives, in pieces of any size. First the greeting
// "\basic\\secure\<challenge>" (the challenge ends at the next backslash, or with the data once six
// characters came); then "\ip\a.b.c.d:port" entries, each taken when the backslash after it came,
// until "\final\". Keys other than "ip" are passed over with their values. An address that is not a
// dotted IPv4 address with a port, or one with a byte above 254, is skipped.
// The stream is garbage, and nothing more is read, when the greeting does not begin "\basic\" or
// "\secure\", when a pair does not begin with a backslash, or when a key or value runs past 255
// bytes. Entries taken before stay taken.
class GameSpyListReader {
  public:
    enum class State { kGreeting, kList, kDone, kGarbage };

    // Reads the next bytes; new entries are appended to `entries`. Returns true when the challenge
    // became known with these bytes (the request must then be sent).
    bool Feed(const uint8_t* data, size_t size, std::vector<MasterEntry>& entries);

    State state() const { return state_; }
    const std::string& challenge() const { return challenge_; }
    uint32_t skipped() const { return skipped_; }
    // Entries read so far, skipped ones left out.
    uint32_t taken() const { return taken_; }

  private:
    void ReadGreeting();
    void ReadList(std::vector<MasterEntry>& entries);
    void TakeAddress(std::string_view text, std::vector<MasterEntry>& entries);

    State state_ = State::kGreeting;
    std::string pending_;  // bytes not read yet
    std::string challenge_;
    bool greetingMayGoOn_ = false;
    uint32_t skipped_ = 0;
    uint32_t taken_ = 0;
};

}  // namespace net
