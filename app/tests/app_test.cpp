// Tests of the display options (menu toggles, filter choices, start-up reads and marks), the main
// window geometry (children, panes, bands, splitters, the stored window rectangle) and the targets
// from vexar.ini that the shell may open.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_context.h"
#include "app/display_options.h"
#include "app/layout.h"
#include "app/startup_settings.h"
#include "app/weblinks.h"
#include "resources/resource.h"
#include "testing/fake_settings.h"

namespace {

using namespace app;
using testing_support::FakeSettings;

TEST(DisplayOptions, EachToggleFlipsItsFlagStoresItAndMarksItsMenuItemAndChoosingTheCurrentFilterAgainDoesNothing) {
    // Command, flag, registry value, stored as decimal text, value when on, menu item checked when on: one
    // toggle of each kind (every row of the table is checked end to end on the real program).
    const std::tuple<uint32_t, uint32_t DisplayOptions::*, const char*, bool, uint32_t, bool> rows[] = {
        {IDM_SHOW_EMPTY, &DisplayOptions::HideEmpty, "SE", true, 1, false},
        {IDM_SHOW_FULL, &DisplayOptions::HideFull, "FSF", false, 1, false},
        {IDM_SHOW_BOTS, &DisplayOptions::ShowBots, "SB", false, 0xFFFFFFFF, true},
        {IDM_FAVOURITES_ON_TOP, &DisplayOptions::FavouritesOnTop, "FSFAT", false, 1, true}};
    FakeSettings store;
    DisplayOptions o;
    for (auto [command, flag, name, asText, on, checkedWhenOn] : rows) {
        for (uint32_t value : {on, 0u}) {
            EXPECT_EQ(ToggleDisplayOption(command, o, store), (MenuMark{command, (value != 0) == checkedWhenOn}));
            EXPECT_EQ(o.*flag, value) << name;
            if (asText)
                EXPECT_EQ(store.ReadString(base::kRegistryKey, name), std::to_string(value)) << name;
            else
                EXPECT_EQ(store.ReadDword(base::kRegistryKey, name), value) << name;
        }
    }
    EXPECT_FALSE(ToggleDisplayOption(IDM_JOIN, o, store));
    // Choosing the current filter again does nothing, but "all" always acts.
    const int writes = store.writes;
    EXPECT_EQ(ChooseModFilter(3, o, store), std::make_pair(uint32_t(IDM_MOD_ALL), uint32_t(IDM_MOD_FIRST + 3)));
    EXPECT_FALSE(ChooseModFilter(3, o, store));
    EXPECT_EQ(ChooseModFilter(0, o, store), std::make_pair(uint32_t(IDM_MOD_FIRST + 3), uint32_t(IDM_MOD_ALL)));
    EXPECT_TRUE(ChooseModFilter(0, o, store));
    EXPECT_EQ(ChooseGameTypeFilter(2, o, store),
              std::make_pair(uint32_t(IDM_GAMETYPE_ALL), uint32_t(IDM_GAMETYPE_FIRST + 2)));
    EXPECT_EQ(store.writes, writes + 4);
    EXPECT_EQ(store.ReadDword(base::kRegistryKey, "FSGT"), 2u);
}

TEST(DisplayOptions, StartupReadsGiveTheFlagsAndTheirMenuMarks) {
    FakeSettings store;
    store.WriteIni("vexar.ini", "window", "usetray", "1yes");  // INI flags are on when they start with '1'
    store.WriteIni("vexar.ini", "tray", "autorefresh", " 1");
    store.WriteIni("vexar.ini", "window", "state", "2");
    store.WriteString(base::kRegistryKey, "SE", "1");
    store.WriteString(base::kRegistryKey, "SLS", "abc");  // malformed text reads as 0
    store.WriteDword(base::kRegistryKey, "FSNR", 0xFFFFFFFF);
    store.WriteDword(base::kRegistryKey, "FSFAT", 1);
    StartupSettings s = ReadStartupSettings(store);
    EXPECT_EQ(std::tuple(s.useTray, s.autoRefreshMinimised, s.windowState), std::tuple(true, false, 2));
    std::map<uint32_t, bool> marks;
    for (const MenuMark& m : StartupMenuMarks(DisplayOptionsFrom(s), s.useTray))
        marks[m.item] = m.checked;
    const std::map<uint32_t, bool> expected = {{IDM_VISITED_ON_TOP, false},  {IDM_FAVOURITES_ON_TOP, true},
                                               {IDM_MINIMISE_TO_TRAY, true}, {IDM_SHOW_PASSWORDED, true},
                                               {IDM_SHOW_EMPTY, false},      {IDM_SHOW_FULL, true},
                                               {IDM_SHOW_BOTS, false},       {IDM_SHOW_NO_REPLY, true}};
    EXPECT_EQ(marks, expected);
    store.WriteString(base::kRegistryKey, "SE", "0");
    store.WriteString(base::kRegistryKey, "SLS", "2");
    for (const char* name : {"SB", "FSF", "FSPO"})
        store.WriteDword(base::kRegistryKey, name, 7);
    s = ReadStartupSettings(store);
    DisplayOptions o = DisplayOptionsFrom(s);
    EXPECT_EQ((std::array<uint32_t, 7>{o.HideEmpty, o.HidePassworded, o.ShowBots, o.HideFull, o.VisitedOnTop,
                                       o.ShowNoReply, o.FavouritesOnTop}),
              (std::array<uint32_t, 7>{0, 2, 7, 7, 7, 0xFFFFFFFF, 1}));
}

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

