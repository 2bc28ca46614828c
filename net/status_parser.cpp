// Status reply dispatch by protocol family, the raw-reply copy and colour-code stripping.
#include "net/status_parser.h"

#include <cstring>

#include "base/info_keys.h"
#include "net/reply_families.h"

namespace net {

ReplyFamily FamilyOfKind(uint32_t kind) {
    switch (kind) {
        case catalogue::kHalfLife:
            return ReplyFamily::kHalfLife;
        case catalogue::kUnrealTournament:
        case catalogue::kRenegade:
            return ReplyFamily::kGameSpy;
        default:
            return catalogue::IsSteamGame(kind) ? ReplyFamily::kSourceQuery : ReplyFamily::kQuake3;
    }
}

void RawReply::Clear() {
    std::memset(bytes, 0, sizeof bytes);
    size = 0;
}

void RawReply::CopyFrom(const uint8_t* data, size_t length) {
    // Only the current datagram is kept: the bytes behind it are zero, never those of an earlier,
    // longer reply.
    size_t n = length < sizeof bytes ? length : sizeof bytes;
    if (n)
        std::memcpy(bytes, data, n);
    std::memset(bytes + n, 0, sizeof bytes - n);
    size = n;
}

std::string_view RawReply::Text() const {
    return base::ReplyText(bytes, size);
}

bool parseReply(catalogue::ServerRecord& record,
                const uint8_t* data,
                size_t size,
                uint32_t kind,
                const catalogue::Catalogue& catalogue,
                RawReply* rawCopy) {
    // The receive buffer is zero-filled before every datagram, so a datagram whose first byte is
    // zero reads as the empty buffer of a server that did not answer.
    const bool holdsText = data && size > 0 && data[0] != 0;
    if (holdsText) {
        switch (FamilyOfKind(kind)) {
            case ReplyFamily::kHalfLife:
                ApplyHalfLifeReply(record, data, size, catalogue, rawCopy);
                break;
            case ReplyFamily::kSourceQuery:
                ApplyA2sReply(record, data, size, kind, catalogue, rawCopy);
                break;
            case ReplyFamily::kGameSpy:
                ApplyGameSpyReply(record, base::ReplyText(data, size), kind, catalogue, data, size, rawCopy);
                break;
            case ReplyFamily::kQuake3:
                ApplyQuake3Reply(record, base::ReplyText(data, size), kind, catalogue, data, size, rawCopy);
                break;
        }
    }
    if (holdsText && record.hostName[0] != '\0')
        return true;
    catalogue::MarkUnanswered(record);
    return false;
}

void copyStripped(std::string_view value, char* field, size_t width) {
    if (!width)
        return;
    size_t out = 0;
    size_t i = 0;
    while (i < value.size() && out + 1 < width) {
        if (value[i] == '^') {
            // "^x" is one colour code, "^^x" another; neither may skip past the end of the value.
            size_t skip = (i + 1 < value.size() && value[i + 1] == '^') ? 3 : 2;
            i += skip;
            continue;
        }
        field[out++] = value[i++];
    }
    field[out] = '\0';
}

}  // namespace net
