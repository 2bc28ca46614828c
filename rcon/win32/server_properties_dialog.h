// The Server Properties dialog: a server's status keys to read and copy (information mode), or its
// cvars, changeable where they are not read-only (cvar-list mode of the remote-control window).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "rcon/server_properties.h"

namespace rcon::win32 {

// Runs dialog 186, made 70 pixels shorter (the New/Change row of the remote-control mode is out of
// sight), with the rows listed.
INT_PTR RunServerInformation(HINSTANCE instance, HWND owner, const std::vector<PropertyRow>& rows);

// Sends a command to the console's server with no pending command (its reply goes to the log).
using RunCommand = std::function<void(const std::string&)>;

// Cvar-list mode: "Change" sends "name value" for the selected row and shows the new value.
INT_PTR RunServerProperties(HINSTANCE instance, HWND owner, std::vector<PropertyRow> rows, const RunCommand& run);

}  // namespace rcon::win32
