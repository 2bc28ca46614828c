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

VersionVerdict JudgeVersionReply(const void* data, size_t size, std::string_view ownVersion) {
    VersionVerdict verdict;
    std::string version = VersionReplyText(data, size);
    // An empty segment is a server that closed or failed without answering: nothing to offer.
    if (version.empty() || base::EqualsNoCase(version, ownVersion))
        return verdict;
    verdict.offerDownload = true;
    // Built by concatenation: the received text is data and must never act as a format string.
    verdict.question = "Version " + version + " of Vexar! is now available,\nwould you like to download it now?";
    return verdict;
}

}  // namespace net
