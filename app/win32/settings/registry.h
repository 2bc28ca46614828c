// Registry routines under HKEY_CURRENT_USER\SOFTWARE\ZORBEX\Nexo\ (the window placement saver is
// base/win32/window_placement.h, on the settings store).
#pragma once

#include <windows.h>

#include <string>

namespace app::win32 {

// Reads a REG_DWORD value. Returns 0 when the value was read, nonzero otherwise; the destination is
// changed only on success.
LONG ReadRegDword(HKEY root, DWORD* destination, const char* keyPath, const char* valueName);
// Creates or opens the key and sets a REG_DWORD value; failures are ignored.
void WriteRegDword(HKEY root, DWORD value, const char* keyPath, const char* valueName);
// Reads a REG_SZ value into a buffer of at least 255 bytes (always terminated); returns the length
// of the text, 0 when the value is missing or is not text.
size_t ReadRegString(HKEY root, char* destination, const char* keyPath, const char* valueName);
// False when the key could not be created or the value not set.
bool WriteRegString(HKEY root, const char* text, const char* keyPath, const char* valueName);
void DeleteRegValue(HKEY root, const char* keyPath, const char* valueName);
// The bytes of a value of any type, at most maxBytes; false when the key or value is missing.
bool ReadRegBytes(HKEY root, std::string& bytes, size_t maxBytes, const char* keyPath, const char* valueName);

}  // namespace app::win32
