// Tests of the GameSpy master protocol: the validation against pairs real masters accept, and the
// stream reader on whole, split and hostile streams.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "catalogue/catalogue.h"
#include "net/gamespy_master.h"

namespace {

using net::GameSpyListReader;
using State = GameSpyListReader::State;

TEST(GameSpyValidate, AnswersTheChallengesAsTheCommunityMastersDo) {
    // Pairs taken from the community master software for game "ut".
    EXPECT_EQ(net::GameSpyValidate("AIJENQ", "Z5Nfb0"), "5MQ/ReFK");
    EXPECT_EQ(net::GameSpyValidate("GRADDE", "Z5Nfb0"), "0dTcgk3a");
    EXPECT_NE(net::GameSpyValidate("GRADDE", "Z5Nfb1"), "0dTcgk3a");  // the key takes part
    EXPECT_EQ(net::GameSpyValidate("ABCDEFG", "Z5Nfb0").size(), 12u);  // whole groups of three, zero-filled
    EXPECT_EQ(net::GameSpyValidate("", "Z5Nfb0"), "");
    EXPECT_EQ(net::GameSpyValidate(std::string(65, 'A'), "Z5Nfb0"), "");
    EXPECT_EQ(net::GameSpyValidate("AIJENQ", ""), "");
    EXPECT_EQ(net::GameSpyListRequest(net::GameSpyIdentityOf(catalogue::kUnrealTournament), "AIJENQ"),
              "\\gamename\\ut\\location\\0\\validate\\5MQ/ReFK\\final\\\\list\\\\gamename\\ut\\final\\");
    EXPECT_STREQ(net::GameSpyIdentityOf(catalogue::kQuake3).gameName, "");
}

// Feeds the greeting, then the list in pieces of `piece` bytes (a master sends the list only once it
// has the request): "<state> <challenge> <taken>/<skipped> r<requests>:" and the entries.
std::string Read(const std::string& greeting, const std::string& list, size_t piece) {
    GameSpyListReader reader;
    std::vector<net::MasterEntry> entries;
    int requests = 0;
    for (const std::string* stream : {&greeting, &list}) {
        for (size_t i = 0; i < stream->size(); i += piece) {
            std::string part = stream->substr(i, piece);
            requests += reader.Feed(reinterpret_cast<const uint8_t*>(part.data()), part.size(), entries);
        }
    }
    const char* states[] = {"greeting", "list", "done", "garbage"};
    std::string out = std::string(states[int(reader.state())]) + " " + reader.challenge() + " " +
                      std::to_string(reader.taken()) + "/" + std::to_string(reader.skipped()) + " r" +
                      std::to_string(requests) + ":";
    for (const net::MasterEntry& e : entries) {
        out += " " + std::to_string(e.octets[0]) + "." + std::to_string(e.octets[1]) + "." +
               std::to_string(e.octets[2]) + "." + std::to_string(e.octets[3]) + ":" + std::to_string(e.port);
    }
    return out;
}

TEST(GameSpyListReader, ReadsWholeAndSplitStreamsAndStopsAtGarbage) {
    const std::string hello = "\\basic\\\\secure\\AIJENQ";
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {hello, "\\ip\\10.0.0.1:7778\\ip\\10.0.0.2:7780\\final\\", "done AIJENQ 2/0 r1: 10.0.0.1:7778 10.0.0.2:7780"},
        // What follows the challenge in the greeting is not the list.
        {hello + "\\final\\", "\\ip\\1.2.3.4:5\\final\\", "done AIJENQ 1/0 r1: 1.2.3.4:5"},
        {"\\secure\\XY\\", "\\ip\\1.2.3.4:5\\final\\", "done XY 1/0 r1: 1.2.3.4:5"},  // a short challenge
        {"\\basic\\\\secure\\ABC", "", "greeting  0/0 r0:"},  // the challenge may still grow
        {hello, "\\ip\\1.2.3.4:5", "list AIJENQ 0/0 r1:"},     // an entry counts when its end came
        {hello, "\\ip\\255.1.1.1:1\\ip\\1.2.3\\ip\\1.2.3.4:65536\\ip\\1.2.3.4:5x\\ip\\254.0.0.1:1\\final\\",
         "done AIJENQ 1/4 r1: 254.0.0.1:1"},
        {hello, "\\hostname\\x\\ip\\9.9.9.9:1\\\\\\final\\", "done AIJENQ 1/0 r1: 9.9.9.9:1"},  // other keys
        {hello, "\\ip\\1.1.1.1:1\\final\\\\ip\\2.2.2.2:2\\", "done AIJENQ 1/0 r1: 1.1.1.1:1"},  // after final
        {"HTTP/1.1 400 Bad Request\r\n", "", "garbage  0/0 r0:"},
        {"\\basic\\" + std::string(600, 'x'), "", "garbage  0/0 r0:"},
        {hello, "Error\\ip\\1.1.1.1:1\\", "garbage AIJENQ 0/0 r1:"},
        {hello, "\\ip\\1.1.1.1:1\\" + std::string(300, 'k'), "garbage AIJENQ 1/0 r1: 1.1.1.1:1"},
    };
    for (const auto& [greeting, list, expected] : rows) {
        EXPECT_EQ(Read(greeting, list, 4096), expected) << greeting << list;
        EXPECT_EQ(Read(greeting, list, 1), expected) << "byte by byte: " << greeting << list;
    }
}

}  // namespace
