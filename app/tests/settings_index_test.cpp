// Tests of the start-up settings reads and the window rectangle rules.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/startup_settings.h"
#include "testing/fake_settings.h"

namespace {

using namespace app;
using testing_support::FakeSettings;

TEST(StartupSettings, EverythingMissingLeavesEveryFlagOff) {
    FakeSettings store;
    StartupSettings s = ReadStartupSettings(store);
    EXPECT_FALSE(s.autoRefreshMinimised);
    EXPECT_FALSE(s.useTray);
    EXPECT_EQ(s.windowState, 0);
    EXPECT_EQ(
        s.hideEmpty + s.hidePassworded + s.showBots + s.hideFull + s.visitedOnTop + s.showNoReply + s.favouritesOnTop,
        0u);
}

TEST(StartupSettings, IniFlagsAreOnOnlyWhenTheyStartWithTheDigitOne) {
    FakeSettings store;
    store.WriteIni("vexar.ini", "window", "usetray", "1yes");
    store.WriteIni("vexar.ini", "tray", "autorefresh", " 1");
    store.WriteIni("vexar.ini", "window", "state", "2");
    StartupSettings s = ReadStartupSettings(store);
    EXPECT_TRUE(s.useTray);
    EXPECT_FALSE(s.autoRefreshMinimised);
    EXPECT_EQ(s.windowState, 2);
    store.WriteIni("vexar.ini", "WINDOW", "USETRAY", "true");
    EXPECT_FALSE(ReadStartupSettings(store).useTray);
}

TEST(StartupSettings, HideEmptyIsReadAsTextSoADwordDoesNotCount) {
    FakeSettings store;
    store.WriteString(base::kRegistryKey, "SE", "1");
    store.WriteString(base::kRegistryKey, "SLS", "abc");
    EXPECT_EQ(ReadStartupSettings(store).hideEmpty, 1u);
    EXPECT_EQ(ReadStartupSettings(store).hidePassworded, 0u);
    store.WriteDword(base::kRegistryKey, "SE", 1);
    EXPECT_EQ(ReadStartupSettings(store).hideEmpty, 0u);
}

TEST(StartupSettings, DwordFlagsAreReadAsStored) {
    FakeSettings store;
    store.WriteDword(base::kRegistryKey, "SB", 0xFFFFFFFF);
    store.WriteDword(base::kRegistryKey, "FSNR", 0xFFFFFFFF);
    store.WriteDword(base::kRegistryKey, "FSF", 1);
    store.WriteDword(base::kRegistryKey, "FSPO", 1);
    store.WriteDword(base::kRegistryKey, "FSFAT", 1);
    StartupSettings s = ReadStartupSettings(store);
    EXPECT_EQ(s.showBots, 0xFFFFFFFFu);
    EXPECT_EQ(s.showNoReply, 0xFFFFFFFFu);
    EXPECT_EQ(s.hideFull, 1u);
    EXPECT_EQ(s.visitedOnTop, 1u);
    EXPECT_EQ(s.favouritesOnTop, 1u);
}

TEST(WindowRect, StoredCornersGivePositionAndSize) {
    WindowRect r = ComputeWindowRect(50 | (100u << 16), 850 | (700u << 16), 1024, 768);
    EXPECT_EQ(r.x, 50);
    EXPECT_EQ(r.y, 100);
    EXPECT_EQ(r.width, 800);
    EXPECT_EQ(r.height, 600);
}

TEST(WindowRect, MissingOrOffScreenValuesFallBackToDefaults) {
    WindowRect none = ComputeWindowRect(std::nullopt, 850 | (700u << 16), 1024, 768);
    EXPECT_EQ(none.x, kUseDefault);
    EXPECT_EQ(none.width, kUseDefault);

    WindowRect offX = ComputeWindowRect(3000 | (100u << 16), 900 | (700u << 16), 1024, 768);
    EXPECT_EQ(offX.x, kUseDefault);
    EXPECT_EQ(offX.width, 900);  // the raw right edge
    EXPECT_EQ(offX.height, 600);

    WindowRect noSize = ComputeWindowRect(50 | (100u << 16), std::nullopt, 1024, 768);
    EXPECT_EQ(noSize.x, 50);
    EXPECT_EQ(noSize.width, kUseDefault);
    EXPECT_EQ(noSize.height, kUseDefault);

    WindowRect tooBig = ComputeWindowRect(0, 2000 | (50u << 16), 1024, 768);
    EXPECT_EQ(tooBig.width, kUseDefault);
    EXPECT_EQ(tooBig.height, 50);

    WindowRect inverted = ComputeWindowRect(500 | (400u << 16), 100 | (100u << 16), 1024, 768);
    EXPECT_EQ(inverted.width, kUseDefault);
    EXPECT_EQ(inverted.height, kUseDefault);
}

TEST(WindowRect, OnlyTwelveBitsOfTheHighWordCount) {
    WindowRect r = ComputeWindowRect(10 | (0xF064u << 16), 110 | (0xF0C8u << 16), 1024, 768);
    EXPECT_EQ(r.y, 100);
    EXPECT_EQ(r.height, 100);
}

TEST(Splitters, DefaultsAndStoredValues) {
    FakeSettings store;
    SplitterPositions d = ReadSplitterPositions(store);
    EXPECT_EQ(d.vertical, 200);
    EXPECT_EQ(d.second, 300);
    EXPECT_EQ(d.players, 300);
    store.WriteDword(base::kGeometryKey, "WSP", 250);
    store.WriteDword(base::kRegistryKey, "WSPPL", 333);  // the other spelling reaches the same value
    SplitterPositions s = ReadSplitterPositions(store);
    EXPECT_EQ(s.vertical, 250);
    EXPECT_EQ(s.players, 333);
}

TEST(SettingsIndex, NamesAreUniqueAndGeometryValuesUseTheMixedCaseKey) {
    std::set<std::string> names;
    for (size_t i = 0; i < base::kRegistryIndexSize; ++i)
        EXPECT_TRUE(names.insert(base::kRegistryIndex[i]->name).second) << base::kRegistryIndex[i]->name;
    for (const char* geometry :
         {"WXY", "WWH", "WST", "WSP", "WSPSD", "WSPPL", "RCWXY", "RCWWH", "RCWST", "COBDY", "COPLR"}) {
        bool found = false;
        for (size_t i = 0; i < base::kRegistryIndexSize; ++i) {
            if (names.count(geometry) && std::string(base::kRegistryIndex[i]->name) == geometry) {
                EXPECT_STREQ(base::kRegistryIndex[i]->keyPath, base::kGeometryKey) << geometry;
                found = true;
            }
        }
        EXPECT_TRUE(found) << geometry;
    }
}

}  // namespace
