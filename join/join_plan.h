// The steps of joining a server that need no window: the values the dialog starts from, the
// passwords kept afterwards, the program and template of the server's mod, the texts handed on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/settings_store.h"
#include "catalogue/catalogue.h"
#include "catalogue/records.h"
#include "join/connect_template.h"
#include "join/join_details.h"

namespace join {

// The template the mIRC text is built from when the game's INI file names none: the Join dialog
// shows the first, a join that still finds nothing uses the second.
constexpr char kDialogIrcTemplate[] = "/ame is playing $game on $server ($ip:$port) | /nick nick|$game";
constexpr char kJoinIrcTemplate[] = "/ame is playing $game on: $server ($ip:$port) | /nick nick|$game";

// Clears the flags, takes the record's RCON password and, for a server that wants one (or a game
// that always offers the box), its server password.
void PrepareJoinDetails(JoinDetails& details, const catalogue::ServerRecord& record, uint32_t kind);
// Copies the passwords the user asked to keep back into the record.
void StoreTypedPasswords(const JoinDetails& details, catalogue::ServerRecord& record);

// Where the game of a server's mod lives and how it is started: "Path", "Exe" and "ConnStr" of the
// mod's section of vexar.ini, with the catalogue's values as defaults.
struct LaunchSettings {
    std::string section;  // the mod's display name
    std::string folder;
    std::string programFile;
    std::string connectTemplate;
    // A Steam game started through the Steam client ("ViaSteam" = "1"); always false for the others.
    bool viaSteam = false;

    std::string ProgramPath() const;
};

// The section of a record's mod: the mod's display name (the mod at its position, else the game's
// last mod). Display names repeat across games ("BaseQ3", "CPMA", "Urban Terror", ...), so the games
// added after the classic nine keep theirs in sections of their own, "<game title> - <mod>"; the
// classic games' sections stay as they have always been named.
std::string ModSectionOf(const catalogue::Catalogue& catalogue, uint32_t kind, const catalogue::ServerRecord& record);
LaunchSettings ReadLaunchSettings(base::SettingsStore& settings,
                                  const catalogue::Catalogue& catalogue,
                                  uint32_t kind,
                                  const catalogue::ServerRecord& record);
// Stores the choice to start the mod's game through the Steam client ("ViaSteam", "1" or "0").
void StoreViaSteam(base::SettingsStore& settings, const std::string& section, bool viaSteam);

// What the shell is handed to start the game: the program with the expanded connect template in
// the game's folder, or, through the Steam client, the address steam://connect/<ip>:<port>, with
// "/<password>" when a password was typed (in address and password the bytes other than letters,
// digits and "-._~" percent-encoded), and neither parameters nor folder.
struct LaunchCommand {
    std::string file;
    std::string parameters;
    std::string folder;
};
LaunchCommand PlanLaunch(const LaunchSettings& launch, const ExpansionInput& input);

// The folder of a program the user found: its path up to the last '\' (nothing without one).
std::string FolderOf(const std::string& programPath);
// Takes the program the user found as the mod's: its folder as "Path" and its file name as "Exe"
// (a program found under another name would otherwise never start), both stored.
void StoreFoundProgram(base::SettingsStore& settings, LaunchSettings& launch, const std::string& programPath);

// The text sent to mIRC: the game's "IRC" template expanded without segments.
std::string IrcText(base::SettingsStore& settings, const ExpansionInput& input);

// Full paths of the player configuration files of a record's mod (not checked for existence).
std::vector<std::string> PlayerConfigPaths(base::SettingsStore& settings,
                                           const catalogue::Catalogue& catalogue,
                                           uint32_t kind,
                                           const catalogue::ServerRecord& record);

}  // namespace join
