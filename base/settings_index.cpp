// The settings index and its typed reads and writes.
#include "base/settings_index.h"

#include <cstdio>
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

std::optional<std::string> ReadText(SettingsStore& store, const RegistryValue& value) {
    auto text = store.ReadString(value.keyPath, value.name);
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

bool WriteText(SettingsStore& store, const RegistryValue& value, const std::string& text) {
    return store.WriteString(value.keyPath, value.name, text);
}

namespace {

const char* FileOf(const IniKey& key, const char* gameFile) {
    return key.file ? key.file : gameFile && *gameFile ? gameFile : nullptr;
}

std::string KeyName(const NumberedIniKey& key, int number) {
    char name[64];
    std::snprintf(name, sizeof name, key.format, number);
    return name;
}

}  // namespace

std::string ReadIniText(SettingsStore& store, const IniKey& key, const char* gameFile, const char* fallback) {
    const char* missing = fallback ? fallback : key.defaultText;
    const char* file = FileOf(key, gameFile);
    if (!file)
        return missing;
    return store.ReadIni(file, key.section, key.key, missing, key.bufferSize);
}

void WriteIniText(SettingsStore& store, const IniKey& key, const std::string& text, const char* gameFile) {
    if (const char* file = FileOf(key, gameFile))
        store.WriteIni(file, key.section, key.key, text.c_str());
}

bool ReadIniFlag(SettingsStore& store, const IniKey& key) {
    return ReadIniText(store, key).starts_with('1');
}

void WriteIniFlag(SettingsStore& store, const IniKey& key, bool on) {
    WriteIniText(store, key, on ? "1" : "0");
}

int32_t ReadIniDecimal(SettingsStore& store, const IniKey& key) {
    return ParseDecimal(ReadIniText(store, key));
}

void WriteIniDecimal(SettingsStore& store, const IniKey& key, int32_t value) {
    WriteIniText(store, key, std::to_string(value));
}

std::string ReadIniText(SettingsStore& store, const NumberedIniKey& key, int number) {
    return store.ReadIni(key.file, key.section, KeyName(key, number).c_str(), "", key.bufferSize);
}

void WriteIniText(SettingsStore& store, const NumberedIniKey& key, int number, const std::string& text) {
    store.WriteIni(key.file, key.section, KeyName(key, number).c_str(), text.c_str());
}

std::string ReadIniText(SettingsStore& store,
                        const SectionIniKey& key,
                        const std::string& section,
                        const std::string& fallback) {
    return store.ReadIni(key.file, section.c_str(), key.key, fallback.c_str(), key.bufferSize);
}

void WriteIniText(SettingsStore& store, const SectionIniKey& key, const std::string& section, const std::string& text) {
    store.WriteIni(key.file, section.c_str(), key.key, text.c_str());
}

void WritePlacement(SettingsStore& store,
                    const PlacementValues& values,
                    int left,
                    int top,
                    int right,
                    int bottom,
                    uint32_t show) {
    auto pack = [](int high, int low) { return (uint32_t(uint16_t(high)) << 16) | uint16_t(low); };
    WriteDwordValue(store, values.position, pack(top, left));
    WriteDwordValue(store, values.farCorner, pack(bottom, right));
    WriteDwordValue(store, values.show, show);
}

}  // namespace base
