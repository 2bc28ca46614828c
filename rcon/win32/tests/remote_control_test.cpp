// The remote-control window on real Win32 and loopback sockets: prompts come one at a time and
// nothing goes out behind them, the window waits for its dialogs before it closes, the history is
// kept whole, a kick takes the row clicked, the placement comes back on the screen, a Source game's
// console speaks RCON over TCP to the real fixture.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "base/app_title.h"
#include "base/file_io.h"
#include "base/settings_index.h"
#include "net/win32/socket_owner.h"
#include "rcon/console_placement.h"
#include "rcon/console_session.h"
#include "rcon/win32/remote_control.h"
#include "resources/resource.h"
#include "testing/fake_settings.h"
#include "testing/temp_folder.h"
#include "testing/win32/dialog_sequence.h"
#include "testing/win32/native_fixture.h"

namespace {

using testing_support::PressButton;
using testing_support::PumpUntil;

const std::string kFF = "\xFF\xFF\xFF\xFF";

// A UDP socket on 127.0.0.1 that plays a server.
struct LoopbackServer {
    LoopbackServer() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 0), &wsa);
        socket.Reset(::socket(AF_INET, SOCK_DGRAM, 0));
        sockaddr_in at = {AF_INET, 0, {}};
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket.get(), reinterpret_cast<sockaddr*>(&at), sizeof at);
        int size = sizeof at;
        getsockname(socket.get(), reinterpret_cast<sockaddr*>(&at), &size);
        port = ntohs(at.sin_port);
        u_long nonBlocking = 1;
        ioctlsocket(socket.get(), FIONBIO, &nonBlocking);
    }
    // The next request (pumping messages meanwhile), or "" after a while.
    std::string Receive(DWORD ms = 3000) {
        char buffer[2048];
        int n = -1, size = sizeof console;
        PumpUntil(
            [&] { return (n = recvfrom(socket.get(), buffer, sizeof buffer, 0, (sockaddr*)&console, &size)) > 0; }, ms);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }
    void Send(const std::string& text) {
        sendto(socket.get(), text.data(), static_cast<int>(text.size()), 0, reinterpret_cast<sockaddr*>(&console),
               sizeof console);
    }
    net::win32::OwnedSocket socket;
    uint16_t port = 0;
    sockaddr_in console = {};  // where the last request came from
};

HWND Console() {
    return FindWindowA(rcon::win32::kRemoteControlClass, nullptr);
}

