// A Team Fortress 2 refresh against Source query servers on loopback that ask for their challenge:
// the rows, the mod and game type, and the player pane with the players' time on the server.
#include <algorithm>

#include "catalogue/catalogue.h"
#include "testing/a2s_bytes.h"
#include "testing/win32/refresh_fixture.h"
#include "views/win32/tests/pane_test_support.h"

namespace {

using namespace testing_support;

TEST_F(RefreshShellTest, ATeamFortress2RefreshFollowsTheChallengesAndShowsTheRowsAndThePlayers) {
    StartWithServers(catalogue::kTeamFortress2, {A2sBehaving('c'), A2sBehaving('o'), A2sBehaving('s')});
    Refresh(net::kRefreshAll);
    ASSERT_TRUE(Settled());
    // Info, info with the challenge (or players without it), players; the silent one is asked once.
    EXPECT_EQ(std::vector({lab.Requests(ports[0]), lab.Requests(ports[1]), lab.Requests(ports[2])}),
              std::vector({3, 3, 1}));
    const std::vector<std::string> names = views_test::ColumnTexts(ServerList(), 3);
    EXPECT_EQ(std::pair(std::count(names.begin(), names.end(), "Lab ^1One"), Server(0)->ping < 999),
              std::pair(std::ptrdiff_t(2), true));
    views_test::SelectRows(ServerList(), {views_test::CellText(ServerList(), 0, 3) == "Lab ^1One" ? 0 : 1});
    Pump();
    HWND players = app::win32::PanesOf(*shell, profile).playerList;
    EXPECT_EQ(
        std::tuple(PlayerColumnHeader(2), views_test::ColumnTexts(players, 0), views_test::ColumnTexts(players, 2)),
        std::tuple(std::string("Time"), std::vector<std::string>{"Alice", "Bob"},
                   std::vector<std::string>{"1:05", "1:01:40"}));
}

}  // namespace
