// The window placement saver: a window's normal rectangle and show command through the settings store.
#pragma once

#include <windows.h>

#include "base/settings_index.h"

namespace base::win32 {

enum class PlacementRule {
    // Only a window shown normally (SW_SHOWNORMAL, SW_SHOWNOACTIVATE, SW_SHOW, SW_SHOWNA) is stored;
    // a maximised or minimised one leaves all three values as they were.
    kNormalOnly,
    // Always stored; the show command is SW_SHOWMAXIMIZED for a maximised window, else SW_SHOWNORMAL,
    // so that the window comes back maximised over its normal rectangle, never minimised.
    kRememberMaximised,
};

// Stores the placement as values.position = (top << 16) | left and values.farCorner =
// (bottom << 16) | right of the normal rectangle, and values.show. False when nothing was stored.
bool SaveWindowPlacement(SettingsStore& store, HWND window, const PlacementValues& values, PlacementRule rule);

}  // namespace base::win32
