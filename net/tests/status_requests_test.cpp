// Tests of the status request datagrams of every game kind and the judgement of version replies.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "net/status_requests.h"
#include "net/version_check.h"

namespace {

TEST(StatusRequests, EachKindSendsItsDatagramsAndHalfLifeWaitsForTwoReplies) {
    const std::string ff = "\xFF\xFF\xFF\xFF";
    // Kind, the request datagrams joined by '|', reply markers, two replies.
    const std::tuple<uint32_t, std::string, bool, bool> rows[] = {
        {0, ff + "getstatus", false, false},
        {1, ff + "getstatus", false, false},
        {2, ff + "details|" + ff + "players", true, true},
        {3, ff + "getstatus", false, false},
        {4, ff + std::string("\x02getstatus\n\0", 12), true, false},
        {5, ff + "getstatus", false, false},
        {6, ff + "getstatus", false, false},
        {7, "\\status\\", true, false},
        {8, "\\status\\", true, false},
        {9, "", false, false},
        {0xFFFFFFFF, "", false, false}};
    for (auto [kind, datagrams, markers, twoReplies] : rows) {
        const net::StatusRequests r = net::BuildStatusRequests(kind);
        std::string sent;
        for (int i = 0; i < r.count; ++i)
            sent +=
                (i ? "|" : "") + std::string(reinterpret_cast<const char*>(r.datagrams[i].bytes), r.datagrams[i].size);
        EXPECT_EQ(sent, datagrams) << kind;
        EXPECT_EQ(std::pair(net::UsesReplyMarkers(kind), net::NeedsTwoReplies(kind)), std::pair(markers, twoReplies))
            << kind;
    }
}

TEST(VersionCheck, AnyOtherVersionTextOffersTheDownloadAsItIs) {
    auto judge = [](const std::string& reply, const char* own = "2.0a") {
        const net::VersionVerdict v = net::JudgeVersionReply(reply.data(), reply.size(), own);
        EXPECT_EQ(v.offerDownload, !v.question.empty()) << reply;
        return v.question;
    };
    auto offer = [](const std::string& version) {
        return "Version " + version + " of Vexar! is now available,\nwould you like to download it now?";
    };
    EXPECT_EQ(judge("2.0a") + judge("2.0A"), "");  // the same version in any letter case
    EXPECT_EQ(judge("1.9"), offer("1.9"));         // an older one too
    EXPECT_EQ(judge("2.0"), offer("2.0"));         // a prefix is not equal; "2." of "2.0a" split in two
    EXPECT_EQ(judge("2.0a\r\n"), offer("2.0a\r\n"));
    EXPECT_EQ(judge("%s%n%d"), offer("%s%n%d"));  // never a format string
    EXPECT_EQ(judge("2.0a", ""), offer("2.0a"));  // no own version: any answer
    EXPECT_EQ(judge("") +
                  judge(std::string("\0"
                                    "2.0b",
                                    5)) +
                  judge(std::string("2.0a\0garbage", 12)),
              "");  // the text ends at the first zero byte
    EXPECT_FALSE(net::JudgeVersionReply(nullptr, 10, "2.0a").offerDownload);
    EXPECT_EQ(net::VersionReplyText("2.1\0x", 5), "2.1");
    EXPECT_EQ(net::VersionReplyText(std::string(300, 'v').data(), 300), std::string(255, 'v'));
    EXPECT_EQ(judge(std::string(300, 'v'), std::string(255, 'V').c_str()), "");  // only 255 bytes count
}

}  // namespace
