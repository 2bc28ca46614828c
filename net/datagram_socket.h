// The UDP socket interface of the network code; Win32 (WSAAsyncSelect) and POSIX implement it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace net {

// An IPv4 endpoint: address in network byte order (as inet_addr gives it), port in host order.
struct Endpoint {
    uint32_t addressNetworkOrder = 0;
    uint16_t port = 0;
    bool operator==(const Endpoint&) const = default;
};

// Parses a dotted IPv4 text the way inet_addr does; nullopt when it is not one.
std::optional<uint32_t> ParseDottedAddress(const char* text);

class DatagramSocket {
  public:
    virtual ~DatagramSocket() = default;
    // Sends one datagram; false on failure.
    virtual bool SendTo(const Endpoint& to, const void* data, size_t size) = 0;
    // Receives one datagram without waiting: its size, or -1 when none is waiting or on error.
    virtual int ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) = 0;
    // Bytes waiting to be read (FIONREAD); nullopt when the query fails.
    virtual std::optional<size_t> Pending() = 0;
};

// Creates sockets; a socket is registered for read notifications to the user-interface thread as
// the platform does it (a window message on Windows). nullptr when no socket can be made.
class DatagramSocketFactory {
  public:
    virtual ~DatagramSocketFactory() = default;
    virtual std::unique_ptr<DatagramSocket> Open() = 0;
};

// Host name lookup: first IPv4 address of a name (gethostbyname), nullopt when none.
class Resolver {
  public:
    virtual ~Resolver() = default;
    virtual std::optional<uint32_t> Resolve(const char* name) = 0;
};

}  // namespace net
