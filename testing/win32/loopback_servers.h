// Game servers on 127.0.0.1 for in-process tests of whole refreshes: each answers every datagram it
// gets with its reply (or stays silent), from a thread of their own.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/win32/socket_owner.h"

namespace testing_support {

// A Quake-III "statusResponse" with this host name, players named p1, p2, ... (score 1, ping 50) and
// sv_maxclients 64.
std::string Quake3Status(const std::string& hostName, int players);

class LoopbackServers {
  public:
    LoopbackServers();  // starts Windows Sockets for its own use
    ~LoopbackServers();
    LoopbackServers(const LoopbackServers&) = delete;
    LoopbackServers& operator=(const LoopbackServers&) = delete;

    // A server on a free port of 127.0.0.1; returns the port (0 when none could be bound). An empty
    // reply: the server stays silent.
    uint16_t Add(const std::string& reply);
    // A server that answers each datagram with what `answer` gives for it (nothing: silence), such
    // as a Source query server asking for its challenge.
    using Answer = std::function<std::vector<std::string>(const std::string& request)>;
    uint16_t Add(Answer answer);
    void SetReply(uint16_t port, const std::string& reply);
    // Datagrams the server got.
    int Requests(uint16_t port);

  private:
    struct Server {
        net::win32::OwnedSocket socket;
        std::string reply;
        Answer answer;
        int requests = 0;
    };
    void Serve();

    std::mutex mutex_;
    std::map<uint16_t, Server> servers_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace testing_support
