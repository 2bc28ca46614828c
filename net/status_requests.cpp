// Builds the status request datagrams of each protocol family.
#include "net/status_requests.h"

#include <cstring>
#include <string_view>

#include "catalogue/catalogue.h"
#include "net/a2s_exchange.h"

namespace net {

namespace {

// Appends bytes to a datagram; the callers never exceed kMaxRequestSize.
void Put(RequestDatagram& d, std::string_view bytes) {
    std::memcpy(d.bytes + d.size, bytes.data(), bytes.size());
    d.size += bytes.size();
}

constexpr std::string_view kOutOfBand("\xFF\xFF\xFF\xFF", 4);

}  // namespace

StatusRequests BuildStatusRequests(uint32_t kind) {
    StatusRequests r;
    switch (catalogue::ProtocolKindOf(kind)) {
        case catalogue::kEliteForce:
        case catalogue::kQuake3:
        case catalogue::kWolfenstein:
        case catalogue::kJediKnight2:
        case catalogue::kSoldierOfFortune2:
            Put(r.datagrams[0], kOutOfBand);
            Put(r.datagrams[0], "getstatus");
            r.count = 1;
            break;
        case catalogue::kMedalOfHonour:
            // This family's servers expect a type byte after the prefix and a terminated line.
            Put(r.datagrams[0], kOutOfBand);
            Put(r.datagrams[0], std::string_view("\x02", 1));
            Put(r.datagrams[0], "getstatus");
            Put(r.datagrams[0], std::string_view("\n\0", 2));
            r.count = 1;
            break;
        case catalogue::kUnrealTournament:
        case catalogue::kRenegade:
            Put(r.datagrams[0], "\\status\\");
            r.count = 1;
            break;
        case catalogue::kHalfLife:
            Put(r.datagrams[0], kOutOfBand);
            Put(r.datagrams[0], "details");
            Put(r.datagrams[1], kOutOfBand);
            Put(r.datagrams[1], "players");
            r.count = 2;
            break;
        case catalogue::kHalfLifeSteam: {
            const A2sRequest info = BuildA2sInfoRequest(std::nullopt);
            Put(r.datagrams[0], std::string_view(reinterpret_cast<const char*>(info.bytes), info.size));
            r.count = 1;
            break;
        }
        default:
            break;
    }
    return r;
}

bool UsesReplyMarkers(uint32_t kind) {
    return kind == catalogue::kHalfLife || kind == catalogue::kMedalOfHonour || kind == catalogue::kUnrealTournament ||
           kind == catalogue::kRenegade || catalogue::IsSteamGame(kind);
}

bool NeedsTwoReplies(uint32_t kind) {
    return kind == catalogue::kHalfLife;
}

}  // namespace net
