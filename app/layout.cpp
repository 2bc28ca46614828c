// Main window geometry.
#include "app/layout.h"

#include <algorithm>

namespace app {

FixedLayout ComputeFixedLayout(int w, int h) {
    FixedLayout l;
    l.tab = {5, h - 100, w - 10, 30};
    l.logoPicture = {w - 127, 5, 122, 23};
    l.bannerBar = {0, h - 70, w, 70};
    l.logoBar = {0, 0, w, 28};
    l.toolbar = {2, 2, l.logoBar.width - 132, 25};
    return l;
}

Splitters MakeSplitters(int vertical, int second, int players) {
    Splitters s;
    const int positions[3] = {vertical, second, players};
    for (int i = 0; i < 3; ++i) {
        s.bars[i].position = positions[i];
        s.bars[i].top = kSplitterTop;
        s.bars[i].farEdge = positions[i] + kSplitterThickness;
    }
    return s;
}

PaneLayout ComputePaneLayout(int w, int h, const Splitters& s) {
    const int wsp = s.vertical();
    const int wsppl = s.players();
    PaneLayout l;
    l.serverList = {wsp + 4, 32, w - (wsp + 4) - 5, h - 130};
    l.buddy = {5, 32, wsp - 5, wsppl - 32};
    l.player = {5, wsppl + 4, wsp - 5, (h - 100) - (wsppl + 4)};
    for (Rect* r : {&l.serverList, &l.buddy, &l.player}) {
        r->width = std::max(0, r->width);
        r->height = std::max(0, r->height);
    }
    return l;
}

std::array<Band, 6> BackgroundBands(int w, int h, const Splitters& s) {
    const int wsp = s.vertical();
    const int wsppl = s.players();
    return {{
        {0, 27, w, 32},               // under the toolbar
        {w - 5, 0, w, h - 70},        // right margin
        {0, 32, 5, h - 70},           // left margin
        {wsp, 32, wsp + 4, h - 100},  // vertical bar
        {5, wsppl, wsp, wsppl + 4},   // horizontal bar
        {w - 132, 0, w - 127, 27},    // gap before the logo
    }};
}

Band LayoutInvalidation(int w, int h, const Splitters& s, int movedBar) {
    switch (movedBar) {
        case 1:
            return {0, 32, w, h - 100};
        case 2:
            return {s.vertical() + 4, 32, w - 5, h - 100};
        case 3:
            return {5, 32, s.vertical(), h - 100};
        default:
            return {5, 32, w - 5, h - 100};
    }
}

int HitTestSplitter(int x, int y, int height, const Splitters& s) {
    const SplitterBar& v = s.bars[0];
    if (v.position <= x && x <= v.position + kSplitterThickness && y < height - 100)
        return 1;
    // The horizontal bar exists only in the left column; the second bar divides no panes, so a
    // drag of it would move nothing the user sees.
    const SplitterBar& h = s.bars[2];
    if (x < v.position && h.position <= y && y <= h.position + kSplitterThickness)
        return 3;
    return 0;
}

int ClampVerticalDrag(int x, int width) {
    return std::max(100, std::min(x, width - 20));
}

int ClampHorizontalDrag(int y, int height) {
    return std::max(32 + 80, std::min(y, height - 150));
}

void MoveBarTo(SplitterBar& bar, int clamped) {
    bar.position = clamped - 2;
    bar.farEdge = clamped + 2;
}

void ClampSplitters(Splitters& s, int width, int height) {
    // A bar at p is where a drop at p + 2 leaves it.
    MoveBarTo(s.bars[0], ClampVerticalDrag(s.bars[0].position + 2, width));
    for (int i = 1; i < 3; ++i)
        MoveBarTo(s.bars[i], ClampHorizontalDrag(s.bars[i].position + 2, height));
}

}  // namespace app
