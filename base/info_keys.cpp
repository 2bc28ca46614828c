// Key lookup with the first-substring rule.
#include "base/info_keys.h"

#include <cstring>
#include <string>

#include "base/text.h"

namespace base {

std::string_view ReplyText(const void* data, size_t size) {
    const char* text = static_cast<const char*>(data);
    const void* nul = std::memchr(text, 0, size);
    return std::string_view(text, nul ? static_cast<const char*>(nul) - text : size);
}

std::optional<std::string_view> lookupKey(std::string_view reply, std::string_view key) {
    if (key.empty())
        return std::nullopt;
    size_t pos = reply.find(key);
    if (pos == std::string_view::npos) {
        std::string lower(key);
        for (char& c : lower)
            c = ToLowerAscii(c);
        pos = reply.find(lower);
        if (pos == std::string_view::npos)
            return std::nullopt;
    }
    size_t start = pos + key.size() + (key.back() == '\\' ? 0 : 1);
    if (start >= reply.size())
        return std::string_view();
    size_t end = reply.find_first_of("\\\n", start);
    if (end == std::string_view::npos)
        end = reply.size();
    size_t len = end - start;
    if (len > kMaxValueLength)
        len = kMaxValueLength;
    return reply.substr(start, len);
}

}  // namespace base
