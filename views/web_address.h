// Which web address of a server may be handed to the shell to open.
#pragma once

#include <cstddef>
#include <string>

namespace views {

// The address comes from the server's own reply, so only web pages are opened, never a program, a
// document path or a network share: an "http://" or "https://" address as it stands, and one that
// starts with "www." (as servers commonly send them) with "http://" put before it. Anything else
// gives "" (the "Open Server Website" item is then greyed). address holds at most size bytes and
// need not be terminated within them.
std::string WebAddressToOpen(const char* address, size_t size);

}  // namespace views
