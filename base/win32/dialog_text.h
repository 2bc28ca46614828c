// The text of a dialog's control, read into a string.
#pragma once

#include <windows.h>

#include <string>

namespace base::win32 {

// At most limit characters of the control's text.
inline std::string DialogItemText(HWND dialog, int id, size_t limit) {
    std::string text(limit + 1, '\0');
    text.resize(GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(text.size())));
    return text;
}

}  // namespace base::win32
