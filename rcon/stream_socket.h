// The TCP connection a remote console speaks Source RCON over; the Win32 layer implements it with a
// socket that reports to the window, the tests with a fake.
#pragma once

#include <cstddef>

#include "net/datagram_socket.h"

namespace rcon {

class StreamSocket {
  public:
    // What Receive returns when nothing is waiting; 0 means the server closed the connection, and
    // any other negative value that the connection failed.
    static constexpr int kNothingWaiting = -1;

    virtual ~StreamSocket() = default;
    // Starts connecting (an earlier connection is closed first) without waiting: the outcome is told
    // to the session later (ConsoleSession::OnConnected). False when not even that could start.
    virtual bool Connect(const net::Endpoint& to) = 0;
    // Sends on the connection made; what the socket cannot take now goes when it can, in order.
    // False when the connection failed.
    virtual bool Send(const void* data, size_t size) = 0;
    // Reads what has come, without waiting: the number of bytes, kNothingWaiting, 0 or a failure.
    virtual int Receive(void* buffer, size_t capacity) = 0;
    virtual void Close() = 0;
};

}  // namespace rcon
