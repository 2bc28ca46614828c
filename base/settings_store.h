// The settings interface the portable code sees: registry values and private-profile INI files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace base {

// Registry key of every value, under HKEY_CURRENT_USER. The geometry, splitter and column values
// are read and written through the second spelling; registry names ignore case, so both reach the
// same key.
constexpr char kRegistryKey[] = "SOFTWARE\\ZORBEX\\Nexo\\";
constexpr char kGeometryKey[] = "SOFTWARE\\Zorbex\\Nexo\\";

// The program's INI file in the installation folder.
constexpr char kIniFile[] = "vexar.ini";

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // A REG_DWORD value; nullopt when the key or value is missing or not a REG_DWORD.
    virtual std::optional<uint32_t> ReadDword(const char* keyPath, const char* name) = 0;
    // Failures are ignored.
    virtual void WriteDword(const char* keyPath, const char* name, uint32_t value) = 0;
    // A REG_SZ value (at most 254 characters); nullopt when missing or not text.
    virtual std::optional<std::string> ReadString(const char* keyPath, const char* name) = 0;
    // False when the value could not be stored (other failures are ignored by most callers).
    virtual bool WriteString(const char* keyPath, const char* name, const std::string& text) = 0;
    virtual void DeleteValue(const char* keyPath, const char* name) = 0;
    // The raw bytes of a value of any type, at most maxBytes of them; nullopt when missing.
    virtual std::optional<std::string> ReadBytes(const char* keyPath, const char* name, size_t maxBytes) = 0;

    // Private-profile access to an INI file of the installation folder (file name only, such as
    // "vexar.ini" or "q3a.ini"). Section and key names ignore case. bufferSize is the size of the
    // buffer the value is read into, so values are cut to bufferSize - 1 characters.
    virtual std::string ReadIni(const char* file,
                                const char* section,
                                const char* key,
                                const char* fallback,
                                size_t bufferSize) = 0;
    virtual void WriteIni(const char* file, const char* section, const char* key, const char* value) = 0;
};

}  // namespace base
