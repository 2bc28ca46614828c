// Windows implementations of the network interfaces: QueryPerformanceCounter clock, UDP sockets
// whose read events arrive as a window message (WSAAsyncSelect), and gethostbyname.
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

// A UDP socket registered with WSAAsyncSelect for FD_READ: each readable datagram is announced by
// `message` to `window` (wParam the socket). Closed when destroyed.
class AsyncDatagramSocket : public DatagramSocket {
  public:
    AsyncDatagramSocket(SOCKET s) : socket_(s) {}
    ~AsyncDatagramSocket() override;
    bool SendTo(const Endpoint& to, const void* data, size_t size) override;
    int ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) override;
    std::optional<size_t> Pending() override;
    SOCKET handle() const { return socket_; }

  private:
    SOCKET socket_;
};

class AsyncDatagramSocketFactory : public DatagramSocketFactory {
  public:
    AsyncDatagramSocketFactory(HWND window, UINT message) : window_(window), message_(message) {}
    std::unique_ptr<DatagramSocket> Open() override;

  private:
    HWND window_;
    UINT message_;
};

class HostResolver : public Resolver {
  public:
    std::optional<uint32_t> Resolve(const char* name) override;
};

sockaddr_in ToSockaddr(const Endpoint& e);
Endpoint FromSockaddr(const sockaddr_in& a);

}  // namespace net::win32
