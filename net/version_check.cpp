// Judging the version server's reply against the program's own version.
#include "net/version_check.h"

#include <cstring>

#include "base/text.h"

namespace net {

std::string VersionReplyText(const void* data, size_t size) {
    if (!data)
        return {};
    size_t limit = size < kVersionReplyLimit ? size : kVersionReplyLimit;
    const char* text = static_cast<const char*>(data);
    const void* zero = std::memchr(text, 0, limit);
    size_t length = zero ? size_t(static_cast<const char*>(zero) - text) : limit;
    return std::string(text, length);
}

std::string VersionToken(std::string_view text) {
    // A line end after the version is how a server ends its line, not part of the version.
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
    auto alphanumeric = [](char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); };
    if (text.size() > kVersionTokenLimit || !alphanumeric(text[0]))
        return {};
    for (char c : text) {
        if (!alphanumeric(c) && c != '.' && c != '-' && c != '_')
            return {};
    }
    return std::string(text);
}

VersionVerdict JudgeVersionReply(const void* data, size_t size, std::string_view ownVersion) {
    VersionVerdict verdict;
    std::string version = VersionToken(VersionReplyText(data, size));
    // An empty segment is a server that closed or failed without answering, and a text that is no
    // version is nothing the user can be asked about.
    if (version.empty() || base::EqualsNoCase(version, ownVersion))
        return verdict;
    verdict.offerDownload = true;
    // Built by concatenation: the received text is data and must never act as a format string.
    verdict.question = "Version " + version + " of Vexar! is now available,\nwould you like to download it now?";
    return verdict;
}

}  // namespace net
