// Tests of game profiles: the 748-byte image both ways, the default profile, file numbers, "gamesets.vexar".
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "base/file_io.h"
#include "base/text.h"
#include "catalogue/list_files.h"
#include "catalogue/profiles.h"
#include "testing/fake_message_sink.h"
#include "testing/temp_folder.h"

namespace {

using namespace catalogue;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

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
    WriteBytes(dir.File("gamesets.vexar"), "");
    EXPECT_FALSE(profiles.loadProfiles());
    WriteBytes(dir.File("gamesets.vexar"), std::string("\1\0\0\0\0\0\0\0", 8));
    EXPECT_FALSE(profiles.loadProfiles());
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
    EXPECT_EQ(ServerListFileName(7), "GS007.vexar");
    EXPECT_EQ(BuddyListFileName(1234), "BL1234.vexar");  // numbers above the width keep all their digits

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
    EXPECT_EQ(base::FileSize(dir.File("GS001.vexar")), 1640);
    EXPECT_EQ(base::FileSize(dir.File("BL001.vexar")), 0);
    EXPECT_EQ(ReadBytes(dir.File("GS002.vexar")), std::string(1640, '\x01'));
    EXPECT_FALSE(base::FileExists(dir.File("BL002.vexar")));
    EXPECT_EQ(base::FileSize(dir.File("GS003.vexar")), 0);  // loaded, then emptied: shrinks
}

}  // namespace
