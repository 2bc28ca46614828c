// Windows clock, UDP sockets and name lookup.
#include "net/win32/win32_network.h"

#include <algorithm>

namespace net::win32 {

Win32Clock::Win32Clock() {
    LARGE_INTEGER f;
    if (QueryPerformanceFrequency(&f) && f.QuadPart > 0) {
        highResolution_ = true;
        frequency_ = static_cast<uint64_t>(f.QuadPart);
    }
}

uint64_t Win32Clock::Counter() {
    if (!highResolution_)
        return GetTickCount();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<uint64_t>(c.QuadPart);
}

sockaddr_in ToSockaddr(const Endpoint& e) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(e.port);
    a.sin_addr.s_addr = e.addressNetworkOrder;
    return a;
}

Endpoint FromSockaddr(const sockaddr_in& a) {
    return Endpoint{a.sin_addr.s_addr, ntohs(a.sin_port)};
}

bool Win32DatagramSocket::SendTo(const Endpoint& to, const void* data, size_t size) {
    sockaddr_in a = ToSockaddr(to);
    return sendto(socket_.get(), static_cast<const char*>(data), static_cast<int>(size), 0, reinterpret_cast<sockaddr*>(&a),
                  sizeof a) != SOCKET_ERROR;
}

int Win32DatagramSocket::ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) {
    sockaddr_in a = {};
    int length = sizeof a;
    int n = recvfrom(socket_.get(), static_cast<char*>(buffer), static_cast<int>(capacity), 0,
                     reinterpret_cast<sockaddr*>(&a), &length);
    if (n == SOCKET_ERROR) {
        // A datagram larger than the buffer is still delivered, cut to the buffer.
        if (WSAGetLastError() == WSAEMSGSIZE)
            n = static_cast<int>(capacity);
        else
            return -1;
    }
    if (from)
        *from = FromSockaddr(a);
    return n;
}

SocketWait NativeSocketWait() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") ? SocketWait::kPoll : SocketWait::kSelect;
}

bool Win32DatagramSocket::WaitReadable(int timeoutMs) {
    if (wait_ == SocketWait::kPoll) {
        Sleep(timeoutMs <= 0 ? 0 : std::min<DWORD>(kSocketPollMs, static_cast<DWORD>(timeoutMs)));
        return true;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_.get(), &readable);
    timeval wait;
    wait.tv_sec = timeoutMs / 1000;
    wait.tv_usec = (timeoutMs % 1000) * 1000;
    const int n = select(0, &readable, nullptr, nullptr, &wait);
    if (n == SOCKET_ERROR) {
        Sleep(static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 0));
        return false;
    }
    return n > 0;
}

namespace {

// Held by the socket: a burst of replies must not overflow it while the reading thread is away.
constexpr int kReceiveBufferBytes = 1 << 20;
#ifndef SIO_UDP_CONNRESET
constexpr DWORD SIO_UDP_CONNRESET = IOC_IN | IOC_VENDOR | 12;
#endif

}  // namespace

std::unique_ptr<DatagramSocket> Win32DatagramSocketFactory::Open() {
    OwnedSocket owned(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (!owned)
        return nullptr;
    const SOCKET s = owned.get();
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) == SOCKET_ERROR)
        return nullptr;
    // Both are improvements only: a system without them still works.
    int bufferBytes = kReceiveBufferBytes;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes), sizeof bufferBytes);
    BOOL reportResets = FALSE;
    DWORD returned = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &reportResets, sizeof reportResets, nullptr, 0, &returned, nullptr, nullptr);
    return std::make_unique<Win32DatagramSocket>(std::move(owned), wait_);
}

std::optional<uint32_t> HostResolver::Resolve(const char* name) {
    hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || !host->h_addr_list || !host->h_addr_list[0])
        return std::nullopt;
    uint32_t address;
    memcpy(&address, host->h_addr_list[0], sizeof address);
    return address;
}

}  // namespace net::win32
