// Windows implementations of the network interfaces: QueryPerformanceCounter clock, non-blocking UDP
// sockets waited on with select (or polled), and gethostbyname.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <utility>

#include "net/clock.h"
#include "net/datagram_socket.h"
#include "net/win32/socket_owner.h"

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

// How the reading thread waits for datagrams. Under Wine every wait on a socket goes through the
// Wine server process, and on a busy or virtual machine each of the wake-ups on the way (the
// server's, then the thread's) can take milliseconds, which a reply's time stamp would carry: there
// the thread polls instead, sleeping a millisecond between reads, and a read takes the datagram
// straight from the host's socket. Windows wakes a thread waiting in select at once.
enum class SocketWait { kSelect, kPoll };
constexpr DWORD kSocketPollMs = 1;
// kPoll under Wine, kSelect otherwise.
SocketWait NativeSocketWait();

// A non-blocking UDP socket; a thread waits for its datagrams with WaitReadable. Closed when
// destroyed.
class Win32DatagramSocket : public DatagramSocket {
  public:
    Win32DatagramSocket(OwnedSocket s, SocketWait wait) : socket_(std::move(s)), wait_(wait) {}
    bool SendTo(const Endpoint& to, const void* data, size_t size) override;
    int ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) override;
    bool WaitReadable(int timeoutMs) override;
    SOCKET handle() const { return socket_.get(); }

  private:
    OwnedSocket socket_;
    SocketWait wait_;
};

// Opens Win32DatagramSockets with a receive buffer large enough for the replies of a fast refresh,
// and without the reset that a refused earlier request would otherwise report on the next read.
class Win32DatagramSocketFactory : public DatagramSocketFactory {
  public:
    explicit Win32DatagramSocketFactory(SocketWait wait = NativeSocketWait()) : wait_(wait) {}
    std::unique_ptr<DatagramSocket> Open() override;

  private:
    SocketWait wait_;
};

class HostResolver : public Resolver {
  public:
    std::optional<uint32_t> Resolve(const char* name) override;
};

sockaddr_in ToSockaddr(const Endpoint& e);
Endpoint FromSockaddr(const sockaddr_in& a);

}  // namespace net::win32
