// Windows implementations of the network interfaces: QueryPerformanceCounter clock, non-blocking UDP
// sockets waited on with select, and gethostbyname.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include "net/clock.h"
#include "net/datagram_socket.h"

namespace net::win32 {

class Win32Clock : public Clock {
  public:
    Win32Clock();
    uint64_t Counter() override;
    uint64_t Frequency() override { return frequency_; }
    uint32_t TickCount() override { return GetTickCount(); }
    void SleepMs(uint32_t ms) override { Sleep(ms); }

  private:
    bool highResolution_ = false;
    uint64_t frequency_ = 1000;
};

// A non-blocking UDP socket; a thread waits for its datagrams with WaitReadable (select). Closed
// when destroyed.
class Win32DatagramSocket : public DatagramSocket {
  public:
    explicit Win32DatagramSocket(SOCKET s) : socket_(s) {}
    ~Win32DatagramSocket() override;
    bool SendTo(const Endpoint& to, const void* data, size_t size) override;
    int ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) override;
    bool WaitReadable(int timeoutMs) override;
    SOCKET handle() const { return socket_; }

  private:
    SOCKET socket_;
};

// Opens Win32DatagramSockets with a receive buffer large enough for the replies of a fast refresh,
// and without the reset that a refused earlier request would otherwise report on the next read.
class Win32DatagramSocketFactory : public DatagramSocketFactory {
  public:
    std::unique_ptr<DatagramSocket> Open() override;
};

class HostResolver : public Resolver {
  public:
    std::optional<uint32_t> Resolve(const char* name) override;
};

sockaddr_in ToSockaddr(const Endpoint& e);
Endpoint FromSockaddr(const sockaddr_in& a);

}  // namespace net::win32
