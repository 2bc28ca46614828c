// Joining a server: the Join dialog, the program check, the command line, mIRC, the launch; and
// the player configuration files opened in WordPad.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/settings_store.h"
#include "catalogue/catalogue.h"
#include "catalogue/records.h"
#include "join/join_details.h"

namespace join::win32 {

// What a join needs of the program. Everything runs on the user-interface thread.
struct JoinContext {
    HINSTANCE instance;
    HWND owner;  // the main window
    base::SettingsStore& settings;
    const catalogue::Catalogue& catalogue;
    // The list the record belongs to: a refresh that ends while a dialog is open may remove the
    // record, so it is looked up again after each dialog.
    const catalogue::ServerList& servers;
};

// The details of the last Join dialog, kept for the run.
JoinDetails& TheJoinDetails();

// Runs the Join dialog for the record and, on "Join!", starts the game in its folder with the
// expanded connect template (and tells mIRC first when asked). The record keeps the passwords the
// user asked to save, and counts the join once the program is found.
void JoinServer(const JoinContext& context, uint32_t kind, catalogue::ServerRecord& record, bool joinAsSpectator);

// Opens each existing configuration file of the record's mod in WordPad.
void EditPlayerConfig(const JoinContext& context, uint32_t kind, const catalogue::ServerRecord& record);

}  // namespace join::win32
