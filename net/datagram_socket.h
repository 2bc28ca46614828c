// The UDP socket interface of the network code; Win32 (select) and POSIX (poll) implement it.
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
    // Waits up to timeoutMs for a datagram to be waiting: true when one is, false on time-out. A
    // socket that polls instead returns true after a short pause of its own whether one came or not
    // (its caller reads until nothing is left in any case). A failed wait lasts the time-out too, so
    // a caller looping on it never spins.
    virtual bool WaitReadable(int timeoutMs) = 0;
};

// Creates non-blocking sockets (a thread reads them, waiting with WaitReadable). nullptr when no
// socket can be made.
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
