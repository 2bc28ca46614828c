// Connect templates: variables, optional segments, the mIRC text, limits and network text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "base/text.h"
#include "join/connect_template.h"
#include "join/join_plan.h"
#include "testing/fake_settings.h"

namespace {

using catalogue::ServerRecord;

constexpr char kEliteForceTemplate[] =
    "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+model $model] [+name \"$name\"] [$spec]";

class Expansion : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.buildCatalogue();
        base::CopyText(record.addressText, "10.0.0.5");
        record.port = 27961;
        record.hostPort = 27965;
        record.ping = 42;
        base::CopyText(record.hostName, "^1Lab|Base");
        base::CopyText(record.gameName, "baseef");
        record.modIndex = 6;  // BaseEF
        base::CopyText(record.passwordText, "0");
        base::CopyText(details.playerName, "Munro");
        base::CopyText(details.model, "munro/red");
    }
    std::string Expand(const char* text, bool segments = true, uint32_t kind = catalogue::kEliteForce) {
        return join::ExpandConnectTemplate(segments, {catalogue, kind, record, details, spectator}, text);
    }

    catalogue::Catalogue catalogue;
    ServerRecord record;
    join::JoinDetails details;
    bool spectator = false;
};

TEST_F(Expansion, EliteForceTemplateDropsEmptySegmentsKeepsTheSpacesAndAPasswordOnlyWhereAServerOrGameAsks) {
    // No server password, no RCON password, a model and a name, a normal join. Every character
    // outside a segment is copied, so each dropped segment leaves its neighbouring space.
    EXPECT_EQ(Expand(kEliteForceTemplate), "+connect 10.0.0.5:27961   +model munro/red +name \"Munro\" ");
    spectator = true;
    EXPECT_EQ(Expand(kEliteForceTemplate), "+connect 10.0.0.5:27961   +model munro/red +name \"Munro\" +setu team s");
    record.modIndex = 0;  // a mod the catalogue does not know: the game's own argument
    EXPECT_EQ(Expand("[$spec]"), "+setu team s");
    record.modIndex = 6;
    base::CopyText(details.serverPassword, "secret");
    details.model[0] = '\0';
    EXPECT_EQ(Expand(kEliteForceTemplate),
              "+connect 10.0.0.5:27961 +password \"secret\"   +name \"Munro\" +setu team s");
    // The password of a server without one is empty, unless the game always asks for it.
    base::CopyText(record.serverPassword, "stored");
    for (auto [passwordText, kind, required] : {std::tuple{"0", catalogue::kEliteForce, false},
                                                {"1", catalogue::kEliteForce, true},
                                                {"True", catalogue::kQuake3, true},
                                                {"0", catalogue::kWolfenstein, true}}) {
        base::CopyText(record.passwordText, passwordText);
        join::PrepareJoinDetails(details, record, kind);
        EXPECT_EQ(details.passwordRequired, required ? 1u : 0u) << passwordText << kind;
        EXPECT_EQ(Expand("[pw=$pw]", true, kind), required ? "pw=stored" : "") << passwordText << kind;
    }
}

// The shell gets a Steam game's program, line and folder, or the Steam client's address if its mod says so.
TEST_F(Expansion, SteamGamesStartTheirProgramOrThroughTheSteamClientsAddress) {
    using namespace catalogue;
    const std::string steam = "C:\\Program Files (x86)\\Steam\\steamapps\\common\\";
    const std::tuple<uint32_t, uint32_t, bool, const char*, bool, std::string> rows[] = {
        {kTeamFortress2, 1, true, "", false,
         "tf_win64.exe|-game tf +connect 10.0.0.5:27961  +jointeam spectator|" + steam + "Team Fortress 2"},
        {kCounterStrike2, 1, false, "a b/\"c%~", true, "steam://connect/10.0.0.5:27961/a%20b%2F%22c%25~||"},
        {kQuake3, 1, false, "", true,
         "quake3.exe|+connect 10.0.0.5:27961   +model munro/red +name \"Munro\"|C:\\Program Files\\Quake III Arena"}};
    for (const auto& [kind, mod, spectate, password, viaSteam, expected] : rows) {
        testing_support::FakeSettings settings;
        record.modIndex = mod;
        base::CopyText(details.serverPassword, password);
        join::StoreViaSteam(settings, join::ModSectionOf(catalogue, kind, record), viaSteam);
        const join::LaunchCommand c = join::PlanLaunch(join::ReadLaunchSettings(settings, catalogue, kind, record),
                                                       {catalogue, kind, record, details, spectate});
        EXPECT_EQ(c.file + "|" + c.parameters + "|" + c.folder, expected) << kind;
    }
    base::CopyText(record.addressText, "1.2.3.4\" -x");  // a damaged list file's address adds no argument
    EXPECT_EQ(join::PlanLaunch({"", "", "", "", true}, {catalogue, kTeamFortress2, record, details, false}).file,
              "steam://connect/1.2.3.4%22%20-x:27961");
}

