// One thread waits on every server's socket with select and answers what comes in.
#include "testing/win32/loopback_servers.h"

#include <vector>

namespace testing_support {

std::string Quake3Status(const std::string& hostName, int players) {
    std::string reply = "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\" + hostName +
                        "\\mapname\\q3dm17\\sv_maxclients\\64\\gamename\\baseq3\n";
    for (int i = 1; i <= players; ++i)
        reply += "1 50 \"p" + std::to_string(i) + "\"\n";
    return reply;
}

LoopbackServers::LoopbackServers() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 0), &wsa);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServers::~LoopbackServers() {
    stop_ = true;
    thread_.join();
    servers_.clear();
    WSACleanup();
}

uint16_t LoopbackServers::Add(const std::string& reply) {
    net::win32::OwnedSocket owned(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (!owned)
        return 0;
    const SOCKET s = owned.get();
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof a;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        return 0;
    const uint16_t port = ntohs(a.sin_port);
    std::lock_guard guard(mutex_);
    servers_[port] = Server{std::move(owned), reply, nullptr, 0};
    return port;
}

uint16_t LoopbackServers::Add(Answer answer) {
    const uint16_t port = Add(std::string());
    if (port) {
        std::lock_guard guard(mutex_);
        servers_[port].answer = std::move(answer);
    }
    return port;
}

void LoopbackServers::SetReply(uint16_t port, const std::string& reply) {
    std::lock_guard guard(mutex_);
    servers_[port].reply = reply;
}

int LoopbackServers::Requests(uint16_t port) {
    std::lock_guard guard(mutex_);
    auto found = servers_.find(port);
    return found == servers_.end() ? 0 : found->second.requests;
}

void LoopbackServers::Serve() {
    while (!stop_) {
        fd_set readable;
        FD_ZERO(&readable);
        {
            std::lock_guard guard(mutex_);
            for (auto& [port, server] : servers_)
                FD_SET(server.socket.get(), &readable);
        }
        timeval wait = {0, 10000};
        if (readable.fd_count == 0) {
            Sleep(10);
            continue;
        }
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        std::lock_guard guard(mutex_);
        for (auto& [port, server] : servers_) {
            if (!FD_ISSET(server.socket.get(), &readable))
                continue;
            char request[1500];
            sockaddr_in from = {};
            int length = sizeof from;
            const int size =
                recvfrom(server.socket.get(), request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (size < 0)
                continue;
            ++server.requests;
            if (server.answer) {
                for (const std::string& reply : server.answer(std::string(request, size)))
                    sendto(server.socket.get(), reply.data(), static_cast<int>(reply.size()), 0,
                           reinterpret_cast<sockaddr*>(&from), length);
            } else if (!server.reply.empty())
                sendto(server.socket.get(), server.reply.data(), static_cast<int>(server.reply.size()), 0,
                       reinterpret_cast<sockaddr*>(&from), length);
        }
    }
}

}  // namespace testing_support
