// Host name lookup on POSIX (IPv4 only).
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "net/posix/posix_net.h"

namespace net {

std::optional<uint32_t> PosixResolver::Resolve(const char* name) {
    if (!name || !*name)
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::optional<uint32_t> address;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr) {
            address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    freeaddrinfo(found);
    return address;
}

}  // namespace net
