// Geometry of the main window: fixed children, panes around the splitters, background bands.
#pragma once

#include <array>

namespace app {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// A band given by its edges (left, top, right, bottom), as painted or invalidated.
struct Band {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Band&) const = default;
};

// Positions of the fixed children for a client area of W x H.
struct FixedLayout {
    Rect tab;
    Rect logoPicture;  // inside LogoBar
    Rect bannerBar;
    Rect logoBar;
    Rect toolbar;  // inside LogoBar
};
FixedLayout ComputeFixedLayout(int width, int height);

constexpr int kSplitterThickness = 4;
constexpr int kSplitterTop = 45;

// One splitter bar: a bar at position p covers p to p + 4.
struct SplitterBar {
    int position = 0;
    int top = kSplitterTop;
    int farEdge = 0;
};

// The three bars: vertical (WSP), second (WSPSD), between buddy and player pane (WSPPL).
struct Splitters {
    std::array<SplitterBar, 3> bars;
    int vertical() const { return bars[0].position; }
    int players() const { return bars[2].position; }
};
Splitters MakeSplitters(int vertical, int second, int players);

struct PaneLayout {
    Rect serverList;
    Rect buddy;
    Rect player;
};
// Pane sizes never go below 0, however small the client area.
PaneLayout ComputePaneLayout(int width, int height, const Splitters& splitters);

// The gaps painted with the profile's background colour.
std::array<Band, 6> BackgroundBands(int width, int height, const Splitters& splitters);

// Which part of the pane area to invalidate before the panes move: 0 a general layout, 1 to 3 the
// bar that moved.
Band LayoutInvalidation(int width, int height, const Splitters& splitters, int movedBar);

// The bar that divides the panes under the mouse: 1 (vertical, above the tab control), 3 (between
// the buddy and player panes, left of the vertical bar) or 0 for none. The second bar divides no
// panes and is never hit.
int HitTestSplitter(int x, int y, int height, const Splitters& splitters);

// Mouse coordinate of a dragged bar, clamped: vertical to [100, W - 20], horizontal to [112, H - 150].
int ClampVerticalDrag(int x, int width);
int ClampHorizontalDrag(int y, int height);
// Moves a bar to a clamped mouse coordinate: position x - 2, far edge x + 2.
void MoveBarTo(SplitterBar& bar, int clampedCoordinate);
// Puts every bar where a drag in a client area of W x H could have left it (stored positions
// beyond it, or a window that shrank, would give panes of no size and bars out of reach).
void ClampSplitters(Splitters& splitters, int width, int height);

}  // namespace app
