// The games whose servers still run today: OpenArena, Quake III Arena on ioquake3, Urban Terror,
// ET: Legacy, Xonotic and Nexuiz. Their masters are named by host name (profiles resolve them when a
// query starts); every other field follows the classic games' conventions.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_tables.h"

namespace catalogue {

namespace {

using namespace tables;

constexpr char kQuake3Template[] =
    "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+model $model] [+name \"$name\"]";
constexpr char kQuake3Spectator[] = "+setu team s";

const TypeList kArenaTypes = {{"Free For All", "0"},    {"Tourney", "1"},  {"Single Player", "2"},
                              {"Team Deathmatch", "3"}, {"CTF", "4"},      {"One Flag CTF", "5"},
                              {"Overload", "6"},        {"Harvester", "7"}};

GameDefinition Base(uint32_t kind, const char* title, const char* shortName, uint32_t iconIndex) {
    GameDefinition g;
    g.kind = kind;
    g.title = title;
    g.shortName = shortName;
    g.iconIndex = iconIndex;
    g.masterPort = 27950;
    g.defaultPort = 27960;
    g.defaultHostPort = 27960;
    return g;
}

GameDefinition OpenArena() {
    GameDefinition g = Base(kOpenArena, "OpenArena", "OA", 9);
    g.programFile = "openarena.exe";
    g.defaultFolder = "C:\\Program Files\\OpenArena";
    g.gameIniFile = "oa.ini";
    g.rconCommandsFile = "rcon_commands_oa.txt";
    g.configFiles = "baseoa\\q3config.cfg;baseoa\\autoexec.cfg";
    g.masterAddress = "dpmaster.deathmask.net";
    g.connectTemplate = kQuake3Template;
    g.spectatorArgument = kQuake3Spectator;
    g.versions = Versions({{"0.8.8", 71}});
    const TypeList types = {{"Free For All", "0"},
                            {"Tourney", "1"},
                            {"Single Player", "2"},
                            {"Team Deathmatch", "3"},
                            {"CTF", "4"},
                            {"One Flag CTF", "5"},
                            {"Overload", "6"},
                            {"Harvester", "7"},
                            {"Elimination", "8"},
                            {"CTF Elimination", "9"},
                            {"Last Man Standing", "10"},
                            {"Double Domination", "11"},
                            {"Domination", "12"},
                            {"Possession", "13"}};
    g.mods = {Mod("gamename", "baseoa", "BaseOA", Types("g_gametype", types)),
              Mod("gamename", "oax", "OpenArena eXpanded", Types("g_gametype", types))};
    return g;
}

GameDefinition IoQuake3() {
    GameDefinition g = Base(kIoQuake3, "Quake III Arena (ioquake3)", "ioQ3", 10);
    g.programFile = "ioquake3.x86.exe";
    g.defaultFolder = "C:\\Program Files\\Quake III Arena";
    g.gameIniFile = "ioq3.ini";
    g.rconCommandsFile = "rcon_commands_ioq3.txt";
    g.configFiles = "baseq3\\q3config.cfg;baseq3\\autoexec.cfg";
    g.masterAddress = "master.ioquake3.org";
    g.moreMasters = {{"master.quake3arena.com", 27950}, {"dpmaster.deathmask.net", 27950}};
    g.connectTemplate = kQuake3Template;
    g.spectatorArgument = kQuake3Spectator;
    g.versions = Versions({{"1.36", 68}});
    g.mods = {
        Mod("gamename", "baseq3", "BaseQ3", Types("g_gametype", kArenaTypes)),
        Mod("gamename", "missionpack", "Team Arena", Types("g_gametype", kArenaTypes)),
        Mod("gamename", "cpma", "CPMA",
            Types("g_gametype", {{"FFA", "0"}, {"Duel", "1"}, {"Team DM", "3"}, {"CTF", "4"}, {"Clan Arena", "5"}})),
        Mod("gamename", "osp", "OSP",
            Types("g_gametype", {{"FFA", "0"}, {"Duel", "1"}, {"Team DM", "3"}, {"CTF", "4"}, {"Clan Arena", "5"}})),
        Mod("gamename", "defrag", "DeFRaG"),
    };
    return g;
}

GameDefinition UrbanTerror() {
    GameDefinition g = Base(kUrbanTerror, "Urban Terror", "UrT", 11);
    g.programFile = "Quake3-UrT.exe";
    g.defaultFolder = "C:\\Program Files\\UrbanTerror43";
    g.gameIniFile = "urt.ini";
    g.rconCommandsFile = "rcon_commands_urt.txt";
    g.configFiles = "q3ut4\\q3config.cfg;q3ut4\\autoexec.cfg";
    g.masterAddress = "master.urbanterror.info";
    g.masterPort = 27900;
    g.moreMasters = {{"master2.urbanterror.info", 27900}};
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+name \"$name\"]";
    g.versions = Versions({{"4.3", 68}});
    // Its servers report no game name: the one mod takes every reply.
    g.mods = {Mod("", "", "Urban Terror",
                  Types("g_gametype", {{"Free For All", "0"},
                                       {"Last Man Standing", "1"},
                                       {"Team Deathmatch", "3"},
                                       {"Team Survivor", "4"},
                                       {"Follow the Leader", "5"},
                                       {"Capture and Hold", "6"},
                                       {"Capture the Flag", "7"},
                                       {"Bomb", "8"},
                                       {"Jump", "9"},
                                       {"Freeze Tag", "10"}}))};
    return g;
}

GameDefinition EtLegacy() {
    GameDefinition g = Base(kEtLegacy, "Wolfenstein: Enemy Territory (ET: Legacy)", "ETL", 12);
    g.programFile = "etl.exe";
    g.defaultFolder = "C:\\Program Files\\ET Legacy";
    g.gameIniFile = "etl.ini";
    g.rconCommandsFile = "rcon_commands_etl.txt";
    g.configFiles = "legacy\\etconfig.cfg;legacy\\autoexec.cfg";
    g.masterAddress = "master.etlegacy.com";
    g.moreMasters = {{"etmaster.idsoftware.com", 27950}, {"master0.etmaster.net", 27950}};
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+name \"$name\"]";
    g.versions = Versions({{"2.60b and later", 84}});
    const TypeList types = {
        {"Objective", "2"}, {"Stopwatch", "3"}, {"Campaign", "4"}, {"Last Man Standing", "5"}, {"Map Vote", "6"}};
    g.mods = {Mod("gamename", "legacy", "ET: Legacy", Types("g_gametype", types)),
              Mod("gamename", "etmain", "Enemy Territory", Types("g_gametype", types)),
              Mod("gamename", "etpro", "ETPro", Types("g_gametype", types)),
              Mod("gamename", "noquarter", "No Quarter", Types("g_gametype", types))};
    return g;
}

GameDefinition DarkPlacesGame(uint32_t kind, const char* title, const char* shortName, uint32_t iconIndex) {
    GameDefinition g = Base(kind, title, shortName, iconIndex);
    g.masterAddress = "dpmaster.deathmask.net";
    g.moreMasters = {{"dpmaster.tchr.no", 27950}};
    g.defaultPort = 26000;
    g.defaultHostPort = 26000;
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"] [+rcon_password \"$rconpw\"] [+name \"$name\"]";
    g.configFiles = "data\\config.cfg;data\\autoexec.cfg";
    g.versions = Versions({{"DarkPlaces protocol 3", 3}});
    return g;
}

GameDefinition Xonotic() {
    GameDefinition g = DarkPlacesGame(kXonotic, "Xonotic", "XON", 13);
    g.programFile = "xonotic.exe";
    g.defaultFolder = "C:\\Program Files\\Xonotic";
    g.gameIniFile = "xonotic.ini";
    g.rconCommandsFile = "rcon_commands_xonotic.txt";
    g.mods = {Mod("gamename", "Xonotic", "Xonotic",
                  Types(kQcStatusKey, {{"Deathmatch", "dm"},
                                       {"Team Deathmatch", "tdm"},
                                       {"Capture the Flag", "ctf"},
                                       {"Clan Arena", "ca"},
                                       {"Freeze Tag", "ft"},
                                       {"Key Hunt", "kh"},
                                       {"Last Man Standing", "lms"},
                                       {"Domination", "dom"},
                                       {"Duel", "duel"},
                                       {"Keepaway", "ka"},
                                       {"Team Keepaway", "tka"},
                                       {"Race", "rc"},
                                       {"Race CTS", "cts"},
                                       {"Assault", "as"},
                                       {"Onslaught", "ons"},
                                       {"Invasion", "inv"},
                                       {"Nexball", "nb"}}))};
    return g;
}

GameDefinition Nexuiz() {
    GameDefinition g = DarkPlacesGame(kNexuiz, "Nexuiz", "NEX", 14);
    g.title = "Nexuiz Classic";
    g.programFile = "nexuiz.exe";
    g.defaultFolder = "C:\\Program Files\\Nexuiz";
    g.gameIniFile = "nexuiz.ini";
    g.rconCommandsFile = "rcon_commands_nexuiz.txt";
    g.mods = {Mod("gamename", "Nexuiz", "Nexuiz",
                  Types(kQcStatusKey, {{"Deathmatch", "dm"},
                                       {"Team Deathmatch", "tdm"},
                                       {"Capture the Flag", "ctf"},
                                       {"Domination", "dom"},
                                       {"Rune Match", "rune"},
                                       {"Last Man Standing", "lms"},
                                       {"Arena", "arena"},
                                       {"Key Hunt", "kh"},
                                       {"Onslaught", "ons"},
                                       {"Assault", "as"},
                                       {"Race", "rc"},
                                       {"Race CTS", "cts"}}))};
    return g;
}

}  // namespace

std::vector<GameDefinition> TodaysGames() {
    return {OpenArena(), IoQuake3(), UrbanTerror(), EtLegacy(), Xonotic(), Nexuiz()};
}

}  // namespace catalogue
