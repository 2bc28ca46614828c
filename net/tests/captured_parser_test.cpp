// Tests of the Quake-III parser on getstatus replies captured from real OpenArena servers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/status_parser.h"

namespace {

using catalogue::ServerRecord;

// testing/data of the source tree, found from this file's own path.
std::string DataPath(const char* name) {
    std::string path = __FILE__;
    for (int i = 0; i < 3; ++i)
        path = path.substr(0, path.find_last_of("/\\"));
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;  // the Unix root as Wine shows it
#endif
    return path + "/testing/data/" + name;
}

std::vector<uint8_t> ReadCapture(const char* name) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(DataPath(name).c_str(), "rb");
    if (!f)
        return bytes;
    uint8_t buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

class CapturedReplyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        base::CopyText(record.addressText, "127.0.0.1");
    }
    bool Parse(const char* name, net::RawReply* raw = nullptr) {
        std::vector<uint8_t> d = ReadCapture(name);
        EXPECT_FALSE(d.empty()) << "missing capture " << DataPath(name);
        return net::parseReply(record, d.data(), d.size(), catalogue::kQuake3, cat, raw);
    }
    catalogue::Catalogue cat;
    ServerRecord record;
};

TEST_F(CapturedReplyTest, ServerWithFourBots) {
    record.maxRate = 1234;
    record.allowVote = 7;
    net::RawReply raw;
    ASSERT_TRUE(Parse("openarena_bots.bin", &raw));
    EXPECT_STREQ(record.hostName, "^1Lab ^7Arena");
    EXPECT_STREQ(record.mapName, "oa_dm1");
    EXPECT_EQ(record.maxPlayers, 8);
    EXPECT_EQ(record.playerCount, 4);
    EXPECT_STREQ(record.passwordText, "0");
    EXPECT_EQ(record.fragLimit, 20);
    EXPECT_EQ(record.captureLimit, 8);
    EXPECT_EQ(record.privateSlots, 0);
    EXPECT_EQ(strncmp(record.versionText, "ioq3 1.36", 9), 0);
    // The server sends "com_gamename" before "gamename": the first occurrence of the key's text wins.
    EXPECT_STREQ(record.gameName, "Quake3Arena");
    // The reply's "sv_maxRate" and "g_allowVote" differ in letter case from the keys looked up
    // ("sv_maxrate", "g_allowvote"): not found, so the fields keep their values.
    EXPECT_EQ(record.maxRate, 1234);
    EXPECT_EQ(record.allowVote, 7);
    ASSERT_EQ(record.StoredPlayerCount(), 4);
    EXPECT_STREQ(record.PlayerAt(0)->name, "Penguin");
    EXPECT_STREQ(record.PlayerAt(3)->name, "Assassin");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(record.PlayerAt(i)->ping, 0) << i;  // bots
    EXPECT_EQ(raw.size, 890u);
    EXPECT_TRUE(raw.HoldsText());
}

TEST_F(CapturedReplyTest, CrowdedTeamServer) {
    ASSERT_TRUE(Parse("openarena_crowded.bin"));
    EXPECT_STREQ(record.hostName, "Crowded");
    EXPECT_STREQ(record.mapName, "oa_dm4");
    EXPECT_EQ(record.maxPlayers, 16);
    EXPECT_EQ(record.playerCount, 8);
    EXPECT_STREQ(record.PlayerAt(2)->name, "Kyonshi");
    EXPECT_EQ(record.PlayerAt(2)->score, 1);
    EXPECT_STREQ(record.PlayerAt(7)->name, "Liz");
}

TEST_F(CapturedReplyTest, EmptyPasswordedCaptureTheFlagServer) {
    ASSERT_TRUE(Parse("openarena_empty_ctf.bin"));
    EXPECT_STREQ(record.hostName, "^3Empty^^5Room");
    EXPECT_STREQ(record.mapName, "oa_ctf4ish");
    EXPECT_EQ(record.playerCount, 0);
    EXPECT_FALSE(record.HasPlayerSlots());
    EXPECT_TRUE(record.NeedsPassword());
    EXPECT_EQ(record.maxPlayers, 8);
}

TEST_F(CapturedReplyTest, EveryTruncationOfACaptureIsSafe) {
    std::vector<uint8_t> full = ReadCapture("openarena_crowded.bin");
    ASSERT_FALSE(full.empty());
    int lastCount = 0;
    for (size_t size = 0; size <= full.size(); ++size) {
        std::vector<uint8_t> d(full.begin(), full.begin() + size);  // exactly `size` bytes
        ServerRecord r;
        base::CopyText(r.addressText, "127.0.0.3");
        bool answered = net::parseReply(r, d.data(), d.size(), catalogue::kQuake3, cat, nullptr);
        if (!answered) {
            ASSERT_EQ(r.playerCount, 0) << size;
            continue;
        }
        // Player lines appear one by one as their newlines come into the datagram.
        ASSERT_GE(r.playerCount, lastCount) << size;
        ASSERT_LE(r.playerCount, lastCount + 1) << size;
        lastCount = r.playerCount;
    }
    EXPECT_EQ(lastCount, 8);
}

}  // namespace
