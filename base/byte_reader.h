// Bounds-checked reading and writing of little- and big-endian byte fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace base {

// Reads fields from a byte range front to back. Reading past the end yields zero bytes and sets a
// sticky error flag instead of touching memory outside the range, so a parser can read a whole
// structure and check Failed() once at the end.
class ByteReader {
  public:
    ByteReader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}

    uint8_t U8();
    uint16_t U16BE();
    uint32_t U32LE();
    int32_t I32LE() { return static_cast<int32_t>(U32LE()); }
    // Copies n bytes; what lies beyond the end is zero-filled.
    void Bytes(void* out, size_t n);
    void Skip(size_t n);
    // Reads a zero-terminated string into out (width bytes, always terminated, cut to width - 1).
    // A string without terminator before the end sets the error flag and takes what is there.
    void CString(char* out, size_t width);

    bool Failed() const { return failed_; }
    size_t Position() const { return pos_; }
    size_t Remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

inline uint32_t LoadU32LE(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void StoreU32LE(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline int32_t LoadI32LE(const uint8_t* p) {
    return static_cast<int32_t>(LoadU32LE(p));
}
inline void StoreI32LE(uint8_t* p, int32_t v) {
    StoreU32LE(p, static_cast<uint32_t>(v));
}

// Fixed-width text fields of file images: the stored bytes are the text zero-padded to the width;
// the loaded text is always terminated inside its field, whatever the file held.
void StoreText(uint8_t* p, size_t width, const char* text);
void LoadText(const uint8_t* p, size_t width, char* field);

}  // namespace base
