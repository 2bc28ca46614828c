// Windows clock, asynchronous UDP sockets and name lookup.
#include "net/win32/win32_network.h"

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

AsyncDatagramSocket::~AsyncDatagramSocket() {
    if (socket_ != INVALID_SOCKET)
        closesocket(socket_);
}

bool AsyncDatagramSocket::SendTo(const Endpoint& to, const void* data, size_t size) {
    sockaddr_in a = ToSockaddr(to);
    return sendto(socket_, static_cast<const char*>(data), static_cast<int>(size), 0, reinterpret_cast<sockaddr*>(&a),
                  sizeof a) != SOCKET_ERROR;
}

int AsyncDatagramSocket::ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) {
    sockaddr_in a = {};
    int length = sizeof a;
    int n = recvfrom(socket_, static_cast<char*>(buffer), static_cast<int>(capacity), 0,
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

std::optional<size_t> AsyncDatagramSocket::Pending() {
    u_long n = 0;
    if (ioctlsocket(socket_, FIONREAD, &n) == SOCKET_ERROR)
        return std::nullopt;
    return static_cast<size_t>(n);
}

std::unique_ptr<DatagramSocket> AsyncDatagramSocketFactory::Open() {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return nullptr;
    if (WSAAsyncSelect(s, window_, message_, FD_READ) == SOCKET_ERROR) {
        closesocket(s);
        return nullptr;
    }
    return std::make_unique<AsyncDatagramSocket>(s);
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
