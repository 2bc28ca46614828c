// The Network Preferences dialog: the pace of refreshes, stored for the next refresh.
#pragma once

#include <windows.h>

#include "base/settings_store.h"

namespace app::win32 {

// Runs dialog 169 modally. OK stores the chosen pace when its values are in range; a value out of
// range is named in a message and nothing is stored until it is mended or the dialog cancelled.
INT_PTR RunNetworkPreferences(HINSTANCE instance, HWND owner, base::SettingsStore& settings);

}  // namespace app::win32
