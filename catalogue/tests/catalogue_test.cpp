// Tests of the catalogue: the built-in games (lookups, reply classification, launch data), the server list
// (insertion order, the cursor rule, lookup by address), and the stored files: game profiles
// ("gamesets.vexar": the 748-byte image both ways, the default profile, file numbers) and the server-list
// and buddy-list files (golden byte layouts both ways, loading rules).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "base/file_io.h"
#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/list_files.h"
#include "catalogue/profiles.h"
#include "catalogue/records.h"
#include "testing/fake_message_sink.h"
#include "testing/temp_folder.h"

namespace {

using namespace catalogue;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

// Every stored field: its offset in the 1640-byte file record (the status block is below 1544), where
// the record keeps it, its width.
std::vector<std::tuple<size_t, void*, size_t>> Layout(ServerRecord& r) {
    // clang-format off
    return {{0, r.hostName, 150}, {150, r.mapName, 50}, {200, r.infoText, 256}, {456, r.gameName, 50},
            {506, r.modDisplay, 50}, {556, r.webAddress, 272}, {828, &r.livesLeft, 4}, {832, r.location, 100},
            {932, &r.joinCount, 4}, {936, &r.isFavourite, 4}, {940, r.reserved1, 8}, {948, r.versionText, 256},
            {1204, &r.maxRate, 4}, {1208, &r.timeLimit, 4}, {1212, &r.captureLimit, 4}, {1216, &r.fragLimit, 4},
            {1220, &r.allowDownload, 4}, {1224, &r.allowVote, 4}, {1228, &r.pure, 4}, {1232, &r.gameSpeed, 4},
            {1236, &r.gravity, 4}, {1240, r.reserved2, 4}, {1244, r.adminEmail, 256}, {1500, &r.maxPlayers, 4},
            {1504, &r.privateSlots, 4}, {1508, &r.playerCount, 4}, {1512, r.passwordText, 12},
            {1524, &r.gameTypeIndex, 4}, {1528, &r.modIndex, 4}, {1532, &r.protocolVersion, 4},
            {1536, &r.dedicated, 1}, {1537, &r.serverOs, 1}, {1538, &r.isMod, 1}, {1539, &r.reserved3, 1},
            {1540, &r.autoRefresh, 4}, {1544, r.addressOctets, 16}, {1560, r.spareWords, 8}, {1568, &r.port, 4},
            {1572, &r.hostPort, 4}, {1576, &r.ping, 4}, {1580, r.serverPassword, 30}, {1610, r.rconPassword, 30}};
    // clang-format on
}

// Gives every field a value of its own, an address that loads as 10.11.12.13 and CPMA's Clan Arena;
// returns the bytes the layout gives for the record, built without the code under test.
std::string FillAllFields(ServerRecord& r) {
    int n = 0;
    for (auto [offset, at, width] : Layout(r)) {
        std::memset(at, ++n, width);
        if (width >= 12)  // a text: three characters, zero-padded
            std::memset(static_cast<char*>(at) + 3, 0, width - 3);
    }
    for (int i = 0; i < 4; ++i)
        r.addressOctets[i] = 10 + i;
    r.livesLeft = -2;
    r.modIndex = 7;
    r.gameTypeIndex = 5;
    base::CopyText(r.modDisplay, "CPMA");
    std::string golden(kServerRecordImageSize, '\0');
    for (auto [offset, at, width] : Layout(r))
        std::memcpy(&golden[offset], at, width);
    return golden;
}

void AddBuddy(BuddyList& list, const char* name) {
    auto b = std::make_unique<BuddyRecord>();
    base::CopyText(b->name, name);
    appendBuddy(list, std::move(b));
}

class ListFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        profile.kind = kQuake3;
    }
    std::string ServerPath() const { return dir.File("GS001.vexar"); }
    std::string BuddyPath() const { return dir.File("BL001.vexar"); }

    TempFolder dir;
    Catalogue cat;
    GameProfile profile;
};

