// The modal-loop helper of the tests: scripts run inside real, nested boxes, and a write to freed
// memory is seen (so that a watch that reports none means something).
#include <gtest/gtest.h>

#include "testing/win32/modal_loop.h"

namespace {

using namespace testing_support;

TEST(ModalLoop, ScriptsRunInsideNestedBoxesAndAFreedBlockWrittenToIsSeen) {
    ModalLoopSink sink;
    bool yes = false;
    sink.During("outer", [&](HWND) { yes = sink.AskYesNo("inner", base::MessageIcon::kQuestion); });
    sink.During("inner", nullptr, true);
    sink.Tell("outer", base::MessageIcon::kNone);
    sink.Tell("plain", base::MessageIcon::kNone);  // not registered: only recorded
    EXPECT_EQ(sink.boxes, (std::vector<std::pair<std::string, int>>{{"outer", 0}, {"inner", 1}}));
    EXPECT_EQ(sink.shown, (std::vector<std::string>{"outer", "inner", "plain"}));
    EXPECT_TRUE(yes);

    FreedMemoryWatch watch;
    auto* kept = new int[4]{1, 2, 3, 4};
    delete[] kept;
    EXPECT_EQ(watch.TouchedAfterFree(), 0u);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
    kept[2] = 7;  // the watch keeps the block, so the write is safe here
#pragma GCC diagnostic pop
    EXPECT_EQ(watch.TouchedAfterFree(), 1u);
}

}  // namespace
