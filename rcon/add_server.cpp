// The Add Server rules: the colon, dotted addresses, ports, and a server already listed.
#include "rcon/add_server.h"

#include <cstdio>

#include "base/text.h"

namespace rcon {

namespace {

constexpr uint32_t kHighestPort = 65535;

// Decimal digits only, at most five of them and at most max; nothing for anything else.
std::optional<uint32_t> Number(std::string_view text, uint32_t max) {
    return text.size() > 5 ? std::nullopt : base::ParseDigits(text, max);
}

}  // namespace

TypedAddress SplitTypedAddress(std::string_view text) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return {std::string(text), std::nullopt};
    std::string_view port = text.substr(colon + 1);
    return {std::string(text.substr(0, colon)), port.empty() ? std::nullopt : std::optional<std::string>(port)};
}

std::optional<std::array<uint32_t, 4>> ParseDottedAddress(std::string_view text) {
    std::array<uint32_t, 4> octets = {};
    for (size_t i = 0; i < 4; ++i) {
        size_t dot = i < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos)
            return std::nullopt;
        std::optional<uint32_t> octet = Number(text.substr(0, dot), 255);
        if (!octet || dot > 3)
            return std::nullopt;
        octets[i] = *octet;
        text = i < 3 ? text.substr(dot + 1) : std::string_view();
    }
    return octets;
}

std::string DottedAddress(const std::array<uint32_t, 4>& octets) {
    char address[20];
    std::snprintf(address, sizeof address, "%u.%u.%u.%u", octets[0], octets[1], octets[2], octets[3]);
    return address;
}

uint32_t ParsePortText(std::string_view text) {
    return Number(text, kHighestPort).value_or(0);
}

std::pair<catalogue::ServerRecord*, bool> AddServerToList(catalogue::ServerList& list, const AddedServer& server) {
    catalogue::ServerTemplate tmpl = catalogue::MakeServerTemplate(DottedAddress(server.octets), server.port);
    tmpl.hostPort = server.hostPort;
    tmpl.isFavourite = server.favourite ? 1 : 0;
    // A new record comes back as nullptr, at the list's tail, already marked for refresh.
    if (catalogue::ServerRecord* listed = catalogue::findOrCreateServer(list, tmpl)) {
        listed->isFavourite = 1;
        listed->refreshPending = 1;
        return {listed, true};
    }
    return {list.tail, false};
}

}  // namespace rcon