TEST_F(ListFilesTest, RecordAndStatusBlockMatchTheGoldenBytesBothWays) {
    auto filled = std::make_unique<ServerRecord>();
    const std::string golden = FillAllFields(*filled);
    uint8_t block[kStatusBlockSize];
    WriteStatusBlock(*filled, block);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), sizeof block), golden.substr(0, sizeof block));
    appendServer(profile.servers, std::move(filled));
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(ReadBytes(ServerPath()), golden);

    GameProfile loaded;
    loaded.kind = kQuake3;
    ASSERT_TRUE(loadServerList(loaded, ServerPath(), cat));
    ASSERT_EQ(loaded.servers.count, 1u);
    ServerRecord& r = *loaded.servers.head;
    for (auto [offset, at, width] : Layout(r))  // the file holds no players: their count loads as 0
        EXPECT_TRUE(offset == 1508 || std::memcmp(at, &golden[offset], width) == 0) << "offset " << offset;
    EXPECT_EQ(std::tuple(r.playerCount, std::string(r.addressText), std::string(r.gameTypeDisplay), loaded.listsLoaded),
              std::tuple(0, std::string("10.11.12.13"), std::string("Clan Arena"), 1u));  // names looked up again

    // A record without a name loads as its address and port; texts of a damaged record stay in their
    // fields; a trailing partial record is not read.
    std::string damaged = golden;
    damaged.replace(0, 150, 150, '\0');
    WriteBytes(ServerPath(), damaged + std::string(1700, '\xFF'));
    ASSERT_TRUE(loadServerList(profile, ServerPath(), cat));
    ASSERT_EQ(profile.servers.count, 3u);
    EXPECT_EQ(profile.servers.head->next->hostName, "~ 10.11.12.13:" + std::to_string(r.port));
    const ServerRecord& ff = *profile.servers.tail;
    EXPECT_EQ(std::tuple(strlen(ff.hostName), strlen(ff.passwordText), strlen(ff.rconPassword)),
              std::tuple(149u, 11u, 29u));
    EXPECT_LT(strlen(ff.addressText), 20u);
    EXPECT_EQ(ff.modDisplay[0], '\xFF');  // no catalogue entry at that position: kept as stored
}

TEST_F(ListFilesTest, MissingListsAreCreatedEmptyAndBuddiesStoredAsZeroPadded50ByteNames) {
    ASSERT_TRUE(loadServerList(profile, ServerPath(), cat) && loadBuddyList(profile, BuddyPath()));
    EXPECT_EQ(base::FileSize(ServerPath()) + base::FileSize(BuddyPath()), 0);
    AddBuddy(profile.buddies, "^1Bob");
    AddBuddy(profile.buddies, "Alice");
    ASSERT_TRUE(saveBuddyList(profile, BuddyPath()));
    const std::string buddies = std::string("^1Bob") + std::string(45, '\0') + "Alice" + std::string(45, '\0');
    EXPECT_EQ(ReadBytes(BuddyPath()), buddies);
    WriteBytes(BuddyPath(), buddies + std::string(50, 'Z') + "tail");
    GameProfile loaded;
    ASSERT_TRUE(loadBuddyList(loaded, BuddyPath()));
    ASSERT_EQ(loaded.buddies.count, 3u);
    EXPECT_EQ(std::pair(std::string(loaded.buddies.head->name), strlen(loaded.buddies.tail->name)),
              std::pair(std::string("^1Bob"), size_t(49)));
}

TEST_F(ListFilesTest, OldBuddyListIsOfferedImportedWithoutKnownNamesAndMovedAside) {
    testing_support::FakeMessageSink sink;
    WriteBytes(dir.File("vxrbl192.dat"), std::string(49, 'A'));  // no whole entry: nothing asked
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 0u);
    EXPECT_TRUE(sink.shown.empty());
    WriteBytes(dir.File("vxrbl192.dat"), std::string(50, 'B'));
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 0u);  // declined: nothing imported, still moved
    EXPECT_EQ(sink.shown, (std::vector<std::string>{
                              "A buddy list from a previous version of Vexar!\nhas been found, Import this Buddy list?",
                              "Your old Buddy List will now be moved to BL.OLD!"}));
    EXPECT_EQ(std::pair(profile.buddies.count, ReadBytes(dir.File("BL.OLD"))), std::pair(0u, std::string(50, 'B')));
    AddBuddy(profile.buddies, "bob");
    WriteBytes(dir.File("vxrbl192.dat"), std::string("Bob") + std::string(47, '\0') + "Carol" + std::string(45, '\0') +
                                             "Dave" + std::string(46, '\0') + "xx");
    sink.answers = {true};
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 3u);
    EXPECT_EQ(std::pair(profile.buddies.count, std::string(profile.buddies.tail->name)),
              std::pair(3u, std::string("Dave")));            // "Bob" is a buddy already
    EXPECT_TRUE(base::FileExists(dir.File("vxrbl192.dat")));  // an earlier backup is never replaced
    EXPECT_EQ(ReadBytes(dir.File("BL.OLD")), std::string(50, 'B'));
}

