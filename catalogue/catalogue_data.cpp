// The built-in game table: the nine classic games with their versions, mods and game types.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_tables.h"

namespace catalogue {

namespace {

using namespace tables;

const TypeList kQuakeTypes = {{"FFA", "0"}, {"Duel", "1"}, {"Team DM", "3"}, {"CTF", "4"}};

// The masters are those that serve each game's servers today (their public sources are named beside
// them); profiles copy the first, and a profile that keeps it asks the others after it. Every profile
// can point elsewhere. A version named "... (today's servers)" is the protocol most servers of today
// speak; its name begins with a digit so that the Game Profile dialog's sorted list offers it first.
GameDefinition EliteForce() {
    GameDefinition g;
    g.kind = kEliteForce;
    g.title = "Star Trek Voyager Elite Force";
    g.shortName = "STVEF";
    g.programFile = "stvoyhm.exe";
    g.defaultFolder = "c:\\program files\\raven\\Star Trek Voyager Elite Force";
    g.gameIniFile = "ef.ini";
    g.rconCommandsFile = "rcon_commands_ef.txt";
    g.configFiles = "baseef\\hmconfig.cfg;baseef\\autoexec.cfg";
    // The Elite Force community's masters, as Lilium Voyager and cMod name them (sv_master1 to 3);
    // today's servers run 1.2 (protocol 24).
    g.masterAddress = "master.stvef.org";
    g.masterPort = 27953;
    g.moreMasters = {{"efmaster.tjps.eu", 27953}, {"master.stef1.daggolin.de", 27953}};
    g.defaultPort = 27960;
    g.defaultHostPort = 27960;
    g.asksHostPort = 0;
    g.iconIndex = 0;
    g.connectTemplate =
        "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+model $model] [+name \"$name\"] [$spec]";
    g.spectatorArgument = "+setu team s";
    g.versions = Versions({{"v1.0", 22}, {"v1.1", 23}, {"v1.2", 24}, {"1.2 (today's servers)", 24}});
    g.mods = {
        Mod("gamename", "Nev", "Nev", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "IN2TAGIB", "IN2TAGIB", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "Pinball 0.9.2", "Pinball 0.9.2", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "Q32EF 1.0.0", "Q32EF 1.0.0", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "excessive", "Excessive", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "baseef", "BaseEF", Types("g_gametype", kQuakeTypes)),
    };
    return g;
}

GameDefinition JediKnight2() {
    GameDefinition g;
    g.kind = kJediKnight2;
    g.title = "Star Wars Jedi Knight 2";
    g.shortName = "JK2";
    g.programFile = "jk2mp.exe";
    g.defaultFolder = "C:\\Program Files\\LucasArts\\Star Wars JK II Jedi Outcast\\GameData";
    g.gameIniFile = "jk2.ini";
    g.rconCommandsFile = "rcon_commands_jk2.txt";
    g.configFiles = "base\\jk2mpconfig.cfg;base\\autoexec.cfg";
    // JKHub's and JK2MV's masters (JK2MV's sv_master3 and sv_master2); today's servers run 1.02
    // (protocol 15, the first version) or 1.04 (16).
    g.masterAddress = "master.jkhub.org";
    g.masterPort = 28060;
    g.moreMasters = {{"master.jk2mv.org", 28060}};
    g.defaultPort = 28070;
    g.defaultHostPort = 28070;
    g.iconIndex = 3;
    g.connectTemplate =
        "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+model $model] [+name \"$name\"]";
    g.spectatorArgument = "+setu team s";
    g.versions = Versions({{"v1.0 Retail", 15}, {"v1.04", 16}});
    g.mods = {Mod("gamename", "basejk", "BaseJK2",
                  Types("g_gametype", {{"Free For All", "0"},
                                       {"Holocron Free For All", "1"},
                                       {"Jedi Master", "2"},
                                       {"Duel", "3"},
                                       {"Team Free For All", "5"},
                                       {"Capture The Flag", "7"},
                                       {"Capture The Ysalimari", "8"}}))};
    return g;
}

GameDefinition HalfLife() {
    GameDefinition g;
    g.kind = kHalfLife;
    g.title = "Half Life";
    g.shortName = "HL";
    g.programFile = "hl.exe";
    g.defaultFolder = "C:\\Sierra\\Half Life";
    g.gameIniFile = "hl.ini";
    g.rconCommandsFile = "rcon_commands_hl.txt";
    // The batch master is gone: Valve's master of today speaks the Steam master protocol, and its
    // servers answer the Source query protocol only; they are listed by the Half-Life (Steam) game.
    // The classic address stays for profiles that point it at a master of their own.
    g.masterAddress = "69.28.151.162";
    g.masterPort = 27010;
    g.defaultPort = 27015;
    g.defaultHostPort = 27015;
    g.asksHostPort = 1;
    g.iconIndex = 4;
    g.connectTemplate =
        "+connect $ip:$port [+name \"$name\"] [+password \"$pw\"] [+rcon_password \"$rconpw\"] [+rcon_address $ip] "
        "[+rcon_port $hostport]";
    g.versions = Versions({{"v1.0 Retail", 0}});
    g.mods = {
        Mod("gamedir", "valve", "Half Life"),
        Mod("gamedir", "cstrike", "Counter Strike"),
        Mod("gamedir", "tfc", "Team Fortress Classic"),
        Mod("gamedir", "dod", "Day of Defeat"),
        Mod("gamedir", "firearms", "Fire Arms"),
        Mod("gamedir", "wf", "Weapons Factory"),
        Mod("gamedir", "frontline", "Frontline Force"),
        Mod("gamedir", "ag", "Adrenaline Gamer Mod"),
        Mod("gamedir", "dmc", "Deathmatch Classic"),
        Mod("gamedir", "vs", "Vampire Slayer"),
        Mod("gamedir", "gearbox", "Opposing Force CTF"),
    };
    ModDefinition& cs = g.mods[1];
    cs.hasOwnProgram = 1;
    cs.ownProgramFile = "cstrike.exe";
    cs.ownFolder = "C:\\Sierra\\Counter Strike";
    cs.ownConnectTemplate =
        "+connect $ip:$port [+name \"$name\"] [+password \"$pw\"] [+rcon_address $ip] [+rcon_port $hostport] "
        "[+rcon_password \"$rconpw\"]";
    cs.hasOwnConfigFiles = 1;
    cs.ownConfigFiles = "cstrike\\config.cfg";
    return g;
}

GameDefinition Wolfenstein() {
    GameDefinition g;
    g.kind = kWolfenstein;
    g.title = "Return To Castle Wolfenstein";
    g.shortName = "RTCW";
    g.programFile = "wolfmp.exe";
    g.defaultFolder = "C:\\Program Files\\Return to Castle Wolfenstein";
    g.gameIniFile = "rtcw.ini";
    g.rconCommandsFile = "rcon_commands_rtcw.txt";
    g.configFiles = "main\\wolfconfig_mp.cfg;main\\autoexec.cfg";
    // id Software's master still lists the game's servers, and so do the DarkPlaces master and
    // iortcw's (iortcw's sv_master1 and sv_master2); each lists some the others miss. Servers of 1.4,
    // 1.41 and iortcw speak protocol 60, those of 1.0 and 1.1 protocol 57.
    g.masterAddress = "wolfmaster.idsoftware.com";
    g.masterPort = 27950;
    g.moreMasters = {{"dpmaster.deathmask.net", 27950}, {"master.iortcw.org", 27950}};
    g.defaultPort = 27960;
    g.defaultHostPort = 27960;
    g.iconIndex = 1;
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+name \"$name\"]";
    g.spectatorArgument = "+setu team s";
    g.versions =
        Versions({{"MP Demo", 55}, {"v1.0", 57}, {"v1.31", 58}, {"v1.32", 59}, {"1.41 (today's servers)", 60}});
    g.mods = {Mod("gamename", "main", "Main",
                  Types("g_gametype", {{"Game MP", "5"}, {"Stopwatch", "6"}, {"Checkpoint", "7"}}))};
    return g;
}

GameDefinition Quake3() {
    GameDefinition g;
    g.kind = kQuake3;
    g.title = "Quake 3 Arena";
    g.shortName = "Q3A";
    g.programFile = "quake3.exe";
    g.defaultFolder = "C:\\Program Files\\Quake III Arena";
    g.gameIniFile = "q3a.ini";
    g.rconCommandsFile = "rcon_commands_q3a.txt";
    g.configFiles = "baseq3\\q3config.cfg;baseq3\\autoexec.cfg";
    // id Software's master and ioquake3's (ioquake3's sv_master1 and sv_master2), and the DarkPlaces
    // master that many servers of today report to; today's servers run 1.32 (protocol 68).
    g.masterAddress = "master.quake3arena.com";
    g.masterPort = 27950;
    g.moreMasters = {{"master.ioquake3.org", 27950}, {"dpmaster.deathmask.net", 27950}};
    g.defaultPort = 27960;
    g.defaultHostPort = 27960;
    g.iconIndex = 2;
    g.connectTemplate =
        "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+model $model] [+name \"$name\"]";
    g.spectatorArgument = "+setu team s";
    g.versions = Versions({{"v1.30", 66}, {"v1.31", 67}, {"1.32 (today's servers)", 68}});
    g.mods = {
        Mod("gamename", "baseq3", "BaseQ3", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "beryllium", "Beryllium", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "Q3UT2", "Urban Terror",
            Types("g_gametype", {{"Team Survivor", "4"},
                                 {"CTF", "7"},
                                 {"Team DM", "3"},
                                 {"FFA", "0"},
                                 {"Follow The Leader", "5"},
                                 {"Capture & Hold", "6"}})),
        Mod("gamename", "freeze", "Freeze Tag", Types("g_gametype", {{"TDM", "3"}, {"CTF", "4"}})),
        // A second baseq3 entry that never wins: it holds position 5 so that the positions of the
        // mods after it, which server-list files store, stay as they always were.
        Mod("gamename", "baseq3", ""),
        Mod("gamename", "threewave", "Threewave CTF",
            Types("g_gametype", {{"Free For All", "0"},
                                 {"Tournament", "1"},
                                 {"Team DM", "3"},
                                 {"3Wave CTF", "4"},
                                 {"Capture Strike", "4"},
                                 {"Portal", "8"},
                                 {"Classic CTF", "10"}})),
        Mod("gamename", "cpma", "CPMA",
            Types("g_gametype", {{"FFA", "0"}, {"Duel", "1"}, {"Team DM", "3"}, {"CTF", "4"}, {"Clan Arena", "5"}})),
        Mod("gamename", "arena", "Rocket Arena"),
        Mod("gamename", "instagibplus", "Instagib", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "instaunlagged", "InstaUnlagged"),
        Mod("gamename", "q3tc045", "Q3: True Combat"),
        Mod("gamename", "excessive", "Excessive", Types("g_gametype", kQuakeTypes)),
        Mod("gamename", "Q3F", "Q3F"),
        Mod("gamename", "Q3F2", "Q3F2"),
        Mod("gamename", "reaction", "Reaction"),
        Mod("gamename", "railarena", "Rail Arena"),
        Mod("gamename", "osp", "OSP",
            Types("g_gametype", {{"FFA", "0"}, {"Duel", "1"}, {"Team DM", "3"}, {"CTF", "4"}, {"Clan Arena", "5"}})),
        Mod("gamename", "wfa", "Weapons Factory", Types("g_gametype", {{"CTF", "4"}})),
        Mod("gamename", "seals", "Navy Seals"),
    };
    g.mods[5].hasOwnConfigFiles = 1;
    g.mods[5].ownConfigFiles = "threewave\\q3config.cfg;threewave\\autoexec.cfg";
    return g;
}

GameDefinition SoldierOfFortune2() {
    GameDefinition g;
    g.kind = kSoldierOfFortune2;
    g.title = "Soldier of Fortune II - Double Helix";
    g.shortName = "SOF2";
    g.programFile = "SoF2MP-Test.exe";
    g.defaultFolder = "C:\\Program Files\\Soldier of Fortune II - Double Helix MP TEST";
    g.gameIniFile = "sof2.ini";
    g.rconCommandsFile = "rcon_commands_sof2.txt";
    g.configFiles = "demo\\MP\\sof2mp.cfg;demo\\MP\\autoexec.cfg";
    // The 1fx community's master, which the community's patched clients ask in place of Raven's, and
    // Raven's (1fx Mod's servers report to both); today's servers run 1.03 (protocol 2004).
    g.masterAddress = "master.1fxmod.org";
    g.masterPort = 20110;
    g.moreMasters = {{"master.sof2.ravensoft.com", 20110}};
    g.defaultPort = 20100;
    g.defaultHostPort = 20100;
    g.iconIndex = 5;
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+name \"$name\"]";
    g.spectatorArgument = "+setu team s";
    g.versions = Versions({{"MP Demo", 2001}, {"MP Retail", 2002}, {"1.03 (today's servers)", 2004}});
    g.mods = {Mod("gamename", "sof2mp", "SOF2/MP",
                  Types("g_gametype", {{"Infiltration", "inf"},
                                       {"Deathmatch", "dm"},
                                       {"Team Deathmatch", "tdm"},
                                       {"Elimination", "elim"},
                                       {"Capture The Flag", "ctf"}}))};
    return g;
}

GameDefinition MedalOfHonour() {
    GameDefinition g;
    g.kind = kMedalOfHonour;
    g.title = "Medal of Honour Allied Assault";
    g.shortName = "MOHAA";
    g.programFile = "mohaa.exe";
    g.defaultFolder = "C:\\Program Files\\EA GAMES\\MOHAA";
    g.gameIniFile = "mohaa.ini";
    g.rconCommandsFile = "rcon_commands_mohaa.txt";
    g.configFiles = "main\\configs\\autoexec.cfg;main\\configs\\unnamedsoldier.cfg";
    // The community's GameSpy masters list this game's servers by their GameSpy query port, while the
    // servers answer "getstatus" on the game port that only their GameSpy reply names: no master of
    // today serves this game's status protocol, and the classic address stays.
    g.masterAddress = "207.38.8.35";
    g.masterPort = 20110;
    g.defaultPort = 12203;
    g.defaultHostPort = 12203;
    g.asksHostPort = 1;
    g.iconIndex = 6;
    g.connectTemplate = "+connect $ip:$port [+password \"$pw\"] [+rconpassword \"$rconpw\"] [+name \"$name\"]";
    g.spectatorArgument = "+setu team s";
    g.versions = Versions({{"v1.11", 8}});
    g.mods = {Mod(
        "protocol", "8", "MOHAA",
        Types("g_gametype", {{"Objective", "4"}, {"Free For All", "1"}, {"Team Match", "2"}, {"Round Based", "3"}}))};
    return g;
}

GameDefinition Renegade() {
    GameDefinition g;
    g.kind = kRenegade;
    g.title = "Command & Conquer Renegade";
    g.shortName = "CCR";
    g.programFile = "renegade.exe";
    g.defaultFolder = "C:\\Program Files\\Westwood\\Command & Conquer Renegade";
    g.gameIniFile = "ccr.ini";
    g.rconCommandsFile = "rcon_commands_ccr.txt";
    g.configFiles = "main\\configs\\autoexec.cfg;main\\configs\\unnamedsoldier.cfg";
    // No master of today that answers either of this program's master protocols is known for this
    // game; the classic address stays.
    g.masterAddress = "207.38.8.36";
    g.masterPort = 20110;
    g.defaultPort = 25300;
    g.defaultHostPort = 25301;
    g.asksHostPort = 1;
    g.iconIndex = 7;
    g.connectTemplate = "+connect $ip:$port [+pass \"$pw\"] [+NetPlayerName \"$name\"]";
    g.versions = Versions({{"v1.11", 2001}});
    g.mods = {Mod("gamename", "ccrenegade", "C&C Renegade", Types("gametype", {{"C&C", "C&C"}}))};
    return g;
}

GameDefinition UnrealTournament() {
    GameDefinition g;
    g.kind = kUnrealTournament;
    g.title = "Unreal Tournament";
    g.shortName = "UT";
    g.programFile = "System\\UnrealTournament.exe";
    g.defaultFolder = "C:\\UnrealTournament";
    g.gameIniFile = "ut.ini";
    g.rconCommandsFile = "rcon_commands_ut.txt";
    g.configFiles = "System\\user.ini";
    // The community's GameSpy masters (333networks and the masters it synchronises with), over TCP.
    g.masterAddress = "master.333networks.com";
    g.masterPort = 28900;
    g.moreMasters = {{"master.oldunreal.com", 28900}, {"master.errorist.eu", 28900}};
    g.defaultPort = 7778;
    g.defaultHostPort = 7777;
    g.asksHostPort = 1;
    g.iconIndex = 8;
    g.connectTemplate = " $ip:$hostport/[?Name=\"$name\"][?pass=\"$pw\"]";
    g.versions = Versions({{"v436", 436}});
    g.mods = {Mod("gamename", "ut", "UT",
                  Types("gametype", {{"Tournament Deathmatch", "DeathMatchPlus"},
                                     {"Tournament Team Game", "TeamGamePlus"},
                                     {"Assault", "Assault"},
                                     {"Domination", "Domination"},
                                     {"Capture The Flag", "CTFGame"},
                                     {"Last Man Standing", "LastManStanding"}}))};
    return g;
}

}  // namespace

std::vector<GameDefinition> BuiltInGames() {
    std::vector<GameDefinition> games;
    games.push_back(EliteForce());
    games.push_back(JediKnight2());
    games.push_back(HalfLife());
    games.push_back(Wolfenstein());
    games.push_back(Quake3());
    games.push_back(SoldierOfFortune2());
    games.push_back(MedalOfHonour());
    games.push_back(Renegade());
    games.push_back(UnrealTournament());
    for (GameDefinition& g : TodaysGames())
        games.push_back(std::move(g));
    for (GameDefinition& g : SteamGames())
        games.push_back(std::move(g));
    return games;
}

}  // namespace catalogue
