// The settings read once at start-up: display flags, window rectangle and splitters.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>

#include "base/settings_index.h"

namespace app {

constexpr int kUseDefault = INT_MIN;  // CW_USEDEFAULT

// The display options and tray choices read once at start-up.
struct StartupSettings {
    bool autoRefreshMinimised = false;
    bool useTray = false;
    int windowState = 0;
    uint32_t hideEmpty = 0;
    uint32_t hidePassworded = 0;
    uint32_t showBots = 0;
    uint32_t hideFull = 0;
    uint32_t visitedOnTop = 0;
    uint32_t showNoReply = 0;
    uint32_t favouritesOnTop = 0;
};

// INI TRAY/AUTOREFRESH and WINDOW/USETRAY (on when the value starts with '1'), WINDOW/STATE
// (decimal), then registry SE and SLS (decimal text, taken only when present), SB, FSF, FSPO, FSNR
// and FSFAT; a missing value leaves its flag 0.
StartupSettings ReadStartupSettings(base::SettingsStore& store);

struct WindowRect {
    int x = kUseDefault;
    int y = kUseDefault;
    int width = kUseDefault;
    int height = kUseDefault;
};

// The main window rectangle from WXY and WWH (left/top and right/bottom, low and high words, only
// bits 16-27 of the high word) checked against the screen size.
WindowRect ComputeWindowRect(std::optional<uint32_t> wxy,
                             std::optional<uint32_t> wwh,
                             int screenWidth,
                             int screenHeight);

struct SplitterPositions {
    int vertical = 200;  // WSP
    int second = 300;    // WSPSD
    int players = 300;   // WSPPL
};
// Stored values are taken as signed and kept within -32768 to 32767, the range of a screen
// coordinate.
SplitterPositions ReadSplitterPositions(base::SettingsStore& store);

// The tab selected at start-up for the stored index (INI games/active): 0 when it names no tab.
int StartupTabIndex(int stored, int tabCount);

}  // namespace app
