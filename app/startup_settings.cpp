// The settings read once at start-up.
#include "app/startup_settings.h"

#include <algorithm>

#include "base/text.h"

namespace app {

StartupSettings ReadStartupSettings(base::SettingsStore& store) {
    StartupSettings s;
    s.autoRefreshMinimised = base::ReadIniFlag(store, base::ini::kAutoRefreshMinimised);
    s.useTray = base::ReadIniFlag(store, base::ini::kUseTray);
    s.windowState = base::ReadIniDecimal(store, base::ini::kWindowStateRead);
    if (auto v = base::ReadDecimalText(store, base::reg::kHideEmpty))
        s.hideEmpty = static_cast<uint32_t>(*v);
    if (auto v = base::ReadDecimalText(store, base::reg::kHidePassworded))
        s.hidePassworded = static_cast<uint32_t>(*v);
    s.showBots = base::ReadDwordOr(store, base::reg::kShowBots);
    s.hideFull = base::ReadDwordOr(store, base::reg::kHideFull);
    s.visitedOnTop = base::ReadDwordOr(store, base::reg::kVisitedOnTop);
    s.showNoReply = base::ReadDwordOr(store, base::reg::kShowNoReply);
    s.favouritesOnTop = base::ReadDwordOr(store, base::reg::kFavouritesOnTop);
    return s;
}

WindowRect ComputeWindowRect(std::optional<uint32_t> wxy,
                             std::optional<uint32_t> wwh,
                             int screenWidth,
                             int screenHeight) {
    WindowRect r;
    if (!wxy)
        return r;
    r.x = static_cast<int>(*wxy & 0xFFFF);
    r.y = static_cast<int>((*wxy >> 16) & 0xFFF);
    if (r.x > screenWidth)
        r.x = kUseDefault;
    if (r.y > screenHeight)
        r.y = kUseDefault;
    if (!wwh)
        return r;
    int right = static_cast<int>(*wwh & 0xFFFF);
    int bottom = static_cast<int>((*wwh >> 16) & 0xFFF);
    r.width = r.x != kUseDefault ? right - r.x : right;
    r.height = r.y != kUseDefault ? bottom - r.y : bottom;
    // A negative width (a far corner left of the window) would make an invisible window.
    if (r.width > screenWidth || r.width < 0)
        r.width = kUseDefault;
    if (r.height > screenHeight || r.height < 0)
        r.height = kUseDefault;
    return r;
}

SplitterPositions ReadSplitterPositions(base::SettingsStore& store) {
    // A bar's far edge is its position + 4: a value near the ends of int must not overflow it.
    auto read = [&store](const base::RegistryValue& value) {
        return std::clamp(static_cast<int32_t>(base::ReadDwordOr(store, value)), -0x8000, 0x7FFF);
    };
    SplitterPositions s;
    s.vertical = read(base::reg::kSplitter);
    s.second = read(base::reg::kSplitterSecond);
    s.players = read(base::reg::kSplitterPlayers);
    return s;
}

int StartupTabIndex(int stored, int tabCount) {
    // Compared without adding to the stored value: "index + 1 > count" overflows at INT_MAX.
    return stored < 0 || stored >= tabCount ? 0 : stored;
}

}  // namespace app