constexpr uint32_t kButtonFace = 0xD8E9EC;

// Every field of the image: its offset, where the profile keeps it, its width, and whether loading
// reads it back (run-time numbers are stored as they stand but never read).
std::vector<std::tuple<size_t, void*, size_t, bool>> Layout(GameProfile& p) {
    // clang-format off
    return {{0, p.title, 52, true}, {52, &p.kind, 4, true}, {56, &p.protocol, 4, true},
            {60, &p.defaultMark, 4, true}, {64, p.masterAddress, 20, true}, {84, &p.masterPort, 4, true},
            {88, p.gameFolder, 256, true}, {344, &p.masterTimeoutMs, 4, true}, {348, &p.maxServers, 4, true},
            {352, &p.serversPerQuery, 1, true}, {353, p.reserved353, 3, true}, {396, &p.fileNumber, 4, true},
            {400, &p.reserved400, 4, true}, {436, &p.iconIndex, 4, true}, {440, &p.tabIndex, 4, false},
            {444, p.sortDescending, 40, true}, {484, p.viewSettings484, 40, true}, {524, p.columnOrder, 40, true},
            {564, p.viewSettings564, 40, true}, {604, p.columnWidth, 40, true}, {644, p.viewSettings644, 40, true},
            {684, &p.sortColumn, 4, true}, {688, p.colours, 48, true}, {736, &p.onlineBuddies, 4, false},
            {740, &p.shownMaxPlayers, 4, false}, {744, &p.listsLoaded, 4, false}};
    // clang-format on
}

// The image the layout gives for a profile (little endian, texts zero-padded, list heads and window
// handles zero, the list counts at 368 and 384), built without the code under test.
std::string Image(GameProfile& p) {
    std::string image(kProfileImageSize, '\0');
    for (auto [offset, at, width, loaded] : Layout(p))
        std::memcpy(&image[offset], at, width);
    image[368] = static_cast<char>(p.servers.count);
    image[384] = static_cast<char>(p.buddies.count);
    return image;
}

GameProfile* Register(ProfileList& profiles) {
    return profiles.registerProfile(std::make_unique<GameProfile>(), true, true);
}

TEST(ProfileImage, EveryStoredFieldIsWrittenAtItsOffsetAndReadBackButTheRunTimeOnes) {
    GameProfile p;
    int n = 0;
    for (auto [offset, at, width, loaded] : Layout(p))
        std::memset(at, at == p.title || at == p.masterAddress ? 0 : ++n, width);  // a value of its own
    base::CopyText(p.title, "My Q3");
    base::CopyText(p.masterAddress, "127.10.0.1");
    std::memset(p.gameFolder, 'G', sizeof p.gameFolder - 1);  // a text that fills its field
    p.gameFolder[255] = '\0';
    p.sortColumn = -1;
    findOrCreateServer(p.servers, MakeServerTemplate("1.2.3.4", 1));
    const std::string golden = Image(p);
    uint8_t image[kProfileImageSize];
    WriteProfileImage(p, image);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(image), sizeof image), golden);

    GameProfile q;
    ReadProfileImage(image, q);
    for (auto [offset, at, width, loaded] : Layout(q))
        EXPECT_TRUE(!loaded || std::memcmp(at, &golden[offset], width) == 0) << "offset " << offset;
    EXPECT_EQ(q.tabIndex + q.onlineBuddies + q.shownMaxPlayers + q.listsLoaded, 0u);

    std::memset(image, 'A', sizeof image);  // unterminated texts are terminated inside their fields
    ReadProfileImage(image, q);
    EXPECT_EQ(strlen(q.title) + strlen(q.masterAddress) + strlen(q.gameFolder), 51u + 19u + 255u);
}

