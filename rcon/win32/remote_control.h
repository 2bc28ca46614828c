// The remote-control window ("Vexar! Remote Control", class VEXARRC): up to five consoles, one per
// server, each with its own socket, log and player list, sharing the toolbar and the command box.
//
// Everything runs on the user-interface thread; sockets report through window messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/settings_store.h"
#include "catalogue/catalogue.h"
#include "catalogue/records.h"

namespace rcon::win32 {

constexpr char kRemoteControlClass[] = "VEXARRC";
constexpr int kMostConsoles = 5;

struct RemoteControlHost {
    HINSTANCE instance;
    HWND main;
    base::SettingsStore& settings;
    const catalogue::Catalogue& catalogue;
    std::string installFolder;  // where the command histories are kept
    // A record of that list took a password the user asked to keep (the list is to be stored).
    std::function<void(const catalogue::ServerList&)> passwordKept;
};

void RegisterRemoteControlClass(HINSTANCE instance);

// Opens the console of a server (or brings its console up), creating the window with the first.
// `servers` is the server's list: a password the user asks to keep is stored in the record found
// there, so a record removed meanwhile is never written to.
void OpenRemoteControl(const RemoteControlHost& host, uint32_t kind, const catalogue::ServerRecord& record,
                       catalogue::ServerList& servers);
// Consoles open (0 while there is no window).
int RemoteControlCount();
// Closes the window and every console, as its close box does.
void CloseRemoteControl();

}  // namespace rcon::win32
