// The window placement saver on the settings store.
#include "base/win32/window_placement.h"

namespace base::win32 {

bool SaveWindowPlacement(SettingsStore& store, HWND window, const PlacementValues& values, PlacementRule rule) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(window, &wp))
        return false;
    UINT show = wp.showCmd;
    // A maximised window reports its show command only through IsZoomed on some systems.
    if (IsZoomed(window))
        show = SW_SHOWMAXIMIZED;
    else if (IsIconic(window))
        show = SW_SHOWMINIMIZED;
    const bool normal = show == SW_SHOWNORMAL || show == SW_SHOWNOACTIVATE || show == SW_SHOW || show == SW_SHOWNA;
    if (rule == PlacementRule::kNormalOnly && !normal)
        return false;
    if (rule == PlacementRule::kRememberMaximised)
        show = show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    const RECT& r = wp.rcNormalPosition;
    WritePlacement(store, values, r.left, r.top, r.right, r.bottom, show);
    return true;
}

}  // namespace base::win32
