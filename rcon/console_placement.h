// Where the remote-control window comes back: RCWXY (top in the high word, left in the low word),
// RCWWH (bottom and right the same way) and RCWST (its show state), all signed 16-bit coordinates.
#pragma once

#include <cstdint>
#include <optional>

namespace rcon {

struct ScreenArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ConsolePlacement {
    bool storedPosition = false;  // false: the system's default position (and size)
    bool storedSize = false;      // false: the system's default size
    int x = 0, y = 0, width = 0, height = 0;
    bool maximised = false;
};

// The show state stored for a maximised window (SW_SHOWMAXIMIZED); anything else restores normal.
constexpr uint32_t kMaximisedState = 3;
constexpr uint32_t kNormalState = 1;

// The placement the stored values ask for, kept on the screen: a size larger than the screen
// shrinks to it, a far corner left of or above the window leaves the default size, and the window
// is moved so that it lies on the screen (with the default size, its corner at least kMinVisible
// pixels inside). Only RCWXY stored keeps the position with the default size.
constexpr int kMinVisible = 100;
ConsolePlacement RestoreConsolePlacement(std::optional<uint32_t> xy,
                                         std::optional<uint32_t> wh,
                                         std::optional<uint32_t> state,
                                         const ScreenArea& screen);

}  // namespace rcon