TEST(ProfileList, FirstStartSavesTheDefaultProfile) {
    TempFolder dir;
    Catalogue cat;
    ProfileList profiles(dir.path(), kButtonFace);
    testing_support::FakeMessageSink sink;
    EXPECT_FALSE(StartCatalogueAndProfiles(cat, profiles, sink));  // no old buddy list to offer
    ASSERT_EQ(profiles.count(), 1u);
    ASSERT_TRUE(profiles.saveProfiles());

    GameProfile e;
    base::CopyText(e.title, "Star Trek Voyager Elite Force");
    e.kind = kEliteForce;
    e.protocol = 24;
    e.defaultMark = 1;
    base::CopyText(e.masterAddress, cat.GameOf(kEliteForce)->masterAddress);
    e.masterPort = 27953;
    e.fileNumber = 1;  // the timeout, server limit, servers per query and sort column keep their defaults
    const uint32_t widths[kServerColumns] = {25, 25, 25, 250, 80, 80, 80, 80, 80, 80};
    std::memcpy(e.columnWidth, widths, sizeof widths);
    for (int i = 0; i < kServerColumns; ++i)
        e.columnOrder[i] = static_cast<uint32_t>(i);
    const uint32_t colours[kSchemeColours] = {0xFBF8F4, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFF9797,
                                              0x000000, 0x000000, 0x00FF00, 0xFF0000, 0x000000, kButtonFace};
    std::memcpy(e.colours, colours, sizeof colours);
    EXPECT_EQ(ReadBytes(dir.File("gamesets.vexar")), std::string("\1\0\0\0\1\0\0\0", 8) + Image(e));
    EXPECT_FALSE(base::FileExists(dir.File("GS001.vexar")));  // nothing loaded, nothing listed: no list files
}

TEST(ProfileList, FileNumbersAreNeverReusedNorHandedOutTwice) {
    TempFolder dir;
    ProfileList profiles(dir.path(), kButtonFace);
    EXPECT_FALSE(profiles.loadProfiles());  // no file, an empty one, a header alone
    for (const std::string& bytes : {std::string(), std::string("\1\0\0\0\0\0\0\0", 8)}) {
        WriteBytes(dir.File("gamesets.vexar"), bytes);
        EXPECT_FALSE(profiles.loadProfiles());
    }
    GameProfile* a = Register(profiles);
    GameProfile* b = Register(profiles);
    EXPECT_EQ(std::pair(a->fileNumber, b->fileNumber), std::pair(1u, 2u));
    b->tabIndex = 1;
    EXPECT_TRUE(profiles.ProfileAtTab(1) == b && profiles.ProfileAtTab(2) == nullptr);
    WriteBytes(profiles.ServerListPath(*a), std::string(1640, '\0'));
    WriteBytes(profiles.BuddyListPath(*a), std::string(50, 'x'));
    profiles.SetCurrent(a);
    profiles.unregisterProfile(a);  // its list files go, and the current profile moves to the head
    EXPECT_FALSE(base::FileExists(dir.File("GS001.vexar")) || base::FileExists(dir.File("BL001.vexar")));
    EXPECT_EQ(profiles.current(), b);
    EXPECT_EQ(Register(profiles)->fileNumber, 3u);
    ASSERT_TRUE(profiles.saveProfiles());
    ProfileList reloaded(dir.path(), kButtonFace);
    ASSERT_TRUE(reloaded.loadProfiles());
    EXPECT_EQ(reloaded.count(), 2u);
    EXPECT_EQ(Register(reloaded)->fileNumber, 4u);
    // Numbers above the width keep all their digits.
    EXPECT_EQ(ServerListFileName(7) + BuddyListFileName(1234), "GS007.vexarBL1234.vexar");

    // A short file gives the whole images it holds, and a number in use is never handed out again.
    std::string file("\5\0\0\0\1\0\0\0", 8);  // claims 5 profiles, last number 1
    uint8_t image[kProfileImageSize];
    for (uint32_t number : {1u, 6u}) {
        GameProfile p;
        base::FormatText(p.title, sizeof p.title, "P%u", number);
        p.fileNumber = number;
        WriteProfileImage(p, image);
        file.append(reinterpret_cast<char*>(image), sizeof image);
    }
    WriteBytes(dir.File("gamesets.vexar"), file + std::string(100, 'z'));  // and part of a third
    ProfileList shortFile(dir.path(), kButtonFace);
    ASSERT_TRUE(shortFile.loadProfiles());
    ASSERT_EQ(shortFile.count(), 2u);
    EXPECT_STREQ(shortFile.head()->title, "P1");
    EXPECT_EQ(Register(shortFile)->fileNumber, 7u);
}

