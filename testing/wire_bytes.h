// Byte strings for protocol tests: little-endian numbers, zero-terminated texts, and views of a
// string as the bytes a parser reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace testing_support {

// The low `bytes` bytes of v, least significant first.
inline std::string Le(uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(v >> (8 * i));
    return out;
}
// The text with its terminating zero.
inline std::string Z(const std::string& text) {
    return text + '\0';
}
inline const uint8_t* U(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}
inline std::string S(const uint8_t* p, size_t n) {
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace testing_support
