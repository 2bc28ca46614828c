// The network parts on real Winsock under Wine: asynchronous sockets, the master query, a refresh
// cycle with its worker thread and timer 2, and the version check, against responders in this process.
#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/app_messages.h"
#include "app/win32/network_glue.h"
#include "app/win32/registry.h"
#include "net/status_engine.h"
#include "net/win32/win32_network.h"
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

// A UDP responder on 127.0.0.1 that answers every datagram with a reply built from the request.
class Responder {
  public:
    using Answer = std::vector<std::string> (*)(const std::string& request);

    explicit Responder(Answer answer, uint16_t port = 0) : answer_(answer) {
        socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        a.sin_port = htons(port);
        bind(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        int length = sizeof a;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
        DWORD timeout = 100;
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        thread_ = std::thread([this] { Run(); });
    }
    ~Responder() {
        stop_ = true;
        thread_.join();
        closesocket(socket_);
    }
    uint16_t port() const { return port_; }
    int requests() const { return requests_; }

  private:
    void Run() {
        char buffer[2048];
        while (!stop_) {
            sockaddr_in from = {};
            int length = sizeof from;
            int n = recvfrom(socket_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (n <= 0)
                continue;
            ++requests_;
            for (const std::string& reply : answer_(std::string(buffer, n)))
                sendto(socket_, reply.data(), static_cast<int>(reply.size()), 0, reinterpret_cast<sockaddr*>(&from),
                       length);
        }
    }
    Answer answer_;
    SOCKET socket_;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

std::vector<std::string> StatusAnswer(const std::string& request) {
    if (request != std::string("\xFF\xFF\xFF\xFFgetstatus", 13))
        return {};
    return {
        std::string("\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\^1Wine ^7Lab\\mapname\\q3dm17\\sv_maxclients\\"
                    "12\\gamename\\cpma\\g_gametype\\5\n3 45 \"^2Player\"\n",
                    100)};
}

class NetworkTest : public ShellTest {
  protected:
    // Pumps messages until the program is idle again (or the time is up).
    bool PumpUntilIdle(DWORD ms) {
        DWORD start = GetTickCount();
        do {
            Pump();
            Sleep(10);
        } while ((ctx.refreshBusy || !idleSeen_()) && GetTickCount() - start < ms);
        return !ctx.refreshBusy;
    }
    void PumpFor(DWORD ms) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            Pump();
            Sleep(10);
        }
    }
    bool (*idleSeen_)() = [] { return true; };
    WinsockSession winsock;
    app::win32::Network realNetwork;
};

TEST_F(NetworkTest, AsyncSocketAnnouncesDatagramsToItsWindow) {
    StartShell();
    Responder responder(StatusAnswer);
    net::win32::AsyncDatagramSocketFactory factory(main, WM_USER + 1234);
    auto socket = factory.Open();
    ASSERT_NE(socket, nullptr);
    net::Endpoint to{inet_addr("127.0.0.1"), responder.port()};
    ASSERT_TRUE(socket->SendTo(to, "\xFF\xFF\xFF\xFFgetstatus", 13));
    MSG msg;
    bool announced = false;
    for (int i = 0; i < 200 && !announced; ++i) {
        announced = PeekMessageA(&msg, main, WM_USER + 1234, WM_USER + 1234, PM_REMOVE) != 0;
        Sleep(10);
    }
    ASSERT_TRUE(announced);
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    EXPECT_GT(socket->Pending().value_or(0), 0u);
    char buffer[4096];
    net::Endpoint from;
    int n = socket->ReceiveFrom(buffer, sizeof buffer, &from);
    EXPECT_EQ(n, 100);
    EXPECT_EQ(from, to);
    EXPECT_EQ(socket->ReceiveFrom(buffer, sizeof buffer, &from), -1);  // nothing more waiting
}

TEST_F(NetworkTest, RefreshCycleMeasuresPingAndClosesThroughTheEngine) {
    Responder live(StatusAnswer);
    attachedNetwork = &realNetwork;
    StartShell();
    catalogue::GameProfile* p = app::win32::CurrentProfile();
    p->kind = catalogue::kQuake3;
    catalogue::findOrCreateServer(p->servers, catalogue::MakeServerTemplate("127.0.0.1", live.port()));
    catalogue::findOrCreateServer(p->servers, catalogue::MakeServerTemplate("127.0.0.1", 1));  // nobody there
    SendMessageA(main, app::win32::WM_APP_REFRESH, net::kRefreshAll, 0);
    EXPECT_TRUE(ctx.refreshBusy);
    ASSERT_TRUE(PumpUntilIdle(8000));
    EXPECT_EQ(live.requests(), 1);
    catalogue::ServerRecord* answered = p->servers.head;
    EXPECT_LT(answered->ping, 999u);
    EXPECT_EQ(answered->refreshPending, 0u);
    EXPECT_EQ(answered->awaitingReply, 0u);
    EXPECT_EQ(answered->replyCount, 1u);
    catalogue::ServerRecord* silent = answered->next;
    EXPECT_EQ(silent->ping, catalogue::kNoPing);
    EXPECT_EQ(silent->refreshPending, 0u);
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

// A version server on 127.0.0.1:2048 answering one connection with a fixed text.
class VersionServer {
  public:
    explicit VersionServer(std::string answer) : answer_(std::move(answer)) {
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        BOOL yes = TRUE;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        a.sin_port = htons(2048);
        bound_ = bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(listener_, 1) == 0;
        thread_ = std::thread([this] {
            SOCKET c = accept(listener_, nullptr, nullptr);
            if (c == INVALID_SOCKET)
                return;
            char request[16] = {};
            int n = recv(c, request, sizeof request, 0);
            request_ = std::string(request, n > 0 ? n : 0);
            send(c, answer_.data(), static_cast<int>(answer_.size()), 0);
            Sleep(200);
            closesocket(c);
        });
    }
    ~VersionServer() {
        closesocket(listener_);
        thread_.join();
    }
    bool bound() const { return bound_; }
    std::string request_;

  private:
    std::string answer_;
    SOCKET listener_;
    bool bound_ = false;
    std::thread thread_;
};

TEST_F(NetworkTest, VersionCheckOffersTheDownloadOnlyForAnotherVersion) {
    WriteIni("endpoints", "versionserver", "127.0.0.1");
    for (const auto& [answer, offered] : {std::pair<std::string, bool>{"2.0A", false}, {"1.9", true}}) {
        VersionServer server(answer);
        ASSERT_TRUE(server.bound());
        sink.shown.clear();
        attachedNetwork = &realNetwork;
        StartShell();
        PumpFor(1500);
        EXPECT_EQ(server.request_, "getver");
        bool asked = false;
        for (const std::string& s : sink.shown)
            asked |= s == "Version " + answer + " of Vexar! is now available,\nwould you like to download it now?";
        EXPECT_EQ(asked, offered) << answer;
        CloseShell();
    }
}

}  // namespace
