// The built-in catalogue of supported games, their versions, mods and game types, and its lookups.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/records.h"

namespace catalogue {

// Game kinds. The kind selects the status protocol and is the key of every lookup.
enum GameKind : uint32_t {
    kEliteForce = 0,
    kQuake3 = 1,
    kHalfLife = 2,
    kWolfenstein = 3,
    kMedalOfHonour = 4,
    kJediKnight2 = 5,
    kSoldierOfFortune2 = 6,
    kUnrealTournament = 7,
    kRenegade = 8,
    // Games whose servers still run today, after the nine classic ones.
    kOpenArena = 9,
    kIoQuake3 = 10,
    kUrbanTerror = 11,
    kEtLegacy = 12,
    kXonotic = 13,
    kNexuiz = 14,
    // Steam games: listed by Valve's master and queried with the Source query protocol.
    kHalfLifeSteam = 15,  // the Half-Life engine on Steam: Counter-Strike 1.6 and the other mods
    kCounterStrikeSource = 16,
    kTeamFortress2 = 17,
    kCounterStrike2 = 18,
    kDayOfDefeatSource = 19,
    kGarrysMod = 20,
    kLeft4Dead2 = 21,
};
constexpr uint32_t kGameKindCount = 22;
constexpr uint32_t kClassicGameKindCount = 9;
// Icons in the tabs' image list, one per game; a profile's icon index beyond them reads as 0.
constexpr uint32_t kGameIconCount = 22;

// Games found through the Steam master and queried with A2S_INFO / A2S_PLAYER / A2S_RULES.
inline bool IsSteamGame(uint32_t kind) {
    return kind >= kHalfLifeSteam && kind < kGameKindCount;
}
// Steam games on the Source engine (their remote control is Source RCON over TCP); the Half-Life
// engine on Steam keeps the Half-Life UDP rcon.
inline bool IsSourceEngine(uint32_t kind) {
    return kind > kHalfLifeSteam && kind < kGameKindCount;
}

// The kind whose status request and master list a game uses: today's Quake III engine games all
// speak Quake III's, the Steam games all speak the Steam master's and A2S.
inline uint32_t ProtocolKindOf(uint32_t kind) {
    if (IsSteamGame(kind))
        return kHalfLifeSteam;
    return kind >= kOpenArena && kind < kGameKindCount ? uint32_t(kQuake3) : kind;
}

// DarkPlaces engine games (Xonotic, Nexuiz): Quake-III style status, but their own keys and
// player lines, and a game name in the master request.
inline bool IsDarkPlaces(uint32_t kind) {
    return kind == kXonotic || kind == kNexuiz;
}

// The status key whose value starts with the game type as its first ':'-separated field.
constexpr char kQcStatusKey[] = "qcstatus";
// Source servers' comma-separated tags (A2S_INFO's keywords): a game type keyed on it matches a
// reply that carries its value as one of the tags.
constexpr char kKeywordsKey[] = "keywords";
// A Steam game's servers name their mod by the game folder (A2S_INFO's folder), read as this key.
constexpr char kGameDirKey[] = "gamedir";

struct GameTypeDefinition {
    std::string displayName;
    uint32_t enabled = 1;
    std::string typeKey;
    std::string typeValue;
};

struct ModDefinition {
    std::string displayName;
    uint32_t enabled = 1;
    uint32_t hasOwnConfigFiles = 0;
    std::string ownConfigFiles;
    std::string modKey;
    std::string modValue;
    uint32_t hasOwnProgram = 0;
    std::string ownProgramFile;
    std::string ownFolder;
    std::string ownConnectTemplate;
    std::string ownSpectatorArgument;
    std::vector<GameTypeDefinition> gameTypes;
};

struct VersionDefinition {
    std::string displayName;
    uint32_t protocol = 0;
};

// A master server: host name or dotted IPv4 address, and port.
struct MasterServer {
    std::string host;
    uint32_t port = 0;
    bool operator==(const MasterServer&) const = default;
};

struct GameDefinition {
    uint32_t kind = 0;
    std::string programFile;
    std::string defaultFolder;
    std::string connectTemplate;
    std::string spectatorArgument;
    std::string rconCommandsFile;
    std::string gameIniFile;
    std::string configFiles;
    std::vector<ModDefinition> mods;
    std::vector<VersionDefinition> versions;
    std::string masterAddress;  // host name or dotted IPv4
    uint32_t masterPort = 0;
    // Further masters of the game today, asked after the first by profiles that keep it.
    std::vector<MasterServer> moreMasters;
    // Steam games: the filters of the Steam master request (each asked in turn, the lists merged),
    // and the application id the Steam client starts.
    std::vector<std::string> masterFilters;
    uint32_t steamAppId = 0;
    uint32_t defaultPort = 0;
    uint32_t defaultHostPort = 0;
    uint32_t asksHostPort = 0;
    std::string title;
    std::string shortName;
    uint32_t iconIndex = 0;
};

struct DefaultPorts {
    uint32_t defaultPort = 0;
    uint32_t defaultHostPort = 0;
    uint32_t asksHostPort = 0;
};

struct LaunchData {
    std::string folder;
    std::string programFile;
    std::string connectTemplate;
};

// Lookups by game kind; a kind that is not in the catalogue yields nothing (nullptr / nullopt / 0).
// Positions of mods and game types are 1-based; 0 or a position beyond the list yields nothing.
class Catalogue {
  public:
    // Builds the built-in table once; does nothing when games are already there.
    void buildCatalogue();
    void freeCatalogue();

