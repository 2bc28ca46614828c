// The coalescing rule of the saves made while the program runs, on a clock the test moves.
#include <gtest/gtest.h>

#include <vector>

#include "app/save_schedule.h"

namespace {

using app::SaveItem;
using catalogue::StoredFile;
using Items = std::vector<SaveItem>;

const SaveItem kProfiles{StoredFile::kProfiles, 0}, kServers1{StoredFile::kServerList, 1},
    kServers2{StoredFile::kServerList, 2}, kBuddies1{StoredFile::kBuddyList, 1};

TEST(SaveSchedule, ChangesMakeOneWriteADelayLaterAndServerListsWaitWhileHeld) {
    app::SaveSchedule s;
    for (uint64_t at : {0, 500, 1900})  // later changes ride along and never put the write off
        s.Changed(kServers1, at);
    s.Changed(kServers2, 1000);
    EXPECT_EQ(s.NextWakeMs(600, false), 1400u);
    EXPECT_TRUE(s.TakeDue(1999, false).empty());
    EXPECT_EQ(s.TakeDue(2000, false), Items{kServers1});
    EXPECT_EQ(s.TakeDue(5000, false), Items{kServers2});
    EXPECT_FALSE(s.NextWakeMs(5000, false));
    // Held by a refresh: looked at again a second later, taken once it has let go; the other files
    // are not held, and "gamesets.vexar" comes first.
    for (const SaveItem& item : {kBuddies1, kServers1, kProfiles})
        s.Changed(item, 6000);
    EXPECT_EQ(s.TakeDue(8000, true), (Items{kProfiles, kBuddies1}));
    EXPECT_EQ(s.NextWakeMs(8000, true), 1000u);
    EXPECT_EQ(s.TakeDue(9000, false), Items{kServers1});
    s.Changed(kServers1, 9000);
    s.Clear();
    EXPECT_FALSE(s.NextWakeMs(20000, false));
}

TEST(SaveSchedule, ALongWriteSpacesTheNextOneAndAFailedOneIsTriedAgainLater) {
    struct Case {
        uint64_t tookMs;
        bool ok;
        uint64_t dueAt;  // after a change at 2100; the write ended at 2000
    };
    // Quick: only the delay; 300 ms: the next one 5.7 s after it; failed: again without a change.
    const Case cases[] = {{0, true, 4100}, {300, true, 2000 + 300 * 19}, {10, false, 32000}, {2000, false, 40000}};
    for (const Case& c : cases) {
        app::SaveSchedule s;
        s.Changed(kServers1, 0);
        ASSERT_EQ(s.TakeDue(2000, false).size(), 1u);
        s.Written(kServers1, 2000 - c.tookMs, 2000, c.ok);
        s.Changed(kServers1, 2100);
        EXPECT_TRUE(s.TakeDue(c.dueAt - 1, false).empty()) << c.tookMs;
        EXPECT_EQ(s.TakeDue(c.dueAt, false), Items{kServers1}) << c.tookMs;
        EXPECT_FALSE(s.NextWakeMs(c.dueAt, false)) << c.tookMs;
    }
}

}  // namespace
