// Tests of the display option toggles, the filter choices and the start-up marks.
#include <gtest/gtest.h>

#include "app/display_options.h"
#include "resources/resource.h"
#include "testing/fake_settings.h"

namespace {

using namespace app;
using testing_support::FakeSettings;

TEST(DisplayOptions, HideFlagsFlipAndCheckTheirShowItemWhileOff) {
    FakeSettings store;
    DisplayOptions o;
    auto mark = ToggleDisplayOption(IDM_SHOW_PASSWORDED, o, store);
    ASSERT_TRUE(mark);
    EXPECT_EQ(*mark, (MenuMark{IDM_SHOW_PASSWORDED, false}));
    EXPECT_EQ(o.HidePassworded, 1u);
    EXPECT_EQ(store.ReadString(base::kRegistryKey, "SLS"), "1");
    EXPECT_FALSE(store.ReadDword(base::kRegistryKey, "SLS"));
    mark = ToggleDisplayOption(IDM_SHOW_PASSWORDED, o, store);
    EXPECT_TRUE(mark->checked);
    EXPECT_EQ(store.ReadString(base::kRegistryKey, "SLS"), "0");
    ToggleDisplayOption(IDM_SHOW_FULL, o, store);
    EXPECT_EQ(store.ReadDword(base::kRegistryKey, "FSF"), 1u);
}

TEST(DisplayOptions, ShowFlagsUseMinusOne) {
    FakeSettings store;
    DisplayOptions o;
    EXPECT_TRUE(ToggleDisplayOption(IDM_SHOW_BOTS, o, store)->checked);
    EXPECT_EQ(o.ShowBots, 0xFFFFFFFFu);
    EXPECT_EQ(store.ReadDword(base::kRegistryKey, "SB"), 0xFFFFFFFFu);
    EXPECT_FALSE(ToggleDisplayOption(IDM_SHOW_BOTS, o, store)->checked);
    EXPECT_EQ(store.ReadDword(base::kRegistryKey, "SB"), 0u);
    EXPECT_TRUE(ToggleDisplayOption(IDM_VISITED_ON_TOP, o, store)->checked);
    EXPECT_EQ(o.VisitedOnTop, 1u);
}

TEST(DisplayOptions, OtherCommandsAreNotOptions) {
    FakeSettings store;
    DisplayOptions o;
    EXPECT_FALSE(ToggleDisplayOption(IDM_JOIN, o, store));
    EXPECT_EQ(store.writes, 0);
}

TEST(DisplayOptions, ChoosingTheCurrentModDoesNothingAllAlwaysActs) {
    FakeSettings store;
    DisplayOptions o;
    auto marks = ChooseModFilter(3, o, store);
    ASSERT_TRUE(marks);
    EXPECT_EQ(marks->first, uint32_t(IDM_MOD_ALL));
    EXPECT_EQ(marks->second, uint32_t(IDM_MOD_FIRST + 3));
    EXPECT_EQ(store.writes, 1);
    EXPECT_FALSE(ChooseModFilter(3, o, store));
    EXPECT_EQ(store.writes, 1);
    marks = ChooseModFilter(0, o, store);
    EXPECT_EQ(marks->first, uint32_t(IDM_MOD_FIRST + 3));
    EXPECT_EQ(marks->second, uint32_t(IDM_MOD_ALL));
    EXPECT_TRUE(ChooseModFilter(0, o, store));
    EXPECT_EQ(store.ReadDword(base::kRegistryKey, "FSMD"), 0u);
    ChooseGameTypeFilter(2, o, store);
    EXPECT_EQ(o.GameTypeFilter, 2u);
    EXPECT_EQ(store.ReadDword(base::kRegistryKey, "FSGT"), 2u);
}

TEST(DisplayOptions, StartupMarks) {
    DisplayOptions o;
    o.HideEmpty = 1;
    o.ShowNoReply = 0xFFFFFFFF;
    auto marks = StartupMenuMarks(o, true);
    auto find = [&](uint32_t item) {
        for (const MenuMark& m : marks)
            if (m.item == item)
                return m.checked;
        ADD_FAILURE() << item;
        return false;
    };
    EXPECT_FALSE(find(IDM_SHOW_EMPTY));
    EXPECT_TRUE(find(IDM_SHOW_FULL));
    EXPECT_TRUE(find(IDM_SHOW_NO_REPLY));
    EXPECT_FALSE(find(IDM_SHOW_BOTS));
    EXPECT_TRUE(find(IDM_MINIMISE_TO_TRAY));
    EXPECT_EQ(marks.size(), 8u);
}

}  // namespace
