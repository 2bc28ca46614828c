// The Change Server Map and Kick Player dialogs of the remote-control window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "rcon/win32/server_properties_dialog.h"

namespace rcon::win32 {

// Runs dialog 147 on the maps; "&Send" runs "map <chosen>".
INT_PTR RunChangeMap(HINSTANCE instance, HWND owner, const std::vector<std::string>& maps, const RunCommand& run);

// Runs dialog 200 for the player's name; IDOK with the reason typed, or the default reason when
// nothing was typed.
INT_PTR RunKickPlayer(HINSTANCE instance, HWND owner, const std::string& name, std::string& reason);

}  // namespace rcon::win32
