// The Source RCON connection's socket: registered with the window before it connects, so that the
// outcome of the connect, like every later event, arrives as a message and nothing waits.
#include "rcon/win32/stream_socket_win32.h"

#include "net/win32/win32_network.h"

namespace rcon::win32 {

namespace {

constexpr int kFailed = -2;

bool OpenRegistered(net::win32::OwnedSocket& socket, HWND window, UINT message) {
    socket.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (socket.get() == INVALID_SOCKET)
        return false;
    // The registration also makes the socket non-blocking.
    if (WSAAsyncSelect(socket.get(), window, message, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) == SOCKET_ERROR) {
        socket.Reset();
        return false;
    }
    const BOOL noDelay = TRUE;  // commands are small and each waits for its answer
    setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    return true;
}

}  // namespace

bool Win32StreamSocket::Prepare() {
    used_ = false;
    return OpenRegistered(socket_, window_, message_);
}

bool Win32StreamSocket::Connect(const net::Endpoint& to) {
    unsent_.clear();
    if ((used_ || socket_.get() == INVALID_SOCKET) && !Prepare())
        return false;
    used_ = true;
    sockaddr_in address = net::win32::ToSockaddr(to);
    if (connect(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        socket_.Reset();
        return false;
    }
    return true;
}

bool Win32StreamSocket::Send(const void* data, size_t size) {
    unsent_.append(static_cast<const char*>(data), size);
    return Flush();
}

bool Win32StreamSocket::Flush() {
    while (!unsent_.empty() && socket_.get() != INVALID_SOCKET) {
        int n = send(socket_.get(), unsent_.data(), static_cast<int>(unsent_.size()), 0);
        if (n == SOCKET_ERROR)
            return WSAGetLastError() == WSAEWOULDBLOCK;  // the rest goes at FD_WRITE
        unsent_.erase(0, static_cast<size_t>(n));
    }
    return socket_.get() != INVALID_SOCKET;
}

int Win32StreamSocket::Receive(void* buffer, size_t capacity) {
    if (socket_.get() == INVALID_SOCKET)
        return kFailed;
    int n = recv(socket_.get(), static_cast<char*>(buffer), static_cast<int>(capacity), 0);
    if (n >= 0)
        return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kNothingWaiting : kFailed;
}

void Win32StreamSocket::Close() {
    socket_.Reset();
    unsent_.clear();
}

}  // namespace rcon::win32
