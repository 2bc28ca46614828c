// Reading and writing the fixed-layout server-list and buddy-list files.
#include "catalogue/list_files.h"

#include <cstring>
#include <vector>

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "base/message_sink.h"
#include "base/text.h"
#include "catalogue/profiles.h"

namespace catalogue {

namespace {

// Offsets inside the status block.
constexpr size_t kHostName = 0, kMapName = 150, kInfoText = 200, kGameName = 456, kModDisplay = 506, kWebAddress = 556,
                 kLivesLeft = 828, kLocation = 832, kJoinCount = 932, kIsFavourite = 936, kReserved1 = 940,
                 kVersionText = 948, kLimits = 1204, kReserved2 = 1240, kAdminEmail = 1244, kMaxPlayers = 1500,
                 kPrivateSlots = 1504, kPlayerCount = 1508, kPasswordText = 1512, kGameTypeIndex = 1524,
                 kModIndex = 1528, kProtocolVersion = 1532, kDedicated = 1536, kServerOs = 1537, kIsMod = 1538,
                 kReserved3 = 1539, kAutoRefresh = 1540;
static_assert(kAutoRefresh + 4 == kStatusBlockSize);

// Offsets of the rest of a server-list record.
constexpr size_t kAddressOctets = 1544, kSpareWords = 1560, kPort = 1568, kHostPort = 1572, kPing = 1576,
                 kServerPassword = 1580, kRconPassword = 1610;
static_assert(kRconPassword + 30 == kServerRecordImageSize);

// Each field of the record image begins where the one before it ends, and is as wide as the field
// it is read into: the layout holds in every data model the program is built for.
using R = ServerRecord;
static_assert(kMapName == kHostName + sizeof R::hostName && kInfoText == kMapName + sizeof R::mapName);
static_assert(kGameName == kInfoText + sizeof R::infoText && kModDisplay == kGameName + sizeof R::gameName);
static_assert(kWebAddress == kModDisplay + sizeof R::modDisplay && kLivesLeft == kWebAddress + sizeof R::webAddress);
static_assert(kLocation == kLivesLeft + sizeof R::livesLeft && kJoinCount == kLocation + sizeof R::location);
static_assert(kIsFavourite == kJoinCount + sizeof R::joinCount && kReserved1 == kIsFavourite + sizeof R::isFavourite);
static_assert(kVersionText == kReserved1 + sizeof R::reserved1 && kLimits == kVersionText + sizeof R::versionText);
static_assert(kReserved2 == kLimits + 9 * sizeof(int32_t) && kAdminEmail == kReserved2 + sizeof R::reserved2);
static_assert(kMaxPlayers == kAdminEmail + sizeof R::adminEmail && kPrivateSlots == kMaxPlayers + sizeof R::maxPlayers);
static_assert(kPlayerCount == kPrivateSlots + sizeof R::privateSlots);
static_assert(kPasswordText == kPlayerCount + sizeof R::playerCount);
static_assert(kGameTypeIndex == kPasswordText + sizeof R::passwordText);
static_assert(kModIndex == kGameTypeIndex + sizeof R::gameTypeIndex);
static_assert(kProtocolVersion == kModIndex + sizeof R::modIndex);
static_assert(kDedicated == kProtocolVersion + sizeof R::protocolVersion && sizeof R::dedicated == 1);
static_assert(kServerOs == kDedicated + 1 && kIsMod == kServerOs + 1 && kReserved3 == kIsMod + 1);
static_assert(kAutoRefresh == kReserved3 + sizeof R::reserved3 && sizeof R::autoRefresh == 4);
static_assert(kAddressOctets == kStatusBlockSize && kSpareWords == kAddressOctets + sizeof R::addressOctets);
static_assert(kPort == kSpareWords + sizeof R::spareWords && kHostPort == kPort + sizeof R::port);
static_assert(kPing == kHostPort + sizeof R::hostPort && kServerPassword == kPing + sizeof R::ping);
static_assert(kRconPassword == kServerPassword + sizeof R::serverPassword && sizeof R::rconPassword == 30);
static_assert(sizeof BuddyRecord::name <= kBuddyRecordImageSize);

// The nine limits in file order.
int32_t ServerRecord::*const kLimitFields[9] = {
    &ServerRecord::maxRate,   &ServerRecord::timeLimit,     &ServerRecord::captureLimit,
    &ServerRecord::fragLimit, &ServerRecord::allowDownload, &ServerRecord::allowVote,
    &ServerRecord::pure,      &ServerRecord::gameSpeed,     &ServerRecord::gravity,
};

constexpr size_t kRecordsPerChunk = 256;

}  // namespace

std::string ServerListFileName(uint32_t fileNumber) {
    char name[32];
    base::FormatText(name, sizeof name, "GS%03u.vexar", fileNumber);
    return name;
}

std::string BuddyListFileName(uint32_t fileNumber) {
    char name[32];
    base::FormatText(name, sizeof name, "BL%03u.vexar", fileNumber);
    return name;
}

void WriteStatusBlock(const ServerRecord& r, uint8_t* b) {
    std::memset(b, 0, kStatusBlockSize);
    base::StoreText(b + kHostName, sizeof r.hostName, r.hostName);
    base::StoreText(b + kMapName, sizeof r.mapName, r.mapName);
    base::StoreText(b + kInfoText, sizeof r.infoText, r.infoText);
    base::StoreText(b + kGameName, sizeof r.gameName, r.gameName);
    base::StoreText(b + kModDisplay, sizeof r.modDisplay, r.modDisplay);
    base::StoreText(b + kWebAddress, sizeof r.webAddress, r.webAddress);
    base::StoreI32LE(b + kLivesLeft, r.livesLeft);
    base::StoreText(b + kLocation, sizeof r.location, r.location);
    base::StoreU32LE(b + kJoinCount, r.joinCount);
    base::StoreU32LE(b + kIsFavourite, r.isFavourite);
    std::memcpy(b + kReserved1, r.reserved1, sizeof r.reserved1);
    base::StoreText(b + kVersionText, sizeof r.versionText, r.versionText);
    for (int i = 0; i < 9; ++i)
        base::StoreI32LE(b + kLimits + 4 * i, r.*kLimitFields[i]);
    std::memcpy(b + kReserved2, r.reserved2, sizeof r.reserved2);
    base::StoreText(b + kAdminEmail, sizeof r.adminEmail, r.adminEmail);
    base::StoreI32LE(b + kMaxPlayers, r.maxPlayers);
    base::StoreI32LE(b + kPrivateSlots, r.privateSlots);
    base::StoreI32LE(b + kPlayerCount, r.playerCount);
    base::StoreText(b + kPasswordText, sizeof r.passwordText, r.passwordText);
    base::StoreU32LE(b + kGameTypeIndex, r.gameTypeIndex);
    base::StoreU32LE(b + kModIndex, r.modIndex);
    base::StoreU32LE(b + kProtocolVersion, r.protocolVersion);
    b[kDedicated] = r.dedicated;
    b[kServerOs] = r.serverOs;
    b[kIsMod] = r.isMod;
    b[kReserved3] = r.reserved3;
    base::StoreU32LE(b + kAutoRefresh, r.autoRefresh);
}

void ReadStatusBlock(const uint8_t* b, ServerRecord& r) {
    base::LoadText(b + kHostName, sizeof r.hostName, r.hostName);
    base::LoadText(b + kMapName, sizeof r.mapName, r.mapName);
    base::LoadText(b + kInfoText, sizeof r.infoText, r.infoText);
    base::LoadText(b + kGameName, sizeof r.gameName, r.gameName);
    base::LoadText(b + kModDisplay, sizeof r.modDisplay, r.modDisplay);
    base::LoadText(b + kWebAddress, sizeof r.webAddress, r.webAddress);
    r.livesLeft = base::LoadI32LE(b + kLivesLeft);
    base::LoadText(b + kLocation, sizeof r.location, r.location);
    r.joinCount = base::LoadU32LE(b + kJoinCount);
    r.isFavourite = base::LoadU32LE(b + kIsFavourite);
    std::memcpy(r.reserved1, b + kReserved1, sizeof r.reserved1);
    base::LoadText(b + kVersionText, sizeof r.versionText, r.versionText);
    for (int i = 0; i < 9; ++i)
        r.*kLimitFields[i] = base::LoadI32LE(b + kLimits + 4 * i);
    std::memcpy(r.reserved2, b + kReserved2, sizeof r.reserved2);
    base::LoadText(b + kAdminEmail, sizeof r.adminEmail, r.adminEmail);
    r.maxPlayers = base::LoadI32LE(b + kMaxPlayers);
    r.privateSlots = base::LoadI32LE(b + kPrivateSlots);
    r.playerCount = base::LoadI32LE(b + kPlayerCount);
    base::LoadText(b + kPasswordText, sizeof r.passwordText, r.passwordText);
    r.gameTypeIndex = base::LoadU32LE(b + kGameTypeIndex);
    r.modIndex = base::LoadU32LE(b + kModIndex);
    r.protocolVersion = base::LoadU32LE(b + kProtocolVersion);
    r.dedicated = b[kDedicated];
    r.serverOs = b[kServerOs];
    r.isMod = b[kIsMod];
    r.reserved3 = b[kReserved3];
    r.autoRefresh = base::LoadU32LE(b + kAutoRefresh);
}

void WriteServerRecordImage(const ServerRecord& r, uint8_t* image) {
    WriteStatusBlock(r, image);
    for (int i = 0; i < 4; ++i)
        base::StoreU32LE(image + kAddressOctets + 4 * i, r.addressOctets[i]);
    base::StoreU32LE(image + kSpareWords, r.spareWords[0]);
    base::StoreU32LE(image + kSpareWords + 4, r.spareWords[1]);
    base::StoreU32LE(image + kPort, r.port);
    base::StoreU32LE(image + kHostPort, r.hostPort);
    base::StoreU32LE(image + kPing, r.ping);
    base::StoreText(image + kServerPassword, sizeof r.serverPassword, r.serverPassword);
    base::StoreText(image + kRconPassword, sizeof r.rconPassword, r.rconPassword);
}

void ReadServerRecordImage(const uint8_t* image, ServerRecord& r, const Catalogue& catalogue, uint32_t kind) {
    ReadStatusBlock(image, r);
    for (int i = 0; i < 4; ++i)
        r.addressOctets[i] = base::LoadU32LE(image + kAddressOctets + 4 * i);
    r.spareWords[0] = base::LoadU32LE(image + kSpareWords);
    r.spareWords[1] = base::LoadU32LE(image + kSpareWords + 4);
    r.port = base::LoadU32LE(image + kPort);
    r.hostPort = base::LoadU32LE(image + kHostPort);
    r.ping = base::LoadU32LE(image + kPing);
    base::LoadText(image + kServerPassword, sizeof r.serverPassword, r.serverPassword);
    base::LoadText(image + kRconPassword, sizeof r.rconPassword, r.rconPassword);

    base::FormatText(r.addressText, sizeof r.addressText, "%u.%u.%u.%u", r.addressOctets[0], r.addressOctets[1],
                     r.addressOctets[2], r.addressOctets[3]);
    if (!r.hostName[0])
        base::FormatText(r.hostName, sizeof r.hostName, "~ %s:%u", r.addressText, r.port);
    r.refreshPending = 0;
    r.awaitingReply = 0;
    r.playerCount = 0;
    r.gameTypeDisplay[0] = '\0';
    if (const char* mod = catalogue.modDisplayOf(kind, r.modIndex))
        base::CopyText(r.modDisplay, mod);
    if (const char* type = catalogue.gameTypeDisplayOf(kind, r.modIndex, r.gameTypeIndex))
        base::CopyText(r.gameTypeDisplay, type);
}

bool saveServerList(const GameProfile& profile, const std::string& path) {
    base::AtomicFileWriter out(path);
    std::vector<uint8_t> chunk;
    chunk.reserve(kRecordsPerChunk * kServerRecordImageSize);
    for (const ServerRecord* r = profile.servers.head; r; r = r->next) {
        chunk.resize(chunk.size() + kServerRecordImageSize);
        WriteServerRecordImage(*r, chunk.data() + chunk.size() - kServerRecordImageSize);
        if (chunk.size() == chunk.capacity()) {
            out.Write(chunk.data(), chunk.size());
            chunk.clear();
        }
    }
    out.Write(chunk.data(), chunk.size());
    return out.Commit();
}

ListRead readServerRecords(base::ByteSource& in, GameProfile& profile, const Catalogue& catalogue) {
    uint8_t image[kServerRecordImageSize];
    // Whole records only: a trailing partial record (a file cut short) is ignored.
    while (in.Read(image, sizeof image) == sizeof image) {
        auto r = std::make_unique<ServerRecord>();
        ReadServerRecordImage(image, *r, catalogue, profile.kind);
        appendServer(profile.servers, std::move(r));
    }
    return in.Failed() ? ListRead::kReadError : ListRead::kWhole;
}

bool loadServerList(GameProfile& profile, const std::string& path, const Catalogue& catalogue) {
    base::TouchFile(path);
    base::FileReader in(path);
    if (!in.IsOpen())
        return false;
    readServerRecords(in, profile, catalogue);
    profile.listsLoaded = 1;
    return true;
}

bool saveBuddyList(const GameProfile& profile, const std::string& path) {
    base::AtomicFileWriter out(path);
    uint8_t image[kBuddyRecordImageSize];
    for (const BuddyRecord* b = profile.buddies.head; b; b = b->next) {
        base::StoreText(image, sizeof image, b->name);
        out.Write(image, sizeof image);
    }
    return out.Commit();
}

ListRead readBuddyRecords(base::ByteSource& in, GameProfile& profile) {
    uint8_t image[kBuddyRecordImageSize];
    while (in.Read(image, sizeof image) == sizeof image) {
        auto b = std::make_unique<BuddyRecord>();
        base::LoadText(image, sizeof b->name, b->name);
        appendBuddy(profile.buddies, std::move(b));
    }
    return in.Failed() ? ListRead::kReadError : ListRead::kWhole;
}

bool loadBuddyList(GameProfile& profile, const std::string& path) {
    base::TouchFile(path);
    base::FileReader in(path);
    if (!in.IsOpen())
        return false;
    readBuddyRecords(in, profile);
    return true;
}

uint32_t importOldBuddyList(GameProfile& profile, const std::string& installFolder, base::MessageSink& sink) {
    std::string path = base::JoinPath(installFolder, kOldBuddyFile);
    uint32_t offered = 0;
    {
        base::FileReader in(path);
        if (!in.IsOpen())
            return 0;
        uint32_t n = static_cast<uint32_t>(in.Size() / kBuddyRecordImageSize);
        if (n == 0)
            return 0;
        if (sink.AskYesNo("A buddy list from a previous version of Vexar!\nhas been found, Import this Buddy list?",
                          base::MessageIcon::kQuestion)) {
            uint8_t image[kBuddyRecordImageSize];
            for (uint32_t i = 0; i < n && in.Read(image, sizeof image) == sizeof image; ++i) {
                char name[kBuddyRecordImageSize];
                base::LoadText(image, sizeof name, name);
                if (profile.buddies.FindByName(name))
                    continue;
                auto b = std::make_unique<BuddyRecord>();
                base::CopyText(b->name, name);
                appendBuddy(profile.buddies, std::move(b));
            }
            offered = n;
        }
    }
    sink.Tell("Your old Buddy List will now be moved to BL.OLD!", base::MessageIcon::kNone);
    base::RenameNoReplace(path, base::JoinPath(installFolder, kOldBuddyBackup));
    return offered;
}

}  // namespace catalogue