    const std::vector<GameDefinition>& games() const { return games_; }
    const GameDefinition* GameOf(uint32_t kind) const;

    const char* gameIniFileOf(uint32_t kind) const;
    const char* shortNameOf(uint32_t kind) const;
    uint32_t iconIndexOf(uint32_t kind) const;
    const char* rconCommandsFileOf(uint32_t kind) const;
    std::optional<DefaultPorts> defaultPortsOf(uint32_t kind) const;
    const char* modDisplayOf(uint32_t kind, uint32_t modIndex) const;
    const char* gameTypeDisplayOf(uint32_t kind, uint32_t modIndex, uint32_t gameTypeIndex) const;

    // Sets modIndex/modDisplay and gameTypeIndex/gameTypeDisplay of the record from a Quake-III or
    // GameSpy style reply (or the "\gamedir\..\keywords\.." text of a Source query info reply): the
    // first mod whose key has its value (ignoring case) wins, then the first of its game types. A mod
    // without a key (a game whose replies name no mod) matches every reply; a game type keyed on
    // qcstatus compares the value's first ':'-separated field, one keyed on keywords looks for its
    // value among the comma-separated tags. Without a matching mod the record keeps its previous
    // positions (modDisplay is cleared); without a matching game type it keeps its previous
    // gameTypeIndex.
    void classifyReply(std::string_view reply, ServerRecord& record, uint32_t kind) const;
    // The same for Half-Life style replies, from the record's gameName (the game folder).
    void classifyHalfLife(ServerRecord& record) const;

    // The record's mod's own configuration files, else the game's.
    const char* configFilesFor(uint32_t kind, const ServerRecord& record) const;
    // The mod's own spectator argument when it has its own program, else the game's; nothing when
    // the record's mod position does not exist.
    const char* spectatorArgumentFor(uint32_t kind, const ServerRecord& record) const;
    // Folder, program and connect template: the mod's own when it has its own program, else the game's.
    std::optional<LaunchData> launchDataFor(uint32_t kind, const ServerRecord& record) const;

    // The mod at a 1-based position, or nullptr.
    const ModDefinition* ModAt(uint32_t kind, uint32_t modIndex) const;

  private:
    std::vector<GameDefinition> games_;
};

// The built-in game table, in catalogue order: the nine classic games, then today's.
std::vector<GameDefinition> BuiltInGames();
std::vector<GameDefinition> TodaysGames();
std::vector<GameDefinition> SteamGames();

}  // namespace catalogue
