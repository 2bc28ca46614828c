// The remote-control window on real Win32 and loopback sockets: a console asks its password, lists
// the players of the status reply, ignores replies from other addresses, keeps its history.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "base/file_io.h"
#include "base/settings_index.h"
#include "base/text.h"
#include "rcon/win32/remote_control.h"
#include "resources/resource.h"
#include "testing/fake_settings.h"
#include "testing/temp_folder.h"
#include "testing/win32/dialog_script.h"

namespace {

// A UDP socket on 127.0.0.1 that plays the server.
struct LoopbackServer {
    LoopbackServer() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 0), &wsa);
        socket = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at = {};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket, reinterpret_cast<sockaddr*>(&at), sizeof at);
        int size = sizeof at;
        getsockname(socket, reinterpret_cast<sockaddr*>(&at), &size);
        port = ntohs(at.sin_port);
        u_long nonBlocking = 1;
        ioctlsocket(socket, FIONBIO, &nonBlocking);
    }
    ~LoopbackServer() { closesocket(socket); }
    // The next request, with the console's address to answer.
    std::string Receive(sockaddr_in& from) {
        char buffer[2048];
        int size = sizeof from;
        int n = recvfrom(socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }
    void Send(SOCKET through, const sockaddr_in& to, const std::string& text) {
        sendto(through, text.data(), static_cast<int>(text.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    SOCKET socket;
    uint16_t port = 0;
};

// Runs the thread's messages until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        Sleep(10);
    }
    return false;
}

int PlayerRows() {
    HWND window = FindWindowA(rcon::win32::kRemoteControlClass, nullptr);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpA(name, WC_LISTVIEWA) == 0 && IsWindowVisible(child))
            return static_cast<int>(SendMessageA(child, LVM_GETITEMCOUNT, 0, 0));
    }
    return -1;
}

TEST(RemoteControlWindow, AConsoleTakesOnlyItsServersRepliesAndKeepsItsHistory) {
    rcon::win32::RegisterRemoteControlClass(GetModuleHandleA(nullptr));
    LoopbackServer server, stranger;
    testing_support::TempFolder folder;
    testing_support::FakeSettings settings;
    catalogue::Catalogue games;
    games.buildCatalogue();
    catalogue::ServerList servers;
    catalogue::findOrCreateServer(servers, catalogue::MakeServerTemplate("127.0.0.1", server.port));
    catalogue::ServerRecord& record = *servers.head;
    rcon::win32::RemoteControlHost host{GetModuleHandleA(nullptr), nullptr, settings, games, folder.path()};

    testing_support::RunDialogScript(
        [&] { rcon::win32::OpenRemoteControl(host, catalogue::kQuake3, record, servers); },
        [](HWND password) {
            SetDlgItemTextA(password, IDC_RCON_PASSWORD, "pw");
            testing_support::PressButton(password, IDOK);
        });
    EXPECT_EQ(rcon::win32::RemoteControlCount(), 1);
    EXPECT_STREQ(record.rconPassword, "pw");  // "Save" was ticked
    sockaddr_in console = {};
    std::string request;
    ASSERT_TRUE(PumpUntil([&] { return !(request = server.Receive(console)).empty(); }));
    EXPECT_EQ(request, "\xFF\xFF\xFF\xFFrcon pw status");

    const std::string table = "\xFF\xFF\xFF\xFFprint\nmap: q3dm17\nnum score ping name\n--- ----- ---- ----\n"
                              "  0     5   48 Sarge             0 127.0.0.1:1 1 25000\n";
    stranger.Send(stranger.socket, console, table);  // another address: ignored
    EXPECT_FALSE(PumpUntil([] { return PlayerRows() > 0; }, 500));
    server.Send(server.socket, console, table);
    EXPECT_TRUE(PumpUntil([] { return PlayerRows() == 1; }));

    // A second open of the same server adds no console.
    rcon::win32::OpenRemoteControl(host, catalogue::kQuake3, record, servers);
    EXPECT_EQ(rcon::win32::RemoteControlCount(), 1);
    HWND window = FindWindowA(rcon::win32::kRemoteControlClass, nullptr);
    SetWindowTextA(GetDlgItem(window, IDC_RCON_COMMAND), "fraglimit 20");
    SendMessageA(window, WM_COMMAND, IDC_RCON_SEND, 0);
    ASSERT_TRUE(PumpUntil([&] { return !(request = server.Receive(console)).empty(); }));
    EXPECT_EQ(request, "\xFF\xFF\xFF\xFFrcon pw fraglimit 20");
    rcon::win32::CloseRemoteControl();
    PumpUntil([] { return !FindWindowA(rcon::win32::kRemoteControlClass, nullptr); });
    EXPECT_EQ(rcon::win32::RemoteControlCount(), 0);
    EXPECT_EQ(testing_support::ReadBytes(base::JoinPath(folder.path(), "user_rcon_commands_q3a.txt")), "fraglimit 20\r\n");
    EXPECT_TRUE(settings.ReadDword(base::reg::kRconWindowXY.keyPath, base::reg::kRconWindowXY.name).has_value());
}

}  // namespace
