// The command table on real Win32: routing to panes and to the main window, display toggles,
// filter choices, web links.
#include <windows.h>

#include "app/win32/app_messages.h"
#include "app/win32/filter_menu.h"
#include "app/win32/registry.h"
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

class CommandsTest : public ShellTest {
  protected:
    void Start() {
        StartShell();
        profile = CurrentProfile();
        ASSERT_NE(profile, nullptr);
        for (HWND pane : {PanesOf(profile).server, PanesOf(profile).buddy, PanesOf(profile).player})
            RecordMessages(pane);
        network.calls.clear();
    }
    void Command(UINT id) { SendMessageA(main, WM_COMMAND, id, 0); }
    bool Checked(UINT item) { return (GetMenuState(GetMenu(main), item, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    // The single private message a pane received since the last call, as (message, wParam).
    std::pair<UINT, WPARAM> LastPaneMessage(HWND pane) {
        auto messages = PrivateMessages(pane);
        testing_support::RecordedFor(pane).clear();
        if (messages.size() != 1)
            return {0, 0};
        return {messages[0].message, messages[0].wParam};
    }
    std::string RegText(const char* name) {
        char text[256] = "";
        ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, name);
        return text;
    }
    DWORD RegDword(const char* name) {
        DWORD v = 0xDEADBEEF;
        ReadRegDword(HKEY_CURRENT_USER, &v, base::kRegistryKey, name);
        return v;
    }
    catalogue::GameProfile* profile = nullptr;
};

TEST_F(CommandsTest, ServerCommandsReachTheServerListPaneWithTheirParameters) {
    Start();
    HWND pane = PanesOf(profile).server;
    const std::pair<UINT, std::pair<UINT, WPARAM>> cases[] = {
        {IDM_JOIN, {PM_JOIN_SELECTED, 0}},
        {IDM_JOIN_SPECTATOR, {PM_JOIN_SELECTED, 1}},
        {IDM_REMOVE_SERVER, {PM_REMOVE_SELECTED_SERVERS, 0}},
        {IDM_REMOTE_CONTROL, {PM_OPEN_RCON, 0}},
        {IDM_AUTO_REFRESH_SELECTED, {PM_TOGGLE_AUTO_REFRESH, 0}},
        {IDM_MARK_FAVOURITE, {PM_TOGGLE_FAVOURITE, 0}},
        {IDM_EDIT_PLAYER_CONFIG, {PM_EDIT_PLAYER_CONFIG, 0}},
    };
    for (const auto& [command, expected] : cases) {
        Command(command);
        EXPECT_EQ(LastPaneMessage(pane), expected) << command;
    }
    Command(IDM_REMOVE_BUDDY);
    EXPECT_EQ(LastPaneMessage(PanesOf(profile).buddy), std::make_pair(PM_REMOVE_SELECTED, WPARAM(0)));
    EXPECT_TRUE(PrivateMessages(PanesOf(profile).player).empty());
}

TEST_F(CommandsTest, TheServerContextMenuGivesTheMainMenusCommands) {
    Start();
    HWND pane = PanesOf(profile).server;
    // Each context command does what its main menu twin does; copies go to the server list.
    SetFocus(PanesOf(profile).playerList);
    for (const auto& [context, expected] : std::initializer_list<std::pair<UINT, std::pair<UINT, WPARAM>>>{
             {IDM_SRV_JOIN, {PM_JOIN_SELECTED, 0}},
             {IDM_SRV_JOIN_SPECTATOR, {PM_JOIN_SELECTED, 1}},
             {IDM_SRV_REMOVE_SERVER, {PM_REMOVE_SELECTED_SERVERS, 0}},
             {IDM_SRV_REMOTE_CONTROL, {PM_OPEN_RCON, 0}},
             {IDM_SRV_AUTO_REFRESH, {PM_TOGGLE_AUTO_REFRESH, 0}},
             {IDM_SRV_MARK_FAVOURITE, {PM_TOGGLE_FAVOURITE, 0}},
             {IDM_SRV_OPEN_WEBSITE, {PM_OPEN_WEBSITE, 0}},
             {IDM_SRV_COPY_IRC, {PM_COPY_SELECTED, 1}},
             {IDM_SRV_COPY_TEXT, {PM_COPY_SELECTED, 0}},
         }) {
        SendMessageA(pane, WM_COMMAND, context, 0);
        EXPECT_EQ(LastPaneMessage(pane), expected) << context;
    }
    EXPECT_TRUE(PrivateMessages(PanesOf(profile).player).empty());
    network.calls.clear();
    dialogs.opened.clear();
    for (UINT id : {IDM_SRV_REFRESH_ALL, IDM_SRV_REFRESH_SELECTED, IDM_SRV_REFRESH_FAVOURITES, IDM_SRV_SERVER_INFO,
                    IDM_SRV_GET_MASTER_LIST, IDM_SRV_ADD_SERVER, IDM_SRV_MONITOR})
        SendMessageA(pane, WM_COMMAND, id, 0);
    EXPECT_EQ(network.calls, (std::vector<std::string>{"refresh 0", "refresh 1", "refresh 5", "refresh 6", "master"}));
    EXPECT_EQ(dialogs.opened, (std::vector<UINT>{IDM_ADD_SERVER, IDM_MONITOR_SERVER}));
}

TEST_F(CommandsTest, RefreshAndQueryCommandsReachTheNetworkParts) {
    Start();
    const std::pair<UINT, const char*> cases[] = {
        {IDM_REFRESH_ALL, "refresh 0"},        {IDM_REFRESH_SELECTED, "refresh 1"},
        {IDM_REFRESH_FAVOURITES, "refresh 5"}, {IDM_SERVER_INFO, "refresh 6"},
        {IDM_GET_MASTER_LIST, "master"},       {IDM_STOP_REFRESH, "stop"},
        {IDM_TRAY_REFRESH, "refresh 0"},       {IDM_TRAY_REFRESH_FAVOURITES, "refresh 5"},
    };
    for (const auto& [command, expected] : cases) {
        network.calls.clear();
        Command(command);
        ASSERT_EQ(network.calls.size(), 1u) << command;
        EXPECT_EQ(network.calls[0], expected) << command;
    }
}

TEST_F(CommandsTest, DialogCommandsAndMessagesOpenTheirDialogs) {
    Start();
    // Find Player, Add Buddy, Game Setup and the preferences are the shell's own (their dialogs'
    // tests open them).
    for (UINT command : {IDM_ADD_SERVER, IDM_MONITOR_SERVER})
        Command(command);
    const std::vector<UINT> expected = {IDM_ADD_SERVER, IDM_MONITOR_SERVER};
    EXPECT_EQ(dialogs.opened, expected);
}

TEST_F(CommandsTest, EditCommandsGoToTheFocusedPaneOnly) {
    Start();
    SetFocus(PanesOf(profile).playerList);
    Command(IDM_COPY_IRC);
    EXPECT_EQ(LastPaneMessage(PanesOf(profile).player), std::make_pair(PM_COPY_SELECTED, WPARAM(1)));
    SetFocus(PanesOf(profile).buddyList);
    Command(IDM_COPY_TEXT);
    EXPECT_EQ(LastPaneMessage(PanesOf(profile).buddy), std::make_pair(PM_COPY_SELECTED, WPARAM(0)));
    SetFocus(PanesOf(profile).serverList);
    Command(IDM_SELECT_ALL);
    EXPECT_EQ(LastPaneMessage(PanesOf(profile).server), std::make_pair(PM_SELECT_ALL, WPARAM(0)));
    Command(IDM_DESELECT_ALL);
    EXPECT_EQ(LastPaneMessage(PanesOf(profile).server), std::make_pair(PM_DESELECT_ALL, WPARAM(0)));
    SetFocus(TheShell().tab);
    Command(IDM_COPY_IRC);
    for (HWND pane : {PanesOf(profile).server, PanesOf(profile).buddy, PanesOf(profile).player})
        EXPECT_TRUE(PrivateMessages(pane).empty());
}

TEST_F(CommandsTest, ShowEmptyTogglesFlagMarkAndTextValueAndRedisplays) {
    Start();
    ASSERT_TRUE(Checked(IDM_SHOW_EMPTY));
    Command(IDM_SHOW_EMPTY);
    EXPECT_EQ(ctx.display.HideEmpty, 1u);
    EXPECT_FALSE(Checked(IDM_SHOW_EMPTY));
    EXPECT_EQ(RegText("SE"), "1");
    // The redisplay clears and re-sorts the server list pane.
    auto messages = PrivateMessages(PanesOf(profile).server);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages.front().message, PM_CLEAR);
    EXPECT_EQ(messages.back().message, PM_RESORT);
    Command(IDM_SHOW_EMPTY);
    EXPECT_EQ(ctx.display.HideEmpty, 0u);
    EXPECT_TRUE(Checked(IDM_SHOW_EMPTY));
    EXPECT_EQ(RegText("SE"), "0");
}

TEST_F(CommandsTest, ModItemsOfTheGameAreListedAndChoosingOneFilters) {
    Start();
    HMENU mods = ModMenu(GetMenu(main));
    ASSERT_NE(mods, nullptr);
    // "All", a separator, then the six Elite Force mods, each inserted at position 2.
    EXPECT_EQ(GetMenuItemCount(mods), 8);
    EXPECT_EQ(GetMenuItemID(mods, 2), UINT(IDM_MOD_FIRST + 6));
    EXPECT_EQ(GetMenuItemID(mods, 7), UINT(IDM_MOD_FIRST + 1));
    EXPECT_TRUE(Checked(IDM_MOD_ALL));
    Command(IDM_MOD_FIRST + 6);
    EXPECT_EQ(ctx.display.ModFilter, 6u);
    EXPECT_TRUE(Checked(IDM_MOD_FIRST + 6));
    EXPECT_FALSE(Checked(IDM_MOD_ALL));
    EXPECT_EQ(RegDword("FSMD"), 6u);
    // Choosing it again writes nothing and redisplays nothing.
    DeleteRegValue(HKEY_CURRENT_USER, base::kRegistryKey, "FSMD");
    testing_support::RecordedFor(PanesOf(profile).server).clear();
    Command(IDM_MOD_FIRST + 6);
    EXPECT_EQ(RegDword("FSMD"), 0xDEADBEEFu);
    EXPECT_TRUE(PrivateMessages(PanesOf(profile).server).empty());
    Command(IDM_MOD_ALL);
    EXPECT_TRUE(Checked(IDM_MOD_ALL));
    EXPECT_FALSE(Checked(IDM_MOD_FIRST + 6));
    EXPECT_EQ(RegDword("FSMD"), 0u);

    Command(IDM_GAMETYPE_FIRST + 4);
    EXPECT_TRUE(Checked(IDM_GAMETYPE_FIRST + 4));
    EXPECT_EQ(RegDword("FSGT"), 4u);
    EXPECT_EQ(GetMenuState(GetMenu(main), IDM_GAMETYPE_FIRST + 5, MF_BYCOMMAND), UINT(-1));  // four game types
}

TEST_F(CommandsTest, WebLinksStandInDescendingOrderAndEndAtTheFirstGap) {
    WriteIni("weblinks", "urlmenuname000", "Link zero");
    WriteIni("weblinks", "url000", "http://127.0.0.1/0");
    WriteIni("weblinks", "urlmenuname001", "-");
    WriteIni("weblinks", "url001", "-");
    WriteIni("weblinks", "urlmenuname002", "Link two");
    WriteIni("weblinks", "url002", "http://127.0.0.1/2");
    WriteIni("weblinks", "urlmenuname004", "After the gap");
    WriteIni("weblinks", "url004", "http://127.0.0.1/4");
    Start();
    HMENU links = GetSubMenu(GetMenu(main), 4);
    ASSERT_EQ(GetMenuItemCount(links), 5);
    char text[64];
    GetMenuStringA(links, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Vexar! Website");
    EXPECT_EQ(GetMenuState(links, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(links, 2), UINT(IDM_WEBLINK_FIRST + 2));
    GetMenuStringA(links, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Link two");
    EXPECT_EQ(GetMenuState(links, 3, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(links, 4), UINT(IDM_WEBLINK_FIRST));
    EXPECT_EQ(GetMenuState(links, IDM_WEBLINKS_PLACEHOLDER, MF_BYCOMMAND), UINT(-1));
}

TEST_F(CommandsTest, InitMenuAsksTheServerListPaneForFavouriteAndAutoRefresh) {
    Start();
    SendMessageA(main, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(main)), 0);
    auto messages = PrivateMessages(PanesOf(profile).server);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, PM_QUERY_FAVOURITE);
    EXPECT_EQ(messages[1].message, PM_QUERY_AUTO_REFRESH);
}

TEST_F(CommandsTest, TrayAutoRefreshOptionIsWrittenToTheIni) {
    Start();
    Command(IDM_TRAY_AUTO_REFRESH);
    EXPECT_TRUE(ctx.autoRefreshMinimised);
    char value[8];
    GetPrivateProfileStringA("TRAY", "AUTOREFRESH", "", value, sizeof value, folder.File("vexar.ini").c_str());
    EXPECT_STREQ(value, "1");
    Command(IDM_MINIMISE_TO_TRAY);
    GetPrivateProfileStringA("WINDOW", "USETRAY", "", value, sizeof value, folder.File("vexar.ini").c_str());
    EXPECT_STREQ(value, "1");
    EXPECT_TRUE(Checked(IDM_MINIMISE_TO_TRAY));
}

}  // namespace
