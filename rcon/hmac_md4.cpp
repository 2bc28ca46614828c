// MD4 as RFC 1320 gives it: three rounds of sixteen steps over 64-byte blocks, little-endian words.
#include "rcon/hmac_md4.h"

#include <string>

namespace rcon {

namespace {

constexpr size_t kBlock = 64;

uint32_t Rotate(uint32_t v, int s) {
    return (v << s) | (v >> (32 - s));
}

void Compress(std::array<uint32_t, 4>& state, const uint8_t* block) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
               uint32_t(block[4 * i + 3]) << 24;
    static constexpr int kOrder[3][16] = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
                                          {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15},
                                          {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15}};
    static constexpr int kShift[3][4] = {{3, 7, 11, 19}, {3, 5, 9, 13}, {3, 9, 11, 15}};
    static constexpr uint32_t kAdd[3] = {0, 0x5A827999, 0x6ED9EBA1};
    std::array<uint32_t, 4> h = state;
    for (int round = 0; round < 3; ++round) {
        for (int step = 0; step < 16; ++step) {
            // The word that changes walks a, d, c, b; the other three follow it in that order.
            uint32_t& a = h[(4 - step) & 3];
            uint32_t b = h[(5 - step) & 3], c = h[(6 - step) & 3], d = h[(7 - step) & 3];
            uint32_t f = round == 0 ? (b & c) | (~b & d) : round == 1 ? (b & c) | (b & d) | (c & d) : b ^ c ^ d;
            a = Rotate(a + f + x[kOrder[round][step]] + kAdd[round], kShift[round][step & 3]);
        }
    }
    for (int i = 0; i < 4; ++i)
        state[i] += h[i];
}

}  // namespace

Md4Digest Md4(std::string_view message) {
    std::array<uint32_t, 4> state = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
    std::string padded(message);
    padded += '\x80';
    padded.append((kBlock + 56 - padded.size() % kBlock) % kBlock, '\0');
    uint64_t bits = uint64_t(message.size()) * 8;
    for (int i = 0; i < 8; ++i)
        padded += static_cast<char>(bits >> (8 * i));
    for (size_t at = 0; at < padded.size(); at += kBlock)
        Compress(state, reinterpret_cast<const uint8_t*>(padded.data() + at));
    Md4Digest digest;
    for (int i = 0; i < 16; ++i)
        digest[i] = static_cast<uint8_t>(state[i / 4] >> (8 * (i % 4)));
    return digest;
}

Md4Digest HmacMd4(std::string_view key, std::string_view message) {
    std::string k(key);
    if (k.size() > kBlock) {
        Md4Digest hashed = Md4(k);
        k.assign(hashed.begin(), hashed.end());
    }
    k.resize(kBlock, '\0');
    std::string inner(kBlock, '\0'), outer(kBlock, '\0');
    for (size_t i = 0; i < kBlock; ++i) {
        inner[i] = static_cast<char>(k[i] ^ 0x36);
        outer[i] = static_cast<char>(k[i] ^ 0x5C);
    }
    Md4Digest innerHash = Md4(inner.append(message));
    return Md4(outer.append(innerHash.begin(), innerHash.end()));
}

}  // namespace rcon
