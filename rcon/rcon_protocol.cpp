// Remote-console datagrams, reply collection, status tables, kicks and the command history.
#include "rcon/rcon_protocol.h"

#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "catalogue/catalogue.h"

namespace rcon {

namespace {

using namespace catalogue;

constexpr std::string_view kFF = "\xFF\xFF\xFF\xFF";
constexpr std::string_view kChallengeCommand = "challenge rcon";
constexpr size_t kChallengeStart = 19;  // after FF FF FF FF, "challenge rcon" and a space
constexpr size_t kLongestChallenge = 49;
// Where the text of a reply starts after its header.
constexpr size_t kPrintText = 10;     // FF FF FF FF "print" LF
constexpr size_t kMohPrintText = 11;  // FF FF FF FF 01 "print" LF
constexpr size_t kHalfLifeText = 5;   // FF FF FF FF and a type byte
constexpr size_t kHistoryBytes = 4096;

std::string_view From(std::string_view text, size_t pos) {
    return pos < text.size() ? text.substr(pos) : std::string_view();
}

bool IsPrint(std::string_view d) {
    return d.substr(0, 4) == kFF && base::EqualsNoCase(d.substr(4, 5), "print");
}

bool IsMohPrint(std::string_view d) {
    return d.substr(0, 4) == kFF && d.size() > 4 && d[4] == '\x01' && base::EqualsNoCase(d.substr(5, 5), "print");
}

// Datagrams of a map list that come before the list itself.
uint32_t MapListPreamble(uint32_t kind) {
    return kind == kJediKnight2 ? 3 : 2;
}

bool HasMultiDatagramStatus(uint32_t kind) {
    return kind == kJediKnight2 || kind == kSoldierOfFortune2;
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
                               bool awaitingChallenge,
                               std::string_view challenge,
                               std::string_view password,
                               std::string_view command) {
    switch (kind) {
        case kHalfLife:
            if (awaitingChallenge)
                return std::string(kFF) + std::string(command);
            return std::string(kFF) + Format("rcon %s %s %s", challenge, password, command);
        case kMedalOfHonour:
            return std::string(kFF) + '\x02' + Format("rcon %s %s", password, command);
        case kUnrealTournament:
            return std::string(command);
        default:
            return std::string(kFF) + Format("rcon %s %s", password, command);
    }
}

std::optional<std::string> ReadChallenge(std::string_view datagram) {
    if (datagram.substr(4, kChallengeCommand.size()) != kChallengeCommand)
        return std::nullopt;
    if (datagram.size() <= kChallengeStart)
        return std::string();
    std::string_view challenge = datagram.substr(kChallengeStart, datagram.size() - kChallengeStart - 1);
    return std::string(challenge.substr(0, kLongestChallenge));
}

PasswordProblem PasswordProblemIn(std::string_view datagram) {
    if (datagram.find("No rconpassword set") != std::string_view::npos)
        return PasswordProblem::kNotSet;
    if (datagram.find("Bad rconpassword") != std::string_view::npos ||
        datagram.find("Bad rcon_password") != std::string_view::npos)
        return PasswordProblem::kWrong;
    return PasswordProblem::kNone;
}

std::string_view LogText(uint32_t kind, std::string_view datagram) {
    if (kind == kHalfLife)
        return From(datagram, kHalfLifeText);
    return From(datagram, kind == kMedalOfHonour ? kMohPrintText : kPrintText);
}

void ReplyCollector::Start(uint32_t kind, uint32_t pending) {
    kind_ = kind;
    pending_ = pending;
    datagramCount_ = 0;
    text_.clear();
}

void ReplyCollector::Append(std::string_view text) {
    text_.append(text.substr(0, kReplyCapacity - std::min(kReplyCapacity, text_.size())));
}

bool ReplyCollector::Take(std::string_view d) {
    if (pending_ == kNoCommand)
        return false;
    if (pending_ == kServerProperties) {
        if (IsPrint(d) || IsMohPrint(d)) {
            std::string_view text = From(d, IsPrint(d) ? kPrintText : kMohPrintText);
            if (text.empty())
                return true;
            Append(text);
        } else if (kind_ == kHalfLife && d.substr(0, 4) == kFF) {
            Append(From(d, kHalfLifeText));
        } else if (d.empty() || d[0] != '\xFE') {
            Append(d);
        }
        return text_.find("total cvars") != std::string::npos || text_.find("Total CVars") != std::string::npos;
    }
    if (pending_ == kChangeMap && HasMultiDatagramStatus(kind_)) {
        if (++datagramCount_ <= MapListPreamble(kind_))
            return false;
        std::string_view text = From(d, kPrintText);
        if (text.empty())
            return true;
        Append(text);
        return false;
    }
    if ((pending_ == kRefreshStatus || pending_ == kKickPlayer) && HasMultiDatagramStatus(kind_)) {
        if (!IsPrint(d)) {
            Append(d);
            return false;
        }
        std::string_view text = From(d, kPrintText);
        if (text.empty())
            return true;
        Append(text);
        return false;
    }
    text_.clear();
    Append(IsPrint(d) ? From(d, kPrintText) : IsMohPrint(d) ? From(d, kMohPrintText) : d);
    return true;
}

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (size_t at = line.find_first_not_of(' '); at != std::string_view::npos; at = line.find_first_not_of(' ', at)) {
        size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// Today's Quake III engines print "cl score ping name address rate" over a dashed line and pad a
// name to its visible width, so a name with colour codes pushes the later columns to the right:
// the name is what stands between the ping and the last two fields.
std::optional<std::vector<RconPlayer>> ParseModernTable(std::string_view reply) {
    size_t header = reply.find("\ncl score ping name");
    if (header == std::string_view::npos)
        return std::nullopt;
    size_t dashes = reply.find('\n', header + 1);
    if (dashes == std::string_view::npos || reply.substr(dashes + 1, 2) != "--")
        return std::nullopt;
    std::vector<RconPlayer> players;
    size_t start = reply.find('\n', dashes + 1);
    while (start != std::string_view::npos && start + 1 < reply.size()) {
        size_t end = reply.find('\n', start + 1);
        std::string_view line =
            reply.substr(start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1);
        start = end;
        std::vector<std::string_view> w = Words(line);
        if (w.size() < 6)
            continue;
        size_t nameStart = static_cast<size_t>(w[2].data() + w[2].size() - line.data()) + 1;
        size_t nameEnd = static_cast<size_t>(w[w.size() - 2].data() - line.data());
        std::string_view name = line.substr(nameStart, nameEnd - nameStart);
        name = name.substr(0, name.find_last_not_of(' ') + 1);
        players.push_back({std::string(name), std::string(w[1]), std::string(w[2]), base::ParseDecimal(w[0])});
    }
    return players;
}

}  // namespace

std::vector<RconPlayer> ParseStatusReply(uint32_t kind, std::string_view reply) {
    if (kind != kHalfLife) {
        if (auto modern = ParseModernTable(reply))
            return *modern;
    }
    std::vector<RconPlayer> players;
    size_t lineNumber = 0;
    for (size_t start = 0; start < reply.size(); ++lineNumber) {
        size_t end = reply.find('\n', start);
        std::string_view line =
            reply.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? reply.size() : end + 1;
        RconPlayer p;
        if (kind == kHalfLife) {
            if (lineNumber < 7 || line.empty() || line[0] != '#')
                continue;
            std::vector<std::string_view> fields = Words(From(line, 2));
            auto field = [&fields](size_t n) {
                return n <= fields.size() ? std::string(fields[n - 1]) : std::string();
            };
            p = {field(2), field(5), field(7), base::ParseDecimal(field(3))};
        } else {
            if (lineNumber < 3)
                continue;
            p = {std::string(line.substr(std::min<size_t>(15, line.size()), 14)),
                 std::string(line.substr(std::min<size_t>(5, line.size()), 4)),
                 std::string(line.substr(std::min<size_t>(11, line.size()), 3)),
                 base::ParseDecimal(line.substr(std::min<size_t>(1, line.size()), 2))};
        }
        if (!p.ping.empty())
            players.push_back(std::move(p));
    }
    return players;
}

std::string KickCommand(uint32_t kind, int32_t number, std::string_view reason) {
    std::string n = std::to_string(number);
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
        case kHalfLife:
            return "kick # " + n;
        default:
            return "kick " + n;
    }
}

std::vector<std::string> ReadHistory(std::string_view file) {
    std::vector<std::string> entries;
    std::string_view text = file.substr(0, kHistoryBytes);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (line.empty())
            break;
        entries.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return entries;
}

std::string WriteHistory(const std::vector<std::string>& entries) {
    std::string file;
    for (const std::string& entry : entries)
        file += entry + "\r\n";
    return file;
}

bool AddToHistory(std::vector<std::string>& entries, std::string_view command) {
    auto same = [command](const std::string& e) { return base::EqualsNoCase(e, command); };
    if (command.empty() || std::any_of(entries.begin(), entries.end(), same))
        return false;
    // Kept in the order of the sorted command box.
    entries.emplace_back(command);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::string& a, const std::string& b) { return base::CompareNoCase(a, b) < 0; });
    return true;
}

}  // namespace rcon
