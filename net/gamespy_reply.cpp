// GameSpy style status replies: backslash-separated keys and values with player_N entries.
#include <cstdio>
#include <cstring>

#include "base/info_keys.h"
#include "base/text.h"
#include "net/reply_families.h"

namespace net {

namespace {

using catalogue::PlayerRecord;
using catalogue::ServerRecord;

std::string_view NumberedKey(char* buffer, size_t width, const char* prefix, int n, const char* suffix) {
    int len = std::snprintf(buffer, width, "%s%d%s", prefix, n, suffix);
    return std::string_view(buffer, len > 0 ? static_cast<size_t>(len) : 0);
}

}  // namespace

bool ParseGameSpyInfo(ServerRecord& record, std::string_view text) {
    auto host = base::lookupKey(text, "hostname");
    if (!host)
        return false;
    ClearDescriptiveFields(record);
    record.pure = 1;
    base::CopyText(record.hostName, *host);
    ReadDescriptiveKeys(record, text, "gamever");
    if (auto v = base::lookupKey(text, "maxplayers"))
        record.maxPlayers = base::ParseDecimal(*v);
    if (auto v = base::lookupKey(text, "numplayers"))
        record.playerCount = base::ParseDecimal(*v);
    if (auto v = base::lookupKey(text, "password"))
        base::CopyText(record.passwordText, *v);
    if (auto v = base::lookupKey(text, "timelimit"))
        record.timeLimit = base::ParseDecimal(*v);
    if (auto v = base::lookupKey(text, "hostport"))
        record.hostPort = static_cast<uint32_t>(base::ParseDecimal(*v));
    record.privateSlots = 0;
    return true;
}

bool ParseGameSpyPlayers(ServerRecord& record, std::string_view text) {
    int found = 0;
    char key[32];
    for (int n = 0; n < catalogue::kMaxPlayerSlots; ++n) {
        // The trailing backslash keeps player_1 from matching player_10.
        auto name = base::lookupKey(text, NumberedKey(key, sizeof key, "player_", n, "\\"));
        if (!name)
            continue;
        PlayerRecord& slot = record.PlayerSlot(found++);
        std::memset(slot.name, 0, sizeof slot.name);
        base::CopyText(slot.name, *name);
        slot.number = n;
        if (auto frags = base::lookupKey(text, NumberedKey(key, sizeof key, "frags_", n, "")))
            slot.score = base::ParseDecimal(*frags);
        if (auto ping = base::lookupKey(text, NumberedKey(key, sizeof key, "ping_", n, "")))
            slot.ping = base::ParseDecimal(*ping);
        slot.viewMark = 0;
    }
    record.captureLimit = found;

    // A server that sends its players in further datagrams announces more players than this one
    // holds; the slots it did not fill are emptied so that no player of an earlier reply is shown
    // (or reported to the buddy list) as being on the server now.
    if (record.HasPlayerSlots()) {
        int shown = record.StoredPlayerCount();
        for (int i = found; i < shown; ++i) {
            PlayerRecord* slot = record.PlayerAt(i);
            std::memset(slot->name, 0, sizeof slot->name);
            slot->ping = 0;
            slot->score = 0;
            slot->number = 0;
            slot->viewMark = 0;
        }
    }
    return found > 0;
}

void ApplyGameSpyReply(ServerRecord& record,
                       std::string_view text,
                       uint32_t kind,
                       const catalogue::Catalogue& catalogue,
                       const uint8_t* data,
                       size_t size,
                       RawReply* rawCopy) {
    if (ParseGameSpyInfo(record, text)) {
        catalogue.classifyReply(text, record, kind);
        if (rawCopy)
            rawCopy->CopyFrom(data, size);
    }
    ParseGameSpyPlayers(record, text);
}

}  // namespace net
