// The web address of a server that the shell may open.
#include "views/web_address.h"

#include <cstring>
#include <string_view>

#include "base/text.h"

namespace views {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() > prefix.size() && base::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string WebAddressToOpen(const char* address, size_t size) {
    std::string_view text(address ? address : "", address ? strnlen(address, size) : 0);
    // A space or control character would let the text read as more than one address.
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= ' ')
            return "";
    }
    for (std::string_view scheme : {"http://", "https://"}) {
        if (StartsWithNoCase(text, scheme))
            return std::string(text);
    }
    if (StartsWithNoCase(text, "www."))
        return "http://" + std::string(text);
    return "";
}

}  // namespace views
