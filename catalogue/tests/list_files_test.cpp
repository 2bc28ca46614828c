// Tests of the server-list and buddy-list files: golden byte layouts, loading rules, crash safety.
#include <gtest/gtest.h>

#include <cstring>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

class ListFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        profile.kind = kQuake3;
        profile.fileNumber = 1;
    }
    std::string ServerPath() const { return dir.File("GS001.vexar"); }
    std::string BuddyPath() const { return dir.File("BL001.vexar"); }
    void AddServer(const char* address, uint32_t port) {
        findOrCreateServer(profile.servers, MakeServerTemplate(address, port));
    }

    TempFolder dir;
    Catalogue cat;
    GameProfile profile;
};

// Every field gets a distinct value, so a field written at the wrong offset shows.
void FillAllFields(ServerRecord& r) {
    snprintf(r.hostName, sizeof r.hostName, "^1Host");
    snprintf(r.mapName, sizeof r.mapName, "q3dm17");
    snprintf(r.infoText, sizeof r.infoText, "info");
    snprintf(r.gameName, sizeof r.gameName, "cpma");
    snprintf(r.modDisplay, sizeof r.modDisplay, "CPMA");
    snprintf(r.webAddress, sizeof r.webAddress, "http://w");
    r.livesLeft = -2;
    snprintf(r.location, sizeof r.location, "UK");
    r.joinCount = 3;
    r.isFavourite = 1;
    r.reserved1[7] = 0x77;
    snprintf(r.versionText, sizeof r.versionText, "Q3 1.32");
    r.maxRate = 101;
    r.timeLimit = 102;
    r.captureLimit = 103;
    r.fragLimit = 104;
    r.allowDownload = 105;
    r.allowVote = 106;
    r.pure = 107;
    r.gameSpeed = 108;
    r.gravity = 109;
    r.reserved2[0] = 0x55;
    snprintf(r.adminEmail, sizeof r.adminEmail, "a@b");
    r.maxPlayers = 16;
    r.privateSlots = 2;
    r.playerCount = 5;
    snprintf(r.passwordText, sizeof r.passwordText, "1");
    r.gameTypeIndex = 5;
    r.modIndex = 7;
    r.protocolVersion = 47;
    r.dedicated = 'd';
    r.serverOs = 'w';
    r.isMod = 1;
    r.reserved3 = 0x33;
    r.autoRefresh = 1;
    for (int i = 0; i < 4; ++i)
        r.addressOctets[i] = 10 + i;
    r.spareWords[0] = 0x11111111;
    r.spareWords[1] = 0x22222222;
    r.port = 27960;
    r.hostPort = 27961;
    r.ping = 48;
    snprintf(r.serverPassword, sizeof r.serverPassword, "pw");
    snprintf(r.rconPassword, sizeof r.rconPassword, "rc");
}

// The bytes the layout tables give for FillAllFields, built independently of the writer.
std::string GoldenRecord() {
    std::string b(1640, '\0');
    auto text = [&](size_t off, const char* s) { memcpy(&b[off], s, strlen(s)); };
    auto u32 = [&](size_t off, uint32_t v) { base::StoreU32LE(reinterpret_cast<uint8_t*>(&b[off]), v); };
    text(0, "^1Host");
    text(150, "q3dm17");
    text(200, "info");
    text(456, "cpma");
    text(506, "CPMA");
    text(556, "http://w");
    u32(828, uint32_t(-2));
    text(832, "UK");
    u32(932, 3);
    u32(936, 1);
    b[947] = 0x77;
    text(948, "Q3 1.32");
    for (int i = 0; i < 9; ++i)
        u32(1204 + 4 * i, 101 + i);
    b[1240] = 0x55;
    text(1244, "a@b");
    u32(1500, 16);
    u32(1504, 2);
    u32(1508, 5);
    text(1512, "1");
    u32(1524, 5);
    u32(1528, 7);
    u32(1532, 47);
    b[1536] = 'd';
    b[1537] = 'w';
    b[1538] = 1;
    b[1539] = 0x33;
    u32(1540, 1);
    for (int i = 0; i < 4; ++i)
        u32(1544 + 4 * i, 10 + i);
    u32(1560, 0x11111111);
    u32(1564, 0x22222222);
    u32(1568, 27960);
    u32(1572, 27961);
    u32(1576, 48);
    text(1580, "pw");
    text(1610, "rc");
    return b;
}

TEST_F(ListFilesTest, RecordIsWrittenAtTheExactOffsetsOfTheLayout) {
    auto r = std::make_unique<ServerRecord>();
    FillAllFields(*r);
    appendServer(profile.servers, std::move(r));
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(ReadBytes(ServerPath()), GoldenRecord());
}

