// Saved player names in the game's INI file, and the launch settings of a server's mod.
#include <gtest/gtest.h>

#include <string>

#include "base/settings_index.h"
#include "base/text.h"
#include "join/join_plan.h"
#include "join/saved_nicks.h"
#include "testing/fake_settings.h"

namespace {

using testing_support::FakeSettings;

std::string IniValue(FakeSettings& settings, const std::string& key) {
    return settings.ReadIni("q3a.ini", "playernicks", key.c_str(), "<missing>", 256);
}

TEST(SavedNicks, SaveFindAndDeleteUseTheFirstFreeSlotAndIgnoreLetterCase) {
    FakeSettings settings;
    join::SavedNicks nicks(settings, "q3a.ini");
    bool isNew = false;
    EXPECT_TRUE(nicks.SaveNick("Sarge", "sarge/krusade", &isNew) == 0 && isNew);
    EXPECT_EQ(nicks.SaveNick("Visor", "visor", &isNew), 1);
    EXPECT_TRUE(nicks.SaveNick("SARGE", "sarge", &isNew) == 0 && !isNew);  // the same name in other letters
    std::string model;
    EXPECT_EQ(nicks.FindNick("sarge", &model), 0);
    EXPECT_EQ(std::pair(model, IniValue(settings, "nick0")), std::pair(std::string("sarge"), std::string("SARGE")));
    EXPECT_EQ(nicks.DeleteNick("sarge"), 0);
    EXPECT_TRUE(nicks.DeleteNick("sarge") == -1 && nicks.FindNick("Sarge") == -1);
    // Emptied, not removed.
    EXPECT_EQ(IniValue(settings, "nick0") + IniValue(settings, "model0"), "");
    EXPECT_EQ(nicks.SaveNick("Anarki", "anarki"), 0);  // the emptied slot is free again
    EXPECT_EQ(nicks.Names(), (std::vector<join::SavedNick>{{0, "Anarki"}, {1, "Visor"}}));
}

TEST(SavedNicks, TheFiveHundredAndThirteenthNameIsNotStored) {
    FakeSettings settings;
    join::SavedNicks nicks(settings, "q3a.ini");
    for (int i = 0; i < join::kNickSlots; ++i)
        settings.WriteIni("q3a.ini", "playernicks", ("nick" + std::to_string(i)).c_str(),
                          ("p" + std::to_string(i)).c_str());
    int writes = settings.writes;
    bool isNew = true;
    EXPECT_EQ(nicks.SaveNick("one too many", "m", &isNew), -1);
    EXPECT_TRUE(!isNew && settings.writes == writes);
    EXPECT_EQ(nicks.SaveNick("P511", "m"), 511);  // a saved name is still rewritten
}

TEST(SavedNicks, OldRegistryListIsSavedWithTheDefaultModelAndDeletedOnlyOnceSaved) {
    FakeSettings settings;
    const base::RegistryValue& ln = base::reg::kOldNicknames;
    std::string list("Alpha\0\0Beta\0", 12);
    list += std::string(300, 'x');  // beyond the 255 bytes read
    settings.registry[FakeSettings::Key(ln.keyPath, ln.name)].text = list;
    // Kept while the names cannot go anywhere: no INI file, or writes that fail.
    join::SavedNicks(settings, "").MigrateRegistryNicks();
    settings.iniWritesFail = true;
    join::SavedNicks(settings, "q3a.ini").MigrateRegistryNicks();
    settings.iniWritesFail = false;
    EXPECT_TRUE(settings.ReadBytes(ln.keyPath, ln.name, 255));
    join::SavedNicks nicks(settings, "q3a.ini");
    nicks.MigrateRegistryNicks();
    EXPECT_EQ(nicks.Names(), (std::vector<join::SavedNick>{{0, "Alpha"}, {1, "Beta"}, {2, std::string(40, 'x')}}));
    std::string model;
    nicks.FindNick("beta", &model);
    EXPECT_EQ(model, "munro");
    EXPECT_FALSE(settings.ReadBytes(ln.keyPath, ln.name, 255));
}

TEST(SavedNicks, ModelsEndAtTheFirstMissingKeyLastIndexDefaultsToZeroAndWithoutAnIniFileNothingIsStored) {
    FakeSettings settings;
    settings.WriteIni("q3a.ini", "models", "model1", "sarge");
    settings.WriteIni("q3a.ini", "models", "model2", "");
    settings.WriteIni("q3a.ini", "models", "model3", "visor");
    settings.WriteIni("q3a.ini", "models", "model5", "never");
    join::SavedNicks nicks(settings, "q3a.ini");
    EXPECT_EQ(nicks.Models(), (std::vector<std::string>{"sarge", "", "visor"}));
    EXPECT_EQ(nicks.LastIndex(), 0);
    const int writes = settings.writes;
    join::SavedNicks none(settings, "");
    EXPECT_EQ(none.SaveNick("Sarge", "m"), -1);
    none.SetLastIndex(3);
    EXPECT_TRUE(settings.writes == writes && none.Names().empty());
}

TEST(LaunchSettings, ModSectionWithCatalogueDefaultsAndTheFolderOfAChosenProgram) {
    catalogue::Catalogue catalogue;
    catalogue.buildCatalogue();
    FakeSettings settings;
    catalogue::ServerRecord record;
    record.modIndex = 2;  // Beryllium
    join::LaunchSettings launch = join::ReadLaunchSettings(settings, catalogue, catalogue::kQuake3, record);
    EXPECT_EQ(launch.section, "Beryllium");
    EXPECT_EQ(launch.ProgramPath(), "C:\\Program Files\\Quake III Arena\\quake3.exe");
    // A position that does not exist (0 included) reads the game's last mod's section.
    record.modIndex = 0;
    std::string last = catalogue.GameOf(catalogue::kQuake3)->mods.back().displayName;
    settings.WriteIni("vexar.ini", last.c_str(), "Exe", "ioquake3.exe");
    launch = join::ReadLaunchSettings(settings, catalogue, catalogue::kQuake3, record);
    EXPECT_EQ(launch.section, last);
    EXPECT_EQ(launch.programFile, "ioquake3.exe");
    join::StoreFoundProgram(settings, launch, "D:\\Games\\Q3\\quake3e.exe");  // found under another name
    EXPECT_EQ(launch.ProgramPath(), "D:\\Games\\Q3\\quake3e.exe");
    EXPECT_EQ(join::ReadLaunchSettings(settings, catalogue, catalogue::kQuake3, record).ProgramPath(),
              "D:\\Games\\Q3\\quake3e.exe");
    EXPECT_EQ(join::FolderOf("quake3.exe"), "");
    EXPECT_EQ(join::PlayerConfigPaths(settings, catalogue, catalogue::kQuake3, record),
              (std::vector<std::string>{"D:\\Games\\Q3\\baseq3\\q3config.cfg", "D:\\Games\\Q3\\baseq3\\autoexec.cfg"}));

    // "BaseQ3" of Quake 3 is not the ioquake3 game's: the games after the classic nine have their own.
    record.modIndex = 1;
    settings.WriteIni("vexar.ini", "BaseQ3", "Path", "D:\\Q3");
    EXPECT_EQ(join::ReadLaunchSettings(settings, catalogue, catalogue::kQuake3, record).ProgramPath(),
              "D:\\Q3\\quake3.exe");
    launch = join::ReadLaunchSettings(settings, catalogue, catalogue::kIoQuake3, record);
    EXPECT_EQ(std::pair(launch.section, launch.ProgramPath()),
              std::pair(std::string("Quake III Arena (ioquake3) - BaseQ3"),
                        std::string("C:\\Program Files\\Quake III Arena\\ioquake3.x86.exe")));
}

}  // namespace
