// Steam kinds' status replies into the record: the info reply with its mod and game type, the
// players, and the copy Server Information reads (the info fields, then the rules).
#include <string>

#include "base/text.h"
#include "net/a2s_reply.h"
#include "net/reply_families.h"

namespace net {

namespace {

// Names and values go into a "\key\value" text: a backslash or line break of the server's would
// cut it into other keys, so they become spaces.
std::string Clean(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\\' || c == '\n' || c == '\r')
            c = ' ';
    }
    return out;
}

void Pair(std::string& out, std::string_view key, std::string_view value) {
    out += '\\';
    out += Clean(key);
    out += '\\';
    out += Clean(value);
}

std::string InfoText(const A2sInfo& info) {
    std::string out;
    Pair(out, "hostname", info.name);
    Pair(out, "map", info.map);
    Pair(out, catalogue::kGameDirKey, info.folder);
    Pair(out, "game", info.game);
    if (!info.goldSrcForm)
        Pair(out, "appid", std::to_string(info.appId));
    Pair(out, "players", std::to_string(info.players));
    Pair(out, "max_players", std::to_string(info.maxPlayers));
    Pair(out, "bots", std::to_string(info.bots));
    Pair(out, "password", info.visibility ? "1" : "0");
    Pair(out, "secure", info.vac ? "1" : "0");
    Pair(out, "protocol", std::to_string(info.protocol));
    if (!info.version.empty())
        Pair(out, "version", info.version);
    if (!info.keywords.empty())
        Pair(out, catalogue::kKeywordsKey, info.keywords);
    return out;
}

}  // namespace

void ApplyA2sReply(catalogue::ServerRecord& record,
                   const uint8_t* data,
                   size_t size,
                   uint32_t kind,
                   const catalogue::Catalogue& catalogue,
                   RawReply* rawCopy) {
    switch (A2sReplyTypeOf(data, size)) {
        case kA2sInfoReply:
        case kA2sGoldSrcInfoReply: {
            const std::optional<A2sInfo> info = ParseA2sInfo(data, size);
            if (!info) {
                record.hostName[0] = '\0';  // no server described: the no-reply rule applies
                return;
            }
            ApplyA2sInfo(record, *info);
            record.captureLimit = 0;  // the players come in a reply of their own
            // Only the two keys the catalogue keys Steam games on, so that no other text (a host
            // name holding "gamedir") can stand in for them.
            std::string keys;
            Pair(keys, catalogue::kGameDirKey, info->folder);
            Pair(keys, catalogue::kKeywordsKey, info->keywords);
            catalogue.classifyReply(keys, record, kind);
            if (rawCopy) {
                const std::string text = InfoText(*info);
                rawCopy->CopyFrom(reinterpret_cast<const uint8_t*>(text.data()), text.size());
            }
            return;
        }
        case kA2sPlayerReply:
            if (std::optional<std::vector<A2sPlayer>> players = ParseA2sPlayers(data, size)) {
                ApplyA2sPlayers(record, *players);
                record.captureLimit = 1;  // the slots hold this refresh's players
            }
            return;
        case kA2sRulesReply: {
            std::optional<std::vector<A2sRule>> rules = ParseA2sRules(data, size);
            if (!rules || !rawCopy)
                return;
            std::string text(rawCopy->Text());
            for (const A2sRule& rule : *rules)
                Pair(text, rule.name, rule.value);
            rawCopy->CopyFrom(reinterpret_cast<const uint8_t*>(text.data()), text.size());
            return;
        }
        default:
            return;
    }
}

}  // namespace net
