// Fixed-width zero-terminated text helpers and number parsing with the C library's rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace base {

// Copies src into a field of `width` bytes: at most width - 1 characters, always terminated.
// Returns the number of characters copied.
size_t CopyText(char* field, size_t width, std::string_view src);

template <size_t N>
size_t CopyText(char (&field)[N], std::string_view src) {
    return CopyText(field, N, src);
}

// Formats into a fixed field; the result is cut to the field and always terminated.
size_t FormatText(char* field, size_t width, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Length of a text held in a fixed field (never reads past the field).
template <size_t N>
size_t FieldLength(const char (&field)[N]) {
    size_t n = 0;
    while (n < N && field[n])
        ++n;
    return n;
}

// A text held in a fixed field, as a view that never reaches past the field.
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return std::string_view(field, FieldLength(field));
}

char ToLowerAscii(char c);
// The value of a hexadecimal digit (either case), or -1.
int HexDigitValue(char c);
// Case-insensitive comparison for the letters A-Z only (the comparison of the ANSI "C" locale).
bool EqualsNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);
// Byte-wise comparison of two texts as unsigned values.
int CompareBytes(std::string_view a, std::string_view b);

// atoi rules: optional leading white space, optional sign, decimal digits; anything else ends the
// number; no digits gives 0. Values beyond the 32-bit range are clamped.
int32_t ParseDecimal(std::string_view text);

// Decimal digits and nothing else, at most max: nothing for an empty text, any other character or
// a larger value.
std::optional<uint32_t> ParseDigits(std::string_view text, uint32_t max);

}  // namespace base
