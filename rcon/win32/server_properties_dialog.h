// The Server Properties dialog in information mode: a server's status keys, to read and copy.
#pragma once

#include <windows.h>

#include <vector>

#include "rcon/server_properties.h"

namespace rcon::win32 {

// Runs dialog 186, made 70 pixels shorter (the New/Change row of the remote-control mode is out of
// sight), with the rows listed.
INT_PTR RunServerInformation(HINSTANCE instance, HWND owner, const std::vector<PropertyRow>& rows);

}  // namespace rcon::win32
