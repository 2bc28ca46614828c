// Half-Life style status replies: the "m" details reply and the "D" players reply, both byte fields.
#include <cstring>

#include "base/byte_reader.h"
#include "base/text.h"
#include "net/reply_families.h"

namespace net {

namespace {

using catalogue::PlayerRecord;
using catalogue::ServerRecord;

// Four 0xFF bytes, then the type byte; the body follows it.
constexpr size_t kTypeByteOffset = 4;
constexpr size_t kBodyOffset = 5;

}  // namespace

void ParseHalfLifeDetails(ServerRecord& record,
                          const uint8_t* body,
                          size_t size,
                          const catalogue::Catalogue& catalogue) {
    // Fields that run past the datagram's end read as zero bytes, as they would from the zero-filled
    // receive buffer; strings are cut to their fields.
    base::ByteReader in(body, size);
    in.CString(nullptr, 0);  // the server's own address text
    in.CString(record.hostName, sizeof record.hostName);
    in.CString(record.mapName, sizeof record.mapName);
    in.CString(record.gameName, sizeof record.gameName);
    in.CString(nullptr, 0);  // the game description
    catalogue.classifyHalfLife(record);
    // The players reply tells who plays; once it has come in this refresh (it may come first) its
    // count stands, so that the count never covers slots that reply did not fill.
    const int announced = in.U8();
    if (record.captureLimit != 1)
        record.playerCount = announced;
    record.maxPlayers = in.U8();
    record.protocolVersion = in.U8();
    record.dedicated = in.U8();
    record.serverOs = in.U8();
    base::CopyText(record.passwordText, in.U8() != 0 ? "1" : "0");
    record.isMod = in.U8();
    if (record.isMod == 1)
        in.CString(record.webAddress, sizeof record.webAddress);
    else
        record.webAddress[0] = '\0';
}

void ParseHalfLifePlayers(ServerRecord& record, const uint8_t* body, size_t size) {
    base::ByteReader in(body, size);
    int announced = in.U8();
    int complete = 0;
    for (int i = 0; i < announced; ++i) {
        char name[sizeof PlayerRecord::name];
        uint8_t number = in.U8();
        in.CString(name, sizeof name);
        int32_t frags = in.I32LE();
        in.Skip(4);  // connection time
        // An entry cut off by the end of the datagram is not a player: the count stops before it.
        if (in.Failed())
            break;
        ++complete;
        if (i >= catalogue::kMaxPlayerSlots)
            continue;
        PlayerRecord& slot = record.PlayerSlot(i);
        std::memset(slot.name, 0, sizeof slot.name);
        base::CopyText(slot.name, name);
        slot.number = number;
        slot.score = frags;
        slot.ping = 0;
        slot.viewMark = 0;
    }
    record.playerCount = complete;
}

void ApplyHalfLifeReply(ServerRecord& record,
                        const uint8_t* data,
                        size_t size,
                        const catalogue::Catalogue& catalogue,
                        RawReply* rawCopy) {
    if (size <= kTypeByteOffset)
        return;
    const uint8_t* body = data + kBodyOffset;
    size_t bodySize = size > kBodyOffset ? size - kBodyOffset : 0;
    switch (data[kTypeByteOffset]) {
        case 'm':
            if (rawCopy)
                rawCopy->CopyFrom(data, size);
            record.pure = 1;  // details received
            record.hostName[0] = '\0';
            ParseHalfLifeDetails(record, body, bodySize, catalogue);
            break;
        case 'D':
            record.captureLimit = 1;  // players received
            ParseHalfLifePlayers(record, body, bodySize);
            break;
        default:
            break;
    }
}

}  // namespace net
