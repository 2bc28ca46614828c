// Tests of Quake-III style status reply parsing: info keys, player lines, dispatch and no-reply rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/reply_families.h"
#include "net/status_parser.h"

namespace {

using catalogue::PlayerRecord;
using catalogue::ServerRecord;

const std::string kHeader = "\xFF\xFF\xFF\xFFstatusResponse\n";
const std::string kTypedHeader = "\xFF\xFF\xFF\xFF\x01statusResponse\n";

// The datagram in a heap block of exactly its size, so that any read past it is caught.
std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

bool FieldTerminated(const char* field, size_t width) {
    return std::memchr(field, 0, width) != nullptr;
}

class Quake3ParserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.buildCatalogue();
        base::CopyText(record.addressText, "10.0.0.7");
        base::CopyText(record.hostName, "~ New Server!");
    }
    bool Parse(const std::string& reply, uint32_t kind = catalogue::kQuake3, net::RawReply* raw = nullptr) {
        std::vector<uint8_t> d = Bytes(reply);
        return net::parseReply(record, d.data(), d.size(), kind, cat, raw);
    }
    catalogue::Catalogue cat;
    ServerRecord record;
};

TEST_F(Quake3ParserTest, ThreePlayersInLineOrderWithMaxClients) {
    std::string reply = kHeader + "\\sv_hostname\\^1Lab\\sv_maxclients\\16\\mapname\\oa_dm1\n" +
                        "12 50 \"^2Alice\"\n0 0 \"Bot\"\n-3 999 \"C h a r\"\n";
    ASSERT_TRUE(Parse(reply));
    EXPECT_STREQ(record.hostName, "^1Lab");  // colour codes kept in the name
    EXPECT_EQ(record.playerCount, 3);
    EXPECT_EQ(record.maxPlayers, 16);
    EXPECT_STREQ(record.mapName, "oa_dm1");
    ASSERT_EQ(record.StoredPlayerCount(), 3);
    EXPECT_STREQ(record.PlayerAt(0)->name, "^2Alice");
    EXPECT_EQ(record.PlayerAt(0)->score, 12);
    EXPECT_EQ(record.PlayerAt(0)->ping, 50);
    EXPECT_STREQ(record.PlayerAt(1)->name, "Bot");
    EXPECT_EQ(record.PlayerAt(1)->ping, 0);
    EXPECT_STREQ(record.PlayerAt(2)->name, "C h a r");
    EXPECT_EQ(record.PlayerAt(2)->score, -3);
    EXPECT_EQ(record.PlayerAt(2)->ping, 999);
}

TEST_F(Quake3ParserTest, EveryInfoKeyGoesToItsField) {
    std::string reply = kHeader +
                        "\\sv_hostname\\Host\\gamename\\^3base^^5q3\\email\\a^1@b\\location\\^2Paris\\url\\^4http://x"
                        "\\website\\http://unused\\version\\ioq3^7 1.36\\mapname\\q3dm17\\sv_maxclients\\24"
                        "\\g_needpass\\1\\sv_pure\\1\\g_speed\\320\\sv_allowdownload\\1\\g_allowvote\\0\\g_gravity\\800"
                        "\\capturelimit\\8\\fraglimit\\30\\timelimit\\20\\sv_maxrate\\25000\\sv_privateClients\\2\n";
    ASSERT_TRUE(Parse(reply));
    EXPECT_STREQ(record.gameName, "baseq3");  // "^3" and "^^5" dropped
    EXPECT_STREQ(record.adminEmail, "a@b");
    EXPECT_STREQ(record.location, "Paris");
    EXPECT_STREQ(record.webAddress, "http://x");
    EXPECT_STREQ(record.versionText, "ioq3 1.36");
    EXPECT_STREQ(record.passwordText, "1");
    EXPECT_TRUE(record.NeedsPassword());
    EXPECT_EQ(record.pure, 1);
    EXPECT_EQ(record.gameSpeed, 320);
    EXPECT_EQ(record.allowDownload, 1);
    EXPECT_EQ(record.allowVote, 0);
    EXPECT_EQ(record.gravity, 800);
    EXPECT_EQ(record.captureLimit, 8);
    EXPECT_EQ(record.fragLimit, 30);
    EXPECT_EQ(record.timeLimit, 20);
    EXPECT_EQ(record.maxRate, 25000);
    EXPECT_EQ(record.privateSlots, 2);
    EXPECT_EQ(record.playerCount, 0);
    EXPECT_FALSE(record.HasPlayerSlots());  // no players, no slots
}

