// POSIX implementations of the network code's clock, UDP transport, resolver and thread starter
// (native tests and benchmarks; the Windows program implements the same interfaces with Win32).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "net/clock.h"
#include "net/datagram_socket.h"
#include "net/status_engine_host.h"

namespace net {

// CLOCK_MONOTONIC: a counter in nanoseconds (frequency 1e9) or, when asked, microseconds (1e6).
class PosixClock : public Clock {
  public:
    enum class Resolution { kNanoseconds, kMicroseconds };
    explicit PosixClock(Resolution resolution = Resolution::kNanoseconds) : resolution_(resolution) {}
    uint64_t Counter() override;
    uint64_t Frequency() override;
    uint32_t TickCount() override;
    void SleepMs(uint32_t ms) override;

  private:
    Resolution resolution_;
};

// Non-blocking IPv4 UDP sockets bound to a local endpoint (127.0.0.1 with an ephemeral port unless
// told otherwise). The factory keeps the descriptor of the socket it opened last while it is open, so
// a test can find where its replies must go.
class PosixDatagramSocketFactory : public DatagramSocketFactory {
  public:
    // local.addressNetworkOrder 0 means 127.0.0.1.
    explicit PosixDatagramSocketFactory(Endpoint local = {});
    std::unique_ptr<DatagramSocket> Open() override;

    bool HasOpenSocket() const { return openFd_ >= 0; }
    // Local endpoint of the open socket, if one is open.
    std::optional<Endpoint> OpenEndpoint();

  private:
    Endpoint local_;
    std::atomic<int> openFd_{-1};
};

// Sockets made on their own, for loopback responders in tests and benchmarks.
std::unique_ptr<DatagramSocket> OpenPosixDatagramSocket(const Endpoint& local, Endpoint* bound);
// The descriptor of a socket made by either of the above (for poll/epoll); -1 for other sockets.
int PosixDescriptor(DatagramSocket& socket);

// getaddrinfo, IPv4 only: the first address.
class PosixResolver : public Resolver {
  public:
    std::optional<uint32_t> Resolve(const char* name) override;
};

// std::thread, every role at the default priority.
class PosixThreadStarter : public ThreadStarter {
  public:
    std::unique_ptr<WorkerThread> Start(ThreadRole role, std::function<void()> body) override;
};

// 127.0.0.1 in network byte order.
uint32_t LoopbackAddress();

}  // namespace net
