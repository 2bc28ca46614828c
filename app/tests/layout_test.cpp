// Tests of the main window geometry: children, panes, bands, splitters and the stored window rectangle.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "app/layout.h"
#include "app/startup_settings.h"
#include "testing/fake_settings.h"

namespace {

using namespace app;

TEST(Layout, ChildrenPanesBandsAndSplittersOfA800By600ClientArea) {
    FixedLayout f = ComputeFixedLayout(800, 600);
    EXPECT_EQ((std::array<Rect, 5>{f.tab, f.logoPicture, f.bannerBar, f.logoBar, f.toolbar}),
              (std::array<Rect, 5>{
                  {{5, 500, 790, 30}, {673, 5, 122, 23}, {0, 530, 800, 70}, {0, 0, 800, 28}, {2, 2, 668, 25}}}));
    PaneLayout p = ComputePaneLayout(800, 600, MakeSplitters(250, 300, 280));
    EXPECT_EQ((std::array<Rect, 3>{p.serverList, p.buddy, p.player}),
              (std::array<Rect, 3>{{{254, 32, 541, 470}, {5, 32, 245, 248}, {5, 284, 245, 216}}}));
    Splitters s = MakeSplitters(200, 300, 300);
    const Band bands[6] = {{0, 27, 800, 32},    {795, 0, 800, 530}, {0, 32, 5, 530},
                           {200, 32, 204, 500}, {5, 300, 200, 304}, {668, 0, 673, 27}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(BackgroundBands(800, 600, s)[i], bands[i]) << i;
    EXPECT_EQ((std::array<Band, 4>{LayoutInvalidation(800, 600, s, 0), LayoutInvalidation(800, 600, s, 1),
                                   LayoutInvalidation(800, 600, s, 2), LayoutInvalidation(800, 600, s, 3)}),
              (std::array<Band, 4>{{{5, 32, 795, 500}, {0, 32, 800, 500}, {204, 32, 795, 500}, {5, 32, 200, 500}}}));

    s = MakeSplitters(200, 400, 300);  // bars cover four pixels; the second wins over the third
    EXPECT_EQ(s.bars[0].farEdge, 204);
    // x, y, the bar hit: the vertical bar only above the tab, horizontal bars whatever x.
    const int hits[] = {200, 100, 1, 204, 100, 1, 205, 100, 0, 202, 500, 0, 650, 302, 3, 50, 400, 2, 50, 305, 0};
    for (size_t i = 0; i < std::size(hits); i += 3)
        EXPECT_EQ(HitTestSplitter(hits[i], hits[i + 1], 600, s), hits[i + 2]) << hits[i] << "," << hits[i + 1];
    EXPECT_EQ(HitTestSplitter(50, 302, 600, MakeSplitters(200, 300, 300)), 2);  // overlapping: the second
    EXPECT_EQ((std::array<int, 6>{ClampVerticalDrag(50, 800), ClampVerticalDrag(900, 800), ClampVerticalDrag(300, 90),
                                  ClampHorizontalDrag(40, 600), ClampHorizontalDrag(590, 600),
                                  ClampHorizontalDrag(300, 600)}),
              (std::array<int, 6>{100, 780, 100, 112, 450, 300}));
    SplitterBar bar;
    MoveBarTo(bar, 100);
    EXPECT_EQ(std::pair(bar.position, bar.farEdge), std::pair(98, 102));
    testing_support::FakeSettings store;  // stored positions, defaults 200, 300 and 300
    store.WriteDword(base::kGeometryKey, "WSPSD", 320);
    store.WriteDword(base::kRegistryKey, "WSPPL", 333);  // the other spelling of the key reaches it too
    SplitterPositions stored = ReadSplitterPositions(store);
    EXPECT_EQ((std::array<int, 3>{stored.vertical, stored.second, stored.players}),
              (std::array<int, 3>{200, 320, 333}));
}

TEST(WindowRect, StoredCornersAreCheckedAgainstTheScreen) {
    const int d = kUseDefault;
    // WXY, WWH, then x, y, width and height.
    const std::tuple<std::optional<uint32_t>, std::optional<uint32_t>, std::array<int, 4>> rows[] = {
        {50 | (100u << 16), 850 | (700u << 16), {50, 100, 800, 600}},
        {std::nullopt, 850 | (700u << 16), {d, d, d, d}},
        {3000 | (100u << 16), 900 | (700u << 16), {d, 100, 900, 600}},  // off screen: the raw right edge
        {50 | (100u << 16), std::nullopt, {50, 100, d, d}},
        {0, 2000 | (50u << 16), {0, 0, d, 50}},
        {500 | (400u << 16), 100 | (100u << 16), {500, 400, d, d}},           // the far corner before the near one
        {10 | (0xF064u << 16), 110 | (0xF0C8u << 16), {10, 100, 100, 100}}};  // 12 bits of the high word
    for (auto [wxy, wwh, rect] : rows) {
        WindowRect w = ComputeWindowRect(wxy, wwh, 1024, 768);
        EXPECT_EQ((std::array<int, 4>{w.x, w.y, w.width, w.height}), rect) << wxy.value_or(0);
    }
}

}  // namespace
