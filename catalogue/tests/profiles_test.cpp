// Tests of game profiles: the 748-byte image, file numbers, "gamesets.vexar" and start-up.
#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "catalogue/list_files.h"
#include "catalogue/profiles.h"
#include "testing/fake_message_sink.h"
#include "testing/temp_folder.h"

namespace {

using namespace catalogue;
using testing_support::FakeMessageSink;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

constexpr uint32_t kButtonFace = 0xD8E9EC;

uint32_t U32At(const std::string& bytes, size_t offset) {
    return base::LoadU32LE(reinterpret_cast<const uint8_t*>(bytes.data()) + offset);
}

std::unique_ptr<GameProfile> Profile(const char* title, uint32_t kind) {
    auto p = std::make_unique<GameProfile>();
    snprintf(p->title, sizeof p->title, "%s", title);
    p->kind = kind;
    return p;
}

TEST(ProfileImage, FirstStartWritesTheDefaultProfileAtTheTableOffsets) {
    TempFolder dir;
    Catalogue cat;
    ProfileList profiles(dir.path(), kButtonFace);
    FakeMessageSink sink;
    StartCatalogueAndProfiles(cat, profiles, sink);
    ASSERT_EQ(profiles.count(), 1u);
    EXPECT_EQ(profiles.current(), profiles.head());
    EXPECT_TRUE(sink.shown.empty());
    ASSERT_TRUE(profiles.saveProfiles());

    std::string f = ReadBytes(dir.File("gamesets.vexar"));
    ASSERT_EQ(f.size(), 756u);
    EXPECT_EQ(U32At(f, 0), 1u);  // count
    EXPECT_EQ(U32At(f, 4), 1u);  // last file number
    std::string img = f.substr(8);
    std::string title(img.data(), 52);
    EXPECT_EQ(title, std::string("Star Trek Voyager Elite Force") + std::string(52 - 29, '\0'));
    EXPECT_EQ(U32At(img, 52), 0u);   // kind
    EXPECT_EQ(U32At(img, 56), 24u);  // protocol
    EXPECT_EQ(U32At(img, 60), 1u);   // default profile mark
    EXPECT_EQ(std::string(img.data() + 64), cat.GameOf(0)->masterAddress);
    EXPECT_EQ(U32At(img, 84), 27953u);
    EXPECT_EQ(img[88], '\0');  // game folder
    EXPECT_EQ(U32At(img, 344), 2000u);
    EXPECT_EQ(U32At(img, 348), 999u);
    EXPECT_EQ(uint8_t(img[352]), 10u);
    EXPECT_EQ(U32At(img, 396), 1u);  // file number
    EXPECT_EQ(U32At(img, 436), 0u);  // icon
    const uint32_t widths[10] = {25, 25, 25, 250, 80, 80, 80, 80, 80, 80};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(U32At(img, 444 + 4 * i), 0u);
        EXPECT_EQ(U32At(img, 524 + 4 * i), uint32_t(i));
        EXPECT_EQ(U32At(img, 604 + 4 * i), widths[i]);
    }
    EXPECT_EQ(U32At(img, 684), 1u);  // sort column
    const uint32_t colours[12] = {0xFBF8F4, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFF9797,
                                  0x000000, 0x000000, 0x00FF00, 0xFF0000, 0x000000, kButtonFace};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(U32At(img, 688 + 4 * i), colours[i]) << i;
    // Nothing was loaded and the lists are empty: no list files yet.
    EXPECT_FALSE(base::FileExists(dir.File("GS001.vexar")));
}