TEST(ProfileList, SavingWritesListFilesOnlyForProfilesThatHaveOrLoadedThem) {
    TempFolder dir;
    Catalogue cat;
    cat.buildCatalogue();
    ProfileList profiles(dir.path(), kButtonFace);
    EXPECT_TRUE(profiles.saveProfiles());  // no profiles: nothing written
    EXPECT_FALSE(base::FileExists(dir.File("gamesets.vexar")));
    GameProfile* used = Register(profiles);
    GameProfile* untouched = Register(profiles);
    GameProfile* emptied = Register(profiles);
    findOrCreateServer(used->servers, MakeServerTemplate("1.2.3.4", 27960));
    WriteBytes(profiles.ServerListPath(*untouched), std::string(1640, '\x01'));
    WriteBytes(profiles.ServerListPath(*emptied), std::string(1640 * 2, '\0'));
    ASSERT_TRUE(loadServerList(*emptied, profiles.ServerListPath(*emptied), cat));
    clearServers(emptied->servers);
    ASSERT_TRUE(profiles.saveProfiles());
    // GS003: loaded, then emptied: it shrinks.
    EXPECT_EQ(std::tuple(base::FileSize(dir.File("GS001.vexar")), base::FileSize(dir.File("BL001.vexar")),
                         base::FileSize(dir.File("GS003.vexar")), base::FileExists(dir.File("BL002.vexar"))),
              std::tuple(1640, 0, 0, false));
    EXPECT_EQ(ReadBytes(dir.File("GS002.vexar")), std::string(1640, '\x01'));
}

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { cat.buildCatalogue(); }
    Catalogue cat;
};

