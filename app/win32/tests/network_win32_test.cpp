// The network parts on real Winsock under Wine: asynchronous sockets, the master query, a refresh
// cycle with its worker thread and timer 2, and the version check, against responders in this process.
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "app/win32/app_messages.h"
#include "app/win32/network_glue.h"
#include "net/status_engine.h"
#include "net/win32/win32_network.h"
#include "testing/win32/shell_fixture.h"

namespace {

using testing_support::ShellTest;

const std::string kStatusReply(
    "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\^1Wine ^7Lab\\mapname\\q3dm17\\sv_maxclients\\12\\gamename\\cpma"
    "\\g_gametype\\5\n3 45 \"^2Player\"\n",
    100);

struct WinsockSession {
    WinsockSession() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 0), &wsa);
    }
    ~WinsockSession() { WSACleanup(); }
};

// A socket on 127.0.0.1 (a free port unless given) served by a thread that runs `serve` until stopped.
class Responder {
  public:
    Responder(int type, uint16_t port = 0) : socket_(socket(AF_INET, type, 0)) {
        sockaddr_in a = {AF_INET, htons(port)};
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        BOOL yes = TRUE;
        setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
        bound = bind(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                (type != SOCK_STREAM || listen(socket_, 1) == 0);
        int length = sizeof a;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&a), &length);
        this->port = ntohs(a.sin_port);
        DWORD timeout = 100;  // a datagram responder looks for the end every 100 ms
        if (type == SOCK_DGRAM)
            setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    }
    ~Responder() {
        stop_ = true;
        closesocket(socket_);
        if (thread_.joinable())
            thread_.join();
    }
    // Answers every status request with the status reply.
    void AnswerStatus() {
        thread_ = std::thread([this] {
            char buffer[2048];
            while (!stop_) {
                sockaddr_in from = {};
                int length = sizeof from;
                int n = recvfrom(socket_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
                if (n <= 0)
                    continue;
                ++requests;
                if (std::string(buffer, n) == std::string("\xFF\xFF\xFF\xFFgetstatus", 13))
                    sendto(socket_, kStatusReply.data(), 100, 0, reinterpret_cast<sockaddr*>(&from), length);
            }
        });
    }
    // Answers one connection with `answer` and keeps what it asked.
    void AnswerOnce(std::string answer) {
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
    bool bound = false;
    uint16_t port = 0;
    std::atomic<int> requests{0};
    std::string request;

  private:
    SOCKET socket_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class NetworkTest : public ShellTest {
  protected:
    // Pumps messages for `ms`, or until the program is not busy any more.
    void PumpFor(DWORD ms, bool untilIdle = false) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms && !(untilIdle && !ctx.refreshBusy);) {
            Pump();
            Sleep(10);
        }
    }
    WinsockSession winsock;
    app::win32::Network realNetwork;
};

TEST_F(NetworkTest, AsyncSocketAnnouncesDatagramsToItsWindow) {
    StartShell();
    Responder responder(SOCK_DGRAM);
    responder.AnswerStatus();
    net::win32::AsyncDatagramSocketFactory factory(main, WM_USER + 1234);
    auto socket = factory.Open();
    ASSERT_NE(socket, nullptr);
    net::Endpoint to{inet_addr("127.0.0.1"), responder.port};
    ASSERT_TRUE(socket->SendTo(to, "\xFF\xFF\xFF\xFFgetstatus", 13));
    MSG msg;
    bool announced = false;
    for (int i = 0; i < 200 && !announced; ++i, Sleep(10))
        announced = PeekMessageA(&msg, main, WM_USER + 1234, WM_USER + 1234, PM_REMOVE) != 0;
    ASSERT_TRUE(announced);
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    EXPECT_GT(socket->Pending().value_or(0), 0u);
    char buffer[4096];
    net::Endpoint from;
    EXPECT_EQ(socket->ReceiveFrom(buffer, sizeof buffer, &from), 100);
    EXPECT_EQ(from, to);
    EXPECT_EQ(socket->ReceiveFrom(buffer, sizeof buffer, &from), -1);  // nothing more waiting
}

TEST_F(NetworkTest, RefreshCycleMeasuresPingAndClosesThroughTheEngine) {
    Responder live(SOCK_DGRAM);
    live.AnswerStatus();
    attachedNetwork = &realNetwork;
    StartShell();
    catalogue::GameProfile* p = app::win32::CurrentProfile();
    p->kind = catalogue::kQuake3;
    catalogue::findOrCreateServer(p->servers, catalogue::MakeServerTemplate("127.0.0.1", live.port));
    catalogue::findOrCreateServer(p->servers, catalogue::MakeServerTemplate("127.0.0.1", 1));  // nobody there
    SendMessageA(main, app::win32::WM_APP_REFRESH, net::kRefreshAll, 0);
    EXPECT_TRUE(ctx.refreshBusy);
    PumpFor(8000, true);
    ASSERT_FALSE(ctx.refreshBusy);
    EXPECT_EQ(live.requests, 1);
    const catalogue::ServerRecord& answered = *p->servers.head;
    EXPECT_LT(answered.ping, 999u);
    EXPECT_EQ(std::tuple(answered.refreshPending, answered.awaitingReply, answered.replyCount), std::tuple(0u, 0u, 1u));
    EXPECT_EQ(std::pair(answered.next->ping, answered.next->refreshPending), std::pair(catalogue::kNoPing, 0u));
}

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
    Responder server(SOCK_STREAM, 2048);
    ASSERT_TRUE(server.bound);
    server.AnswerOnce("1.9");
    attachedNetwork = &realNetwork;
    StartShell();
    PumpFor(1500);
    EXPECT_EQ(server.request, "getver");
    EXPECT_NE(std::find(sink.shown.begin(), sink.shown.end(),
                        "Version 1.9 of Vexar! is now available,\nwould you like to download it now?"),
              sink.shown.end());
}

}  // namespace
