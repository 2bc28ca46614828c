// The modal-loop helper of the tests: a write to freed memory is seen, so that a watch that reports
// none means something (its boxes and scripts are used by the tests of whole refreshes and dialogs).
#include <gtest/gtest.h>

#include "testing/win32/modal_loop.h"

namespace {

TEST(ModalLoop, AFreedBlockWrittenToIsSeen) {
    testing_support::FreedMemoryWatch watch;
    auto* kept = new int[4]{1, 2, 3, 4};
    delete[] kept;
    EXPECT_EQ(std::pair(watch.Freed(), watch.TouchedAfterFree()), std::pair(size_t(1), size_t(0)));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
    kept[2] = 7;  // the watch keeps the block, so the write is safe here
#pragma GCC diagnostic pop
    EXPECT_EQ(watch.TouchedAfterFree(), 1u);
}

}  // namespace
