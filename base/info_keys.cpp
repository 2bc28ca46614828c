// Key lookup: whole keys first, then the first-substring rule.
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

namespace {

// The first backslash or line break at or after `from` (npos when none). A plain loop: find_first_of
// looks each character up in the set with a call of its own, and a reply is scanned once per key.
size_t FindBreak(std::string_view reply, size_t from) {
    for (size_t i = from; i < reply.size(); ++i) {
        if (reply[i] == '\\' || reply[i] == '\n')
            return i;
    }
    return std::string_view::npos;
}

std::string_view Limited(std::string_view value) {
    return value.substr(0, kMaxValueLength);
}

// The value of the first key/value pair whose key equals name.
std::optional<std::string_view> WholeKey(std::string_view reply, std::string_view name) {
    size_t pos = reply.find('\\');
    while (pos != std::string_view::npos) {
        size_t keyEnd = FindBreak(reply, pos + 1);
        if (keyEnd == std::string_view::npos || reply[keyEnd] == '\n')
            return std::nullopt;
        size_t valueEnd = FindBreak(reply, keyEnd + 1);
        std::string_view value = reply.substr(
            keyEnd + 1, valueEnd == std::string_view::npos ? std::string_view::npos : valueEnd - keyEnd - 1);
        if (reply.substr(pos + 1, keyEnd - pos - 1) == name)
            return Limited(value);
        if (valueEnd == std::string_view::npos || reply[valueEnd] == '\n')
            return std::nullopt;
        pos = valueEnd;
    }
    return std::nullopt;
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = ToLowerAscii(c);
    return lower;
}

}  // namespace

std::optional<std::string_view> lookupKey(std::string_view reply, std::string_view key) {
    if (key.empty())
        return std::nullopt;
    std::string_view name = key.back() == '\\' ? key.substr(0, key.size() - 1) : key;
    if (auto whole = WholeKey(reply, name))
        return whole;
    if (auto whole = WholeKey(reply, LowerCase(name)))
        return whole;
    size_t pos = reply.find(key);
    if (pos == std::string_view::npos) {
        pos = reply.find(LowerCase(key));
        if (pos == std::string_view::npos)
            return std::nullopt;
    }
    size_t start = pos + key.size() + (key.back() == '\\' ? 0 : 1);
    if (start >= reply.size())
        return std::string_view();
    size_t end = FindBreak(reply, start);
    if (end == std::string_view::npos)
        end = reply.size();
    return Limited(reply.substr(start, end - start));
}

}  // namespace base
