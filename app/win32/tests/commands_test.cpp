// The command table on real Win32: each kind of target, display toggles, filter items, web links.
// The table's rows are data: one command of each kind of target shows that routing follows them.
#include <windows.h>

#include "app/win32/app_messages.h"
#include "app/win32/filter_menu.h"
#include "app/win32/shell.h"
#include "resources/resource.h"
#include "testing/win32/shell_fixture.h"
#include "views/win32/pane_messages.h"

namespace {

using namespace app::win32;
using namespace views::win32;
using testing_support::PrivateMessages;
using testing_support::RecordMessages;
using testing_support::ShellTest;
using Message = std::pair<UINT, WPARAM>;

class CommandsTest : public ShellTest {
  protected:
    void Start() {
        StartShell();
        ASSERT_NE(CurrentProfile(), nullptr);
        panes = PanesOf(CurrentProfile());
        for (HWND pane : {panes.server, panes.buddy, panes.player})
            RecordMessages(pane);
        network.calls.clear();
    }
    void Command(UINT id) { SendMessageA(main, WM_COMMAND, id, 0); }
    bool Checked(UINT item) { return (GetMenuState(GetMenu(main), item, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    // The single private message a pane received since the last call.
    Message LastPaneMessage(HWND pane) {
        auto messages = PrivateMessages(pane);
        testing_support::RecordedFor(pane).clear();
        return messages.size() == 1 ? Message(messages[0].message, messages[0].wParam) : Message(0, 0);
    }
    std::string Ini(const char* section, const char* key) {
        char value[64] = "";
        GetPrivateProfileStringA(section, key, "", value, sizeof value, folder.File("vexar.ini").c_str());
        return value;
    }
    PaneSet panes;
};

TEST_F(CommandsTest, CommandsReachThePanesTheNetworkPartsAndTheDialogs) {
    Start();
    Command(IDM_JOIN_SPECTATOR);
    EXPECT_EQ(LastPaneMessage(panes.server), Message(PM_JOIN_SELECTED, 1));
    Command(IDM_REMOVE_BUDDY);
    EXPECT_EQ(LastPaneMessage(panes.buddy), Message(PM_REMOVE_SELECTED, 0));
    // Edit commands go to the focused pane only; from the server list's context menu to that list.
    SetFocus(panes.playerList);
    Command(IDM_COPY_IRC);
    EXPECT_EQ(LastPaneMessage(panes.player), Message(PM_COPY_SELECTED, 1));
    SetFocus(panes.buddyList);
    Command(IDM_SELECT_ALL);
    EXPECT_EQ(LastPaneMessage(panes.buddy), Message(PM_SELECT_ALL, 0));
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_COPY_TEXT, 0);
    EXPECT_EQ(LastPaneMessage(panes.server), Message(PM_COPY_SELECTED, 0));
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_OPEN_WEBSITE, 0);
    EXPECT_EQ(LastPaneMessage(panes.server), Message(PM_OPEN_WEBSITE, 0));
    SetFocus(TheShell().tab);
    Command(IDM_COPY_IRC);
    for (HWND pane : {panes.server, panes.buddy, panes.player})
        EXPECT_TRUE(PrivateMessages(pane).empty());

    for (UINT id : {IDM_REFRESH_FAVOURITES, IDM_GET_MASTER_LIST, IDM_STOP_REFRESH, IDM_TRAY_REFRESH})
        Command(id);
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_SERVER_INFO, 0);
    EXPECT_EQ(network.calls, (std::vector<std::string>{"refresh 5", "master", "stop", "refresh 0", "refresh 6"}));
    Command(IDM_GAME_SETUP);
    SendMessageA(panes.server, WM_COMMAND, IDM_SRV_COLOUR_PREFERENCES, 0);
    EXPECT_EQ(dialogs.opened, (std::vector<UINT>{IDM_GAME_SETUP, IDM_COLOUR_PREFERENCES}));
    // The menu asks the server list about the selected server when it opens.
    testing_support::RecordedFor(panes.server).clear();
    SendMessageA(main, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(main)), 0);
    auto asked = PrivateMessages(panes.server);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(std::pair(asked[0].message, asked[1].message),
              std::pair(UINT(PM_QUERY_FAVOURITE), UINT(PM_QUERY_AUTO_REFRESH)));
}