TEST_F(CatalogueTest, RepliesAreClassifiedByTheFirstMatchingModAndGameType) {
    // Applied in turn to one record per kind: what a reply does not match keeps its position.
    // Kind, reply, then the mod's position and name and the game type's position and name.
    const std::tuple<uint32_t, const char*, uint32_t, const char*, uint32_t, const char*> rows[] = {
        {kQuake3, "\\sv_hostname\\x\\gamename\\CPMA\\g_gametype\\5\\mapname\\cpm22", 7, "CPMA", 5, "Clan Arena"},
        {kQuake3, "\\gamename\\BASEQ3\\g_gametype\\4", 1, "BaseQ3", 4, "CTF"},  // never the silent baseq3 at 5
        {kQuake3, "\\gamename\\unknownmod\\g_gametype\\1", 1, "", 4, "CTF"},
        {kQuake3, "\\gamename\\osp\\g_gametype\\9", 17, "OSP", 4, ""},
        {kQuake3, "\\gamename\\threewave\\g_gametype\\4", 6, "Threewave CTF", 4, "3Wave CTF"},
        {kQuake3, "\\gamename\\seals", 19, "Navy Seals", 4, ""},  // the last mod
        // Keys are read whole: "xgametype" before "gametype" does not hide it.
        {kUnrealTournament, "\\gamename\\ut\\gametype\\CTFGame", 1, "UT", 5, "Capture The Flag"},
        {kUnrealTournament, "\\gamename\\ut\\xgametype\\Assault\\gametype\\CTFGame", 1, "UT", 5, "Capture The Flag"},
        {kMedalOfHonour, "\\protocol\\8\\g_gametype\\3", 1, "MOHAA", 4, "Round Based"},
        {kRenegade, "\\gamename\\ccrenegade\\gametype\\c&c", 1, "C&C Renegade", 1, "C&C"},
        // Half-Life servers by their game folder, ignoring case.
        {kHalfLife, "CStrike", 2, "Counter Strike", 0, ""},
        {kHalfLife, "gearbox", 11, "Opposing Force CTF", 0, ""},
        {kHalfLife, "nomod", 11, "", 0, ""},
        // Today's games: OpenArena's com_gamename no longer hides gamename; Urban Terror names no mod;
        // DarkPlaces game types are the first field of qcstatus.
        {kOpenArena, "\\com_gamename\\Quake3Arena\\gamename\\baseoa\\g_gametype\\12", 1, "BaseOA", 13, "Domination"},
        {kIoQuake3, "\\gamename\\cpma\\g_gametype\\5", 3, "CPMA", 5, "Clan Arena"},
        {kUrbanTerror, "\\sv_hostname\\x\\g_gametype\\8", 1, "Urban Terror", 8, "Bomb"},
        {kEtLegacy, "\\gamename\\legacy\\g_gametype\\6", 1, "ET: Legacy", 5, "Map Vote"},
        {kXonotic, "\\gamename\\Xonotic\\qcstatus\\ctf:0.8.6::score!!", 1, "Xonotic", 3, "Capture the Flag"},
        {kXonotic, "\\gamename\\Xonotic\\qcstatus\\ctfx:0.8.6", 1, "Xonotic", 3, ""},  // the whole field
        {kNexuiz, "\\gamename\\Nexuiz\\qcstatus\\dm", 1, "Nexuiz", 1, "Deathmatch"}};
    ServerRecord records[kGameKindCount];
    for (auto [kind, reply, modIndex, mod, gameTypeIndex, gameType] : rows) {
        ServerRecord& r = records[kind];
        if (kind == kHalfLife) {
            base::CopyText(r.gameName, reply);
            cat.classifyHalfLife(r);
        } else {
            cat.classifyReply(reply, r, kind);
        }
        EXPECT_EQ(std::tuple(r.modIndex, std::string(r.modDisplay), r.gameTypeIndex, std::string(r.gameTypeDisplay)),
                  std::tuple(modIndex, std::string(mod), gameTypeIndex, std::string(gameType)))
            << reply;
    }
}

TEST_F(CatalogueTest, LookupsAtTheEdgesOfTheTablesAndModsOverridingTheirGame) {
    // Positions count from 1 (the classification uses them); the names are the tables'.
    EXPECT_TRUE(cat.modDisplayOf(kQuake3, 1) && cat.modDisplayOf(kQuake3, 19) && cat.gameTypeDisplayOf(kQuake3, 7, 5));
    EXPECT_TRUE(!cat.modDisplayOf(kQuake3, 0) && !cat.modDisplayOf(kQuake3, 20) && !cat.GameOf(kGameKindCount));
    EXPECT_TRUE(!cat.gameTypeDisplayOf(kQuake3, 7, 0) && !cat.gameTypeDisplayOf(kQuake3, 7, 6));
    EXPECT_EQ(cat.gameTypeDisplayOf(kQuake3, 8, 1), nullptr);  // Rocket Arena has no game types
    EXPECT_FALSE(cat.defaultPortsOf(42) || cat.launchDataFor(42, ServerRecord()));
    cat.buildCatalogue();  // a second build adds nothing
    EXPECT_EQ(cat.games().size(), size_t(kGameKindCount));

    // Launch data, configuration files and spectator argument: a mod's own, else the game's.
    ServerRecord r;
    EXPECT_EQ(cat.launchDataFor(kQuake3, r)->programFile, "quake3.exe");  // no mod: the game's
    EXPECT_STREQ(cat.configFilesFor(kQuake3, r), "baseq3\\q3config.cfg;baseq3\\autoexec.cfg");
    EXPECT_EQ(cat.spectatorArgumentFor(kQuake3, r), nullptr);
    r.modIndex = 6;  // Threewave: its own configuration files, the game's program and spectator argument
    EXPECT_STREQ(cat.configFilesFor(kQuake3, r), "threewave\\q3config.cfg;threewave\\autoexec.cfg");
    EXPECT_STREQ(cat.spectatorArgumentFor(kQuake3, r), "+setu team s");
    EXPECT_EQ(cat.launchDataFor(kQuake3, r)->programFile, "quake3.exe");
    r.modIndex = 2;  // Counter Strike: its own program, folder, command line and configuration
    auto cs = cat.launchDataFor(kHalfLife, r);
    EXPECT_EQ(cs->programFile + "|" + cs->folder, "cstrike.exe|C:\\Sierra\\Counter Strike");
    EXPECT_NE(cs->connectTemplate, cat.launchDataFor(kHalfLife, ServerRecord())->connectTemplate);
    EXPECT_STREQ(cat.configFilesFor(kHalfLife, r), "cstrike\\config.cfg");
    EXPECT_STREQ(cat.spectatorArgumentFor(kHalfLife, r), "");
}

