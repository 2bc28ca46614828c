// Source query datagrams for tests: info, player and rules replies, split parts, and the answers
// of a fake server that behaves in one of a few ways (challenges, silence, hostile replies).
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "testing/fake_datagram_socket.h"
#include "testing/wire_bytes.h"

namespace testing_support {

inline const std::string kA2sHeader = "\xFF\xFF\xFF\xFF";
constexpr uint32_t kFakeChallenge = 0x0A0B0C0D;

inline std::string A2sSourceInfo(const std::string& edf) {
    return kA2sHeader + "I\x11" + Z("Lab ^1One") + Z("ctf_2fort") + Z("tf") + Z("Team Fortress") + Le(440, 2) +
           "\x05\x18\x01" + "dw\x01\x01" + Z("8.1") + edf;
}
inline std::string A2sGoldSrcInfo(bool mod) {
    const std::string modInfo = mod ? "\x01" + Z("http://mod") + Z("http://dl") + std::string(11, '\0') : Z("");
    return kA2sHeader + "m" + Z("1.2.3.4:27015") + Z("Old") + Z("de_dust") + Z("cstrike") + Z("CS") + "\x02\x10\x2F" +
           "DL" + Z("") + modInfo + Z("\x01");
}
inline std::string A2sPlayers(int announced, const std::string& entries) {
    return kA2sHeader + "D" + char(announced) + entries;
}
inline std::string A2sPlayer(int index, const std::string& name, int32_t score, float seconds) {
    uint32_t bits;
    std::memcpy(&bits, &seconds, 4);
    return char(index) + Z(name) + Le(uint32_t(score), 4) + Le(bits, 4);
}
inline std::string A2sRules(const std::vector<std::pair<std::string, std::string>>& rules) {
    std::string out = kA2sHeader + "E" + Le(rules.size(), 2);
    for (const auto& [name, value] : rules)
        out += Z(name) + Z(value);
    return out;
}
// A split part: Source numbering (with the part size unless `size` is false) or GoldSrc numbering.
inline std::string A2sPart(bool source,
                           uint32_t id,
                           int total,
                           int number,
                           const std::string& bytes,
                           bool size = true) {
    const std::string head = "\xFE\xFF\xFF\xFF" + Le(id, 4);
    return source ? head + char(total) + char(number) + (size ? Le(1248, 2) : "") + bytes
                  : head + char(number << 4 | total) + bytes;
}

// What a fake server answers to one request datagram:
// 'c' wants kFakeChallenge with every request; 'o' answers the info request without one but wants
// it for players and rules (as Source servers do); 'e' answers every request with another
// challenge; 'i' as 'c' but never answers the players; 'g' answers with a cut info reply and junk;
// 'z' as 'c' but sends the players compressed; 's' stays silent.
inline std::vector<std::string> A2sAnswer(char behaviour, const std::string& request) {
    static int endless = 0;
    const std::string challenge = kA2sHeader + "A" + Le(kFakeChallenge, 4);
    if (request.size() < 5 || behaviour == 's')
        return {};
    if (behaviour == 'e')
        return {kA2sHeader + "A" + Le(uint32_t(++endless), 4)};
    if (behaviour == 'g')
        return {A2sSourceInfo("").substr(0, 20), "junk"};
    const char type = request[4];
    const bool info = type == 'T';
    const bool has = info ? request.size() == 29 && request.substr(25) == Le(kFakeChallenge, 4)
                          : request.size() == 9 && request.substr(5) == Le(kFakeChallenge, 4);
    if (!has && !(info && behaviour == 'o'))
        return {challenge};
    if (info)
        return {A2sSourceInfo("\x20" + Z("cp,alltalk"))};
    if (type == 'V')
        return {A2sRules({{"sv_gravity", "800"}, {"mp_timelimit", "30"}})};
    const std::string players = A2sPlayers(2, A2sPlayer(0, "Alice", 12, 65.5f) + A2sPlayer(1, "Bob", 3, 3700));
    if (behaviour == 'i')
        return {};
    if (behaviour == 'z')
        return {A2sPart(true, 0x80000005u, 2, 0, players)};
    return {players};
}

// A loopback server's answer function that behaves as A2sAnswer says.
inline std::function<std::vector<std::string>(const std::string&)> A2sBehaving(char behaviour) {
    return [behaviour](const std::string& request) { return A2sAnswer(behaviour, request); };
}

// The fake servers 10.x.y.n answer, as behaviours[n - 1] says, every datagram sent since `answered`
// (which then counts them all).
inline void A2sAnswerSent(FakeDatagramSocketFactory& network, size_t& answered, const std::string& behaviours) {
    const std::vector<SentDatagram> sent = network.Sent();
    for (; answered < sent.size(); ++answered) {
        const uint8_t last = reinterpret_cast<const uint8_t*>(&sent[answered].to.addressNetworkOrder)[3];
        for (const std::string& reply : A2sAnswer(behaviours.at(last - 1), sent[answered].bytes))
            network.Deliver(sent[answered].to, reply);
    }
}

}  // namespace testing_support