    s = MakeSplitters(200, 400, 300);  // bars cover four pixels
    EXPECT_EQ(s.bars[0].farEdge, 204);
    // x, y, the bar hit: the vertical bar only above the tab, the players' bar only over the left
    // column (none over the server list), the second bar never.
    const std::array<int, 3> hits[] = {{200, 100, 1}, {204, 100, 1}, {205, 100, 0}, {202, 500, 0}, {650, 302, 0},
                                       {50, 302, 3},  {199, 300, 3}, {50, 400, 0},  {50, 305, 0}};
    for (auto [x, y, hit] : hits)
        EXPECT_EQ(HitTestSplitter(x, y, 600, s), hit) << x << "," << y;
    EXPECT_EQ(HitTestSplitter(50, 302, 600, MakeSplitters(200, 300, 300)), 3);  // the defaults: the players' bar
    EXPECT_EQ((std::array<int, 6>{ClampVerticalDrag(50, 800), ClampVerticalDrag(900, 800), ClampVerticalDrag(300, 90),
                                  ClampHorizontalDrag(40, 600), ClampHorizontalDrag(590, 600),
                                  ClampHorizontalDrag(300, 600)}),
              (std::array<int, 6>{100, 780, 100, 112, 450, 300}));
    SplitterBar bar;
    MoveBarTo(bar, 100);
    EXPECT_EQ(std::pair(bar.position, bar.farEdge), std::pair(98, 102));
    // Stored positions out of the client area come back where a drag could leave them; those in it stay.
    for (auto [stored, kept] : {std::pair(std::array<int, 3>{5000, -40, 0x7FFF}, std::array<int, 3>{778, 110, 448}),
                                {{200, 300, 300}, {200, 300, 300}}}) {
        s = MakeSplitters(stored[0], stored[1], stored[2]);
        ClampSplitters(s, 800, 600);
        EXPECT_EQ((std::array<int, 4>{s.bars[0].position, s.bars[1].position, s.bars[2].position, s.bars[2].farEdge}),
                  (std::array<int, 4>{kept[0], kept[1], kept[2], kept[2] + 4}));
    }
    p = ComputePaneLayout(120, 150, MakeSplitters(200, 300, 300));  // a tiny window: no pane below 0
    EXPECT_EQ((std::array<int, 4>{p.serverList.width, p.serverList.height, p.player.height, p.buddy.width}),
              (std::array<int, 4>{0, 20, 0, 195}));
    testing_support::FakeSettings store;  // stored positions, defaults 200, 300 and 300
    store.WriteDword(base::kGeometryKey, "WSPSD", 320);
    store.WriteDword(base::kRegistryKey, "WSPPL", 333);  // the other spelling of the key reaches it too
    SplitterPositions stored = ReadSplitterPositions(store);
    EXPECT_EQ((std::array<int, 3>{stored.vertical, stored.second, stored.players}),
              (std::array<int, 3>{200, 320, 333}));
    store.WriteDword(base::kGeometryKey, "WSP", 0x80000000);  // signed, within a coordinate's range
    store.WriteDword(base::kGeometryKey, "WSPPL", 0x7FFFFFFF);
    stored = ReadSplitterPositions(store);
    EXPECT_EQ(std::pair(stored.vertical, stored.players), std::pair(-0x8000, 0x7FFF));
}

TEST(StartupTab, AStoredIndexThatNamesNoTabSelectsTheFirst) {
    for (auto [stored, selected] : {std::pair(7, 0), {2, 2}, {3, 0}, {-1, 0}, {0x7FFFFFFF, 0}, {-0x7FFFFFFF - 1, 0}})
        EXPECT_EQ(StartupTabIndex(stored, 3), selected) << stored;
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

TEST(ShellTargets, OnlyWebAndPlainMailAddressesFromVexarIniReachTheShell) {
    // Web addresses as views::WebAddressToOpen takes them; mail addresses without added headers.
    for (const char* kept : {"https://lab.example/x", "MAILTO:lab@127.0.0.1?subject=Vexar!", "mailto:a.b-c_d+e@lab"})
        EXPECT_EQ(TargetToOpen(kept), kept);
    EXPECT_EQ(TargetToOpen("www.lab.example"), "http://www.lab.example");
    for (const char* refused : {"C:\\Windows\\notepad.exe", "notepad", "\\\\lab\\x.exe", "file:///c:/x.exe",
                                "javascript:x", "mailto:a@b?attach=C:\\x", "mailto:a@b?subject=x&attach=y",
                                "mailto:a@b?subject=%0Ax", "mailto:a@b@c", "mailto:@b", "mailto:a\"b@c"})
        EXPECT_EQ(TargetToOpen(refused), "") << refused;
    FakeSettings store;
    EXPECT_EQ(ReadEndpoints(store).feedbackMail, "wishlist@vexar.org.uk");  // the built-in one is plain
    store.WriteIni("vexar.ini", "endpoints", "website", "C:\\x.exe");
    store.WriteIni("vexar.ini", "endpoints", "feedback", "x@lab?cc=y");
    store.WriteIni("vexar.ini", "endpoints", "banner", "www.lab.example");
    store.WriteIni("vexar.ini", "weblinks", "url000", "C:\\x.exe");
    Endpoints e = ReadEndpoints(store);
    EXPECT_EQ((std::vector<std::string>{e.webSite, e.feedbackMail, e.bannerSite, WebLinkTarget(store, 0)}),
              (std::vector<std::string>{"", "", "http://www.lab.example", ""}));
}

}  // namespace