ServerRecord* Append(ServerList& list, const char* address) {
    auto r = std::make_unique<ServerRecord>();
    base::CopyText(r->addressText, address);
    r->port = 1;
    ServerRecord* raw = r.get();
    EXPECT_EQ(appendServer(list, std::move(r)), list.count);
    return raw;
}

TEST(ServerList, KeepsInsertionOrderMovesACursorOnARemovedRecordToTheHeadAndLookupFollowsRemovalsAndDuplicates) {
    ServerList list;
    ServerRecord* a = Append(list, "1.1.1.1");
    EXPECT_TRUE(list.head == a && list.tail == a && list.cursor == a);
    ServerRecord* b = Append(list, "2.2.2.2");
    ServerRecord* c = Append(list, "3.3.3.3");
    EXPECT_TRUE(a->next == b && b->next == c && c->prev == b && b->prev == a && list.tail == c);
    EXPECT_EQ(list.cursor, a);
    list.cursor = c;
    removeServer(list, c);
    EXPECT_TRUE(list.cursor == a && list.tail == b && b->next == nullptr);
    removeServer(list, a);  // not the cursor: it stays
    EXPECT_TRUE(list.cursor == b && list.head == b && b->prev == nullptr && list.count == 1);
    list.cursor = b;
    removeServer(list, b);
    EXPECT_TRUE(list.head == nullptr && list.tail == nullptr && list.cursor == nullptr && list.count == 0);

    // Lookup follows removals, duplicates and clear (letter case and port: the master list merge's test).
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("Lab.Example", 27960)), nullptr);
    clearServers(list);
    EXPECT_EQ(list.Find("lab.example", 27960), nullptr);

    // The same address three times, as a hand-edited file may hold it: the first is found, and when
    // it goes the next one takes its place.
    ServerRecord* first = Append(list, "1.1.1.1");
    ServerRecord* second = Append(list, "1.1.1.1");
    ServerRecord* third = Append(list, "1.1.1.1");
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, second);
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, first);
    EXPECT_EQ(list.Find("1.1.1.1", 1), third);
    removeServer(list, third);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("1.1.1.1", 1)), nullptr);
    EXPECT_EQ(list.count, 1u);
}

}  // namespace

TEST(PlayerSlots, AreMadeInBlocksAsNeededAndNeverMove) {
    ServerRecord r;
    EXPECT_TRUE(!r.HasPlayerSlots() && r.PlayerAt(0) == nullptr);
    r.playerCount = 3;
    EXPECT_EQ(r.StoredPlayerCount(), 0);  // a count without slots reads nothing
    PlayerRecord* third = &r.PlayerSlot(2);
    third->score = 7;
    EXPECT_EQ(std::pair(r.playerSlotCount(), r.StoredPlayerCount()), std::pair(16, 3));
    PlayerRecord* far = &r.PlayerSlot(100);
    // Rows that point at a slot keep it.
    EXPECT_EQ(std::tuple(r.PlayerAt(100), r.PlayerAt(2), third->score, r.playerSlotCount(), r.PlayerAt(112)),
              std::tuple(far, third, 7, 112, static_cast<PlayerRecord*>(nullptr)));
    r.MakePlayerSlots(1000);
    r.playerCount = 500;
    EXPECT_EQ(std::tuple(r.playerSlotCount(), r.StoredPlayerCount(), r.PlayerAt(128)),
              std::tuple(128, 128, static_cast<PlayerRecord*>(nullptr)));
}