TEST_F(CommandsTest, TogglesMarkTheirItemsRedisplayTheListAndTrayOptionsGoToTheIni) {
    Start();
    ASSERT_TRUE(Checked(IDM_SHOW_EMPTY));
    Command(IDM_SHOW_EMPTY);
    EXPECT_EQ(std::pair(ctx.display.HideEmpty, Checked(IDM_SHOW_EMPTY)), std::pair(1u, false));
    auto messages = PrivateMessages(panes.server);  // the list is filled and sorted again
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(std::pair(messages.front().message, messages.back().message), std::pair(UINT(PM_CLEAR), UINT(PM_RESORT)));
    Command(IDM_SHOW_EMPTY);
    EXPECT_EQ(std::pair(ctx.display.HideEmpty, Checked(IDM_SHOW_EMPTY)), std::pair(0u, true));

    Command(IDM_TRAY_AUTO_REFRESH);
    Command(IDM_MINIMISE_TO_TRAY);
    EXPECT_TRUE(ctx.autoRefreshMinimised && ctx.useTray && Checked(IDM_MINIMISE_TO_TRAY));
    EXPECT_EQ(Ini("TRAY", "AUTOREFRESH") + Ini("WINDOW", "USETRAY"), "11");
}

TEST_F(CommandsTest, TheGamesModAndGameTypeItemsAreListedAndChoosingOneFilters) {
    Start();
    HMENU mods = ModMenu(GetMenu(main));
    ASSERT_NE(mods, nullptr);
    // "All", a separator, then the six Elite Force mods, each inserted at position 2.
    EXPECT_EQ(std::tuple(GetMenuItemCount(mods), GetMenuItemID(mods, 2), GetMenuItemID(mods, 7)),
              std::tuple(8, UINT(IDM_MOD_FIRST + 6), UINT(IDM_MOD_FIRST + 1)));
    EXPECT_TRUE(Checked(IDM_MOD_ALL));
    Command(IDM_MOD_FIRST + 6);
    EXPECT_EQ(ctx.display.ModFilter, 6u);
    EXPECT_TRUE(Checked(IDM_MOD_FIRST + 6) && !Checked(IDM_MOD_ALL));
    EXPECT_EQ(ctx.settings->ReadDword(base::kRegistryKey, "FSMD"), std::optional<uint32_t>(6));
    Command(IDM_MOD_ALL);
    EXPECT_TRUE(Checked(IDM_MOD_ALL) && !Checked(IDM_MOD_FIRST + 6));
    Command(IDM_GAMETYPE_FIRST + 4);
    EXPECT_TRUE(Checked(IDM_GAMETYPE_FIRST + 4));
    EXPECT_EQ(GetMenuState(GetMenu(main), IDM_GAMETYPE_FIRST + 5, MF_BYCOMMAND), UINT(-1));  // four game types
}

TEST_F(CommandsTest, WebLinksStandInDescendingOrderAndEndAtTheFirstGap) {
    // A link named "-" is a separator; the one after the gap is not read.
    for (auto [n, name, url] : {std::tuple("000", "Link zero", "http://127.0.0.1/0"),
                                {"001", "-", "-"},
                                {"002", "Link two", "http://127.0.0.1/2"},
                                {"004", "After", "http://127.0.0.1/4"}}) {
        WriteIni("weblinks", (std::string("urlmenuname") + n).c_str(), name);
        WriteIni("weblinks", (std::string("url") + n).c_str(), url);
    }
    Start();
    HMENU links = GetSubMenu(GetMenu(main), 4);
    ASSERT_EQ(GetMenuItemCount(links), 5);
    char text[64];
    GetMenuStringA(links, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Vexar! Website");
    GetMenuStringA(links, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Link two");
    EXPECT_EQ(std::pair(GetMenuItemID(links, 2), GetMenuItemID(links, 4)),
              std::pair(UINT(IDM_WEBLINK_FIRST + 2), UINT(IDM_WEBLINK_FIRST)));
    for (int separator : {1, 3})
        EXPECT_EQ(GetMenuState(links, separator, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR)) << separator;
    EXPECT_EQ(GetMenuState(links, IDM_WEBLINKS_PLACEHOLDER, MF_BYCOMMAND), UINT(-1));
}

}  // namespace