TEST_F(Quake3ParserTest, AbsentKeysKeepOldValuesButClearedFieldsAreCleared) {
    record.maxPlayers = 12;
    record.fragLimit = 7;
    base::CopyText(record.versionText, "old version");
    base::CopyText(record.mapName, "oldmap");
    base::CopyText(record.webAddress, "http://old");
    base::CopyText(record.location, "old");
    base::CopyText(record.adminEmail, "old@x");
    base::CopyText(record.gameName, "oldmod");
    std::memset(record.infoText, 'i', sizeof record.infoText - 1);
    record.privateSlots = 4;
    ASSERT_TRUE(Parse(kHeader + "\\sv_hostname\\Host\\website\\http://site\n"));
    EXPECT_EQ(record.maxPlayers, 12);
    EXPECT_EQ(record.fragLimit, 7);
    EXPECT_STREQ(record.versionText, "old version");
    EXPECT_STREQ(record.mapName, "oldmap");
    EXPECT_STREQ(record.webAddress, "http://site");  // "website" when there is no "url"
    EXPECT_STREQ(record.location, "");
    EXPECT_STREQ(record.adminEmail, "");
    EXPECT_STREQ(record.gameName, "");
    EXPECT_EQ(record.infoText[0], '\0');
    EXPECT_EQ(record.infoText[200], '\0');  // all 256 bytes cleared
    EXPECT_STREQ(record.passwordText, "0");
    EXPECT_EQ(record.privateSlots, 0);
}

TEST_F(Quake3ParserTest, LongValuesAreCutToTheirFields) {
    std::string longName(300, 'N');
    std::string longMap(80, 'm');
    std::string reply = kHeader + "\\sv_hostname\\" + longName + "\\mapname\\" + longMap + "\\g_needpass\\" +
                        std::string(40, '7') + "\\location\\" + std::string(200, 'L') + "\n";
    ASSERT_TRUE(Parse(reply));
    EXPECT_EQ(strlen(record.hostName), 149u);
    EXPECT_EQ(strlen(record.mapName), 49u);
    EXPECT_EQ(strlen(record.passwordText), 11u);
    EXPECT_EQ(strlen(record.location), 99u);
}

TEST_F(Quake3ParserTest, FirstSubstringMatchWinsEvenInsideALongerKey) {
    ASSERT_TRUE(Parse(kHeader + "\\sv_hostname\\H\\nextmapname\\q3dm1\\mapname\\q3dm17\n"));
    EXPECT_STREQ(record.mapName, "q3dm1");
}

TEST_F(Quake3ParserTest, KeyAtTheVeryEndHasAnEmptyValue) {
    base::CopyText(record.mapName, "old");
    ASSERT_TRUE(Parse(kHeader + "\\sv_hostname\\H\\mapname"));
    EXPECT_STREQ(record.mapName, "");
    ASSERT_TRUE(Parse(kHeader + "\\sv_hostname\\H\\mapname\\"));
    EXPECT_STREQ(record.mapName, "");
}

TEST_F(Quake3ParserTest, KeysAreSearchedOnlyInTheInfoLine) {
    // A player's name that looks like a key must not stand in for a key the server did not send.
    std::string reply =
        kHeader + "\\sv_hostname\\H\\gamename\\baseq3\n" + "1 2 \"x\\url\\http://evil\\g_needpass\\1\"\n";
    ASSERT_TRUE(Parse(reply));
    EXPECT_STREQ(record.webAddress, "");
    EXPECT_STREQ(record.passwordText, "0");
    EXPECT_STREQ(record.PlayerAt(0)->name, "x\\url\\http://evil\\g_needpass\\1");
}

