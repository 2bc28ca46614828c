// Fixed-width text helpers and C-style number parsing.
#include "base/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace base {

size_t CopyText(char* field, size_t width, std::string_view src) {
    if (!width)
        return 0;
    size_t n = src.size() < width - 1 ? src.size() : width - 1;
    if (n)  // an empty view may have no data pointer at all
        std::memmove(field, src.data(), n);
    field[n] = '\0';
    return n;
}

size_t FormatText(char* field, size_t width, const char* format, ...) {
    if (!width)
        return 0;
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(field, width, format, ap);
    va_end(ap);
    if (n < 0) {
        field[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n) < width ? static_cast<size_t>(n) : width - 1;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(ToLowerAscii(a[i]));
        unsigned char cb = static_cast<unsigned char>(ToLowerAscii(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

int CompareBytes(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    int r = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (r)
        return r < 0 ? -1 : 1;
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int32_t ParseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1)
            value = int64_t(INT32_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        value = INT32_MAX;
    return static_cast<int32_t>(value);
}

std::optional<uint32_t> ParseDigits(std::string_view text, uint32_t max) {
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
        if (value > max)
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

}  // namespace base