TEST_F(ListFilesTest, GoldenBytesLoadIntoTheFieldsWithTheLoadingRules) {
    WriteBytes(ServerPath(), GoldenRecord());
    ASSERT_TRUE(loadServerList(profile, ServerPath(), cat));
    ASSERT_EQ(profile.servers.count, 1u);
    const ServerRecord& r = *profile.servers.head;
    EXPECT_STREQ(r.addressText, "10.11.12.13");
    EXPECT_STREQ(r.hostName, "^1Host");
    EXPECT_STREQ(r.versionText, "Q3 1.32");
    EXPECT_EQ(r.livesLeft, -2);
    EXPECT_EQ(r.gravity, 109);
    EXPECT_EQ(r.port, 27960u);
    EXPECT_EQ(r.hostPort, 27961u);
    EXPECT_EQ(r.ping, 48u);
    EXPECT_EQ(r.spareWords[1], 0x22222222u);
    EXPECT_STREQ(r.rconPassword, "rc");
    EXPECT_EQ(r.playerCount, 0);  // the file holds no players
    EXPECT_EQ(r.refreshPending, 0u);
    EXPECT_EQ(r.awaitingReply, 0u);
    EXPECT_STREQ(r.modDisplay, "CPMA");
    EXPECT_STREQ(r.gameTypeDisplay, "Clan Arena");  // looked up again from the positions
    EXPECT_TRUE(profile.listsLoaded);

    // Saving what was loaded gives the same bytes, but for the player count.
    std::string expected = GoldenRecord();
    base::StoreU32LE(reinterpret_cast<uint8_t*>(&expected[1508]), 0);
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(ReadBytes(ServerPath()), expected);
}

TEST_F(ListFilesTest, ThreeServersGive4920BytesAndLoadInOrderWithTheirLastPing) {
    AddServer("1.1.1.1", 27960);
    AddServer("2.2.2.2", 27961);
    AddServer("3.3.3.3", 27962);
    profile.servers.head->next->ping = 77;
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(base::FileSize(ServerPath()), 4920);
    GameProfile loaded;
    loaded.kind = kQuake3;
    ASSERT_TRUE(loadServerList(loaded, ServerPath(), cat));
    ASSERT_EQ(loaded.servers.count, 3u);
    EXPECT_STREQ(loaded.servers.head->addressText, "1.1.1.1");
    EXPECT_EQ(loaded.servers.head->next->ping, 77u);
    EXPECT_EQ(loaded.servers.head->next->port, 27961u);
    EXPECT_STREQ(loaded.servers.tail->addressText, "3.3.3.3");
    for (ServerRecord* r = loaded.servers.head; r; r = r->next)
        EXPECT_EQ(r->refreshPending, 0u);
}

TEST_F(ListFilesTest, EmptyNameLoadsAsAddressAndPort) {
    std::string rec(1640, '\0');
    uint8_t* p = reinterpret_cast<uint8_t*>(rec.data());
    base::StoreU32LE(p + 1544, 192);
    base::StoreU32LE(p + 1548, 168);
    base::StoreU32LE(p + 1552, 0);
    base::StoreU32LE(p + 1556, 9);
    base::StoreU32LE(p + 1568, 27960);
    WriteBytes(ServerPath(), rec);
    ASSERT_TRUE(loadServerList(profile, ServerPath(), cat));
    EXPECT_STREQ(profile.servers.head->hostName, "~ 192.168.0.9:27960");
}

TEST_F(ListFilesTest, TrailingPartialRecordIsIgnoredAndTextsStayInTheirFields) {
    std::string rec(1700, '\xFF');  // one record of 0xFF bytes and a 60-byte tail
    WriteBytes(ServerPath(), rec);
    ASSERT_TRUE(loadServerList(profile, ServerPath(), cat));
    ASSERT_EQ(profile.servers.count, 1u);
    const ServerRecord& r = *profile.servers.head;
    EXPECT_EQ(strlen(r.hostName), 149u);
    EXPECT_EQ(strlen(r.passwordText), 11u);
    EXPECT_EQ(strlen(r.rconPassword), 29u);
    EXPECT_LT(strlen(r.addressText), 20u);
    EXPECT_EQ(r.modDisplay[0], '\xFF');  // no catalogue entry at that position: kept as stored
}

TEST_F(ListFilesTest, MissingFileIsCreatedEmptyAndLoadsNothing) {
    ASSERT_TRUE(loadServerList(profile, ServerPath(), cat));
    EXPECT_EQ(profile.servers.count, 0u);
    EXPECT_EQ(base::FileSize(ServerPath()), 0);
    ASSERT_TRUE(loadBuddyList(profile, BuddyPath()));
    EXPECT_EQ(base::FileSize(BuddyPath()), 0);
}

TEST_F(ListFilesTest, RemovingServersShrinksTheFile) {
    for (int i = 0; i < 5; ++i)
        AddServer(("10.0.0." + std::to_string(i)).c_str(), 27960);
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(base::FileSize(ServerPath()), 5 * 1640);
    removeServer(profile.servers, profile.servers.head);
    removeServer(profile.servers, profile.servers.tail);
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(base::FileSize(ServerPath()), 3 * 1640);
    clearServers(profile.servers);
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(base::FileSize(ServerPath()), 0);
}

