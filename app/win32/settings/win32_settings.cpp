// Registry and INI access behind the portable settings interface.
#include "app/win32/settings/win32_settings.h"

#include <windows.h>

#include <vector>

#include "app/win32/settings/registry.h"
#include "base/file_io.h"
#include "base/settings_index.h"

namespace app::win32 {

std::optional<uint32_t> Win32Settings::ReadDword(const char* keyPath, const char* name) {
    DWORD value = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, &value, keyPath, name) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void Win32Settings::WriteDword(const char* keyPath, const char* name, uint32_t value) {
    WriteRegDword(HKEY_CURRENT_USER, value, keyPath, name);
}

std::optional<std::string> Win32Settings::ReadString(const char* keyPath, const char* name) {
    char buffer[256];
    if (ReadRegString(HKEY_CURRENT_USER, buffer, keyPath, name) == 0)
        return std::nullopt;
    return std::string(buffer);
}

bool Win32Settings::WriteString(const char* keyPath, const char* name, const std::string& text) {
    return WriteRegString(HKEY_CURRENT_USER, text.c_str(), keyPath, name);
}

void Win32Settings::DeleteValue(const char* keyPath, const char* name) {
    DeleteRegValue(HKEY_CURRENT_USER, keyPath, name);
}

std::optional<std::string> Win32Settings::ReadBytes(const char* keyPath, const char* name, size_t maxBytes) {
    std::string bytes;
    if (!ReadRegBytes(HKEY_CURRENT_USER, bytes, maxBytes, keyPath, name))
        return std::nullopt;
    return bytes;
}

std::string Win32Settings::IniPath(const char* file) const {
    return base::JoinPath(installFolder_, file);
}

std::string Win32Settings::ReadIni(const char* file,
                                   const char* section,
                                   const char* key,
                                   const char* fallback,
                                   size_t bufferSize) {
    if (bufferSize == 0)
        return std::string();
    std::vector<char> buffer(bufferSize, '\0');
    DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(), static_cast<DWORD>(bufferSize),
                                       IniPath(file).c_str());
    return std::string(buffer.data(), n < bufferSize ? n : bufferSize - 1);
}

void Win32Settings::WriteIni(const char* file, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, IniPath(file).c_str());
}

std::string FindInstallFolder() {
    Win32Settings registry{std::string()};
    if (std::optional<std::string> folder = base::ReadText(registry, base::reg::kInstallDir))
        return *folder;
    char current[MAX_PATH] = {};
    DWORD n = GetCurrentDirectoryA(sizeof current, current);
    return std::string(current, n < sizeof current ? n : 0);
}

}  // namespace app::win32
