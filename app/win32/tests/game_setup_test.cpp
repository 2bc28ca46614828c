// The Installed Game(s) and Game Profile dialogs on real Win32, opened by the Game Setup command.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/win32/commands/filter_menu.h"
#include "app/win32/frame/shell.h"
#include "base/file_io.h"
#include "resources/resource.h"
#include "testing/win32/dialog_script.h"
#include "testing/win32/shell_fixture.h"
#include "views/win32/tests/pane_test_support.h"

namespace {

using namespace app::win32;
using views_test::ColumnTexts;
using Script = testing_support::DialogScript;
using testing_support::PressInto;
using Texts = std::vector<std::string>;

// A message box with this text, the program's caption and this icon; closed with OK.
Script ExpectMessage(const char* text, const char* icon) {
    return [=](HWND box) {
        EXPECT_EQ(testing_support::MessageBoxText(box), std::string(text) + "|Vexar! v2.0");
        EXPECT_EQ(SendDlgItemMessageA(box, 0x440, STM_GETICON, 0, 0), LRESULT(LoadIconA(nullptr, icon))) << text;
        testing_support::PressButton(box, IDOK);
    };
}

std::string Text(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Game Profile: a game chosen as the user would, and optionally a title and OK.
void ChooseGame(HWND dialog, const char* game, const char* title = nullptr) {
    SendDlgItemMessageA(dialog, IDC_PROFILE_GAME, CB_SELECTSTRING, -1, reinterpret_cast<LPARAM>(game));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROFILE_GAME, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PROFILE_GAME)));
    if (title) {
        SetDlgItemTextA(dialog, IDC_PROFILE_TITLE, title);
        testing_support::PressButton(dialog, IDOK);
    }
}

constexpr char kOfferText[] =
    "You don't have any servers to view,\nwould you like Vexar! to retrieve the\nMaster server list?";

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id));
}

class GameSetupTest : public testing_support::ShellTest {
  protected:
    void GameSetup(const Script& script) {
        testing_support::RunDialogScript([&] { SendMessageA(main, WM_COMMAND, IDM_GAME_SETUP, 0); }, script);
    }
    Texts TabTexts() {
        Texts texts(SendMessageA(shell->tab, TCM_GETITEMCOUNT, 0, 0), std::string(64, '\0'));
        for (size_t i = 0; i < texts.size(); ++i) {
            TCITEMA item = {TCIF_TEXT, 0, 0, texts[i].data(), 64};
            SendMessageA(shell->tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            texts[i].resize(strlen(texts[i].c_str()));
        }
        return texts;
    }
};

TEST_F(GameSetupTest, TheLastProfileStaysAndGameProfileMakesANewOneFromTheChosenGame) {
    StartShell();
    GameSetup([&](HWND games) {
        HWND list = GetDlgItem(games, IDC_GAMES_LIST);
        EXPECT_FALSE(Enabled(games, IDC_GAMES_REMOVE));
        views_test::SelectRows(list, {0});
        EXPECT_TRUE(Enabled(games, IDC_GAMES_REMOVE));
        EXPECT_FALSE(Enabled(games, IDC_GAMES_PROPERTIES));
        PressInto(games, IDC_GAMES_REMOVE,
                  ExpectMessage("You want Vexar! to search for no games?!\n\nAre you mad?", IDI_HAND));
        PressInto(games, IDC_GAMES_ADD, [](HWND profile) { testing_support::PressButton(profile, IDCANCEL); });
        EXPECT_EQ(ColumnTexts(list, 0), Texts{"Star Trek Voyager Elite Force"});
        PressInto(games, IDC_GAMES_ADD, [](HWND profile) {
            EXPECT_EQ(Text(profile, IDC_PROFILE_GAME), "Command & Conquer Renegade");
            EXPECT_EQ(Text(profile, IDC_PROFILE_PORT) + " " + Text(profile, IDC_PROFILE_VERSION), "20110 v1.11");
            EXPECT_EQ(GetFocus(), GetDlgItem(profile, IDC_PROFILE_TITLE));
            ChooseGame(profile, "Quake 3 Arena");
            EXPECT_EQ(Text(profile, IDC_PROFILE_FOLDER), "C:\\Program Files\\Quake III Arena");
            EXPECT_EQ(Text(profile, IDC_PROFILE_PORT) + " " + Text(profile, IDC_PROFILE_VERSION),
                      "27950 1.32 (today's servers)");
            EXPECT_EQ(SendDlgItemMessageA(profile, IDC_PROFILE_VERSION, CB_GETCOUNT, 0, 0), 3);
            SendDlgItemMessageA(profile, IDC_PROFILE_VERSION, CB_SETCURSEL, 2, 0);  // "v1.31", protocol 67
            PressInto(profile, IDOK, ExpectMessage("You must specify a profile title!", IDI_ASTERISK));
            EXPECT_EQ(GetFocus(), GetDlgItem(profile, IDC_PROFILE_TITLE));
            SetDlgItemTextA(profile, IDC_PROFILE_TITLE, "My Quake");
            testing_support::PressButton(profile, IDOK);
        });
        EXPECT_EQ(views_test::RowImage(list, 1), 2);  // the Quake 3 icon
        testing_support::PressButton(games, IDCANCEL);
    });
    ASSERT_EQ(ctx.profiles->count(), 2u);
    const catalogue::GameProfile& made = *ctx.profiles->profiles()[1];
    EXPECT_EQ(std::make_tuple(made.kind, made.protocol, made.masterPort, made.fileNumber, made.columnWidth[3]),
              std::make_tuple(1u, 67u, 27950u, 2u, 250u));  // registered with a new number and the defaults
    EXPECT_EQ(TabTexts(), (Texts{"Star Trek Voyager Elite Force", "My Quake"}));
    EXPECT_EQ(CurrentProfile(*shell), ctx.profiles->head());
}

// Which profile was current when the removed profile's server pane went.
WNDPROC g_paneProc;
std::string g_currentWhenDestroyed;
LRESULT CALLBACK WatchDestroy(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        Shell* shell = ShellOf(GetAncestor(pane, GA_ROOT));
        g_currentWhenDestroyed = shell && CurrentProfile(*shell) ? CurrentProfile(*shell)->title : "";
    }
    return CallWindowProcA(g_paneProc, pane, message, wParam, lParam);
}

