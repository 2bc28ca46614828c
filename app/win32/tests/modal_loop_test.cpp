// The modal-loop helper of the tests itself: a script runs inside a real box's loop, and a write to
// freed memory is seen.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "testing/win32/modal_loop.h"

namespace {

using namespace testing_support;

TEST(ModalLoop, TheScriptRunsInsideTheBoxWhilePostedMessagesGoOnAndAFreedBlockWrittenToIsSeen) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ModalLoopSink sink;
    sink.owner = owner;
    bool ownerEnabled = true, posted = false, yes = false;
    sink.During("outer", [&](HWND box) {
        ownerEnabled = IsWindowEnabled(owner);
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        posted = PumpUntil([] { return !GetQueueStatus(QS_POSTMESSAGE); }, 1000);
        yes = sink.AskYesNo("inner", base::MessageIcon::kQuestion);  // registered: answered Yes
    });
    sink.During("inner", nullptr, true);
    sink.Tell("outer", base::MessageIcon::kNone);
    sink.Tell("plain", base::MessageIcon::kNone);  // not registered: only recorded
    EXPECT_EQ(sink.boxes, (std::vector<std::pair<std::string, int>>{{"outer", 0}, {"inner", 1}}));
    EXPECT_EQ(sink.shown, (std::vector<std::string>{"outer", "inner", "plain"}));
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(posted && yes);
    DestroyWindow(owner);

    FreedMemoryWatch watch;
    auto* kept = new int[4]{1, 2, 3, 4};
    delete[] kept;
    EXPECT_EQ(watch.TouchedAfterFree(), 0u);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
    kept[2] = 7;  // the block is kept by the watch, so the write is safe here
#pragma GCC diagnostic pop
    EXPECT_EQ(watch.TouchedAfterFree(), 1u);
}

}  // namespace
