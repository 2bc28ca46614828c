// The server list filter.
#include "views/server_filter.h"

#include "base/text.h"

namespace views {

namespace {

// Pings from 999 up mean the server did not answer (9999 is the stored "no reply").
constexpr uint32_t kNoReplyPing = 999;

bool DiffersFrom(std::string_view shown, const char* catalogueName) {
    return shown.empty() || !catalogueName || !base::EqualsNoCase(shown, catalogueName);
}

// The caption of the n-th game type item of the Filter menu.
const char* GameTypeItemName(const catalogue::Catalogue& c, uint32_t kind, uint32_t n) {
    const catalogue::ModDefinition* mod = GameTypeMenuMod(c, kind);
    if (!mod || n == 0 || n > mod->gameTypes.size())
        return nullptr;
    return mod->gameTypes[n - 1].displayName.c_str();
}

}  // namespace

const catalogue::ModDefinition* GameTypeMenuMod(const catalogue::Catalogue& c, uint32_t kind) {
    const catalogue::GameDefinition* game = c.GameOf(kind);
    if (!game)
        return nullptr;
    for (const catalogue::ModDefinition& mod : game->mods) {
        if (!mod.gameTypes.empty())
            return &mod;
    }
    return nullptr;
}

bool PassesServerFilter(const catalogue::ServerRecord& r,
                        uint32_t ping,
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
        DiffersFrom(base::FieldText(r.gameTypeDisplay), GameTypeItemName(c, kind, o.GameTypeFilter)))
        return false;
    if (o.ModFilter > 0 && DiffersFrom(base::FieldText(r.modDisplay), c.modDisplayOf(kind, o.ModFilter)))
        return false;
    if (!o.ShowNoReply && ping >= kNoReplyPing)
        return false;
    return true;
}

}  // namespace views
