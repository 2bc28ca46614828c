// The GameSpy master protocol: challenge validation and the reader of the greeting and the list.
#include "net/gamespy_master.h"

#include <cstring>

#include "catalogue/catalogue.h"

namespace net {

namespace {

// No key or value of a GameSpy master is longer; more is a stream gone wrong.
constexpr size_t kLongestField = 255;
// Challenges are six characters: one that has come whole may be taken without the backslash after it.
constexpr size_t kChallengeLength = 6;

char Base64Digit(unsigned value) {
    if (value < 26)
        return static_cast<char>('A' + value);
    if (value < 52)
        return static_cast<char>('a' + value - 26);
    if (value < 62)
        return static_cast<char>('0' + value - 52);
    return value == 62 ? '+' : '/';
}

// A decimal number of at most five digits and at most `limit`, from `pos` on; advances `pos`.
bool ReadNumber(std::string_view text, size_t& pos, unsigned limit, unsigned& value) {
    size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < 5 && text[pos] >= '0' && text[pos] <= '9')
        value = value * 10 + static_cast<unsigned>(text[pos++] - '0');
    return pos > start && value <= limit;
}

}  // namespace

GameSpyIdentity GameSpyIdentityOf(uint32_t kind) {
    if (kind == catalogue::kUnrealTournament)
        return {"ut", "Z5Nfb0"};
    return {};
}

std::string GameSpyValidate(std::string_view challenge, std::string_view key) {
    if (challenge.empty() || challenge.size() > 64 || key.empty())
        return {};
    // A key schedule of the key over the 256 byte values, as RC4 makes one.
    uint8_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<uint8_t>(i);
    uint8_t a = 0;
    for (size_t i = 0; i < 256; ++i) {
        a = static_cast<uint8_t>(a + table[i] + static_cast<uint8_t>(key[i % key.size()]));
        std::swap(table[a], table[i]);
    }
    // The challenge, each byte mixed with the stream the table gives; the first index steps by the
    // challenge's own bytes.
    std::vector<uint8_t> mixed(challenge.size() + 2, 0);
    a = 0;
    uint8_t b = 0;
    for (size_t i = 0; i < challenge.size(); ++i) {
        const auto c = static_cast<uint8_t>(challenge[i]);
        a = static_cast<uint8_t>(a + c + 1);
        const uint8_t x = table[a];
        b = static_cast<uint8_t>(b + x);
        const uint8_t y = table[b];
        table[b] = x;
        table[a] = y;
        mixed[i] = c ^ table[static_cast<uint8_t>(x + y)];
    }
    // Base 64 of whole groups of three bytes (the last one filled with zeros).
    std::string out;
    for (size_t i = 0; i < challenge.size(); i += 3) {
        const unsigned x = mixed[i], y = mixed[i + 1], z = mixed[i + 2];
        out += Base64Digit(x >> 2);
        out += Base64Digit(((x & 3) << 4) | (y >> 4));
        out += Base64Digit(((y & 15) << 2) | (z >> 6));
        out += Base64Digit(z & 63);
    }
    return out;
}

std::string GameSpyListRequest(const GameSpyIdentity& identity, std::string_view challenge) {
    std::string game = identity.gameName;
    return "\\gamename\\" + game + "\\location\\0\\validate\\" + GameSpyValidate(challenge, identity.key) +
           "\\final\\\\list\\\\gamename\\" + game + "\\final\\";
}

bool GameSpyListReader::Feed(const uint8_t* data, size_t size, std::vector<MasterEntry>& entries) {
    if (state_ == State::kDone || state_ == State::kGarbage)
        return false;
    pending_.append(reinterpret_cast<const char*>(data), size);
    if (state_ == State::kGreeting) {
        ReadGreeting();
        return state_ == State::kList;
    }
    ReadList(entries);
    return false;
}

void GameSpyListReader::ReadGreeting() {
    // What came so far must begin like one of the greetings' first keys.
    bool likely = false;
    for (std::string_view start : {std::string_view("\\basic\\"), std::string_view("\\secure\\")}) {
        size_t n = std::min(start.size(), pending_.size());
        likely = likely || pending_.compare(0, n, start.substr(0, n)) == 0;
    }
    if (!likely) {
        state_ = State::kGarbage;
        return;
    }
    size_t at = pending_.find("\\secure\\");
    if (at == std::string::npos) {
        if (pending_.size() > 2 * kLongestField)
            state_ = State::kGarbage;
        return;
    }
    size_t start = at + 8;
    size_t end = pending_.find('\\', start);
    if (end == std::string::npos && pending_.size() - start < kChallengeLength)
        return;  // the rest of the challenge is on its way
    challenge_ = pending_.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (challenge_.empty() || challenge_.size() > kLongestField) {
        state_ = State::kGarbage;
        return;
    }
    // The list follows the request only; whatever else the greeting held is not part of it. A
    // challenge taken without its backslash may still be followed by the greeting's "\final\".
    greetingMayGoOn_ = end == std::string::npos;
    pending_.clear();
    state_ = State::kList;
}

void GameSpyListReader::ReadList(std::vector<MasterEntry>& entries) {
    if (greetingMayGoOn_) {
        constexpr std::string_view kFinal = "\\final\\";
        if (pending_.size() < kFinal.size() && kFinal.substr(0, pending_.size()) == pending_)
            return;
        if (pending_.compare(0, kFinal.size(), kFinal) == 0)
            pending_.erase(0, kFinal.size());
        greetingMayGoOn_ = false;
    }
    size_t pos = 0;
    while (state_ == State::kList && pos < pending_.size()) {
        if (pending_[pos] != '\\') {
            state_ = State::kGarbage;
            break;
        }
        size_t keyEnd = pending_.find('\\', pos + 1);
        if (keyEnd == std::string::npos || keyEnd - pos - 1 > kLongestField) {
            if (keyEnd != std::string::npos || pending_.size() - pos > kLongestField + 1)
                state_ = State::kGarbage;
            break;
        }
        std::string_view key(pending_.data() + pos + 1, keyEnd - pos - 1);
        if (key == "final") {
            state_ = State::kDone;
            break;
        }
        size_t valueEnd = pending_.find('\\', keyEnd + 1);
        if (valueEnd == std::string::npos || valueEnd - keyEnd - 1 > kLongestField) {
            if (valueEnd != std::string::npos || pending_.size() - keyEnd > kLongestField + 1)
                state_ = State::kGarbage;
            break;
        }
        if (key == "ip")
            TakeAddress(std::string_view(pending_.data() + keyEnd + 1, valueEnd - keyEnd - 1), entries);
        pos = valueEnd;  // the backslash that begins the next pair
    }
    pending_.erase(0, pos);
    if (state_ != State::kList)
        pending_.clear();
}

void GameSpyListReader::TakeAddress(std::string_view text, std::vector<MasterEntry>& entries) {
    MasterEntry e;
    size_t pos = 0;
    unsigned value = 0;
    bool ok = true;
    for (int i = 0; i < 4 && ok; ++i) {
        ok = ReadNumber(text, pos, 255, value) && pos < text.size() && text[pos++] == (i < 3 ? '.' : ':');
        e.octets[i] = static_cast<uint8_t>(value);
    }
    ok = ok && ReadNumber(text, pos, 65535, value) && pos == text.size();
    if (!ok || e.octets[0] > 254 || e.octets[1] > 254 || e.octets[2] > 254 || e.octets[3] > 254) {
        ++skipped_;
        return;
    }
    e.port = static_cast<uint16_t>(value);
    entries.push_back(e);
    ++taken_;
}

}  // namespace net
