// The settings index and its typed reads and writes.
#include "base/settings_index.h"

#include <string>

#include "base/text.h"

namespace base {

const RegistryValue* const kRegistryIndex[] = {
    &reg::kInstallDir,      &reg::kWindowXY,        &reg::kWindowWH,         &reg::kWindowState,
    &reg::kSplitter,        &reg::kSplitterSecond,  &reg::kSplitterPlayers,  &reg::kFirstRunDone,
    &reg::kHideEmpty,       &reg::kHidePassworded,  &reg::kHideFull,         &reg::kShowBots,
    &reg::kShowNoReply,     &reg::kVisitedOnTop,    &reg::kFavouritesOnTop,  &reg::kGameTypeFilter,
    &reg::kModFilter,       &reg::kRconAutoStatus,  &reg::kRconWindowXY,     &reg::kRconWindowWH,
    &reg::kRconWindowState, &reg::kBuddySortColumn, &reg::kPlayerSortColumn, &reg::kJoinOption,
    &reg::kOldNicknames,    &reg::kPacingPreset,    &reg::kPacingBurst,      &reg::kPacingPause,
    &reg::kPacingTimeout,   &reg::kPacingLives,
};
const size_t kRegistryIndexSize = sizeof kRegistryIndex / sizeof kRegistryIndex[0];

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
    return ParseDecimal(*text);
}

void WriteDecimalText(SettingsStore& store, const RegistryValue& value, int32_t data) {
    store.WriteString(value.keyPath, value.name, std::to_string(data));
}

}  // namespace base
