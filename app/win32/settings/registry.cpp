// Registry access with the ANSI functions.
#include "app/win32/settings/registry.h"

#include <algorithm>
#include <cstring>

#include "base/win32/handles.h"

namespace app::win32 {

namespace {

LONG OpenKey(HKEY root, const char* keyPath, REGSAM access, base::win32::RegistryKey& key) {
    HKEY opened = nullptr;
    LONG rc = RegOpenKeyExA(root, keyPath, 0, access, &opened);
    if (rc == ERROR_SUCCESS)
        key.Reset(opened);
    return rc;
}

LONG CreateKey(HKEY root, const char* keyPath, const char* className, base::win32::RegistryKey& key) {
    HKEY created = nullptr;
    LONG rc = RegCreateKeyExA(root, keyPath, 0, const_cast<char*>(className), REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &created, nullptr);
    if (rc == ERROR_SUCCESS)
        key.Reset(created);
    return rc;
}

}  // namespace

LONG ReadRegDword(HKEY root, DWORD* destination, const char* keyPath, const char* valueName) {
    base::win32::RegistryKey key;
    LONG rc = OpenKey(root, keyPath, KEY_QUERY_VALUE, key);
    if (rc != ERROR_SUCCESS)
        return rc;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    rc = RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (type != REG_DWORD || size != sizeof value)
        return ERROR_INVALID_DATA;
    *destination = value;
    return ERROR_SUCCESS;
}

void WriteRegDword(HKEY root, DWORD value, const char* keyPath, const char* valueName) {
    base::win32::RegistryKey key;
    if (CreateKey(root, keyPath, "REG_DWORD", key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

size_t ReadRegString(HKEY root, char* destination, const char* keyPath, const char* valueName) {
    base::win32::RegistryKey key;
    if (OpenKey(root, keyPath, KEY_QUERY_VALUE, key) != ERROR_SUCCESS)
        return 0;
    char buffer[256] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;  // one byte stays for a terminator the value may lack
    LONG rc = RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    size_t len = strnlen(buffer, 254);
    std::memcpy(destination, buffer, len);
    destination[len] = '\0';
    return len;
}

bool WriteRegString(HKEY root, const char* text, const char* keyPath, const char* valueName) {
    base::win32::RegistryKey key;
    if (CreateKey(root, keyPath, "REG_SZ", key) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
}

bool ReadRegBytes(HKEY root, std::string& bytes, size_t maxBytes, const char* keyPath, const char* valueName) {
    base::win32::RegistryKey key;
    if (OpenKey(root, keyPath, KEY_QUERY_VALUE, key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::string buffer(size, '\0');
    if (size && RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                                 &size) != ERROR_SUCCESS)
        return false;
    buffer.resize(std::min<size_t>(size, maxBytes));
    bytes = std::move(buffer);
    return true;
}

void DeleteRegValue(HKEY root, const char* keyPath, const char* valueName) {
    base::win32::RegistryKey key;
    if (OpenKey(root, keyPath, KEY_SET_VALUE, key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key.get(), valueName);
}

}  // namespace app::win32
