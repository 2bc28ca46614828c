// The Join dialog: player name and model from the saved names, passwords, the mIRC choice.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/settings_store.h"
#include "join/join_details.h"

namespace join::win32 {

struct JoinDialogRequest {
    base::SettingsStore& settings;
    const char* gameIniFile;  // the game's INI file; empty or null: no saved names
    uint32_t kind;
    std::string serverName;  // without colour codes
    JoinDetails& details;
};

// Runs the dialog modally; IDOK for "Join!", IDCANCEL for "&Close". Either way the mIRC text and
// choice are stored and the passwords whose "Save" box is ticked are read into the details.
INT_PTR RunJoinDialog(HINSTANCE instance, HWND owner, JoinDialogRequest& request);

}  // namespace join::win32
