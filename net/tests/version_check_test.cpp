// Version check: the request and the judgement of the version server's reply.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/version_check.h"

namespace {

net::VersionVerdict Judge(const std::string& reply, const char* own = "2.0a") {
    return net::JudgeVersionReply(reply.data(), reply.size(), own);
}

TEST(VersionCheck, RequestIsSixBytesOnPort2048) {
    EXPECT_EQ(net::kVersionRequest, std::string_view("getver"));
    EXPECT_EQ(net::kVersionRequest.size(), 6u);
    EXPECT_EQ(net::kVersionServerPort, 2048);
}

TEST(VersionCheck, SameVersionInAnyLetterCaseOffersNothing) {
    EXPECT_FALSE(Judge("2.0a").offerDownload);
    EXPECT_FALSE(Judge("2.0A").offerDownload);
    EXPECT_TRUE(Judge("2.0A").question.empty());
}

TEST(VersionCheck, AnyOtherVersionOffersTheDownloadEvenAnOlderOne) {
    auto v = Judge("1.9");
    EXPECT_TRUE(v.offerDownload);
    EXPECT_EQ(v.question, "Version 1.9 of Vexar! is now available,\nwould you like to download it now?");
    EXPECT_TRUE(Judge("2.1").offerDownload);
    EXPECT_TRUE(Judge("2.0").offerDownload);  // a prefix is not equal
}

TEST(VersionCheck, LineEndIsPartOfTheVersionAndOfTheQuestion) {
    auto v = Judge("2.0a\r\n");
    EXPECT_TRUE(v.offerDownload);
    EXPECT_EQ(v.question, "Version 2.0a\r\n of Vexar! is now available,\nwould you like to download it now?");
}

TEST(VersionCheck, UnreadableOwnVersionOffersAnyAnswer) {
    EXPECT_TRUE(Judge("2.0a", "").offerDownload);
}

TEST(VersionCheck, EmptySegmentOffersNothing) {
    EXPECT_FALSE(Judge("").offerDownload);
    EXPECT_FALSE(Judge(std::string("\0"
                                   "2.0b",
                                   5))
                     .offerDownload);
    EXPECT_FALSE(net::JudgeVersionReply(nullptr, 10, "2.0a").offerDownload);
}

TEST(VersionCheck, TextEndsAtTheFirstZeroByte) {
    EXPECT_FALSE(Judge(std::string("2.0a\0garbage", 12)).offerDownload);
    EXPECT_EQ(net::VersionReplyText("2.1\0x", 5), "2.1");
}

TEST(VersionCheck, OnlyThe255FirstBytesCount) {
    std::string longReply(300, 'v');
    EXPECT_EQ(net::VersionReplyText(longReply.data(), longReply.size()).size(), 255u);
    std::string own(255, 'V');
    EXPECT_FALSE(Judge(longReply, own.c_str()).offerDownload);
}

TEST(VersionCheck, PercentSignsInTheReplyAreShownAsTheyAre) {
    auto v = Judge("%s%n%d");
    EXPECT_EQ(v.question, "Version %s%n%d of Vexar! is now available,\nwould you like to download it now?");
}

}  // namespace

namespace {

TEST(VersionCheck, ReplySplitOverSegmentsIsJudgedOnTheFirst) {
    // "2.0a" arriving as "2." then "0a": only the first segment is read.
    auto v = Judge("2.");
    EXPECT_TRUE(v.offerDownload);
    EXPECT_EQ(v.question, "Version 2. of Vexar! is now available,\nwould you like to download it now?");
}

TEST(VersionCheck, RandomRepliesNeverReadPastTheSegment) {
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const std::string prefix = "Version ";
    for (int round = 0; round < 2000; ++round) {
        const size_t size = next() % 600;
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[size ? size : 1]);  // exact size: ASan sees overreads
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<uint8_t>(next() >> 16);
        auto v = net::JudgeVersionReply(bytes.get(), size, "2.0a");
        const std::string text = net::VersionReplyText(bytes.get(), size);
        ASSERT_LE(text.size(), 255u);
        ASSERT_EQ(text.find('\0'), std::string::npos);
        ASSERT_EQ(v.offerDownload, !text.empty());
        if (v.offerDownload) {
            ASSERT_EQ(v.question.compare(prefix.size(), text.size(), text), 0);
        }
    }
}

}  // namespace
