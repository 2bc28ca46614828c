// Adding one server by hand: what the user typed, checked, and the server put into the list.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/records.h"

namespace rcon {

constexpr char kEnterAddressMessage[] = "Please enter the Servers IP Address!";
constexpr char kInvalidAddressMessage[] = "Invalid IP Address!!\r\nPlease verify the address you entered.";
constexpr char kUnresolvedMessage[] = "Couldn't resolve IP Address!!\r\nPlease verify the address you entered.";
constexpr char kInvalidPortsMessage[] = "Please enter valid Server Ports!!";

// "address:port" typed into the address box: the address, and the port when one follows the colon.
struct TypedAddress {
    std::string address;
    std::optional<std::string> port;
};
TypedAddress SplitTypedAddress(std::string_view text);

// A dotted IPv4 address ("a.b.c.d", each 0 to 255); nothing for anything else.
std::optional<std::array<uint32_t, 4>> ParseDottedAddress(std::string_view text);
// "a.b.c.d" of four address bytes.
std::string DottedAddress(const std::array<uint32_t, 4>& octets);
// A port typed into a numeric box: 0 when empty, not a number or above 65535.
uint32_t ParsePortText(std::string_view text);

struct AddedServer {
    std::array<uint32_t, 4> octets = {};
    uint32_t port = 0;
    uint32_t hostPort = 0;
    bool favourite = false;
};

// Puts the server into the list: a new one is marked for the refresh that follows, with the
// favourite mark as asked; one already listed becomes a favourite and is marked. Returns the
// record and whether it was listed before.
std::pair<catalogue::ServerRecord*, bool> AddServerToList(catalogue::ServerList& list, const AddedServer& server);

}  // namespace rcon
