// In-memory settings store for tests: registry values with their types, INI files as maps.
#pragma once

#include <map>
#include <string>

#include "base/settings_store.h"

namespace testing_support {

class FakeSettings : public base::SettingsStore {
  public:
    struct Value {
        bool isDword = false;
        uint32_t dword = 0;
        std::string text;
    };

    std::optional<uint32_t> ReadDword(const char* keyPath, const char* name) override;
    void WriteDword(const char* keyPath, const char* name, uint32_t value) override;
    std::optional<std::string> ReadString(const char* keyPath, const char* name) override;
    bool WriteString(const char* keyPath, const char* name, const std::string& text) override;
    void DeleteValue(const char* keyPath, const char* name) override;
    std::optional<std::string> ReadBytes(const char* keyPath, const char* name, size_t maxBytes) override;
    std::string ReadIni(const char* file,
                        const char* section,
                        const char* key,
                        const char* fallback,
                        size_t bufferSize) override;
    void WriteIni(const char* file, const char* section, const char* key, const char* value) override;

    // Registry names ignore case, as on Windows: both key spellings reach the same value.
    static std::string Key(const char* keyPath, const char* name);
    std::map<std::string, Value> registry;
    std::map<std::string, std::string> ini;  // "file|section|key", lower case
    int writes = 0;
    // INI writes fail silently, as WritePrivateProfileString does on a full disk or a read-only file.
    bool iniWritesFail = false;
};

}  // namespace testing_support