TEST_F(ListFilesTest, BuddyFileHolds50ByteNamesZeroPadded) {
    for (const char* name : {"^1Bob", "Alice"}) {
        auto b = std::make_unique<BuddyRecord>();
        snprintf(b->name, sizeof b->name, "%s", name);
        appendBuddy(profile.buddies, std::move(b));
    }
    ASSERT_TRUE(saveBuddyList(profile, BuddyPath()));
    std::string expected(100, '\0');
    memcpy(&expected[0], "^1Bob", 5);
    memcpy(&expected[50], "Alice", 5);
    EXPECT_EQ(ReadBytes(BuddyPath()), expected);

    WriteBytes(BuddyPath(), expected + std::string(50, 'Z') + "tail");
    GameProfile loaded;
    ASSERT_TRUE(loadBuddyList(loaded, BuddyPath()));
    ASSERT_EQ(loaded.buddies.count, 3u);
    EXPECT_STREQ(loaded.buddies.head->name, "^1Bob");
    EXPECT_EQ(strlen(loaded.buddies.tail->name), 49u);
}

TEST_F(ListFilesTest, FailedSaveKeepsTheOldFile) {
    AddServer("1.1.1.1", 27960);
    ASSERT_TRUE(saveServerList(profile, ServerPath()));
    std::string before = ReadBytes(ServerPath());
    AddServer("2.2.2.2", 27960);
    // A folder in place of the temporary file: the save cannot happen.
    std::string tmp = ServerPath() + ".tmp";
#ifdef _WIN32
    ASSERT_EQ(system(("mkdir \"" + tmp + "\"").c_str()), 0);
#else
    ASSERT_EQ(system(("mkdir '" + tmp + "'").c_str()), 0);
#endif
    EXPECT_FALSE(saveServerList(profile, ServerPath()));
    EXPECT_EQ(ReadBytes(ServerPath()), before);
}

#ifndef _WIN32
// A save killed at a random moment leaves the old file or the new one, never a mixture.
TEST_F(ListFilesTest, SaveKilledMidwayLeavesAWholeFile) {
    for (int i = 0; i < 3000; ++i)
        AddServer(("10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256)).c_str(), 27960);
    GameProfile small;
    findOrCreateServer(small.servers, MakeServerTemplate("9.9.9.9", 1));
    for (int round = 0; round < 6; ++round) {
        ASSERT_TRUE(saveServerList(small, ServerPath()));
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            saveServerList(profile, ServerPath());
            _exit(0);
        }
        usleep(500 * round);
        kill(child, SIGKILL);
        int status;
        waitpid(child, &status, 0);
        int64_t size = base::FileSize(ServerPath());
        EXPECT_TRUE(size == 1640 || size == 3000 * 1640) << "round " << round << " size " << size;
    }
}
#endif

TEST_F(ListFilesTest, OldBuddyListImportAsksSkipsKnownNamesAndMovesTheFile) {
    auto b = std::make_unique<BuddyRecord>();
    snprintf(b->name, sizeof b->name, "bob");
    appendBuddy(profile.buddies, std::move(b));
    std::string old(150, '\0');
    memcpy(&old[0], "Bob", 3);
    memcpy(&old[50], "Carol", 5);
    memcpy(&old[100], "Dave", 4);
    WriteBytes(dir.File("vxrbl192.dat"), old + "xx");
    FakeMessageSink sink;
    sink.answers = {true};
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 3u);
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(sink.shown[0], "A buddy list from a previous version of Vexar!\nhas been found, Import this Buddy list?");
    EXPECT_EQ(sink.shown[1], "Your old Buddy List will now be moved to BL.OLD!");
    EXPECT_EQ(profile.buddies.count, 3u);
    EXPECT_STREQ(profile.buddies.tail->name, "Dave");
    EXPECT_FALSE(base::FileExists(dir.File("vxrbl192.dat")));
    EXPECT_EQ(ReadBytes(dir.File("BL.OLD")), old + "xx");
}

TEST_F(ListFilesTest, DeclinedImportStillMovesTheFileAndExistingBackupKeepsIt) {
    WriteBytes(dir.File("vxrbl192.dat"), std::string(50, 'A'));
    FakeMessageSink sink;
    sink.answers = {false};
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 0u);
    EXPECT_EQ(profile.buddies.count, 0u);
    EXPECT_TRUE(base::FileExists(dir.File("BL.OLD")));

    WriteBytes(dir.File("vxrbl192.dat"), std::string(50, 'B'));
    sink.answers = {true};
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 1u);
    EXPECT_TRUE(base::FileExists(dir.File("vxrbl192.dat")));  // BL.OLD exists: the rename fails
    EXPECT_EQ(ReadBytes(dir.File("BL.OLD")), std::string(50, 'A'));
}

TEST_F(ListFilesTest, NoOrEmptyOldFileAsksNothing) {
    FakeMessageSink sink;
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 0u);
    WriteBytes(dir.File("vxrbl192.dat"), std::string(49, 'A'));
    EXPECT_EQ(importOldBuddyList(profile, dir.path(), sink), 0u);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(base::FileExists(dir.File("vxrbl192.dat")));
}

}  // namespace
