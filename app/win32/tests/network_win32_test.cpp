// The network parts on real Winsock under Wine: the master query and the version check (the asynchronous
// sockets and whole refresh cycles are checked end to end).
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <string>
#include <thread>

#include "app/win32/app_messages.h"
#include "app/win32/network_glue.h"
#include "testing/win32/shell_fixture.h"

namespace {

using testing_support::ShellTest;

struct WinsockSession {
    WinsockSession() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 0), &wsa);
    }
    ~WinsockSession() { WSACleanup(); }
};

// A version server on 127.0.0.1:2048 answering one connection from a thread of its own; it keeps what
// it was asked.
class VersionServer {
  public:
    explicit VersionServer(std::string answer) : socket_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in a = {AF_INET, htons(2048)};
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        BOOL yes = TRUE;
        setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
        bound = bind(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(socket_, 1) == 0;
        thread_ = std::thread([this, answer] {
            SOCKET c = accept(socket_, nullptr, nullptr);
            if (c == INVALID_SOCKET)
                return;
            char text[16];
            int n = recv(c, text, sizeof text, 0);
            request = std::string(text, n > 0 ? n : 0);
            send(c, answer.data(), static_cast<int>(answer.size()), 0);
            Sleep(200);
            closesocket(c);
        });
    }
    ~VersionServer() {
        closesocket(socket_);
        thread_.join();
    }
    bool bound = false;
    std::string request;

  private:
    SOCKET socket_;
    std::thread thread_;
};

class NetworkTest : public ShellTest {
  protected:
    WinsockSession winsock;
    app::win32::Network realNetwork;
};

TEST_F(NetworkTest, UnreadableMasterAddressWindsDownInsteadOfStayingBusy) {
    attachedNetwork = &realNetwork;
    StartShell();
    catalogue::GameProfile* p = app::win32::CurrentProfile();
    snprintf(p->masterAddress, sizeof p->masterAddress, "not.an.address");
    SendMessageA(main, app::win32::WM_APP_MASTERQUERY, 0, 0);
    EXPECT_FALSE(ctx.refreshBusy);
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown.back(), "Could not connect!");
}

TEST_F(NetworkTest, VersionCheckAsksTheVersionServerAndOffersTheDownloadOfAnotherVersion) {
    // Which answers offer it is the judgement's rule (tested natively).
    WriteIni("endpoints", "versionserver", "127.0.0.1");
    VersionServer server("1.9");
    ASSERT_TRUE(server.bound);
    attachedNetwork = &realNetwork;
    StartShell();
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1500; Sleep(10))
        Pump();
    EXPECT_EQ(server.request, "getver");
    EXPECT_NE(std::find(sink.shown.begin(), sink.shown.end(),
                        "Version 1.9 of Vexar! is now available,\nwould you like to download it now?"),
              sink.shown.end());
}

}  // namespace