TEST_F(Quake3ParserTest, ClassifiesModAndGameType) {
    ASSERT_TRUE(Parse(kHeader + "\\sv_hostname\\H\\gamename\\BASEQ3\\g_gametype\\4\n"));
    EXPECT_EQ(record.modIndex, 1u);
    EXPECT_STREQ(record.modDisplay, "BaseQ3");
    EXPECT_STREQ(record.gameTypeDisplay, "CTF");
    EXPECT_EQ(record.gameTypeIndex, 4u);
}

TEST_F(Quake3ParserTest, KindFourLinesCarryPingAndNameOnly) {
    record.players()[0].score = 77;
    std::string reply = kTypedHeader + "\\sv_hostname\\Allied\\sv_maxclients\\20\n" + "50 \"Pvt. Ryan\"\n";
    ASSERT_TRUE(Parse(reply, catalogue::kMedalOfHonour));
    EXPECT_EQ(record.playerCount, 1);
    EXPECT_EQ(record.PlayerAt(0)->ping, 50);
    EXPECT_EQ(record.PlayerAt(0)->score, 77);  // left as it was
    EXPECT_STREQ(record.PlayerAt(0)->name, "Pvt. Ryan");
}

TEST_F(Quake3ParserTest, InfoLineIsFoundFromOffsetNineteenOrTwenty) {
    // The newline of the header sits at 18 (19 with the type byte) and is not the info line's end.
    EXPECT_EQ(net::countPlayerLines(catalogue::kQuake3, kHeader + "\\a\\b\n1 2 \"x\"\n"), 1);
    EXPECT_EQ(net::countPlayerLines(catalogue::kMedalOfHonour, kTypedHeader + "\\a\\b\n1 \"x\"\n2 \"y\"\n"), 2);
    EXPECT_EQ(net::countPlayerLines(catalogue::kQuake3, kHeader + "\\a\\b"), 0);  // no newline after the info
    EXPECT_EQ(net::countPlayerLines(catalogue::kQuake3, kHeader), 0);
    EXPECT_EQ(net::countPlayerLines(catalogue::kQuake3, "short\n\n\n"), 0);
    EXPECT_EQ(net::countPlayerLines(catalogue::kQuake3, ""), 0);
    // A last piece without its newline is not a line.
    EXPECT_EQ(net::countPlayerLines(catalogue::kQuake3, kHeader + "\\a\\b\n1 2 \"x\"\n3 4 \"y\""), 1);
}

TEST_F(Quake3ParserTest, MalformedLinesFailOneByOne) {
    PlayerRecord* slots = record.players();
    base::CopyText(slots[1].name, "previous");
    base::CopyText(slots[2].name, "previous2");
    base::CopyText(slots[3].name, "previous3");
    slots[3].ping = 5;
    std::string reply = kHeader + "\\sv_hostname\\H\n" +
                        "1 10 \"ok\"\n"              // fine
                        "7 20 \"no closing quote\n"  // fails after score and ping
                        "9\n"                        // no space at all
                        "8 33\n"                     // no space after the ping
                        "2 " +
                        std::string(260, '9') +
                        " \"long\"\n"  // longer than 254 characters
                        "3 30 \"last\"\n";
    ASSERT_TRUE(Parse(reply));
    EXPECT_EQ(record.playerCount, 6);
    EXPECT_STREQ(slots[0].name, "ok");
    EXPECT_STREQ(slots[1].name, "previous");
    EXPECT_EQ(slots[1].score, 7);
    EXPECT_EQ(slots[1].ping, 20);
    EXPECT_STREQ(slots[2].name, "previous2");
    EXPECT_STREQ(slots[3].name, "previous3");
    EXPECT_EQ(slots[3].score, 8);  // the score was read before the line failed
    EXPECT_EQ(slots[3].ping, 5);
    EXPECT_STREQ(slots[5].name, "last");
    EXPECT_EQ(slots[5].ping, 30);
}

