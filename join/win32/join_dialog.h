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
    // The "Start through the Steam client" box: shown (for the Steam games) with the stored choice,
    // and read back here on either button; hidden otherwise.
    bool offerViaSteam = false;
    bool viaSteam = false;
};

// Runs the dialog modally; IDOK for "Join!", IDCANCEL for "&Close". Either way the mIRC text and
// choice are stored, the passwords whose "Save" box is ticked are read into the details, and the
// Steam choice into the request.
INT_PTR RunJoinDialog(HINSTANCE instance, HWND owner, JoinDialogRequest& request);

}  // namespace join::win32
