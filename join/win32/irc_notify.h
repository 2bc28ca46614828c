// Telling mIRC what the user is joining: one DDE execute transaction, topic "COMMAND".
#pragma once

#include <windows.h>

#include "base/settings_store.h"

namespace join::win32 {

// Sends the text with its terminating zero to the DDE service named by "Server" of "DDE" in
// vexar.ini (default "mIRC"). Failures are shown in message boxes owned by `owner`; true when the
// transaction was attempted. Holds the caller for at most the one-second transaction time-out.
bool NotifyIrc(HWND owner, base::SettingsStore& settings, const char* text);

}  // namespace join::win32
