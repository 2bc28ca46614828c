// The console's Source RCON connection on Winsock: a non-blocking TCP socket whose connect, reads,
// room to write and end come to the remote-control window as messages.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include <string>

#include "net/win32/socket_owner.h"
#include "rcon/stream_socket.h"

namespace rcon::win32 {

class Win32StreamSocket : public StreamSocket {
  public:
    // Notifications go to `window` as `message`: wParam the socket, lParam the event and its error
    // (WSAAsyncSelect: FD_CONNECT, FD_READ, FD_WRITE, FD_CLOSE).
    Win32StreamSocket(HWND window, UINT message) : window_(window), message_(message) {}
    // Makes the socket of the first connect: false when there is none to be had.
    bool Prepare();
    bool Connect(const net::Endpoint& to) override;
    bool Send(const void* data, size_t size) override;
    int Receive(void* buffer, size_t capacity) override;
    void Close() override;
    // FD_WRITE: what the socket could not take before goes now. False when the connection failed.
    bool Flush();
    // The socket the notifications name (INVALID_SOCKET while there is none).
    SOCKET handle() const { return socket_.get(); }

  private:
    HWND window_;
    UINT message_;
    net::win32::OwnedSocket socket_;
    bool used_ = false;  // a socket connects once: the next connect takes a new one
    std::string unsent_;
};

}  // namespace rcon::win32