TEST_F(Quake3ParserTest, ParsePlayerLineByNumber) {
    std::string reply = kHeader + "\\sv_hostname\\H\n1 10 \"a\"\n2 20 \"" + std::string(60, 'b') + "\"\n3 30 \"c\"";
    PlayerRecord slot;
    slot.viewMark = 9;
    EXPECT_TRUE(net::parsePlayerLine(catalogue::kQuake3, reply, 2, slot));
    EXPECT_EQ(slot.score, 2);
    EXPECT_EQ(strlen(slot.name), 49u);  // a 60-character name keeps its first 49
    EXPECT_EQ(slot.viewMark, 0);
    EXPECT_FALSE(net::parsePlayerLine(catalogue::kQuake3, reply, 3, slot));  // no closing newline
    EXPECT_FALSE(net::parsePlayerLine(catalogue::kQuake3, reply, 0, slot));
    EXPECT_FALSE(net::parsePlayerLine(catalogue::kQuake3, reply, 129, slot));
    EXPECT_TRUE(net::parsePlayerLine(catalogue::kQuake3, reply, 1, slot));
    EXPECT_STREQ(slot.name, "a");
    // A quote right at the end of the line: the name starts past it and finds no closing quote.
    EXPECT_FALSE(net::parsePlayerLine(catalogue::kQuake3, kHeader + "\\a\\b\n1 2 \"\n", 1, slot));
    EXPECT_FALSE(net::parsePlayerLine(catalogue::kQuake3, kHeader + "\\a\\b\n1 2 \n", 1, slot));
    EXPECT_TRUE(net::parsePlayerLine(catalogue::kQuake3, kHeader + "\\a\\b\n1 2 \"\"\n", 1, slot));
    EXPECT_STREQ(slot.name, "");
}

TEST_F(Quake3ParserTest, MoreThan128LinesStoreTheFirst128) {
    std::string reply = kHeader + "\\sv_hostname\\Crowded\n";
    for (int i = 0; i < 200; ++i)
        reply += std::to_string(i) + " " + std::to_string(i + 1) + " \"p" + std::to_string(i) + "\"\n";
    ASSERT_TRUE(Parse(reply));
    EXPECT_EQ(record.playerCount, 200);
    EXPECT_EQ(record.StoredPlayerCount(), 128);
    EXPECT_STREQ(record.PlayerAt(127)->name, "p127");
    EXPECT_EQ(record.PlayerAt(127)->score, 127);
    EXPECT_EQ(record.PlayerAt(128), nullptr);
}

TEST_F(Quake3ParserTest, ReplyWithoutHostNameCountsAsUnanswered) {
    record.isFavourite = 1;  // the name is cleared before parsing, so even a favourite loses it
    record.livesLeft = 5;
    record.ping = 40;
    EXPECT_FALSE(Parse(kHeader + "\\mapname\\q3dm1\\sv_maxclients\\8\n1 2 \"x\"\n"));
    EXPECT_STREQ(record.hostName, "~ 10.0.0.7");
    EXPECT_EQ(record.ping, catalogue::kNoPing);
    EXPECT_EQ(record.livesLeft, 4);
    EXPECT_EQ(record.playerCount, 0);
    EXPECT_EQ(record.maxPlayers, 0);
    EXPECT_STREQ(record.mapName, "");
}

