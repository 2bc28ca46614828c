// One server's Source query exchange: the info request, its challenge, then the players and the
// rules as asked, with split replies put back together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "net/a2s_split.h"

namespace net {

// A request datagram of the Source query protocol (the longest, info with a challenge, is 29 bytes).
struct A2sRequest {
    uint8_t bytes[32] = {};
    size_t size = 0;
};

// No challenge known: the player and rules requests then carry FF FF FF FF to ask for one.
constexpr uint32_t kNoChallenge = 0xFFFFFFFFu;

// FF FF FF FF 'T' "Source Engine Query" 00, with the challenge's 4 bytes appended when given.
A2sRequest BuildA2sInfoRequest(std::optional<uint32_t> challenge);
// FF FF FF FF 'U' / 'V' and the challenge (kNoChallenge first).
A2sRequest BuildA2sPlayerRequest(uint32_t challenge);
A2sRequest BuildA2sRulesRequest(uint32_t challenge);

struct A2sWants {
    bool players = true;
    bool rules = false;
};

// What one datagram from the server leads to.
struct A2sStep {
    // The next datagram for this server, if any (a request again with the challenge, or the next
    // request once a reply came). It counts in the refresh's pace like any other request.
    std::optional<A2sRequest> send;
    // `send` is the info request again: the ping is timed from when it goes, not from the first one.
    bool sendStartsPing = false;
    // A whole reply to parse (info, players or rules), valid until the next Take.
    const uint8_t* reply = nullptr;
    size_t replySize = 0;
    uint8_t replyType = 0;
    // The reply answers the info request: the ping is its round trip.
    bool answersInfo = false;
    // Every reply asked for has come.
    bool complete = false;
};

// The steps, one request in flight at a time (a challenge reply does not say which request it
// answers): info, then players, then rules, as wanted. A challenge reply makes the request go again
// with it; the challenge is then sent with the later requests too, and a server that wants another
// answers with a new one. At most kMaxChallengeRounds challenges are followed per request, so a
// server that only ever sends challenges cannot keep a refresh busy. Datagrams that answer nothing
// asked for now (a second info form, a reply cut off, a stranger's bytes) are ignored; a compressed
// split reply is refused (CompressedRefused() tells, for a note to the user).
class A2sExchange {
  public:
    // `form` is how split replies are numbered until the info reply tells: a Half-Life server (the
    // obsolete info form, or protocol 48) numbers the parts of its later replies the GoldSrc way.
    A2sExchange(A2sSplitForm form, A2sWants wants) : split_(form), form_(form), wants_(wants) {}

    // The first datagram: the info request without a challenge.
    A2sRequest Start();
    A2sStep Take(const uint8_t* data, size_t size);

    bool complete() const { return stage_ == Stage::kDone; }
    bool infoAnswered() const { return stage_ != Stage::kInfo; }
    bool CompressedRefused() const { return compressedRefused_; }

    static constexpr int kMaxChallengeRounds = 3;

  private:
    enum class Stage { kInfo, kPlayers, kRules, kDone };
    A2sRequest RequestFor(Stage stage) const;
    void Advance(A2sStep& step);

    SplitAssembler split_;
    A2sSplitForm form_;
    A2sWants wants_;
    Stage stage_ = Stage::kInfo;
    std::optional<uint32_t> challenge_;
    int challengeRounds_ = 0;
    bool compressedRefused_ = false;
};

}  // namespace net