TEST(ProfileImage, ImageRoundTripsEveryStoredAreaAndDropsRunTimeOnes) {
    GameProfile p;
    snprintf(p.title, sizeof p.title, "My Q3");
    p.kind = 1;
    p.protocol = 67;
    snprintf(p.masterAddress, sizeof p.masterAddress, "127.10.0.1");
    p.masterPort = 27950;
    snprintf(p.gameFolder, sizeof p.gameFolder, "C:\\Games\\Quake III Arena");
    p.fileNumber = 12;
    p.reserved400 = 0xCAFE;
    p.reserved353[1] = 9;
    p.iconIndex = 2;
    p.tabIndex = 3;
    for (int i = 0; i < 10; ++i) {
        p.sortDescending[i] = i & 1;
        p.columnOrder[i] = 9 - i;
        p.columnWidth[i] = 100 + i;
    }
    for (int i = 0; i < 40; ++i) {
        p.viewSettings484[i] = uint8_t(i);
        p.viewSettings564[i] = uint8_t(0x40 + i);
        p.viewSettings644[i] = uint8_t(0x80 + i);
    }
    p.sortColumn = -1;
    for (int i = 0; i < 12; ++i)
        p.colours[i] = 0x010203u * i;
    p.onlineBuddies = 4;
    p.listsLoaded = 1;
    uint8_t image[kProfileImageSize];
    WriteProfileImage(p, image);
    EXPECT_EQ(base::LoadU32LE(image + 440), 3u);  // run-time numbers stored as they stand
    EXPECT_EQ(base::LoadU32LE(image + 736), 4u);
    EXPECT_EQ(base::LoadU32LE(image + 744), 1u);
    EXPECT_EQ(image[484 + 5], 5);
    EXPECT_EQ(image[564 + 5], 0x45);
    EXPECT_EQ(image[644 + 5], 0x85);
    EXPECT_EQ(base::LoadI32LE(image + 684), -1);

    GameProfile q;
    ReadProfileImage(image, q);
    uint8_t again[kProfileImageSize];
    WriteProfileImage(q, again);
    // Everything but the run-time numbers survives unchanged.
    for (size_t off : {440u, 736u, 744u})
        std::memset(image + off, 0, 4);
    EXPECT_EQ(std::memcmp(image, again, kProfileImageSize), 0);
    EXPECT_EQ(q.tabIndex, 0u);
    EXPECT_EQ(q.listsLoaded, 0u);
}

TEST(ProfileImage, UnterminatedTextsAreTerminatedInsideTheirFields) {
    uint8_t image[kProfileImageSize];
    std::memset(image, 'A', sizeof image);
    GameProfile p;
    ReadProfileImage(image, p);
    EXPECT_EQ(strlen(p.title), 51u);
    EXPECT_EQ(strlen(p.masterAddress), 19u);
    EXPECT_EQ(strlen(p.gameFolder), 255u);
}

TEST(ProfileList, FileNumbersAreNeverReused) {
    TempFolder dir;
    ProfileList profiles(dir.path(), kButtonFace);
    GameProfile* a = profiles.registerProfile(Profile("A", 1), true, true);
    GameProfile* b = profiles.registerProfile(Profile("B", 2), true, true);
    EXPECT_EQ(a->fileNumber, 1u);
    EXPECT_EQ(b->fileNumber, 2u);
    WriteBytes(profiles.ServerListPath(*a), std::string(1640, '\0'));
    WriteBytes(profiles.BuddyListPath(*a), std::string(50, 'x'));
    profiles.unregisterProfile(a);
    EXPECT_FALSE(base::FileExists(dir.File("GS001.vexar")));
    EXPECT_FALSE(base::FileExists(dir.File("BL001.vexar")));
    EXPECT_EQ(profiles.current(), b);
    EXPECT_EQ(b->fileNumber, 2u);
    GameProfile* c = profiles.registerProfile(Profile("C", 1), true, true);
    EXPECT_EQ(c->fileNumber, 3u);
    ASSERT_TRUE(profiles.saveProfiles());

    ProfileList reloaded(dir.path(), kButtonFace);
    ASSERT_TRUE(reloaded.loadProfiles());
    EXPECT_EQ(reloaded.count(), 2u);
    EXPECT_EQ(reloaded.lastFileNumber(), 3u);
    GameProfile* d = reloaded.registerProfile(Profile("D", 1), true, true);
    EXPECT_EQ(d->fileNumber, 4u);
}

