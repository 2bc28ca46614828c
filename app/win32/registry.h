// Registry routines under HKEY_CURRENT_USER\SOFTWARE\ZORBEX\Nexo\ and the window placement saver.
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
void WriteRegString(HKEY root, const char* text, const char* keyPath, const char* valueName);
void DeleteRegValue(HKEY root, const char* keyPath, const char* valueName);
// The bytes of a value of any type, at most maxBytes; false when the key or value is missing.
bool ReadRegBytes(HKEY root, std::string& bytes, size_t maxBytes, const char* keyPath, const char* valueName);

struct SplitterValues {
    int vertical;
    int second;
    int players;
};

// Saves the normal rectangle as (top << 16) | left and (bottom << 16) | right and the show command,
// but only while the window is shown normally (a maximised or minimised window leaves all three
// values alone). With splitters (the main window) WSP, WSPSD and WSPPL are written in any case.
void SaveWindowPlacement(HWND window,
                         const char* positionValue,
                         const char* farCornerValue,
                         const char* showValue,
                         const SplitterValues* splitters);

}  // namespace app::win32
