// Key lookup in backslash-separated key/value text (the info strings of Quake-III and GameSpy replies).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace base {

constexpr size_t kMaxValueLength = 255;

// The reply as text: the bytes up to the first zero byte (or all of them when there is none).
std::string_view ReplyText(const void* data, size_t size);

// Value of a key, at most 255 characters, running to the next '\', newline or the end of the text.
// (A trailing '\' of the key only marks it as a whole key name.)
//
// First the key is looked for whole: among the key/value pairs "\key\value" that start at the
// reply's first '\' and end at a newline, the first key equal to it (case-sensitive, then in lower
// case). Only when no key is equal, the old rule applies: the first occurrence of the key's text
// anywhere in the reply (case-sensitive, then in lower case), the value starting right after a key
// that ends with '\', else one character after the key. So a longer key such as "com_gamename" no
// longer shadows "gamename", while every reply the old rule read keeps its values.
std::optional<std::string_view> lookupKey(std::string_view reply, std::string_view key);

}  // namespace base
