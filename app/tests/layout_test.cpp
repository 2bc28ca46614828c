// Tests of the main window geometry: layout tables, background bands, splitter hit test and clamping.
#include <gtest/gtest.h>

#include "app/layout.h"

namespace {

using namespace app;

TEST(Layout, FixedChildrenForA800By600ClientArea) {
    FixedLayout l = ComputeFixedLayout(800, 600);
    EXPECT_EQ(l.tab, (Rect{5, 500, 790, 30}));
    EXPECT_EQ(l.logoPicture, (Rect{673, 5, 122, 23}));
    EXPECT_EQ(l.bannerBar, (Rect{0, 530, 800, 70}));
    EXPECT_EQ(l.logoBar, (Rect{0, 0, 800, 28}));
    EXPECT_EQ(l.toolbar, (Rect{2, 2, 668, 25}));
}

TEST(Layout, PanesAroundTheSplitters) {
    PaneLayout l = ComputePaneLayout(800, 600, MakeSplitters(250, 300, 280));
    EXPECT_EQ(l.serverList, (Rect{254, 32, 541, 470}));
    EXPECT_EQ(l.buddy, (Rect{5, 32, 245, 248}));
    EXPECT_EQ(l.player, (Rect{5, 284, 245, 216}));
}

TEST(Layout, BackgroundBandsCoverEveryGap) {
    auto bands = BackgroundBands(800, 600, MakeSplitters(200, 300, 300));
    EXPECT_EQ(bands[0], (Band{0, 27, 800, 32}));
    EXPECT_EQ(bands[1], (Band{795, 0, 800, 530}));
    EXPECT_EQ(bands[2], (Band{0, 32, 5, 530}));
    EXPECT_EQ(bands[3], (Band{200, 32, 204, 500}));
    EXPECT_EQ(bands[4], (Band{5, 300, 200, 304}));
    EXPECT_EQ(bands[5], (Band{668, 0, 673, 27}));
}

TEST(Layout, InvalidationBandDependsOnTheBarThatMoved) {
    Splitters s = MakeSplitters(200, 300, 300);
    EXPECT_EQ(LayoutInvalidation(800, 600, s, 0), (Band{5, 32, 795, 500}));
    EXPECT_EQ(LayoutInvalidation(800, 600, s, 1), (Band{0, 32, 800, 500}));
    EXPECT_EQ(LayoutInvalidation(800, 600, s, 2), (Band{204, 32, 795, 500}));
    EXPECT_EQ(LayoutInvalidation(800, 600, s, 3), (Band{5, 32, 200, 500}));
}

TEST(Splitters, BarsCoverTheirPositionToFourPixelsBeyond) {
    Splitters s = MakeSplitters(200, 400, 300);
    EXPECT_EQ(s.bars[0].farEdge, 204);
    EXPECT_EQ(s.bars[2].top, 45);
    EXPECT_EQ(HitTestSplitter(200, 100, 600, s), 1);
    EXPECT_EQ(HitTestSplitter(204, 100, 600, s), 1);
    EXPECT_EQ(HitTestSplitter(205, 100, 600, s), 0);
    EXPECT_EQ(HitTestSplitter(202, 500, 600, s), 0);  // below the pane area: not the vertical bar
    EXPECT_EQ(HitTestSplitter(50, 300, 600, s), 3);
    EXPECT_EQ(HitTestSplitter(650, 302, 600, s), 3);  // horizontal bars ignore x
    EXPECT_EQ(HitTestSplitter(50, 400, 600, s), 2);
    EXPECT_EQ(HitTestSplitter(50, 305, 600, s), 0);
}

TEST(Splitters, SecondBarIsTriedBeforeTheThird) {
    Splitters s = MakeSplitters(200, 300, 300);
    EXPECT_EQ(HitTestSplitter(50, 302, 600, s), 2);
}

TEST(Splitters, DragsAreClamped) {
    EXPECT_EQ(ClampVerticalDrag(50, 800), 100);
    EXPECT_EQ(ClampVerticalDrag(900, 800), 780);
    EXPECT_EQ(ClampVerticalDrag(300, 800), 300);
    EXPECT_EQ(ClampVerticalDrag(300, 90), 100);  // a tiny window keeps the lower bound
    EXPECT_EQ(ClampHorizontalDrag(40, 600), 112);
    EXPECT_EQ(ClampHorizontalDrag(590, 600), 450);
    SplitterBar bar;
    MoveBarTo(bar, 100);
    EXPECT_EQ(bar.position, 98);
    EXPECT_EQ(bar.farEdge, 102);
}

}  // namespace
