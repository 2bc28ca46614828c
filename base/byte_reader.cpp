// Bounds-checked byte reader and the fixed-width text field helpers.
#include "base/byte_reader.h"

namespace base {

uint8_t ByteReader::U8() {
    if (pos_ >= size_) {
        failed_ = true;
        return 0;
    }
    return data_[pos_++];
}

uint16_t ByteReader::U16BE() {
    uint16_t hi = U8();
    return static_cast<uint16_t>(hi << 8 | U8());
}

uint32_t ByteReader::U32LE() {
    uint8_t b[4];
    Bytes(b, 4);
    return LoadU32LE(b);
}

void ByteReader::Bytes(void* out, size_t n) {
    auto* dst = static_cast<uint8_t*>(out);
    size_t avail = Remaining();
    size_t take = n < avail ? n : avail;
    if (take)
        std::memcpy(dst, data_ + pos_, take);
    if (take < n) {
        std::memset(dst + take, 0, n - take);
        failed_ = true;
        pos_ = size_;
    } else {
        pos_ += take;
    }
}

void ByteReader::Skip(size_t n) {
    if (n > Remaining()) {
        failed_ = true;
        pos_ = size_;
    } else {
        pos_ += n;
    }
}

void ByteReader::CString(char* out, size_t width) {
    size_t len = 0;
    while (pos_ < size_ && data_[pos_] != 0) {
        if (width && len + 1 < width)
            out[len++] = static_cast<char>(data_[pos_]);
        ++pos_;
    }
    if (pos_ < size_)
        ++pos_;  // the terminator
    else
        failed_ = true;
    if (width)
        out[len] = '\0';
}

void StoreText(uint8_t* p, size_t width, const char* text) {
    size_t len = strnlen(text, width ? width - 1 : 0);
    std::memcpy(p, text, len);
    std::memset(p + len, 0, width - len);
}

void LoadText(const uint8_t* p, size_t width, char* field) {
    if (!width)
        return;
    std::memcpy(field, p, width);
    field[width - 1] = '\0';
}

}  // namespace base
