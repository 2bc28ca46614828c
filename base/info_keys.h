// Key lookup in backslash-separated key/value text (the info strings of Quake-III and GameSpy replies).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace base {

constexpr size_t kMaxValueLength = 255;

// The reply as text: the bytes up to the first zero byte (or all of them when there is none).
std::string_view ReplyText(const void* data, size_t size);

// Value of a key: the first occurrence of the key's text anywhere in the reply (plain, case-sensitive
// substring search; when absent, the key in lower case is searched once more). The value starts right
// after a key that ends with '\', else one character after the key, and runs to the next '\', newline
// or the end of the text, at most 255 characters. A key therefore also matches inside a longer key
// or a value: the first occurrence wins.
std::optional<std::string_view> lookupKey(std::string_view reply, std::string_view key);

}  // namespace base
