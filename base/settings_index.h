// Every registry value and INI key the program stores, with its default.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// INI values are read into buffers of 255 characters, the tray and window keys into 29.
constexpr size_t kIniBuffer = 255;
constexpr size_t kShortIniBuffer = 29;

// One key of an INI file; its value is read into a buffer of bufferSize characters, so it is cut to
// bufferSize - 1.
struct IniKey {
    const char* file;  // nullptr: the game's own INI file (named by the catalogue)
    const char* section;
    const char* key;
    const char* defaultText;
    size_t bufferSize = kIniBuffer;
};

// Numbered keys of one section ("url%03d" with 0, 1, ...).
struct NumberedIniKey {
    const char* file;
    const char* section;
    const char* format;  // one integer conversion
    size_t bufferSize = kIniBuffer;
};

// A key of sections the caller names (a mod's launch settings: a section for each game and mod).
struct SectionIniKey {
    const char* file;
    const char* key;
    size_t bufferSize = kIniBuffer;
};

// The three values of a window's placement: its normal rectangle's corners as (top << 16) | left
// and (bottom << 16) | right, and its show command.
struct PlacementValues {
    const RegistryValue& position;
    const RegistryValue& farCorner;
    const RegistryValue& show;
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
inline constexpr PlacementValues kMainPlacement{kWindowXY, kWindowWH, kWindowState};
inline constexpr PlacementValues kRconPlacement{kRconWindowXY, kRconWindowWH, kRconWindowState};
}  // namespace reg

namespace ini {
inline constexpr IniKey kActiveTab{kIniFile, "games", "active", "0"};
inline constexpr IniKey kWindowStateWrite{kIniFile, "window", "state", "0"};
inline constexpr IniKey kWindowStateRead{kIniFile, "WINDOW", "STATE", "0", kShortIniBuffer};
inline constexpr IniKey kUseTray{kIniFile, "WINDOW", "USETRAY", "", kShortIniBuffer};
inline constexpr IniKey kAutoRefreshMinimised{kIniFile, "TRAY", "AUTOREFRESH", "", kShortIniBuffer};
inline constexpr IniKey kIgnoreColours{kIniFile, "Find", "IgnoreColours", "False", 256};
inline constexpr IniKey kDdeServer{kIniFile, "DDE", "Server", "mIRC", 256};
// Endpoints, each overridable so that tests and labs stay on their own network.
inline constexpr IniKey kWebSite{kIniFile, "endpoints", "website", "http://www.vexar.org.uk/"};
inline constexpr IniKey kFeedbackMail{kIniFile, "endpoints", "feedback", "wishlist@vexar.org.uk"};
inline constexpr IniKey kBannerSite{kIniFile, "endpoints", "banner", "http://www.vexar.org.uk/banner/"};
inline constexpr IniKey kVersionServer{kIniFile, "endpoints", "versionserver", "212.67.202.78"};
inline constexpr char kWebLinksSection[] = "weblinks";
inline constexpr NumberedIniKey kWebLinkName{kIniFile, kWebLinksSection, "urlmenuname%03d"};
inline constexpr NumberedIniKey kWebLinkUrl{kIniFile, kWebLinksSection, "url%03d"};
// The Find Player dialog's remembered searches, "find0" to "find19".
inline constexpr NumberedIniKey kFindEntry{kIniFile, "Find", "find%d", 256};
// Master host names too long for a profile's image, by the profile's file number.
inline constexpr NumberedIniKey kMasterHost{kIniFile, "masters", "%03d", 256};
// Per-mod sections named after the mod's display name.
inline constexpr SectionIniKey kModPath{kIniFile, "Path", 256};
inline constexpr SectionIniKey kModExe{kIniFile, "Exe", 256};
inline constexpr SectionIniKey kModConnect{kIniFile, "ConnStr", 256};
// Steam games: "1" starts the game through the Steam client's steam://connect address.
inline constexpr SectionIniKey kModViaSteam{kIniFile, "ViaSteam", 256};
// The game's own INI file.
inline constexpr IniKey kLastNickIndex{nullptr, "playernicks", "LNI", "0", 256};
inline constexpr char kNickFormat[] = "nick%d";
inline constexpr char kNickModelFormat[] = "model%d";
inline constexpr char kModelsSection[] = "models";
inline constexpr IniKey kIrcTemplate{nullptr, "DDE", "IRC", "", 256};
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
// A text value of the index: nullopt when missing, empty or not text. The write tells whether the
// value was stored.
std::optional<std::string> ReadText(SettingsStore& store, const RegistryValue& value);
bool WriteText(SettingsStore& store, const RegistryValue& value, const std::string& text);

// INI keys of the index, cut to the key's buffer; a missing key gives its default (or the caller's
// fallback, where the same key has a default of each use). gameFile names the game's own INI file
// for the keys whose file is nullptr; such a key of a game without one (nullptr or empty) reads as
// missing and is not written.
std::string ReadIniText(SettingsStore& store,
                        const IniKey& key,
                        const char* gameFile = nullptr,
                        const char* fallback = nullptr);
void WriteIniText(SettingsStore& store, const IniKey& key, const std::string& text, const char* gameFile = nullptr);
// On exactly when the value starts with "1"; written as "1" or "0".
bool ReadIniFlag(SettingsStore& store, const IniKey& key);
void WriteIniFlag(SettingsStore& store, const IniKey& key, bool on);
// Decimal text: its leading digits, anything malformed reads as 0.
int32_t ReadIniDecimal(SettingsStore& store, const IniKey& key);
void WriteIniDecimal(SettingsStore& store, const IniKey& key, int32_t value);
// A numbered key: "" when missing.
std::string ReadIniText(SettingsStore& store, const NumberedIniKey& key, int number);
void WriteIniText(SettingsStore& store, const NumberedIniKey& key, int number, const std::string& text);
// A key of a named section: the fallback when missing.
std::string ReadIniText(SettingsStore& store,
                        const SectionIniKey& key,
                        const std::string& section,
                        const std::string& fallback);
void WriteIniText(SettingsStore& store, const SectionIniKey& key, const std::string& section, const std::string& text);

// A window placement's three values for the normal rectangle and show command (coordinates kept as
// signed 16-bit words).
void WritePlacement(SettingsStore& store,
                    const PlacementValues& values,
                    int left,
                    int top,
                    int right,
                    int bottom,
                    uint32_t show);

}  // namespace base
