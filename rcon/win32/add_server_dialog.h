// The Add Server dialog: an address or host name, the ports and the favourite mark.
#pragma once

#include <windows.h>

#include "catalogue/catalogue.h"
#include "rcon/add_server.h"

namespace rcon::win32 {

// Runs dialog 150; IDOK with the server in `server`. A host name is looked up for at most a few
// seconds, so that a resolver that does not answer cannot hold the window.
INT_PTR RunAddServerDialog(HINSTANCE instance, HWND owner, const catalogue::DefaultPorts& ports, AddedServer& server);

}  // namespace rcon::win32
