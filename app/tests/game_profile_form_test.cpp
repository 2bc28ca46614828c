// Tests of the Game Profile form: ports as typed, and the profile made from the fields.
#include <gtest/gtest.h>

#include <cstring>

#include "app/game_profile_form.h"
#include "app/master_hosts.h"
#include "base/text.h"
#include "testing/fake_settings.h"
#include "testing/temp_folder.h"

namespace {

using namespace app;

TEST(GameProfileForm, PortTextIsReadOrGivesZeroAndFieldsMakeAProfileCutToItsFieldsWithTheGamesIcon) {
    const std::pair<const char*, uint32_t> rows[] = {
        {"27950", 27950}, {" 20110\t", 20110}, {"65535", 65535}, {"", 0},   {"  ", 0},
        {"65536", 0},     {"99999999999", 0},  {"27a", 0},       {"-1", 0}, {"2 7", 0}};
    for (const auto& [text, port] : rows)
        EXPECT_EQ(ParsePortText(text), port) << '"' << text << '"';
    catalogue::Catalogue games;
    games.buildCatalogue();
    GameProfileFields fields{std::string(60, 't'), std::string(30, '1'), "27950", std::string(300, 'f'), 1, 67};
    auto p = MakeProfileFromFields(fields, games);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::make_tuple(strlen(p->title), strlen(p->masterAddress), strlen(p->gameFolder)),
              std::make_tuple(49u, 19u, 255u));
    EXPECT_EQ(p->masterHostName, std::string(30, '1'));  // the whole name, kept beside the image
    EXPECT_EQ(std::make_tuple(p->masterPort, p->kind, p->protocol, p->iconIndex), std::make_tuple(27950u, 1u, 67u, 2u));
    fields.kind = 42;  // not a catalogue game: the first icon
    EXPECT_EQ(MakeProfileFromFields(fields, games)->iconIndex, 0u);
    fields.title.clear();
    EXPECT_EQ(MakeProfileFromFields(fields, games), nullptr);
}

TEST(MasterHosts, LongNamesSurviveARestartOnlyForTheProfileThatStoredThem) {
    testing_support::TempFolder dir;
    testing_support::FakeSettings settings;
    catalogue::ProfileList profiles(dir.path(), 0);
    const char* addresses[] = {"master.urbanterror.", "master.urbanterror.", "10.0.0.1"};
    const char* names[] = {"master.urbanterror.info", "", ""};
    for (int i = 0; i < 3; ++i) {
        auto p = std::make_unique<catalogue::GameProfile>();
        base::CopyText(p->masterAddress, addresses[i]);
        p->masterHostName = names[i];
        StoreMasterHost(*profiles.registerProfile(std::move(p), true, false), settings);
    }
    // The third profile's entry is a stale one that its address does not begin.
    settings.WriteIni("vexar.ini", "masters", "003", "master.etlegacy.com");
    for (const auto& p : profiles.profiles())
        p->masterHostName.clear();
    LoadMasterHosts(profiles, settings);
    std::vector<std::string> hosts;
    for (const auto& p : profiles.profiles())
        hosts.push_back(catalogue::MasterHostOf(*p));
    EXPECT_EQ(hosts, (std::vector<std::string>{"master.urbanterror.info", "master.urbanterror.", "10.0.0.1"}));
}

}  // namespace
