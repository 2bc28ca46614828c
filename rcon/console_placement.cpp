// Coordinates are stored as signed 16-bit words, so a window left of the primary screen's corner
// (x = -7 when snapped to the left edge) comes back where it was instead of at 65529.
#include "rcon/console_placement.h"

#include <algorithm>

namespace rcon {

namespace {

int Low(uint32_t v) {
    return static_cast<int16_t>(v & 0xFFFF);
}

int High(uint32_t v) {
    return static_cast<int16_t>(v >> 16);
}

// The start of a span of `size` kept within [from, to); a span larger than the room starts at from.
int Within(int start, int size, int from, int to) {
    return std::max(from, std::min(start, to - size));
}

}  // namespace

ConsolePlacement RestoreConsolePlacement(std::optional<uint32_t> xy,
                                         std::optional<uint32_t> wh,
                                         std::optional<uint32_t> state,
                                         const ScreenArea& screen) {
    ConsolePlacement p;
    p.maximised = state == kMaximisedState;
    if (!xy)
        return p;
    p.storedPosition = true;
    p.x = Low(*xy);
    p.y = High(*xy);
    int screenWidth = screen.right - screen.left, screenHeight = screen.bottom - screen.top;
    if (wh && Low(*wh) > p.x && High(*wh) > p.y) {
        p.storedSize = true;
        p.width = std::min(Low(*wh) - p.x, screenWidth);
        p.height = std::min(High(*wh) - p.y, screenHeight);
    }
    int spanX = p.storedSize ? p.width : kMinVisible, spanY = p.storedSize ? p.height : kMinVisible;
    p.x = Within(p.x, spanX, screen.left, screen.right);
    p.y = Within(p.y, spanY, screen.top, screen.bottom);
    return p;
}

}  // namespace rcon
