// Every registry value and INI key the program stores, with its default.
#pragma once

#include <cstdint>
#include <optional>

#include "base/settings_store.h"

namespace base {

enum class ValueType { kDword, kDecimalText, kText, kStringList };

// One registry value of the index. defaultValue applies when hasDefault is set; values without a
// default are "not read" or take a default owned by the part of the program that uses them.
struct RegistryValue {
    const char* name;
    const char* keyPath;
    ValueType type;
    bool hasDefault;
    uint32_t defaultValue;
};

// One key of an INI file.
struct IniKey {
    const char* file;  // nullptr: the game's own INI file (named by the catalogue)
    const char* section;
    const char* key;
    const char* defaultText;
};

namespace reg {
inline constexpr RegistryValue kInstallDir{"InstallDir", kRegistryKey, ValueType::kText, false, 0};
inline constexpr RegistryValue kWindowXY{"WXY", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kWindowWH{"WWH", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kWindowState{"WST", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kSplitter{"WSP", kGeometryKey, ValueType::kDword, true, 200};
inline constexpr RegistryValue kSplitterSecond{"WSPSD", kGeometryKey, ValueType::kDword, true, 300};
inline constexpr RegistryValue kSplitterPlayers{"WSPPL", kGeometryKey, ValueType::kDword, true, 300};
inline constexpr RegistryValue kFirstRunDone{"NDF", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kHideEmpty{"SE", kRegistryKey, ValueType::kDecimalText, true, 0};
inline constexpr RegistryValue kHidePassworded{"SLS", kRegistryKey, ValueType::kDecimalText, true, 0};
inline constexpr RegistryValue kHideFull{"FSF", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kShowBots{"SB", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kShowNoReply{"FSNR", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kVisitedOnTop{"FSPO", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kFavouritesOnTop{"FSFAT", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kGameTypeFilter{"FSGT", kRegistryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kModFilter{"FSMD", kRegistryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kRconAutoStatus{"RCAS", kRegistryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kRconWindowXY{"RCWXY", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kRconWindowWH{"RCWWH", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kRconWindowState{"RCWST", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kBuddySortColumn{"COBDY", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kPlayerSortColumn{"COPLR", kGeometryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kJoinOption{"DIN", kRegistryKey, ValueType::kDword, false, 0};
inline constexpr RegistryValue kOldNicknames{"LN", kRegistryKey, ValueType::kStringList, false, 0};
// Network Preferences: the preset (0 Classic, 1 Fast, 2 the values below) and the values.
inline constexpr RegistryValue kPacingPreset{"NPPRESET", kRegistryKey, ValueType::kDword, true, 0};
inline constexpr RegistryValue kPacingBurst{"NPBURST", kRegistryKey, ValueType::kDword, true, 11};
inline constexpr RegistryValue kPacingPause{"NPPAUSE", kRegistryKey, ValueType::kDword, true, 200};
inline constexpr RegistryValue kPacingTimeout{"NPTIMEOUT", kRegistryKey, ValueType::kDword, true, 999};
inline constexpr RegistryValue kPacingLives{"NPLIVES", kRegistryKey, ValueType::kDword, true, 5};
// Column widths: "BLCW%02d" (buddy pane) and "PLCW%02d" (player pane), under the geometry spelling.
inline constexpr char kBuddyColumnWidthFormat[] = "BLCW%02d";
inline constexpr char kPlayerColumnWidthFormat[] = "PLCW%02d";
}  // namespace reg

namespace ini {
inline constexpr IniKey kActiveTab{kIniFile, "games", "active", "0"};
inline constexpr IniKey kWindowStateWrite{kIniFile, "window", "state", "0"};
inline constexpr IniKey kWindowStateRead{kIniFile, "WINDOW", "STATE", "0"};
inline constexpr IniKey kUseTray{kIniFile, "WINDOW", "USETRAY", ""};
inline constexpr IniKey kAutoRefreshMinimised{kIniFile, "TRAY", "AUTOREFRESH", ""};
inline constexpr IniKey kIgnoreColours{kIniFile, "Find", "IgnoreColours", "False"};
inline constexpr IniKey kDdeServer{kIniFile, "DDE", "Server", "mIRC"};
// Endpoints, each overridable so that tests and labs stay on their own network.
inline constexpr IniKey kWebSite{kIniFile, "endpoints", "website", "http://www.vexar.org.uk/"};
inline constexpr IniKey kFeedbackMail{kIniFile, "endpoints", "feedback", "wishlist@vexar.org.uk"};
inline constexpr IniKey kBannerSite{kIniFile, "endpoints", "banner", "http://www.vexar.org.uk/banner/"};
inline constexpr IniKey kVersionServer{kIniFile, "endpoints", "versionserver", "212.67.202.78"};
inline constexpr char kWebLinksSection[] = "weblinks";
inline constexpr char kWebLinkNameFormat[] = "urlmenuname%03d";
inline constexpr char kWebLinkUrlFormat[] = "url%03d";
inline constexpr char kFindSection[] = "Find";
inline constexpr char kFindFormat[] = "find%d";
// Master host names too long for a profile's image, by the profile's file number ("%03u").
inline constexpr char kMasterHostsSection[] = "masters";
inline constexpr char kMasterHostKeyFormat[] = "%03u";
// Per-mod sections named after the mod's display name.
inline constexpr char kModPathKey[] = "Path";
inline constexpr char kModExeKey[] = "Exe";
inline constexpr char kModConnectKey[] = "ConnStr";
// Steam games: "1" starts the game through the Steam client's steam://connect address.
inline constexpr char kModViaSteamKey[] = "ViaSteam";
// The game's own INI file.
inline constexpr IniKey kLastNickIndex{nullptr, "playernicks", "LNI", "0"};
inline constexpr char kNickFormat[] = "nick%d";
inline constexpr char kNickModelFormat[] = "model%d";
inline constexpr char kModelsSection[] = "models";
inline constexpr IniKey kIrcTemplate{nullptr, "DDE", "IRC", ""};
}  // namespace ini

// Every registry value of the index, for tools and tests.
extern const RegistryValue* const kRegistryIndex[];
extern const size_t kRegistryIndexSize;

// A REG_DWORD value of the index, or its default (0 when the index gives none).
uint32_t ReadDwordOr(SettingsStore& store, const RegistryValue& value);
void WriteDwordValue(SettingsStore& store, const RegistryValue& value, uint32_t data);
// A decimal-text value ("%d") of the index: nullopt when missing; malformed text reads as 0.
std::optional<int32_t> ReadDecimalText(SettingsStore& store, const RegistryValue& value);
void WriteDecimalText(SettingsStore& store, const RegistryValue& value, int32_t data);

}  // namespace base
