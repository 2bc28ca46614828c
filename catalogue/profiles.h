// Game profiles (one configured game each, a tab of the main window) and the profile list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"

namespace base {
class MessageSink;
}

namespace catalogue {

constexpr size_t kProfileImageSize = 748;

// The files the program keeps its lists in: "gamesets.vexar" (every profile) and one profile's
// server-list and buddy-list files.
enum class StoredFile { kProfiles, kServerList, kBuddyList };
constexpr int kServerColumns = 10;
constexpr int kSchemeColours = 12;

// One game as the user set it up. Its stored form is the 748-byte image of "gamesets.vexar"; the
// members below are in image order, and the run-time-only ones (lists, links, windows, counters) are
// replaced when a loaded profile is registered.
struct GameProfile {
    char title[52] = {};
    uint32_t kind = 0;
    uint32_t protocol = 0;
    uint32_t defaultMark = 0;  // 1 in the default profile, 0 in profiles made by the user
    char masterAddress[20] = {};
    uint32_t masterPort = 0;
    char gameFolder[256] = {};
    uint32_t masterTimeoutMs = 2000;
    uint32_t maxServers = 999;
    uint8_t serversPerQuery = 10;
    uint8_t reserved353[3] = {};
    ServerList servers;  // run-time only
    BuddyList buddies;   // run-time only
    uint32_t fileNumber = 0;
    uint32_t reserved400 = 0;
    // Bytes 404 to 435 of the image held the panes' window handles in the run that wrote it; they are
    // stored as zero, and the windows live with the window code.
    uint32_t iconIndex = 0;
    uint32_t tabIndex = 0;  // run-time only
    uint32_t sortDescending[kServerColumns] = {};
    uint8_t viewSettings484[40] = {};
    uint32_t columnOrder[kServerColumns] = {};
    uint8_t viewSettings564[40] = {};
    uint32_t columnWidth[kServerColumns] = {};
    uint8_t viewSettings644[40] = {};
    int32_t sortColumn = 1;
    uint32_t colours[kSchemeColours] = {};
    uint32_t onlineBuddies = 0;    // run-time only
    uint32_t shownMaxPlayers = 0;  // run-time only
    uint32_t listsLoaded = 0;      // 1 once the server-list file was read in this run
    // The master's full host name when it is longer than masterAddress holds (masterAddress then
    // keeps its first 19 characters); kept outside the image, in the program's INI file.
    std::string masterHostName;
    // A list file that could not be read to its end nor be moved aside: it is never written in this
    // run, so the part that was not read is not lost (run-time only).
    bool keepServerListFile = false;
    bool keepBuddyListFile = false;
};

// The master server the profile asks: its full host name, else its stored address.
std::string MasterHostOf(const GameProfile& profile);
// The masters a query of the profile asks, in order: its own, and when that is its game's built-in
// master (host name compared ignoring case, same port), the game's further masters after it.
std::vector<MasterServer> MastersToAsk(const GameProfile& profile, const Catalogue& catalogue);

// Writes the profile's 748-byte image. Pointers and window handles mean nothing outside the run and
// are stored as zero; counts and the other run-time numbers are stored as they stand.
void WriteProfileImage(const GameProfile& profile, uint8_t* image);
// Reads a 748-byte image into a fresh profile; the run-time-only members are left at their defaults.
void ReadProfileImage(const uint8_t* image, GameProfile& profile);

// Sets the default server columns, sort column and colours of a new profile.
void ApplyProfileDefaults(GameProfile& profile, uint32_t buttonFaceColour);

class ProfileList {
  public:
    // installFolder holds "gamesets.vexar" and the list files; buttonFaceColour is the system colour
    // that new profiles take as their window background.
    ProfileList(std::string installFolder, uint32_t buttonFaceColour);
    ~ProfileList();
    ProfileList(const ProfileList&) = delete;
    ProfileList& operator=(const ProfileList&) = delete;

    const std::string& installFolder() const { return installFolder_; }
    const std::vector<std::unique_ptr<GameProfile>>& profiles() const { return profiles_; }
    GameProfile* head() const { return profiles_.empty() ? nullptr : profiles_.front().get(); }
    GameProfile* current() const { return current_; }
    void SetCurrent(GameProfile* profile) { current_ = profile; }
    uint32_t count() const { return static_cast<uint32_t>(profiles_.size()); }
    uint32_t lastFileNumber() const { return lastFileNumber_; }
    // The profile whose tab has the given position, or nullptr.
    GameProfile* ProfileAtTab(uint32_t tabIndex) const;

    // Empties both lists and the run-time counters, optionally applies the defaults and hands out a
    // new file number, and links the profile at the tail. The first profile becomes current.
    GameProfile* registerProfile(std::unique_ptr<GameProfile> profile, bool takeNewNumber, bool applyDefaults);
    // Unlinks the profile (a removed current profile makes the head current), deletes its two list
    // files and frees it with its lists.
    void unregisterProfile(GameProfile* profile);
    // Frees every profile with its lists.
    void clearProfiles();

    // Reads "gamesets.vexar"; false when it is missing, unreadable, empty or holds no whole profile.
    bool loadProfiles();
    // Writes "gamesets.vexar" and the list files of every profile that has servers or buddies or whose
    // lists were loaded in this run. Nothing is written when there is no profile. Returns false when
    // a file could not be written (the old file then stays as it was).
    bool saveProfiles();
    // The parts of saveProfiles, for the saves made while the program runs: "gamesets.vexar" alone
    // (nothing when there is no profile), and one list file of a profile (nothing, and true, for a
    // file the profile keeps as it is). False when a file could not be written.
    bool saveProfilesFile();
    bool saveServerListOf(const GameProfile& profile);
    bool saveBuddyListOf(const GameProfile& profile);
    // The profile with that file number, or nullptr.
    GameProfile* ProfileWithFileNumber(uint32_t fileNumber) const;

    std::string ProfilesPath() const;
    std::string ServerListPath(const GameProfile& profile) const;
    std::string BuddyListPath(const GameProfile& profile) const;

  private:
    std::string installFolder_;
    uint32_t buttonFaceColour_;
    std::vector<std::unique_ptr<GameProfile>> profiles_;
    GameProfile* current_ = nullptr;
    uint32_t lastFileNumber_ = 0;
};

// The profile made when no profile file exists: Elite Force with the catalogue's master server.
std::unique_ptr<GameProfile> MakeDefaultProfile(const Catalogue& catalogue);

// Start-up of the catalogue and the profiles: builds the catalogue, loads the profiles (or registers
// the default one), makes the head current and offers the old buddy list for import into it. Returns
// true when buddies were imported (the head's buddy pane must then be rebuilt).
bool StartCatalogueAndProfiles(Catalogue& catalogue, ProfileList& profiles, base::MessageSink& sink);

}  // namespace catalogue
