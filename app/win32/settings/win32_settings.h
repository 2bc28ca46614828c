// The settings store on Windows: the registry of the current user and private-profile INI files.
#pragma once

#include <string>

#include "base/settings_store.h"

namespace app::win32 {

class Win32Settings : public base::SettingsStore {
  public:
    explicit Win32Settings(std::string installFolder) : installFolder_(std::move(installFolder)) {}

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

    // "%s\%s" of the installation folder and an INI file name.
    std::string IniPath(const char* file) const;

  private:
    std::string installFolder_;
};

// The installation folder: InstallDir from the registry, else the current directory.
std::string FindInstallFolder();

}  // namespace app::win32