TEST(ProfileList, NumbersAboveThePrintedWidthKeepAllTheirDigits) {
    EXPECT_EQ(ServerListFileName(7), "GS007.vexar");
    EXPECT_EQ(BuddyListFileName(1234), "BL1234.vexar");
}

TEST(ProfileList, MissingEmptyOrHeaderOnlyFilesFailToLoad) {
    TempFolder dir;
    ProfileList profiles(dir.path(), kButtonFace);
    EXPECT_FALSE(profiles.loadProfiles());
    WriteBytes(dir.File("gamesets.vexar"), "");
    EXPECT_FALSE(profiles.loadProfiles());
    WriteBytes(dir.File("gamesets.vexar"), std::string("\1\0\0\0\5\0\0\0", 8));
    EXPECT_FALSE(profiles.loadProfiles());
    EXPECT_EQ(profiles.count(), 0u);
}

TEST(ProfileList, ShortFileLoadsTheWholeImagesItHoldsAndAdjustsTheLastNumber) {
    TempFolder dir;
    uint8_t image[kProfileImageSize];
    std::string file("\5\0\0\0\1\0\0\0", 8);  // claims 5 profiles, last number 1
    for (uint32_t n : {1u, 6u}) {
        GameProfile p;
        snprintf(p.title, sizeof p.title, "P%u", n);
        p.fileNumber = n;
        WriteProfileImage(p, image);
        file.append(reinterpret_cast<char*>(image), sizeof image);
    }
    file.append(100, 'z');  // a partial third image
    WriteBytes(dir.File("gamesets.vexar"), file);
    ProfileList profiles(dir.path(), kButtonFace);
    ASSERT_TRUE(profiles.loadProfiles());
    EXPECT_EQ(profiles.count(), 2u);
    EXPECT_STREQ(profiles.head()->title, "P1");
    EXPECT_EQ(profiles.lastFileNumber(), 6u);  // number 6 is in use: the next one is 7
    GameProfile* next = profiles.registerProfile(Profile("New", 0), true, true);
    EXPECT_EQ(next->fileNumber, 7u);
}

TEST(ProfileList, SaveWritesListsOnlyForProfilesThatHaveOrLoadedThem) {
    TempFolder dir;
    Catalogue cat;
    cat.buildCatalogue();
    ProfileList profiles(dir.path(), kButtonFace);
    GameProfile* used = profiles.registerProfile(Profile("Used", 1), true, true);
    GameProfile* untouched = profiles.registerProfile(Profile("Untouched", 1), true, true);
    GameProfile* emptied = profiles.registerProfile(Profile("Emptied", 1), true, true);
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

TEST(ProfileList, SavingWithoutProfilesWritesNothing) {
    TempFolder dir;
    ProfileList profiles(dir.path(), kButtonFace);
    EXPECT_TRUE(profiles.saveProfiles());
    EXPECT_FALSE(base::FileExists(dir.File("gamesets.vexar")));
}

TEST(ProfileList, TabLookupAndCurrentAfterRemovingTheCurrentProfile) {
    TempFolder dir;
    ProfileList profiles(dir.path(), kButtonFace);
    GameProfile* a = profiles.registerProfile(Profile("A", 1), true, true);
    GameProfile* b = profiles.registerProfile(Profile("B", 1), true, true);
    a->tabIndex = 0;
    b->tabIndex = 1;
    EXPECT_EQ(profiles.ProfileAtTab(1), b);
    EXPECT_EQ(profiles.ProfileAtTab(2), nullptr);
    profiles.SetCurrent(b);
    profiles.unregisterProfile(b);
    EXPECT_EQ(profiles.current(), a);
}

}  // namespace
