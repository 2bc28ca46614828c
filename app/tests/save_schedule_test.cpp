// The coalescing rule of the saves made while the program runs, on a clock the test moves.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/save_schedule.h"

namespace {

using app::SaveItem;
using app::SaveSchedule;
using catalogue::StoredFile;

const SaveItem kProfiles{StoredFile::kProfiles, 0};
const SaveItem kServers1{StoredFile::kServerList, 1};
const SaveItem kServers2{StoredFile::kServerList, 2};
const SaveItem kBuddies1{StoredFile::kBuddyList, 1};

TEST(SaveSchedule, ChangesWithinTheDelayMakeOneWriteThatLaterChangesNeverPutOff) {
    SaveSchedule s;
    for (uint64_t at : {0, 500, 1900})
        s.Changed(kServers1, at);
    s.Changed(kServers2, 1000);
    EXPECT_EQ(s.NextWakeMs(600, false), 1400u);
    EXPECT_TRUE(s.TakeDue(1999, false).empty());
    EXPECT_EQ(s.TakeDue(2000, false), std::vector<SaveItem>{kServers1});
    EXPECT_EQ(s.NextWakeMs(2000, false), 1000u);
    EXPECT_EQ(s.TakeDue(5000, false), std::vector<SaveItem>{kServers2});
    EXPECT_EQ(s.NextWakeMs(5000, false), std::nullopt);
    s.Changed(kServers1, 5000);  // a change after the write waits a delay of its own
    EXPECT_TRUE(s.TakeDue(6999, false).empty());
    EXPECT_EQ(s.TakeDue(7000, false), std::vector<SaveItem>{kServers1});
}

TEST(SaveSchedule, ServerListsWaitWhileHeldTheOtherFilesDoNotAndTheProfilesComeFirst) {
    SaveSchedule s;
    s.Changed(kBuddies1, 0);
    s.Changed(kServers1, 0);
    s.Changed(kProfiles, 10);
    EXPECT_EQ(s.TakeDue(2500, true), (std::vector<SaveItem>{kProfiles, kBuddies1}));
    // Looked at again a second later, and only taken once the refresh has let go.
    EXPECT_EQ(s.NextWakeMs(2500, true), 1000u);
    EXPECT_EQ(s.NextWakeMs(2500, false), 0u);
    EXPECT_TRUE(s.TakeDue(3500, true).empty());
    EXPECT_EQ(s.TakeDue(3500, false), std::vector<SaveItem>{kServers1});
    s.Changed(kServers1, 4000);
    s.Clear();
    EXPECT_EQ(s.NextWakeMs(9000, false), std::nullopt);
}

TEST(SaveSchedule, ALongWriteSpacesTheNextOneAndAFailedOneIsTriedAgainLater) {
    struct Case {
        uint64_t tookMs;
        bool ok;
        uint64_t changedAt;  // after the write, which ended at 2000
        uint64_t dueAt;
    };
    // clang-format off
    const Case cases[] = {
        {0, true, 2100, 4100},               // a quick write: only the delay
        {300, true, 2100, 2000 + 300 * 19},  // 300 ms: the next write 5.7 s after it
        {10, false, 2100, 32000},            // failed: due again without a change, 30 s later
        {2000, false, 2100, 2000 + 2000 * 19},
    };
    // clang-format on
    for (const Case& c : cases) {
        SaveSchedule s;
        s.Changed(kServers1, 0);
        ASSERT_EQ(s.TakeDue(2000, false).size(), 1u);
        s.Written(kServers1, 2000 - c.tookMs, 2000, c.ok);
        s.Changed(kServers1, c.changedAt);
        EXPECT_TRUE(s.TakeDue(c.dueAt - 1, false).empty()) << c.tookMs;
        EXPECT_EQ(s.TakeDue(c.dueAt, false), std::vector<SaveItem>{kServers1}) << c.tookMs;
        EXPECT_EQ(s.NextWakeMs(c.dueAt, false), std::nullopt) << c.tookMs;
    }
}

}  // namespace
