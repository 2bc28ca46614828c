// Tests of the display options: menu toggles, filter choices, start-up marks and the start-up reads.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>

#include "app/display_options.h"
#include "resources/resource.h"
#include "testing/fake_settings.h"

namespace {

using namespace app;
using testing_support::FakeSettings;

TEST(DisplayOptions, EachToggleFlipsItsFlagStoresItAndMarksItsMenuItem) {
    // Command, flag, registry value, stored as decimal text, value when on, menu item checked when on.
    const std::tuple<uint32_t, uint32_t DisplayOptions::*, const char*, bool, uint32_t, bool> rows[] = {
        {IDM_SHOW_PASSWORDED, &DisplayOptions::HidePassworded, "SLS", true, 1, false},
        {IDM_SHOW_EMPTY, &DisplayOptions::HideEmpty, "SE", true, 1, false},
        {IDM_SHOW_FULL, &DisplayOptions::HideFull, "FSF", false, 1, false},
        {IDM_SHOW_BOTS, &DisplayOptions::ShowBots, "SB", false, 0xFFFFFFFF, true},
        {IDM_SHOW_NO_REPLY, &DisplayOptions::ShowNoReply, "FSNR", false, 0xFFFFFFFF, true},
        {IDM_VISITED_ON_TOP, &DisplayOptions::VisitedOnTop, "FSPO", false, 1, true},
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
}

TEST(DisplayOptions, ChoosingTheCurrentFilterAgainDoesNothingButAllAlwaysActs) {
    FakeSettings store;
    DisplayOptions o;
    EXPECT_EQ(ChooseModFilter(3, o, store), std::make_pair(uint32_t(IDM_MOD_ALL), uint32_t(IDM_MOD_FIRST + 3)));
    EXPECT_FALSE(ChooseModFilter(3, o, store));
    EXPECT_EQ(ChooseModFilter(0, o, store), std::make_pair(uint32_t(IDM_MOD_FIRST + 3), uint32_t(IDM_MOD_ALL)));
    EXPECT_TRUE(ChooseModFilter(0, o, store));
    EXPECT_EQ(ChooseGameTypeFilter(2, o, store),
              std::make_pair(uint32_t(IDM_GAMETYPE_ALL), uint32_t(IDM_GAMETYPE_FIRST + 2)));
    EXPECT_EQ(store.writes, 4);
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
    store.WriteIni("vexar.ini", "WINDOW", "USETRAY", "true");
    store.WriteIni("vexar.ini", "tray", "autorefresh", "1");
    store.WriteDword(base::kRegistryKey, "SE", 1);  // a DWORD where text belongs does not count
    store.WriteString(base::kRegistryKey, "SLS", "2");
    for (const char* name : {"SB", "FSF", "FSPO"})
        store.WriteDword(base::kRegistryKey, name, 7);
    s = ReadStartupSettings(store);
    EXPECT_EQ(std::pair(s.useTray, s.autoRefreshMinimised), std::pair(false, true));
    DisplayOptions o = DisplayOptionsFrom(s);
    EXPECT_EQ((std::array<uint32_t, 7>{o.HideEmpty, o.HidePassworded, o.ShowBots, o.HideFull, o.VisitedOnTop,
                                       o.ShowNoReply, o.FavouritesOnTop}),
              (std::array<uint32_t, 7>{0, 2, 7, 7, 7, 0xFFFFFFFF, 1}));
}

}  // namespace
