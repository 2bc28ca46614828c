// Modal loops: whole refreshes against servers on loopback go on inside a box or dialog (timers,
// replies, the refresh's close) and the program is whole when it is closed; and the helper's own
// check that a write to freed memory is seen, so that a watch that reports none means something.
#include <algorithm>

#include "app/win32/frame/app_messages.h"
#include "app/win32/parts/server_dialogs.h"
#include "resources/resource.h"
#include "testing/win32/dialog_script.h"
#include "testing/win32/modal_loop.h"
#include "testing/win32/refresh_fixture.h"
#include "views/player_rows.h"
#include "views/win32/tests/pane_test_support.h"

namespace {

using namespace app::win32;
using namespace testing_support;

TEST(ModalLoop, AFreedBlockWrittenToIsSeen) {
    FreedMemoryWatch watch;
    auto* kept = new int[4]{1, 2, 3, 4};
    delete[] kept;
    EXPECT_EQ(std::pair(watch.Freed(), watch.TouchedAfterFree()), std::pair(size_t(1), size_t(0)));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
    kept[2] = 7;  // the watch keeps the block, so the write is safe here
#pragma GCC diagnostic pop
    EXPECT_EQ(watch.TouchedAfterFree(), 1u);
}

TEST_F(RefreshShellTest, TooManyPlayersIsToldOnceAfterTheReplyAndTheRefreshEndsAsWithoutTheBox) {
    StartWithServers({Quake3Status("Crowded", 150), Quake3Status("Calm", 3)});
    // The user leaves the box up while the refresh goes on behind it to its close.
    sink.During(views::kTooManyPlayersMessage, [&](HWND) { Settled(); });
    Refresh(net::kRefreshAll);
    EXPECT_TRUE(PumpUntil([&] { return !ctx.refreshBusy && sink.Unused() == 0; }, 10000));
    std::vector<std::string> titles = views_test::ColumnTexts(ServerList(), 3);
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"Calm", "Crowded"}));
    for (catalogue::ServerRecord* r = profile->servers.head; r; r = r->next)
        EXPECT_TRUE(r->ping < 999 && r->livesLeft == 5 && !r->awaitingReply && !r->refreshPending) << r->hostName;
    // Shown again in the same round: not told again.
    views_test::SelectRows(ServerList(), {views_test::CellText(ServerList(), 0, 3) == "Crowded" ? 0 : 1});
    Pump();
    EXPECT_EQ(std::count(sink.shown.begin(), sink.shown.end(), views::kTooManyPlayersMessage), 1);
    EXPECT_EQ(sink.boxes, (std::vector<std::pair<std::string, int>>{{views::kTooManyPlayersMessage, 0}}));
}

TEST_F(RefreshShellTest, TheMonitorsNextPeriodLeavesTheServerItsRefreshAwaitsAwaitedAndTheRefreshEnds) {
    // At the fast pace a refresh ends once every request has its answer or has waited 1000 ms.
    static ServerDialogs serverDialogs;
    attachedDialogs = &serverDialogs;
    StartWithServers({""}, net::kFastPacing);
    ctx.display.ShowNoReply = 0xFFFFFFFF;
    SendMessageA(PanesOf(*shell, profile).server, views::win32::PM_ADD_SERVER_ROW, 0,
                 reinterpret_cast<LPARAM>(Server(0)));
    views_test::SelectRows(ServerList(), {0});
    bool settled = false;
    RunDialogScript([&] { SendMessageA(main, WM_APP_MONITOR, 0, 0); },
                    [&](HWND monitor) {
                        SetDlgItemTextA(monitor, IDC_MONITOR_PERIOD, "1");
                        PressButton(monitor, IDOK);  // "Monitor!": the server is marked and refreshed
                        PumpUntil([&] { return lab.Requests(ports[0]) > 0; }, 3000);
                        FireTimer(monitor, 1);  // the next period, while the refresh awaits the answer
                        settled = Settled(4000);
                        PressButton(monitor, IDCANCEL);
                    });
    EXPECT_TRUE(settled);
    EXPECT_EQ(std::pair(Server(0)->livesLeft, Server(0)->ping), std::pair(4, catalogue::kNoPing));
}

}  // namespace
