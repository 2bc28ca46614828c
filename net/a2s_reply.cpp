// Reading the Source query protocol's info, player and rules replies, and filling records from them.
#include "net/a2s_reply.h"

#include <cmath>
#include <cstring>

#include "base/byte_reader.h"
#include "base/text.h"
#include "net/reply_families.h"

namespace net {

namespace {

constexpr size_t kTypeOffset = 4;
constexpr size_t kBodyOffset = 5;
constexpr uint16_t kTheShipAppId = 2400;  // three more bytes (mode, witnesses, duration) follow VAC

// Extra data flags of a Source info reply, and the fields they announce, in the order they follow.
constexpr uint8_t kEdfGamePort = 0x80;
constexpr uint8_t kEdfSteamId = 0x10;
constexpr uint8_t kEdfSourceTv = 0x40;
constexpr uint8_t kEdfKeywords = 0x20;
constexpr uint8_t kEdfGameId = 0x01;

std::string Text(base::ByteReader& in) {
    char text[kA2sTextLimit + 1];
    in.CString(text, sizeof text);
    return text;
}

uint16_t U16LE(base::ByteReader& in) {
    const uint16_t low = in.U8();
    return static_cast<uint16_t>(low | in.U8() << 8);
}

uint64_t U64LE(base::ByteReader& in) {
    const uint64_t low = in.U32LE();
    return low | uint64_t(in.U32LE()) << 32;
}

// The body after the type byte of a whole reply of the given type, or nothing.
std::optional<base::ByteReader> Body(const uint8_t* data, size_t size, uint8_t type) {
    if (A2sReplyTypeOf(data, size) != type)
        return std::nullopt;
    return base::ByteReader(data + kBodyOffset, size - kBodyOffset);
}

void ReadSourceInfo(base::ByteReader& in, A2sInfo& info) {
    info.bots = in.U8();
    info.serverType = in.U8();
    info.environment = in.U8();
    info.visibility = in.U8();
    info.vac = in.U8();
    if (info.appId == kTheShipAppId)
        in.Skip(3);
    info.version = Text(in);
    if (in.Failed() || in.Remaining() == 0)
        return;
    // A field announced but cut off by the end is not taken, nor is anything after it.
    const uint8_t flags = in.U8();
    if (flags & kEdfGamePort) {
        const uint16_t port = U16LE(in);
        if (in.Failed())
            return;
        info.gamePort = port;
    }
    if (flags & kEdfSteamId) {
        const uint64_t id = U64LE(in);
        if (in.Failed())
            return;
        info.steamId = id;
    }
    if (flags & kEdfSourceTv) {
        in.Skip(2);  // the SourceTV port
        Text(in);    // and its name
    }
    if (in.Failed())
        return;
    if (flags & kEdfKeywords) {
        std::string keywords = Text(in);
        if (in.Failed())
            return;
        info.keywords = std::move(keywords);
    }
    if (flags & kEdfGameId) {
        const uint64_t id = U64LE(in);
        if (!in.Failed())
            info.gameId = id;
    }
}

void ReadGoldSrcTail(base::ByteReader& in, A2sInfo& info) {
    info.protocol = in.U8();
    info.serverType = in.U8();
    info.environment = in.U8();
    info.visibility = in.U8();
    info.isMod = in.U8() == 1;
    if (info.isMod) {
        info.modLink = Text(in);
        Text(in);     // the mod's download address
        in.Skip(1);   // a zero byte
        in.Skip(10);  // the mod's version and size (two longs), its type and its DLL byte
    }
    info.vac = in.U8();
    info.bots = in.U8();
}

}  // namespace

uint8_t A2sReplyTypeOf(const uint8_t* data, size_t size) {
    if (!data || size <= kTypeOffset)
        return 0;
    for (size_t i = 0; i < kTypeOffset; ++i)
        if (data[i] != 0xFF)
            return 0;
    return data[kTypeOffset];
}

std::optional<A2sInfo> ParseA2sInfo(const uint8_t* data, size_t size) {
    A2sInfo info;
    const uint8_t type = A2sReplyTypeOf(data, size);
    if (type != kA2sInfoReply && type != kA2sGoldSrcInfoReply)
        return std::nullopt;
    base::ByteReader in(data + kBodyOffset, size - kBodyOffset);
    info.goldSrcForm = type == kA2sGoldSrcInfoReply;
    if (info.goldSrcForm)
        info.address = Text(in);
    else
        info.protocol = in.U8();
    info.name = Text(in);
    info.map = Text(in);
    info.folder = Text(in);
    info.game = Text(in);
    if (!info.goldSrcForm)
        info.appId = U16LE(in);
    info.players = in.U8();
    info.maxPlayers = in.U8();
    if (in.Failed())
        return std::nullopt;
    if (info.goldSrcForm)
        ReadGoldSrcTail(in, info);
    else
        ReadSourceInfo(in, info);
    return info;
}

void ApplyA2sInfo(catalogue::ServerRecord& record, const A2sInfo& info) {
    ClearDescriptiveFields(record);
    base::CopyText(record.hostName, info.name);
    base::CopyText(record.mapName, info.map);
    base::CopyText(record.gameName, info.folder);
    base::CopyText(record.versionText, info.version);
    base::CopyText(record.webAddress, info.isMod ? info.modLink : std::string());
    base::CopyText(record.passwordText, info.visibility ? "1" : "0");
    record.playerCount = info.players;
    record.maxPlayers = info.maxPlayers;
    record.privateSlots = 0;
    record.protocolVersion = info.protocol;
    record.dedicated = info.serverType;
    record.serverOs = info.environment;
    record.isMod = info.isMod ? 1 : 0;
    if (info.gamePort && *info.gamePort != 0)
        record.hostPort = *info.gamePort;
}

std::optional<std::vector<A2sPlayer>> ParseA2sPlayers(const uint8_t* data, size_t size) {
    std::optional<base::ByteReader> in = Body(data, size, kA2sPlayerReply);
    if (!in)
        return std::nullopt;
    std::vector<A2sPlayer> players;
    const int announced = in->U8();
    if (in->Failed())
        return std::nullopt;
    for (int i = 0; i < announced; ++i) {
        A2sPlayer p;
        p.index = in->U8();
        p.name = Text(*in);
        p.score = in->I32LE();
        const uint32_t bits = in->U32LE();
        if (in->Failed())
            break;  // an entry cut off by the end is no player
        float seconds;
        std::memcpy(&seconds, &bits, sizeof seconds);
        p.seconds = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
        players.push_back(std::move(p));
    }
    return players;
}

void ApplyA2sPlayers(catalogue::ServerRecord& record, const std::vector<A2sPlayer>& players) {
    int slot = 0;
    for (const A2sPlayer& p : players) {
        if (slot >= catalogue::kMaxPlayerSlots)
            break;
        catalogue::PlayerRecord& r = record.PlayerSlot(slot++);
        std::memset(r.name, 0, sizeof r.name);
        base::CopyText(r.name, p.name);
        r.score = p.score;
        r.number = p.index;
        r.ping = 0;
        r.secondsConnected = static_cast<uint16_t>(p.seconds < 65535.0f ? p.seconds : 65535.0f);
        r.viewMark = 0;
    }
    record.playerCount = static_cast<int32_t>(players.size());
}

std::optional<std::vector<A2sRule>> ParseA2sRules(const uint8_t* data, size_t size) {
    std::optional<base::ByteReader> in = Body(data, size, kA2sRulesReply);
    if (!in)
        return std::nullopt;
    std::vector<A2sRule> rules;
    const size_t announced = U16LE(*in);
    if (in->Failed())
        return std::nullopt;
    while (rules.size() < announced && rules.size() < kMaxA2sRules) {
        A2sRule rule;
        rule.name = Text(*in);
        rule.value = Text(*in);
        if (in->Failed())
            break;
        rules.push_back(std::move(rule));
    }
    return rules;
}

}  // namespace net
