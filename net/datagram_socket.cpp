// Dotted IPv4 parsing with inet_addr's rules for the plain a.b.c.d form.
#include "net/datagram_socket.h"

namespace net {

std::optional<uint32_t> ParseDottedAddress(const char* text) {
    uint32_t parts[4];
    int count = 0;
    const char* p = text;
    while (count < 4) {
        if (*p < '0' || *p > '9')
            return std::nullopt;
        uint64_t value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + uint64_t(*p - '0');
            if (value > 255)
                return std::nullopt;
            ++p;
        }
        parts[count++] = static_cast<uint32_t>(value);
        if (*p == '.' && count < 4)
            ++p;
        else
            break;
    }
    if (count != 4 || *p != '\0')
        return std::nullopt;
    // Network byte order: the first number is the first byte in memory.
    uint8_t bytes[4] = {uint8_t(parts[0]), uint8_t(parts[1]), uint8_t(parts[2]), uint8_t(parts[3])};
    uint32_t value;
    static_assert(sizeof value == sizeof bytes);
    __builtin_memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace net
