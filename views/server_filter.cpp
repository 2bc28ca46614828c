// The server list filter.
#include "views/server_filter.h"

#include "base/text.h"

namespace views {

namespace {

// Pings from 999 up mean the server did not answer (9999 is the stored "no reply").
constexpr uint32_t kNoReplyPing = 999;

template <size_t N>
std::string_view Field(const char (&field)[N]) {
    return std::string_view(field, base::FieldLength(field));
}

bool DiffersFrom(std::string_view shown, const char* catalogueName) {
    return shown.empty() || !catalogueName || !base::EqualsNoCase(shown, catalogueName);
}

}  // namespace

bool PassesServerFilter(const catalogue::ServerRecord& r,
                        const DisplayOptions& o,
                        const catalogue::Catalogue& c,
                        uint32_t kind) {
    if (o.HideEmpty && r.playerCount == 0)
        return false;
    if (o.HidePassworded && r.NeedsPassword())
        return false;
    if (o.HideFull && r.playerCount == r.maxPlayers)
        return false;
    if (o.GameTypeFilter > 0 &&
        DiffersFrom(Field(r.gameTypeDisplay), c.gameTypeDisplayOf(kind, r.modIndex, o.GameTypeFilter)))
        return false;
    if (o.ModFilter > 0 && DiffersFrom(Field(r.modDisplay), c.modDisplayOf(kind, o.ModFilter)))
        return false;
    if (!o.ShowNoReply && r.ping >= kNoReplyPing)
        return false;
    return true;
}

}  // namespace views
