// The Steam games: the Half-Life engine on Steam (Counter-Strike 1.6 and the other Half-Life mods,
// told apart by their game folder) and the Source engine games. Valve's master lists them (one
// filter per application, the lists merged) and they answer the Source query protocol. Each is
// started by its own program with "+connect", or through the Steam client's steam://connect address.
#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_tables.h"

namespace catalogue {

namespace {

using namespace tables;

constexpr char kSteamMaster[] = "hl2master.steampowered.com";
constexpr char kSteamFolder[] = "C:\\Program Files (x86)\\Steam\\steamapps\\common\\";
// Source builds report protocol 17 in A2S_INFO, the Half-Life engine 48.
constexpr uint32_t kSourceProtocol = 17;
constexpr uint32_t kGoldSrcProtocol = 48;

GameDefinition SteamBase(uint32_t kind, const char* title, const char* shortName, uint32_t appId) {
    GameDefinition g;
    g.kind = kind;
    g.title = title;
    g.shortName = shortName;
    g.iconIndex = kind;
    g.steamAppId = appId;
    g.masterAddress = kSteamMaster;
    g.masterPort = 27011;
    g.masterFilters = {"\\appid\\" + std::to_string(appId)};
    g.defaultPort = 27015;
    g.defaultHostPort = 27015;
    g.versions = Versions({{"Steam", kind == kHalfLifeSteam ? kGoldSrcProtocol : kSourceProtocol}});
    return g;
}

// A Half-Life mod on Steam: hl.exe started with the mod's folder.
ModDefinition HalfLifeMod(const char* folder, const char* display, const std::string& gameFolder) {
    ModDefinition m = Mod(kGameDirKey, folder, display);
    m.hasOwnProgram = 1;
    m.ownProgramFile = "hl.exe";
    m.ownFolder = gameFolder;
    m.ownConnectTemplate = std::string("-game ") + folder + " +connect $ip:$port [+password \"$pw\"] [+name \"$name\"]";
    m.hasOwnConfigFiles = 1;
    m.ownConfigFiles = std::string(folder) + "\\config.cfg";
    return m;
}

GameDefinition HalfLifeSteam() {
    GameDefinition g = SteamBase(kHalfLifeSteam, "Half-Life (Steam)", "HLS", 10);
    const std::string folder = std::string(kSteamFolder) + "Half-Life";
    g.programFile = "hl.exe";
    g.defaultFolder = folder;
    g.gameIniFile = "hls.ini";
    g.rconCommandsFile = "rcon_commands_hls.txt";
    g.configFiles = "valve\\config.cfg";
    g.connectTemplate = "-game valve +connect $ip:$port [+password \"$pw\"] [+name \"$name\"]";
    // Each mod's servers carry the mod's own application id.
    g.masterFilters = {"\\appid\\10", "\\appid\\80", "\\appid\\20", "\\appid\\30",
                       "\\appid\\70", "\\appid\\40", "\\appid\\50", "\\appid\\60"};
    g.mods = {
        HalfLifeMod("cstrike", "Counter-Strike 1.6", folder), HalfLifeMod("czero", "Condition Zero", folder),
        HalfLifeMod("tfc", "Team Fortress Classic", folder),  HalfLifeMod("dod", "Day of Defeat", folder),
        HalfLifeMod("valve", "Half-Life Deathmatch", folder), HalfLifeMod("dmc", "Deathmatch Classic", folder),
        HalfLifeMod("gearbox", "Opposing Force", folder),     HalfLifeMod("ricochet", "Ricochet", folder),
        HalfLifeMod("ag", "Adrenaline Gamer", folder),
    };
    return g;
}

// A Source game started by its own program.
GameDefinition SourceGame(uint32_t kind,
                          const char* title,
                          const char* shortName,
                          uint32_t appId,
                          const char* folder,
                          const char* gameDir,
                          const char* program) {
    GameDefinition g = SteamBase(kind, title, shortName, appId);
    g.programFile = program;
    g.defaultFolder = std::string(kSteamFolder) + folder;
    g.gameIniFile = std::string(shortName) + ".ini";
    for (char& c : g.gameIniFile)
        c = base::ToLowerAscii(c);
    g.rconCommandsFile = "rcon_commands_" + g.gameIniFile.substr(0, g.gameIniFile.size() - 4) + ".txt";
    g.configFiles = std::string(gameDir) + "\\cfg\\config.cfg;" + gameDir + "\\cfg\\autoexec.cfg";
    g.connectTemplate = "-game " + std::string(gameDir) + " +connect $ip:$port [+password \"$pw\"]";
    g.mods = {Mod(kGameDirKey, gameDir, title)};
    return g;
}

GameDefinition TeamFortress2() {
    GameDefinition g =
        SourceGame(kTeamFortress2, "Team Fortress 2", "TF2", 440, "Team Fortress 2", "tf", "tf_win64.exe");
    g.spectatorArgument = "+jointeam spectator";
    g.connectTemplate += " [$spec]";
    g.mods[0].gameTypes = Types(kKeywordsKey, {{"Capture the Flag", "ctf"},
                                               {"Control Points", "cp"},
                                               {"Payload", "payload"},
                                               {"King of the Hill", "koth"},
                                               {"Arena", "arena"},
                                               {"Mann vs. Machine", "mvm"},
                                               {"Player Destruction", "pd"},
                                               {"PASS Time", "passtime"}});
    return g;
}

GameDefinition CounterStrikeSource() {
    GameDefinition g = SourceGame(kCounterStrikeSource, "Counter-Strike: Source", "CSS", 240, "Counter-Strike Source",
                                  "cstrike", "cstrike_win64.exe");
    g.spectatorArgument = "+spectate";
    g.connectTemplate += " [$spec]";
    return g;
}

GameDefinition CounterStrike2() {
    GameDefinition g = SourceGame(kCounterStrike2, "Counter-Strike 2", "CS2", 730,
                                  "Counter-Strike Global Offensive\\game\\bin\\win64", "csgo", "cs2.exe");
    g.configFiles = "csgo\\cfg\\autoexec.cfg";
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"]";
    return g;
}

GameDefinition DayOfDefeatSource() {
    return SourceGame(kDayOfDefeatSource, "Day of Defeat: Source", "DODS", 300, "Day of Defeat Source", "dod",
                      "dod_win64.exe");
}

GameDefinition GarrysMod() {
    GameDefinition g = SourceGame(kGarrysMod, "Garry's Mod", "GMOD", 4000, "GarrysMod", "garrysmod", "hl2.exe");
    return g;
}

GameDefinition Left4Dead2() {
    GameDefinition g =
        SourceGame(kLeft4Dead2, "Left 4 Dead 2", "L4D2", 550, "Left 4 Dead 2", "left4dead2", "left4dead2.exe");
    g.mods[0].gameTypes = Types(kKeywordsKey, {{"Campaign", "coop"},
                                               {"Realism", "realism"},
                                               {"Versus", "versus"},
                                               {"Survival", "survival"},
                                               {"Scavenge", "scavenge"}});
    return g;
}

}  // namespace

std::vector<GameDefinition> SteamGames() {
    return {HalfLifeSteam(),     CounterStrikeSource(), TeamFortress2(), CounterStrike2(),
            DayOfDefeatSource(), GarrysMod(),           Left4Dead2()};
}

}  // namespace catalogue
