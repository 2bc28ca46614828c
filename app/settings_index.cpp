// The settings index and the start-up reads.
#include "app/settings_index.h"

#include "base/text.h"

namespace app {

const RegistryValue* const kRegistryIndex[] = {
    &reg::kInstallDir,      &reg::kWindowXY,        &reg::kWindowWH,         &reg::kWindowState,
    &reg::kSplitter,        &reg::kSplitterSecond,  &reg::kSplitterPlayers,  &reg::kFirstRunDone,
    &reg::kHideEmpty,       &reg::kHidePassworded,  &reg::kHideFull,         &reg::kShowBots,
    &reg::kShowNoReply,     &reg::kVisitedOnTop,    &reg::kFavouritesOnTop,  &reg::kGameTypeFilter,
    &reg::kModFilter,       &reg::kRconAutoStatus,  &reg::kRconWindowXY,     &reg::kRconWindowWH,
    &reg::kRconWindowState, &reg::kBuddySortColumn, &reg::kPlayerSortColumn, &reg::kJoinOption,
    &reg::kOldNicknames,
};
const size_t kRegistryIndexSize = sizeof kRegistryIndex / sizeof kRegistryIndex[0];

namespace {

bool IniFlag(SettingsStore& store, const IniKey& key) {
    return store.ReadIni(key.file, key.section, key.key, key.defaultText, 29).starts_with('1');
}

}  // namespace

uint32_t ReadDwordOr(SettingsStore& store, const RegistryValue& value) {
    return store.ReadDword(value.keyPath, value.name).value_or(value.hasDefault ? value.defaultValue : 0);
}

void WriteDwordValue(SettingsStore& store, const RegistryValue& value, uint32_t data) {
    store.WriteDword(value.keyPath, value.name, data);
}

std::optional<int32_t> ReadDecimalText(SettingsStore& store, const RegistryValue& value) {
    auto text = store.ReadString(value.keyPath, value.name);
    if (!text || text->empty())
        return std::nullopt;
    return base::ParseDecimal(*text);
}

void WriteDecimalText(SettingsStore& store, const RegistryValue& value, int32_t data) {
    store.WriteString(value.keyPath, value.name, std::to_string(data));
}

StartupSettings ReadStartupSettings(SettingsStore& store) {
    StartupSettings s;
    s.autoRefreshMinimised = IniFlag(store, ini::kAutoRefreshMinimised);
    s.useTray = IniFlag(store, ini::kUseTray);
    const IniKey& state = ini::kWindowStateRead;
    s.windowState = base::ParseDecimal(store.ReadIni(state.file, state.section, state.key, state.defaultText, 29));
    if (auto v = ReadDecimalText(store, reg::kHideEmpty))
        s.hideEmpty = static_cast<uint32_t>(*v);
    if (auto v = ReadDecimalText(store, reg::kHidePassworded))
        s.hidePassworded = static_cast<uint32_t>(*v);
    s.showBots = ReadDwordOr(store, reg::kShowBots);
    s.hideFull = ReadDwordOr(store, reg::kHideFull);
    s.visitedOnTop = ReadDwordOr(store, reg::kVisitedOnTop);
    s.showNoReply = ReadDwordOr(store, reg::kShowNoReply);
    s.favouritesOnTop = ReadDwordOr(store, reg::kFavouritesOnTop);
    return s;
}

WindowRect ComputeWindowRect(std::optional<uint32_t> wxy,
                             std::optional<uint32_t> wwh,
                             int screenWidth,
                             int screenHeight) {
    WindowRect r;
    if (!wxy)
        return r;
    r.x = static_cast<int>(*wxy & 0xFFFF);
    r.y = static_cast<int>((*wxy >> 16) & 0xFFF);
    if (r.x > screenWidth)
        r.x = kUseDefault;
    if (r.y > screenHeight)
        r.y = kUseDefault;
    if (!wwh)
        return r;
    int right = static_cast<int>(*wwh & 0xFFFF);
    int bottom = static_cast<int>((*wwh >> 16) & 0xFFF);
    r.width = r.x != kUseDefault ? right - r.x : right;
    r.height = r.y != kUseDefault ? bottom - r.y : bottom;
    // A negative width (a far corner left of the window) would make an invisible window.
    if (r.width > screenWidth || r.width < 0)
        r.width = kUseDefault;
    if (r.height > screenHeight || r.height < 0)
        r.height = kUseDefault;
    return r;
}

SplitterPositions ReadSplitterPositions(SettingsStore& store) {
    SplitterPositions s;
    s.vertical = static_cast<int>(ReadDwordOr(store, reg::kSplitter));
    s.second = static_cast<int>(ReadDwordOr(store, reg::kSplitterSecond));
    s.players = static_cast<int>(ReadDwordOr(store, reg::kSplitterPlayers));
    return s;
}

}  // namespace app