TEST_F(Quake3ParserTest, EmptyDatagramIsNoReply) {
    record.isFavourite = 1;
    base::CopyText(record.hostName, "My favourite");
    record.maxPlayers = 16;
    record.playerCount = 3;
    record.livesLeft = 2;
    EXPECT_FALSE(net::parseReply(record, nullptr, 0, catalogue::kQuake3, cat, nullptr));
    EXPECT_STREQ(record.hostName, "My favourite");  // a favourite keeps its name
    EXPECT_EQ(record.maxPlayers, 16);
    EXPECT_EQ(record.playerCount, 0);
    EXPECT_EQ(record.livesLeft, 1);
    record.isFavourite = 0;
    const uint8_t zero[8] = {};  // a datagram starting with a zero byte holds no text either
    EXPECT_FALSE(net::parseReply(record, zero, sizeof zero, catalogue::kQuake3, cat, nullptr));
    EXPECT_STREQ(record.hostName, "~ 10.0.0.7");
    EXPECT_EQ(record.maxPlayers, 0);
    EXPECT_EQ(record.livesLeft, 0);
}

TEST_F(Quake3ParserTest, ReadsOnlyTheCurrentDatagram) {
    // A buffer that still holds the tail of an earlier, longer reply: only `size` bytes are the reply.
    std::string earlier =
        kHeader + "\\sv_hostname\\Now\\mapname\\q3dm1\n1 2 \"x\"\n" + "\\g_needpass\\1\\fraglimit\\99\n";
    size_t size = earlier.find("1 2");
    std::vector<uint8_t> buffer(earlier.begin(), earlier.end());
    record.fragLimit = 5;
    net::RawReply raw;
    std::memset(raw.bytes, 'X', sizeof raw.bytes);
    ASSERT_TRUE(net::parseReply(record, buffer.data(), size, catalogue::kQuake3, cat, &raw));
    EXPECT_EQ(record.playerCount, 0);
    EXPECT_STREQ(record.passwordText, "0");
    EXPECT_EQ(record.fragLimit, 5);
    EXPECT_EQ(raw.size, size);
    EXPECT_EQ(raw.Text(), earlier.substr(0, size));
    EXPECT_EQ(raw.bytes[size], 0);
    EXPECT_EQ(raw.bytes[sizeof raw.bytes - 1], 0);
    EXPECT_TRUE(raw.HoldsText());
}

TEST_F(Quake3ParserTest, UnterminatedFullSizeDatagram) {
    std::string reply = kHeader + "\\sv_hostname\\";
    reply += std::string(net::kStatusBufferSize - reply.size(), '\xE9');  // bytes 128-255, no zero, no newline
    net::RawReply raw;
    ASSERT_TRUE(Parse(reply, catalogue::kQuake3, &raw));
    EXPECT_EQ(strlen(record.hostName), 149u);
    EXPECT_EQ(static_cast<uint8_t>(record.hostName[0]), 0xE9);
    EXPECT_EQ(raw.size, net::kStatusBufferSize);
    EXPECT_TRUE(FieldTerminated(record.hostName, sizeof record.hostName));
}

TEST_F(Quake3ParserTest, RawCopyIsKeptEvenWithoutHostName) {
    net::RawReply raw;
    EXPECT_FALSE(Parse(kHeader + "\\mapname\\x\n", catalogue::kQuake3, &raw));
    EXPECT_EQ(raw.Text(), kHeader + "\\mapname\\x\n");
}

TEST(CopyStrippedTest, DropsColourCodes) {
    char field[50];
    net::copyStripped("^1Red ^^2Blue^7!", field);
    EXPECT_STREQ(field, "Red Blue!");
    net::copyStripped("plain", field);
    EXPECT_STREQ(field, "plain");
    net::copyStripped("end^", field);  // a caret at the end is dropped without reading further
    EXPECT_STREQ(field, "end");
    net::copyStripped("end^^", field);
    EXPECT_STREQ(field, "end");
    net::copyStripped("^^^x", field);  // "^^^" is one code, then "x"
    EXPECT_STREQ(field, "x");
    char small[4];
    net::copyStripped("^1abcdef", small);
    EXPECT_STREQ(small, "abc");
    net::copyStripped(std::string_view("a\0b", 3), field);  // only the value's characters are copied
    EXPECT_EQ(field[0], 'a');
    EXPECT_EQ(field[3], '\0');
}

}  // namespace
