// Tests of the text helpers, C-rule number parsing and the crash-safe file writer (the byte reader, the
// fixed-width fields and the other file helpers are checked through the replies and files that use them).
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "base/file_io.h"
#include "base/notice_queue.h"
#include "base/show_pacer.h"
#include "base/text.h"
#include "testing/temp_folder.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(CompareText, CaseFoldingCoversOnlyAsciiLetters) {
    // (Byte order is the server titles' sort, tested with it.)
    EXPECT_TRUE(base::EqualsNoCase("CPMAZ", "cpmaz") && !base::EqualsNoCase("\xC4", "\xE4"));
    EXPECT_LT(base::CompareNoCase("abc", "ABD"), 0);
}

TEST(NoticeQueue, GivesEachTextOncePerServerAndRoundInTheOrderTheyCame) {
    base::NoticeQueue q;
    const auto none = base::MessageIcon::kNone, warn = base::MessageIcon::kExclamation;
    // The same server once (address in any case), another port is another server; then a new round.
    q.Add("many", none, "Lab.x", 1), q.Add("many", none, "lab.X", 1), q.Add("many", none, "lab.x", 2);
    q.Add("other", warn, "lab.x", 1), q.Add("any", none);
    std::string taken;
    while (std::optional<base::Notice> n = q.Take())
        taken += n->text + (n->icon == warn ? "! " : " ");
    EXPECT_EQ(taken, "many many other! any ");
    EXPECT_FALSE(q.Add("many", none, "lab.x", 1));  // taken, but given in this round
    q.NewRound();
    EXPECT_TRUE(q.Add("many", none, "lab.x", 1) && !q.empty());
}

TEST(ParseDecimal, FollowsAtoiRules) {
    // clang-format off
    const std::pair<const char*, int32_t> cases[] = {
        {"16", 16}, {"  -42xyz", -42}, {"+7", 7}, {"\t\n\r 5", 5}, {"abc", 0}, {"", 0}, {"\x01", 0}, {"- 3", 0},
        {"2147483647", INT32_MAX}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
    // clang-format on
    for (auto [text, value] : cases)
        EXPECT_EQ(base::ParseDecimal(text), value) << text;
}

TEST(AtomicFileWriter, OnlyACommitReplacesTheFileAndFailuresLeaveItUntouched) {
    TempFolder dir;
    const std::string path = dir.File("list.vexar");
    WriteBytes(path, "old contents");
    {
        base::AtomicFileWriter abandoned(path);
        abandoned.Write("half of the ne", 14);
    }
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_FALSE(base::FileExists(path + ".tmp"));
    base::AtomicFileWriter w(path);
    ASSERT_TRUE(w.Write("new", 3));
    EXPECT_EQ(ReadBytes(path), "old contents");
    ASSERT_TRUE(w.Commit());
    EXPECT_TRUE(ReadBytes(path) == "new" && !base::FileExists(path + ".tmp"));

    WriteBytes(path, "old contents");
    std::filesystem::create_directory(path + ".tmp");  // the temporary cannot be created
    base::AtomicFileWriter blocked(path);
    EXPECT_FALSE(blocked.Write("new", 3) || blocked.Commit());
    EXPECT_EQ(ReadBytes(path), "old contents");
}

}  // namespace

// The pace of a progress display (period 100 ms): at once when the last showing is old enough, the
// final change, or the first; otherwise one timer for the rest of the period, across a wrapping
// tick count.
TEST(ShowPacerTest, ShowsAtOnceOrArmsOneTimerForTheRestOfThePeriod) {
    struct Step {
        uint32_t now;
        bool final;
        bool showNow;
        uint32_t timerMs;
        bool shownOnTimer;  // the test's timer fires and shows, at `now`, after this step
    };
    const uint32_t start = 0xFFFFFFC0u;  // 64 ms before the tick count wraps
    const Step steps[] = {
        {start, false, true, 0, false},          // nothing shown yet
        {start + 30, false, false, 70, false},   // too soon: a timer for the remaining 70 ms
        {start + 60, false, false, 0, false},    // the timer is armed already
        {start + 99, false, false, 0, true},     // still armed; it fires now
        {start + 150, false, false, 49, false},  // 51 ms after the timer showed
        {start + 160, true, true, 0, false},     // the final change, at once
        {start + 260, false, true, 0, false},    // a period later, across the wrap
    };
    base::ShowPacer pacer(100);
    for (const Step& s : steps) {
        const base::ShowPacer::Decision d = pacer.Changed(s.now, s.final);
        EXPECT_EQ(std::pair(d.showNow, d.timerMs), std::pair(s.showNow, s.timerMs)) << s.now - start;
        if (d.showNow || s.shownOnTimer)
            pacer.Shown(s.now);
    }
    pacer.Reset();
    EXPECT_TRUE(pacer.Changed(start + 261, false).showNow);
}
