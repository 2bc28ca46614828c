// Game profiles: the 748-byte image, registration with file numbers, "gamesets.vexar".
#include "catalogue/profiles.h"

#include <cstring>

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "base/message_sink.h"
#include "base/text.h"
#include "catalogue/list_files.h"

namespace catalogue {

namespace {

// Offsets of the profile image.
constexpr size_t kTitle = 0, kKind = 52, kProtocol = 56, kDefaultMark = 60, kMasterAddress = 64, kMasterPort = 84,
                 kGameFolder = 88, kMasterTimeout = 344, kMaxServers = 348, kServersPerQuery = 352, kReserved353 = 353,
                 kServers = 356, kBuddies = 372, kNext = 388, kPrev = 392, kFileNumber = 396, kReserved400 = 400,
                 kPaneWindows = 404, kControlWindows = 420, kIconIndex = 436, kTabIndex = 440, kSortDescending = 444,
                 kView484 = 484, kColumnOrder = 524, kView564 = 564, kColumnWidth = 604, kView644 = 644,
                 kSortColumn = 684, kColours = 688, kOnlineBuddies = 736, kShownMaxPlayers = 740, kListsLoaded = 744;
static_assert(kListsLoaded + 4 == kProfileImageSize);

// Each field of the image begins where the one before it ends, and is as wide as the field it is
// read into; the lists and window handles of a run are stored as four 32-bit words whatever the
// data model.
using P = GameProfile;
static_assert(kKind == kTitle + sizeof P::title && kProtocol == kKind + sizeof P::kind);
static_assert(kDefaultMark == kProtocol + sizeof P::protocol && kMasterAddress == kDefaultMark + sizeof P::defaultMark);
static_assert(kMasterPort == kMasterAddress + sizeof P::masterAddress);
static_assert(kGameFolder == kMasterPort + sizeof P::masterPort);
static_assert(kMasterTimeout == kGameFolder + sizeof P::gameFolder);
static_assert(kMaxServers == kMasterTimeout + sizeof P::masterTimeoutMs);
static_assert(kServersPerQuery == kMaxServers + sizeof P::maxServers && sizeof P::serversPerQuery == 1);
static_assert(kReserved353 == kServersPerQuery + 1 && kServers == kReserved353 + sizeof P::reserved353);
static_assert(kBuddies == kServers + 16 && kNext == kBuddies + 16 && kPrev == kNext + 4 && kFileNumber == kPrev + 4);
static_assert(kReserved400 == kFileNumber + sizeof P::fileNumber && kPaneWindows == kReserved400 + sizeof P::reserved400);
static_assert(kControlWindows == kPaneWindows + 16 && kIconIndex == kControlWindows + 16);
static_assert(kTabIndex == kIconIndex + sizeof P::iconIndex && kSortDescending == kTabIndex + sizeof P::tabIndex);
static_assert(kView484 == kSortDescending + sizeof P::sortDescending);
static_assert(kColumnOrder == kView484 + sizeof P::viewSettings484);
static_assert(kView564 == kColumnOrder + sizeof P::columnOrder);
static_assert(kColumnWidth == kView564 + sizeof P::viewSettings564);
static_assert(kView644 == kColumnWidth + sizeof P::columnWidth);
static_assert(kSortColumn == kView644 + sizeof P::viewSettings644);
static_assert(kColours == kSortColumn + sizeof P::sortColumn && kOnlineBuddies == kColours + sizeof P::colours);
static_assert(kShownMaxPlayers == kOnlineBuddies + sizeof P::onlineBuddies);
static_assert(kListsLoaded == kShownMaxPlayers + sizeof P::shownMaxPlayers && sizeof P::listsLoaded == 4);

constexpr uint32_t kDefaultColumnWidths[kServerColumns] = {25, 25, 25, 250, 80, 80, 80, 80, 80, 80};
constexpr uint32_t kDefaultColours[kSchemeColours - 1] = {0xFBF8F4, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFF9797,
                                                          0x000000, 0x000000, 0x00FF00, 0xFF0000, 0x000000};

constexpr const char kProfilesFile[] = "gamesets.vexar";

void StoreWords(uint8_t* p, const uint32_t* words, size_t n) {
    for (size_t i = 0; i < n; ++i)
        base::StoreU32LE(p + 4 * i, words[i]);
}

void LoadWords(const uint8_t* p, uint32_t* words, size_t n) {
    for (size_t i = 0; i < n; ++i)
        words[i] = base::LoadU32LE(p + 4 * i);
}

}  // namespace

std::string MasterHostOf(const GameProfile& profile) {
    if (!profile.masterHostName.empty())
        return profile.masterHostName;
    return std::string(profile.masterAddress, strnlen(profile.masterAddress, sizeof profile.masterAddress));
}

std::vector<MasterServer> MastersToAsk(const GameProfile& profile, const Catalogue& catalogue) {
    std::vector<MasterServer> masters = {{MasterHostOf(profile), profile.masterPort}};
    const GameDefinition* game = catalogue.GameOf(profile.kind);
    if (game && profile.masterPort == game->masterPort && base::EqualsNoCase(masters[0].host, game->masterAddress))
        masters.insert(masters.end(), game->moreMasters.begin(), game->moreMasters.end());
    return masters;
}

void WriteProfileImage(const GameProfile& p, uint8_t* image) {
    std::memset(image, 0, kProfileImageSize);
    base::StoreText(image + kTitle, sizeof p.title, p.title);
    base::StoreU32LE(image + kKind, p.kind);
    base::StoreU32LE(image + kProtocol, p.protocol);
    base::StoreU32LE(image + kDefaultMark, p.defaultMark);
    base::StoreText(image + kMasterAddress, sizeof p.masterAddress, p.masterAddress);
    base::StoreU32LE(image + kMasterPort, p.masterPort);
    base::StoreText(image + kGameFolder, sizeof p.gameFolder, p.gameFolder);
    base::StoreU32LE(image + kMasterTimeout, p.masterTimeoutMs);
    base::StoreU32LE(image + kMaxServers, p.maxServers);
    image[kServersPerQuery] = p.serversPerQuery;
    std::memcpy(image + kReserved353, p.reserved353, sizeof p.reserved353);
    // Lists: head, tail and cursor are addresses of this run (stored as zero), then the count.
    base::StoreU32LE(image + kServers + 12, p.servers.count);
    base::StoreU32LE(image + kBuddies + 12, p.buddies.count);
    base::StoreU32LE(image + kFileNumber, p.fileNumber);
    base::StoreU32LE(image + kReserved400, p.reserved400);
    base::StoreU32LE(image + kIconIndex, p.iconIndex);
    base::StoreU32LE(image + kTabIndex, p.tabIndex);
    StoreWords(image + kSortDescending, p.sortDescending, kServerColumns);
    std::memcpy(image + kView484, p.viewSettings484, 40);
    StoreWords(image + kColumnOrder, p.columnOrder, kServerColumns);
    std::memcpy(image + kView564, p.viewSettings564, 40);
    StoreWords(image + kColumnWidth, p.columnWidth, kServerColumns);
    std::memcpy(image + kView644, p.viewSettings644, 40);
    base::StoreI32LE(image + kSortColumn, p.sortColumn);
    StoreWords(image + kColours, p.colours, kSchemeColours);
    base::StoreU32LE(image + kOnlineBuddies, p.onlineBuddies);
    base::StoreU32LE(image + kShownMaxPlayers, p.shownMaxPlayers);
    base::StoreU32LE(image + kListsLoaded, p.listsLoaded);
    (void)kNext;
    (void)kPrev;
    (void)kPaneWindows;
    (void)kControlWindows;
}

void ReadProfileImage(const uint8_t* image, GameProfile& p) {
    base::LoadText(image + kTitle, sizeof p.title, p.title);
    p.kind = base::LoadU32LE(image + kKind);
    p.protocol = base::LoadU32LE(image + kProtocol);
    p.defaultMark = base::LoadU32LE(image + kDefaultMark);
    base::LoadText(image + kMasterAddress, sizeof p.masterAddress, p.masterAddress);
    p.masterPort = base::LoadU32LE(image + kMasterPort);
    base::LoadText(image + kGameFolder, sizeof p.gameFolder, p.gameFolder);
    p.masterTimeoutMs = base::LoadU32LE(image + kMasterTimeout);
    p.maxServers = base::LoadU32LE(image + kMaxServers);
    p.serversPerQuery = image[kServersPerQuery];
    std::memcpy(p.reserved353, image + kReserved353, sizeof p.reserved353);
    p.fileNumber = base::LoadU32LE(image + kFileNumber);
    p.reserved400 = base::LoadU32LE(image + kReserved400);
    p.iconIndex = base::LoadU32LE(image + kIconIndex);
    LoadWords(image + kSortDescending, p.sortDescending, kServerColumns);
    std::memcpy(p.viewSettings484, image + kView484, 40);
    LoadWords(image + kColumnOrder, p.columnOrder, kServerColumns);
    std::memcpy(p.viewSettings564, image + kView564, 40);
    LoadWords(image + kColumnWidth, p.columnWidth, kServerColumns);
    std::memcpy(p.viewSettings644, image + kView644, 40);
    p.sortColumn = base::LoadI32LE(image + kSortColumn);
    LoadWords(image + kColours, p.colours, kSchemeColours);
}

void ApplyProfileDefaults(GameProfile& p, uint32_t buttonFaceColour) {
    for (int i = 0; i < kServerColumns; ++i) {
        p.columnOrder[i] = static_cast<uint32_t>(i);
        p.columnWidth[i] = kDefaultColumnWidths[i];
    }
    p.sortColumn = 1;
    for (int i = 0; i < kSchemeColours - 1; ++i)
        p.colours[i] = kDefaultColours[i];
    p.colours[kSchemeColours - 1] = buttonFaceColour;
}

ProfileList::ProfileList(std::string installFolder, uint32_t buttonFaceColour)
    : installFolder_(std::move(installFolder)), buttonFaceColour_(buttonFaceColour) {}

ProfileList::~ProfileList() {
    clearProfiles();
}

GameProfile* ProfileList::ProfileAtTab(uint32_t tabIndex) const {
    for (const auto& p : profiles_) {
        if (p->tabIndex == tabIndex)
            return p.get();
    }
    return nullptr;
}

GameProfile* ProfileList::registerProfile(std::unique_ptr<GameProfile> profile,
                                          bool takeNewNumber,
                                          bool applyDefaults) {
    GameProfile* p = profile.get();
    p->listsLoaded = 0;
    p->shownMaxPlayers = 0;
    clearServers(p->servers);
    clearBuddies(p->buddies);
    if (applyDefaults)
        ApplyProfileDefaults(*p, buttonFaceColour_);
    if (takeNewNumber)
        p->fileNumber = ++lastFileNumber_;
    profiles_.push_back(std::move(profile));
    if (!current_)
        current_ = p;
    return p;
}

void ProfileList::unregisterProfile(GameProfile* profile) {
    for (auto it = profiles_.begin(); it != profiles_.end(); ++it) {
        if (it->get() != profile)
            continue;
        base::RemoveFile(ServerListPath(*profile));
        base::RemoveFile(BuddyListPath(*profile));
        profiles_.erase(it);
        if (current_ == profile)
            current_ = head();
        return;
    }
}

void ProfileList::clearProfiles() {
    profiles_.clear();
    current_ = nullptr;
}

std::string ProfileList::ProfilesPath() const {
    return base::JoinPath(installFolder_, kProfilesFile);
}

std::string ProfileList::ServerListPath(const GameProfile& profile) const {
    return base::JoinPath(installFolder_, ServerListFileName(profile.fileNumber));
}

std::string ProfileList::BuddyListPath(const GameProfile& profile) const {
    return base::JoinPath(installFolder_, BuddyListFileName(profile.fileNumber));
}

bool ProfileList::loadProfiles() {
    base::FileReader file(ProfilesPath());
    if (!file.IsOpen() || file.Size() == 0)
        return false;
    uint8_t header[8] = {};
    if (file.Read(header, sizeof header) != sizeof header)
        return false;
    uint32_t count = base::LoadU32LE(header);
    uint32_t lastNumber = base::LoadU32LE(header + 4);
    uint32_t loaded = 0;
    uint8_t image[kProfileImageSize];
    // The count is only a claim: a short or corrupt file gives the whole images it holds.
    for (uint32_t i = 0; i < count; ++i) {
        if (file.Read(image, sizeof image) != sizeof image)
            break;
        auto profile = std::make_unique<GameProfile>();
        ReadProfileImage(image, *profile);
        if (profile->fileNumber > lastNumber)
            lastNumber = profile->fileNumber;  // never hand out a number that is in use
        registerProfile(std::move(profile), false, false);
        ++loaded;
    }
    if (lastNumber > lastFileNumber_)
        lastFileNumber_ = lastNumber;
    return loaded > 0;
}

bool ProfileList::saveProfiles() {
    bool ok = saveProfilesFile();
    for (const auto& p : profiles_) {
        if (p->servers.count == 0 && p->buddies.count == 0 && !p->listsLoaded)
            continue;
        ok = saveServerListOf(*p) && ok;
        ok = saveBuddyListOf(*p) && ok;
    }
    return ok;
}

bool ProfileList::saveProfilesFile() {
    if (profiles_.empty())
        return true;
    base::AtomicFileWriter out(ProfilesPath());
    uint8_t header[8];
    base::StoreU32LE(header, count());
    base::StoreU32LE(header + 4, lastFileNumber_);
    out.Write(header, sizeof header);
    uint8_t image[kProfileImageSize];
    for (const auto& p : profiles_) {
        WriteProfileImage(*p, image);
        out.Write(image, sizeof image);
    }
    return out.Commit();
}

bool ProfileList::saveServerListOf(const GameProfile& profile) {
    return profile.keepServerListFile || saveServerList(profile, ServerListPath(profile));
}

bool ProfileList::saveBuddyListOf(const GameProfile& profile) {
    return profile.keepBuddyListFile || saveBuddyList(profile, BuddyListPath(profile));
}

GameProfile* ProfileList::ProfileWithFileNumber(uint32_t fileNumber) const {
    for (const auto& p : profiles_) {
        if (p->fileNumber == fileNumber)
            return p.get();
    }
    return nullptr;
}

std::unique_ptr<GameProfile> MakeDefaultProfile(const Catalogue& catalogue) {
    auto p = std::make_unique<GameProfile>();
    base::CopyText(p->title, "Star Trek Voyager Elite Force");
    p->kind = kEliteForce;
    p->protocol = 24;
    if (const GameDefinition* g = catalogue.GameOf(kEliteForce)) {
        base::CopyText(p->masterAddress, g->masterAddress);
        if (g->masterAddress.size() >= sizeof p->masterAddress)
            p->masterHostName = g->masterAddress;
        p->masterPort = g->masterPort;
    }
    p->masterTimeoutMs = 2000;
    p->maxServers = 999;
    p->serversPerQuery = 10;
    p->iconIndex = 0;
    p->defaultMark = 1;
    return p;
}

bool StartCatalogueAndProfiles(Catalogue& catalogue, ProfileList& profiles, base::MessageSink& sink) {
    catalogue.buildCatalogue();
    if (!profiles.loadProfiles())
        profiles.registerProfile(MakeDefaultProfile(catalogue), true, true);
    profiles.SetCurrent(profiles.head());
    return importOldBuddyList(*profiles.head(), profiles.installFolder(), sink) != 0;
}

}  // namespace catalogue