HWND VisiblePlayers() {
    for (HWND child = GetWindow(Console(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpA(name, WC_LISTVIEWA) == 0 && IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

int PlayerRows() {
    HWND list = VisiblePlayers();
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

BOOL CALLBACK CountDialog(HWND window, LPARAM count) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    *reinterpret_cast<int*>(count) += lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window);
    return TRUE;
}

int OpenDialogs() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::string Table(const std::string& rows) {
    return kFF + "print\nmap: q3dm17\ncl score ping name address rate\n-- ----- ---- ---- ------- -----\n" + rows;
}

struct Lab {
    Lab() {
        rcon::win32::RegisterRemoteControlClass(GetModuleHandleA(nullptr));
        games.buildCatalogue();
        catalogue::findOrCreateServer(servers, catalogue::MakeServerTemplate("127.0.0.1", server.port));
    }
    ~Lab() {
        rcon::win32::CloseRemoteControl();
        PumpUntil([] { return !Console(); });
    }
    // Opens the console and runs the script on its password prompt.
    void Open(const testing_support::DialogScript& script) {
        bool answered = false;
        testing_support::RunDialogScript(
            [&] {
                rcon::win32::OpenRemoteControl(host, catalogue::kQuake3, 7, *servers.head);
                PumpUntil([&] { return answered; });
            },
            [&](HWND password) {
                script(password);
                answered = true;
            });
    }
    void OpenWith(const char* password) {
        Open([&](HWND prompt) {
            SetDlgItemTextA(prompt, IDC_RCON_PASSWORD, password);
            PressButton(prompt, IDOK);
        });
        EXPECT_EQ(server.Receive(), kFF + "rcon " + password + " status");
    }
    void Command(UINT id) { SendMessageA(Console(), WM_COMMAND, id, 0); }

    LoopbackServer server, stranger;
    testing_support::TempFolder folder;
    testing_support::FakeSettings settings;
    catalogue::Catalogue games;
    catalogue::ServerList servers;
    std::string kept;
    rcon::win32::RemoteControlHost host{GetModuleHandleA(nullptr),
                                        nullptr,
                                        settings,
                                        games,
                                        folder.path(),
                                        [this](uint32_t file,
                                               const std::string& address,
                                               uint32_t port,
                                               const std::string& password,
                                               uint32_t rconPort) {
                                            kept = std::to_string(file) + " " + address + ":" + std::to_string(port) +
                                                   " " + password + ":" + std::to_string(rconPort);
                                        }};
};

TEST(RemoteControlWindow, OnePromptNothingSentBehindItAndTheWholeHistoryKept) {
    Lab lab;
    std::string history;
    for (int i = 100; i < 400; ++i)
        history += "set v" + std::to_string(i) + " 1234567890\r\n";  // 6,300 bytes
    testing_support::WriteBytes(lab.folder.File("user_rcon_commands_q3a.txt"), history);
    lab.settings.WriteDword(base::reg::kRconAutoStatus.keyPath, base::reg::kRconAutoStatus.name, 1);
    lab.Open([&](HWND password) {
        // The auto-status and the window's ticks run inside the prompt: no second prompt, nothing sent.
        for (int i = 0; i < 3; ++i) {
            SendMessageA(Console(), WM_TIMER, 1, 0);
            SendMessageA(Console(), WM_TIMER, 2, 0);
        }
        EXPECT_EQ(lab.server.Receive(300), "");
        EXPECT_EQ(OpenDialogs(), 1);
        SetDlgItemTextA(password, IDC_RCON_PASSWORD, "pw");
        PressButton(password, IDOK);
    });
    EXPECT_EQ(lab.server.Receive(), kFF + "rcon pw status");
    EXPECT_EQ(lab.kept, "7 127.0.0.1:" + std::to_string(lab.server.port) + " pw:" + std::to_string(lab.server.port));
    lab.stranger.console = lab.server.console;
    lab.stranger.Send(Table("  0     5   48 Sarge  bot 25000\n"));  // another address: ignored
    EXPECT_FALSE(PumpUntil([] { return PlayerRows() > 0; }, 500));
    lab.server.Send(Table("  0     5   48 Sarge  bot 25000\n"));
    EXPECT_TRUE(PumpUntil([] { return PlayerRows() == 1; }));
    HWND box = GetDlgItem(Console(), IDC_RCON_COMMAND);
    EXPECT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 300);
    SetWindowTextA(box, "fraglimit 20");
    lab.Command(IDC_RCON_SEND);
    EXPECT_EQ(lab.server.Receive(), kFF + "rcon pw fraglimit 20");
    rcon::win32::CloseRemoteControl();
    EXPECT_EQ(rcon::win32::RemoteControlCount(), 0);
    EXPECT_EQ(testing_support::ReadBytes(lab.folder.File("user_rcon_commands_q3a.txt")), "fraglimit 20\r\n" + history);
}

TEST(RemoteControlWindow, APromptWaitsForTheToolDialogThenItsCancelClosesTheConsole) {
    Lab lab;
    lab.OpenWith("pw");
    lab.Command(IDM_RCON_SERVER_PROPS);
    EXPECT_EQ(lab.server.Receive(), kFF + "rcon pw cvarlist");
    size_t answered = testing_support::RunDialogSequence(
        [&] {
            lab.server.Send(kFF + "print\nS     sv_hostname \"Lab\"\n\n1 total cvars\n");
            PumpUntil([] { return !Console(); });
        },
        {[&](HWND properties) {
             HWND list = GetDlgItem(properties, IDC_PROPERTIES_LIST);
             LVITEMA state = {};
             state.stateMask = state.state = LVIS_SELECTED;
             SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
             SetDlgItemTextA(properties, IDC_PROPERTIES_NEW, "My Lab Server");
             PressButton(properties, IDC_PROPERTIES_CHANGE);
             EXPECT_EQ(lab.server.Receive(), kFF + "rcon pw sv_hostname \"My Lab Server\"");
             // The server rejects the password while the dialog is open: the prompt waits for it.
             lab.server.Send(kFF + "print\nBad rconpassword.\n");
             PumpUntil([] { return false; }, 300);
             EXPECT_EQ(OpenDialogs(), 1);
             PressButton(properties, IDOK);
         },
         testing_support::AnswerMessage(rcon::kPasswordWrongMessage, base::kAppTitle, IDOK),
         [](HWND password) { PressButton(password, IDCANCEL); }});
    EXPECT_EQ(answered, 3u);
    EXPECT_FALSE(Console());
    EXPECT_EQ(rcon::win32::RemoteControlCount(), 0);
}

TEST(RemoteControlWindow, AClosedWindowWaitsForItsDialogsAndOutlivesItsOwnersEnd) {
    Lab lab;
    // Removing a game closes the window while the password prompt is open: the prompt ends first.
    lab.Open([&](HWND) {
        rcon::win32::CloseRemoteControl();
        EXPECT_EQ(rcon::win32::RemoteControlCount(), 0);
        EXPECT_TRUE(Console());
    });
    EXPECT_TRUE(PumpUntil([] { return !Console(); }));
    EXPECT_EQ(lab.kept, "");
    EXPECT_TRUE(base::FileExists(lab.folder.File("user_rcon_commands_q3a.txt")));
    // Leaving the program: the owner goes while Server Properties is open.
    lab.settings.registry.clear();
    lab.host.main = CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    lab.OpenWith("pw");
    lab.Command(IDM_RCON_SERVER_PROPS);
    EXPECT_EQ(lab.server.Receive(), kFF + "rcon pw cvarlist");
    testing_support::RunDialogSequence(
        [&] {
            lab.server.Send(kFF + "print\n\n0 total cvars\n");
            PumpUntil([] { return !Console(); });
        },
        {[&](HWND) { DestroyWindow(lab.host.main); }});
    EXPECT_FALSE(Console());
    EXPECT_EQ(rcon::win32::RemoteControlCount(), 0);
    EXPECT_TRUE(lab.settings.ReadDword(base::reg::kRconWindowXY.keyPath, base::reg::kRconWindowXY.name));
}

TEST(RemoteControlWindow, KickTakesTheRowRightClickedOnNotTheSelectedOne) {
    Lab lab;
    lab.OpenWith("pw");
    lab.server.Send(Table(" 3 1 40 Ann bot 1\n 7 2 40 Bob bot 1\n12 3 40 Cid bot 1\n"));
    ASSERT_TRUE(PumpUntil([] { return PlayerRows() == 3; }));
    HWND list = VisiblePlayers();
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    NMITEMACTIVATE click = {};
    click.hdr = {list, 0, static_cast<UINT>(NM_RCLICK)};
    click.iItem = 2;
    EXPECT_TRUE(testing_support::ChooseMenuItem(
        [&] { SendMessageA(Console(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click)); }, 0));
    EXPECT_EQ(lab.server.Receive(), kFF + "rcon pw clientkick 12");
    lab.server.Send(kFF + "print\nClientDisconnect: 12\n");
    EXPECT_TRUE(PumpUntil([] { return PlayerRows() == 2; }));
}

TEST(RemoteControlWindow, ThePlacementComesBackOnTheScreen) {
    using namespace base::reg;
    Lab lab;
    // Left at x = -7 (snapped to the left edge); only the corner stored (top in the high word).
    lab.settings.WriteDword(kRconWindowXY.keyPath, kRconWindowXY.name, 0x0028FFF9);
    lab.Open([&](HWND password) {
        RECT r;
        GetWindowRect(Console(), &r);
        EXPECT_GE(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
        EXPECT_LT(r.left, 8);
        EXPECT_EQ(r.top, 40);
        EXPECT_GT(r.right - r.left, 100);
        PressButton(password, IDCANCEL);
    });
    ASSERT_TRUE(PumpUntil([] { return !Console(); }));
    lab.settings.WriteDword(kRconWindowWH.keyPath, kRconWindowWH.name, 0x021C0276);  // (630, 540)
    lab.settings.WriteDword(kRconWindowState.keyPath, kRconWindowState.name, rcon::kMaximisedState);
    lab.Open([&](HWND password) {
        EXPECT_TRUE(IsZoomed(Console()));
        PressButton(password, IDCANCEL);
    });
    ASSERT_TRUE(PumpUntil([] { return !Console(); }));
    EXPECT_EQ(lab.settings.ReadDword(kRconWindowState.keyPath, kRconWindowState.name), rcon::kMaximisedState);
}

TEST(RemoteControlWindow, ASourceConsoleSpeaksRconOverTcpToTheRealFixture) {
    Lab lab;
    uint16_t port = testing_support::StartNativeTcpFixture(
        "source_rcon_fixture", "--player Alice --player Bob --player Carl --lifetime-ms 30000 --quiet");
    ASSERT_TRUE(port) << "the native build's testing/fixtures/source_rcon_fixture is needed";
    catalogue::findOrCreateServer(lab.servers, catalogue::MakeServerTemplate("127.0.0.1", port));
    auto password = [](const char* typed) { return testing_support::TypeAndPress(IDC_RCON_PASSWORD, typed, IDOK); };
    size_t answered = testing_support::RunDialogSequence(
        [&] {
            rcon::win32::OpenRemoteControl(lab.host, catalogue::kTeamFortress2, 7, *lab.servers.tail);
            PumpUntil([] { return PlayerRows() == 3; }, 10000);
        },
        {password("wrong"), testing_support::AnswerMessage(rcon::kPasswordWrongMessage, base::kAppTitle, IDOK),
         password("secret")});
    EXPECT_EQ(answered, 3u);
    ASSERT_EQ(PlayerRows(), 3);
    // The kick of the second row (Bob, user id 3), then the list as the server has it now.
    ListView_SetItemState(VisiblePlayers(), 1, LVIS_SELECTED, LVIS_SELECTED);
    lab.Command(IDM_RCON_KICK);
    ASSERT_TRUE(PumpUntil([] { return PlayerRows() == 2; }));
    char name[64] = "";
    ListView_GetItemText(VisiblePlayers(), 1, 0, name, sizeof name);
    EXPECT_STREQ(name, "Carl");
}

}  // namespace