TEST_F(Expansion, VariablesInRecognitionOrderIgnoringCaseAndSegmentRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"$IP:$Port/$HOSTPORT", "10.0.0.5:27961/27965"},
        {"$portx $pwd", "27961x d"},  // the name ends where the variable's name ends
        {"$game $folder $ping", "STVEF baseef 42ms"},
        {"a$time.b", "a.b"},
        {"$name/$model", "Munro/munro/red"},
        {"$nobody $ $", "$nobody $ $"},
        {"a [literal only] b", "a  b"},
        {"a [$time at $time] b", "a  b"},
        {"a [$time $name] b", "a  Munro b"},  // $time in a kept segment is empty
        {"[$rconpw][$spec]x", "x"},
        {"stray] bracket", "stray bracket"},
        {"[+name $name", "+name Munro"},  // never closed: kept to the end
        {"ok [+pw $pw", "ok "},           // never closed: dropped to the end
        {"[[$name]]", "[Munro"},          // the first ']' closes; the second is stray
    };
    for (auto [text, expected] : cases)
        EXPECT_EQ(Expand(text), expected) << text;
}

TEST_F(Expansion, MircTextKeepsBracketsTurnsTheServersBarsInto0x7FAndNothingIsWrittenBeyond255Characters) {
    const std::string name = std::string("\x03") + "1,0 \x03" + "4,0Lab\x7F" + "Base\x03" + "1,0";
    EXPECT_EQ(Expand("[$SERVER] | /nick $Server", false), "[" + name + "] | /nick " + name);
    EXPECT_EQ(Expand("", false), "");  // an empty template sends nothing but its terminator
    base::CopyText(details.playerName, std::string(40, 'n'));
    std::string text, whole;
    for (int i = 0; i < 10; ++i) {
        text += "[+name $name]";
        whole += "+name " + std::string(40, 'n');
    }
    EXPECT_EQ(Expand(text.c_str()), whole.substr(0, 255));
    char destination[join::kExpansionLimit + 1];
    std::memset(destination, 'z', sizeof destination);
    join::ExpandConnectTemplate(true, {catalogue, catalogue::kEliteForce, record, details, false}, text, destination);
    EXPECT_EQ(std::string(destination), whole.substr(0, 255));
}

TEST_F(Expansion, NetworkTextCannotAddArgumentsOrCommandsWhereverItStands) {
    // Engines that split at every '+' or end a command at ';' do so inside quotes too: server name
    // and folder lose those, quotes and control bytes in quotes and out; the name is plain there.
    const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
        {"x\" +exec evil \"; quit\r\n\\", "mod +set a \"b", "+set sv \"$server\" $folder",
         "+set sv \"x exec evil  quit\" mod_set_a_b"},
        {"^1Lab^7 'Arena'\x01", "dir\\\\", "+fs_game \"$folder\" +name \"$server\" +x",
         "+fs_game \"dir\" +name \"Lab Arena\" +x"},
        {"a+b;c", "f\x7F+g", "+connect x $server;$folder", "+connect x abc;fg"}};
    for (const auto& [hostName, folder, text, expected] : cases) {
        base::CopyText(record.hostName, hostName);
        base::CopyText(record.gameName, folder);
        EXPECT_EQ(Expand(text), expected) << text;
    }
    // The mIRC text keeps the name's colours as IRC codes, but no line end of the server's.
    base::CopyText(record.hostName, "Lab\r\n/quit");
    EXPECT_EQ(Expand("$server", false).find_first_of("\r\n"), std::string::npos);
}

}  // namespace
