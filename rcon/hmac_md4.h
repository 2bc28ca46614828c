// MD4 (RFC 1320) and HMAC (RFC 2104) over it: DarkPlaces signs secure remote-console commands with
// HMAC-MD4 keyed by the rcon password.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace rcon {

using Md4Digest = std::array<uint8_t, 16>;

Md4Digest Md4(std::string_view message);
Md4Digest HmacMd4(std::string_view key, std::string_view message);

}  // namespace rcon
