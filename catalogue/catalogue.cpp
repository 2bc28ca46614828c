// Catalogue lookups and the classification of status replies into mods and game types.
#include "catalogue/catalogue.h"

#include "base/info_keys.h"
#include "base/text.h"

namespace catalogue {

namespace {

// One of the comma-separated tags (spaces around it ignored) equals the tag, ignoring case.
bool HasTag(std::string_view tags, std::string_view tag) {
    while (!tags.empty()) {
        const size_t comma = tags.find(',');
        std::string_view one = tags.substr(0, comma);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ')
            one.remove_suffix(1);
        if (!one.empty() && base::EqualsNoCase(one, tag))
            return true;
        tags = comma == std::string_view::npos ? std::string_view() : tags.substr(comma + 1);
    }
    return false;
}

}  // namespace

void Catalogue::buildCatalogue() {
    if (games_.empty())
        games_ = BuiltInGames();
}

void Catalogue::freeCatalogue() {
    games_.clear();
}

const GameDefinition* Catalogue::GameOf(uint32_t kind) const {
    for (const GameDefinition& g : games_) {
        if (g.kind == kind)
            return &g;
    }
    return nullptr;
}

const char* Catalogue::gameIniFileOf(uint32_t kind) const {
    const GameDefinition* g = GameOf(kind);
    return g ? g->gameIniFile.c_str() : nullptr;
}

const char* Catalogue::shortNameOf(uint32_t kind) const {
    const GameDefinition* g = GameOf(kind);
    return g ? g->shortName.c_str() : nullptr;
}

uint32_t Catalogue::iconIndexOf(uint32_t kind) const {
    const GameDefinition* g = GameOf(kind);
    return g ? g->iconIndex : 0;
}

const char* Catalogue::rconCommandsFileOf(uint32_t kind) const {
    const GameDefinition* g = GameOf(kind);
    return g ? g->rconCommandsFile.c_str() : nullptr;
}

std::optional<DefaultPorts> Catalogue::defaultPortsOf(uint32_t kind) const {
    const GameDefinition* g = GameOf(kind);
    if (!g)
        return std::nullopt;
    return DefaultPorts{g->defaultPort, g->defaultHostPort, g->asksHostPort};
}

const ModDefinition* Catalogue::ModAt(uint32_t kind, uint32_t modIndex) const {
    const GameDefinition* g = GameOf(kind);
    if (!g || modIndex == 0 || modIndex > g->mods.size())
        return nullptr;
    return &g->mods[modIndex - 1];
}

const char* Catalogue::modDisplayOf(uint32_t kind, uint32_t modIndex) const {
    const ModDefinition* m = ModAt(kind, modIndex);
    return m ? m->displayName.c_str() : nullptr;
}

const char* Catalogue::gameTypeDisplayOf(uint32_t kind, uint32_t modIndex, uint32_t gameTypeIndex) const {
    const ModDefinition* m = ModAt(kind, modIndex);
    if (!m || gameTypeIndex == 0 || gameTypeIndex > m->gameTypes.size())
        return nullptr;
    return m->gameTypes[gameTypeIndex - 1].displayName.c_str();
}

void Catalogue::classifyReply(std::string_view reply, ServerRecord& record, uint32_t kind) const {
    const GameDefinition* g = GameOf(kind);
    if (!g)
        return;
    record.modDisplay[0] = '\0';
    const ModDefinition* winner = nullptr;
    for (size_t i = 0; i < g->mods.size(); ++i) {
        const ModDefinition& m = g->mods[i];
        auto value = base::lookupKey(reply, m.modKey);
        if (m.modKey.empty() || (value && base::EqualsNoCase(*value, m.modValue))) {
            record.modIndex = static_cast<uint32_t>(i + 1);
            base::CopyText(record.modDisplay, m.displayName);
            winner = &m;
            break;
        }
    }
    if (!winner)
        return;
    record.gameTypeDisplay[0] = '\0';
    for (size_t j = 0; j < winner->gameTypes.size(); ++j) {
        const GameTypeDefinition& t = winner->gameTypes[j];
        auto value = base::lookupKey(reply, t.typeKey);
        if (value && t.typeKey == kQcStatusKey)
            value = value->substr(0, value->find(':'));
        const bool matches = value && (t.typeKey == kKeywordsKey ? HasTag(*value, t.typeValue)
                                                                 : base::EqualsNoCase(*value, t.typeValue));
        if (matches) {
            record.gameTypeIndex = static_cast<uint32_t>(j + 1);
            base::CopyText(record.gameTypeDisplay, t.displayName);
            return;
        }
    }
}

void Catalogue::classifyHalfLife(ServerRecord& record) const {
    const GameDefinition* g = GameOf(kHalfLife);
    if (!g)
        return;
    record.modDisplay[0] = '\0';
    for (size_t i = 0; i < g->mods.size(); ++i) {
        if (base::EqualsNoCase(record.gameName, g->mods[i].modValue)) {
            record.modIndex = static_cast<uint32_t>(i + 1);
            base::CopyText(record.modDisplay, g->mods[i].displayName);
            return;
        }
    }
}

const char* Catalogue::configFilesFor(uint32_t kind, const ServerRecord& record) const {
    const GameDefinition* g = GameOf(kind);
    if (!g)
        return nullptr;
    const ModDefinition* m = ModAt(kind, record.modIndex);
    if (m && m->hasOwnConfigFiles == 1)
        return m->ownConfigFiles.c_str();
    return g->configFiles.c_str();
}

const char* Catalogue::spectatorArgumentFor(uint32_t kind, const ServerRecord& record) const {
    const GameDefinition* g = GameOf(kind);
    const ModDefinition* m = ModAt(kind, record.modIndex);
    if (!g || !m)
        return nullptr;
    return m->hasOwnProgram == 1 ? m->ownSpectatorArgument.c_str() : g->spectatorArgument.c_str();
}

std::optional<LaunchData> Catalogue::launchDataFor(uint32_t kind, const ServerRecord& record) const {
    const GameDefinition* g = GameOf(kind);
    if (!g)
        return std::nullopt;
    const ModDefinition* m = ModAt(kind, record.modIndex);
    if (m && m->hasOwnProgram == 1)
        return LaunchData{m->ownFolder, m->ownProgramFile, m->ownConnectTemplate};
    return LaunchData{g->defaultFolder, g->programFile, g->connectTemplate};
}

}  // namespace catalogue
