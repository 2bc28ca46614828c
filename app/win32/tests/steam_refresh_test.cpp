// A Team Fortress 2 refresh against Source query servers on loopback that ask for their challenge:
// the rows, the mod and game type, and the player pane with the players' time on the server.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "catalogue/catalogue.h"
#include "testing/a2s_bytes.h"
#include "testing/win32/refresh_fixture.h"
#include "views/win32/tests/pane_test_support.h"

namespace {

using namespace testing_support;

LoopbackServers::Answer Behaving(char behaviour) {
    return [behaviour](const std::string& request) { return A2sAnswer(behaviour, request); };
}

TEST_F(RefreshShellTest, ATeamFortress2RefreshFollowsTheChallengesAndShowsTheRowsAndThePlayers) {
    StartWithServers(catalogue::kTeamFortress2, {Behaving('c'), Behaving('o'), Behaving('s')});
    Refresh(net::kRefreshAll);
    ASSERT_TRUE(Settled());
    // Info, info with the challenge (or players without it), players; the silent one is asked once.
    EXPECT_EQ(std::vector({lab.Requests(ports[0]), lab.Requests(ports[1]), lab.Requests(ports[2])}),
              std::vector({3, 3, 1}));
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(std::tuple(Server(i)->ping < 999, Server(i)->playerCount, std::string(Server(i)->gameTypeDisplay)),
                  std::tuple(true, 2, std::string("Control Points")));
    EXPECT_EQ(Server(2)->ping, catalogue::kNoPing);
    const std::vector<std::string> names = views_test::ColumnTexts(ServerList(), 3);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Lab ^1One"), 2);

    const int answered = views_test::CellText(ServerList(), 0, 3) == "Lab ^1One" ? 0 : 1;
    views_test::SelectRows(ServerList(), {answered});
    Pump();
    HWND players = app::win32::PanesOf(profile).playerList;
    char header[16] = {};
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = header;
    column.cchTextMax = sizeof header;
    SendMessageA(players, LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::tuple(std::string(header), views_test::ColumnTexts(players, 0), views_test::ColumnTexts(players, 2)),
              std::tuple(std::string("Time"), std::vector<std::string>{"Alice", "Bob"},
                         std::vector<std::string>{"1:05", "1:01:40"}));
}

}  // namespace
