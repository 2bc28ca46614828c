// Remote-console datagrams, reply collection and kicks.
#include "rcon/rcon_protocol.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "rcon/hmac_md4.h"

namespace rcon {

namespace {

using namespace catalogue;

constexpr std::string_view kFF = "\xFF\xFF\xFF\xFF";
constexpr std::string_view kChallengeReply = "challenge rcon";
constexpr size_t kChallengeStart = 19;  // after FF FF FF FF, "challenge rcon" and a space
constexpr size_t kLongestChallenge = 49;
// Where the text of a reply starts after its header.
constexpr size_t kPrintText = 10;     // FF FF FF FF "print" LF
constexpr size_t kMohPrintText = 11;  // FF FF FF FF 01 "print" LF
constexpr size_t kTypedText = 5;      // FF FF FF FF and a type byte (Half-Life's 'l', DarkPlaces' 'n')

std::string_view From(std::string_view text, size_t pos) {
    return pos < text.size() ? text.substr(pos) : std::string_view();
}

bool IsPrint(std::string_view d) {
    return d.substr(0, 4) == kFF && base::EqualsNoCase(From(d, 4).substr(0, 5), "print");
}

bool IsMohPrint(std::string_view d) {
    return d.substr(0, 4) == kFF && d.size() > 4 && d[4] == '\x01' &&
           base::EqualsNoCase(From(d, 5).substr(0, 5), "print");
}

bool IsDarkPlacesPrint(std::string_view d) {
    return d.substr(0, 4) == kFF && d.size() > 4 && d[4] == 'n';
}

// How the replies of a game end.
enum class Ending {
    kFirstDatagram,  // one datagram is the reply (Half-Life, Medal of Honor, Unreal, Renegade)
    kEmptyPrint,     // Jedi Knight 2 and Soldier of Fortune II: an empty print datagram
    kSilence,        // the Quake III family: no end marker, pieces of about 1 KB
    kShortDatagram,  // DarkPlaces: a datagram shorter than a full one
};

Ending EndingOf(uint32_t kind) {
    if (IsDarkPlaces(kind))
        return Ending::kShortDatagram;
    if (SpeaksHalfLifeRcon(kind))
        return Ending::kFirstDatagram;
    switch (kind) {
        case kJediKnight2:
        case kSoldierOfFortune2:
            return Ending::kEmptyPrint;
        case kMedalOfHonour:
        case kUnrealTournament:
        case kRenegade:
            return Ending::kFirstDatagram;
        default:
            return Ending::kSilence;
    }
}

// Datagrams of a Jedi Knight 2 or Soldier of Fortune II map list that come before the list itself.
uint32_t MapListPreamble(uint32_t kind) {
    return kind == kJediKnight2 ? 3 : 2;
}

// The text of one datagram of a reply: after a print header, Medal of Honor's print header or
// DarkPlaces' 'n', or the whole datagram.
std::string_view BodyOf(std::string_view d) {
    if (IsPrint(d))
        return From(d, kPrintText);
    if (IsMohPrint(d))
        return From(d, kMohPrintText);
    if (IsDarkPlacesPrint(d))
        return From(d, kTypedText);
    return d;
}

// "%s" of the format replaced by the values in turn (a value's own "%s" stays as typed).
std::string Format(std::string_view format, std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string out;
    size_t at = 0;
    for (std::string_view value : {a, b, c}) {
        size_t mark = format.find("%s", at);
        if (mark == std::string_view::npos)
            break;
        out.append(format.substr(at, mark - at)).append(value);
        at = mark + 2;
    }
    return out.append(format.substr(at));
}

}  // namespace

std::string FormatRconDatagram(uint32_t kind,
                               std::string_view challenge,
                               std::string_view password,
                               std::string_view command) {
    if (SpeaksHalfLifeRcon(kind))
        return std::string(kFF) + Format("rcon %s %s %s", challenge, password, command);
    switch (kind) {
        case kMedalOfHonour:
            return std::string(kFF) + '\x02' + Format("rcon %s %s", password, command);
        case kUnrealTournament:
            return std::string(command);
        default:
            return std::string(kFF) + Format("rcon %s %s", password, command);
    }
}

std::string FormatSecureDatagram(std::string_view password, std::string_view command, int64_t unixMicros) {
    char time[40];
    std::snprintf(time, sizeof time, "%lld.%06d ", static_cast<long long>(unixMicros / 1000000),
                  static_cast<int>(unixMicros % 1000000));
    std::string signedText = std::string(time).append(command);
    Md4Digest mac = HmacMd4(password, signedText);
    std::string datagram = std::string(kFF) + "srcon HMAC-MD4 TIME ";
    datagram.append(mac.begin(), mac.end());
    return datagram.append(" ").append(signedText);
}

std::optional<std::string> ReadChallenge(std::string_view datagram) {
    if (datagram.substr(0, 4) != kFF || From(datagram, 4).substr(0, kChallengeReply.size()) != kChallengeReply)
        return std::nullopt;
    if (datagram.size() <= kChallengeStart)
        return std::string();
    std::string_view challenge = datagram.substr(kChallengeStart, datagram.size() - kChallengeStart - 1);
    return std::string(challenge.substr(0, kLongestChallenge));
}

PasswordProblem PasswordProblemIn(std::string_view datagram) {
    if (datagram.substr(0, 4) != kFF)
        return PasswordProblem::kNone;
    std::string_view text = BodyOf(datagram);
    if (text == datagram)
        text = From(datagram, kTypedText);  // Half-Life's 'l' and the like
    size_t end = text.find_last_not_of(" .\r\n");
    text = end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
    if (text == "No rconpassword set" || text == "No rconpassword set on the server")
        return PasswordProblem::kNotSet;
    if (text == "Bad rconpassword" || text == "Bad rcon_password")
        return PasswordProblem::kWrong;
    return PasswordProblem::kNone;
}

std::string_view LogText(uint32_t kind, std::string_view datagram) {
    if (SpeaksHalfLifeRcon(kind) || IsDarkPlaces(kind))
        return From(datagram, kTypedText);
    return From(datagram, kind == kMedalOfHonour ? kMohPrintText : kPrintText);
}

void ReplyCollector::Start(uint32_t kind, uint32_t pending, uint32_t nowMs) {
    kind_ = kind;
    pending_ = pending;
    datagramCount_ = 0;
    lastAt_ = nowMs;
    finished_ = false;
    text_.clear();
}

void ReplyCollector::Append(std::string_view text) {
    text_.append(text.substr(0, kReplyCapacity - std::min(kReplyCapacity, text_.size())));
}

bool ReplyCollector::Quiet(uint32_t nowMs) const {
    Ending ending = EndingOf(kind_);
    bool endsBySilence = ending == Ending::kSilence || ending == Ending::kShortDatagram;
    return pending_ != kNoCommand && !finished_ && datagramCount_ > 0 && endsBySilence &&
           nowMs - lastAt_ >= kReplyQuietMs;
}

bool ReplyCollector::Take(std::string_view d, uint32_t nowMs) {
    if (pending_ == kNoCommand || finished_)
        return false;
    ++datagramCount_;
    lastAt_ = nowMs;
    Ending ending = EndingOf(kind_);
    if (ending == Ending::kShortDatagram) {
        Append(BodyOf(d));
        return d.size() < kDarkPlacesFullDatagram;
    }
    if (pending_ == kServerProperties) {
        if (IsPrint(d) || IsMohPrint(d)) {
            std::string_view text = BodyOf(d);
            if (text.empty())
                return true;
            Append(text);
        } else if (SpeaksHalfLifeRcon(kind_) && d.substr(0, 4) == kFF) {
            Append(From(d, kTypedText));
        } else if (d.empty() || d[0] != '\xFE') {
            Append(d);
        }
        return text_.find("total cvars") != std::string::npos || text_.find("Total CVars") != std::string::npos;
    }
    if (ending == Ending::kEmptyPrint) {
        if (pending_ == kChangeMap && datagramCount_ <= MapListPreamble(kind_))
            return false;
        if (pending_ == kChangeMap || IsPrint(d)) {
            std::string_view text = From(d, kPrintText);
            if (text.empty())
                return true;
            Append(text);
            return false;
        }
        Append(d);
        return false;
    }
    if (ending == Ending::kSilence) {
        Append(BodyOf(d));
        return false;
    }
    text_.clear();
    Append(BodyOf(d));
    return true;
}

bool SpeaksHalfLifeRcon(uint32_t kind) {
    return kind == kHalfLife || kind == kHalfLifeSteam;
}

bool SpeaksSourceRcon(uint32_t kind) {
    return IsSourceEngine(kind);
}

bool ReplyIsOneDatagram(uint32_t kind) {
    return EndingOf(kind) == Ending::kFirstDatagram;
}

std::string KickCommand(uint32_t kind, int32_t number, std::string_view reason) {
    std::string n = std::to_string(number);
    if (SpeaksHalfLifeRcon(kind))
        return "kick # " + n;
    if (SpeaksSourceRcon(kind))
        return "kickid " + n;
    switch (kind) {
        case kQuake3:
        case kWolfenstein:
        case kMedalOfHonour:
        case kJediKnight2:
        case kOpenArena:
        case kIoQuake3:
        case kUrbanTerror:
        case kEtLegacy:
            return "clientkick " + n;
        case kXonotic:
        case kNexuiz:
            return "kick # " + n;
        case kSoldierOfFortune2:
            return "clientkick " + n + " \"" + std::string(reason) + "\"";
        default:
            return "kick " + n;
    }
}

}  // namespace rcon