TEST_F(GameSetupTest, RemovingTheActiveProfileSwitchesToTheNextTabFirstWithNoSecondRemovalMeanwhile) {
    StartShell();
    const Texts files = {"GS001.vexar", "BL001.vexar", "GS002.vexar", "BL002.vexar"};
    for (const std::string& name : files)
        base::TouchFile(folder.File(name));
    g_paneProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(PanesOf(*shell, CurrentProfile(*shell)).server,
                                                             GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchDestroy)));
    GameSetup([&](HWND games) {
        HWND list = GetDlgItem(games, IDC_GAMES_LIST);
        PressInto(games, IDC_GAMES_ADD, [](HWND profile) { ChooseGame(profile, "Quake 3 Arena", "Quake"); });
        // A game that has a profile already gets a second one.
        PressInto(games, IDC_GAMES_ADD, [](HWND p) { ChooseGame(p, "Star Trek Voyager Elite Force", "Elite 2"); });
        views_test::SelectRows(list, {1});
        testing_support::PressButton(games, IDC_GAMES_REMOVE);  // beside the current one
        EXPECT_EQ(TabTexts(), (Texts{"Star Trek Voyager Elite Force", "Elite 2"}));
        views_test::SelectRows(list, {0});
        ctx.refreshBusy = true;  // a refresh holds the current profile's lists
        PressInto(games, IDC_GAMES_REMOVE,
                  ExpectMessage("Vexar! is still busy with this game's servers.\n\nStop the refresh or let it end, "
                                "then remove the game.",
                                IDI_EXCLAMATION));
        ctx.refreshBusy = false;
        // "Elite 2" has no servers: while its offer of a master query is open, Remove is pressed
        // on it (the box belongs to the main window, the dialog stays enabled) and does nothing.
        sink.During(kOfferText, [&](HWND) {
            views_test::SelectRows(list, {views_test::RowCount(list) - 1});
            testing_support::PressButton(games, IDC_GAMES_REMOVE);
            views_test::SelectRows(list, {});
        });
        testing_support::PressButton(games, IDC_GAMES_REMOVE);
        EXPECT_EQ(std::pair(ColumnTexts(list, 0), sink.Unused()), std::pair(Texts{"Elite 2"}, size_t(0)));
        EXPECT_FALSE(Enabled(games, IDC_GAMES_REMOVE));
        testing_support::PressButton(games, IDCANCEL);
    });
    EXPECT_EQ(g_currentWhenDestroyed, "Elite 2");
    EXPECT_EQ(TabTexts(), Texts{"Elite 2"});
    EXPECT_EQ(SendMessageA(shell->tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(std::make_pair(CurrentProfile(*shell)->tabIndex, CurrentProfile(*shell)->fileNumber),
              std::make_pair(0u, 3u));
    EXPECT_TRUE(IsWindowVisible(PanesOf(*shell, CurrentProfile(*shell)).server));
    EXPECT_EQ(GetMenuItemCount(ModMenu(GetMenu(main))), 8);  // "All", a separator and Elite Force's six mods
    for (const std::string& name : files)
        EXPECT_FALSE(base::FileExists(folder.File(name))) << name;
}

}  // namespace
