// The remote-control window ("Vexar! Remote Control", class VEXARRC): up to five consoles, one per
// server, each with its own socket, log and player list, sharing the toolbar and the command box.
//
// Everything runs on the user-interface thread; sockets report through window messages. The
// window's prompts (password, messages, tool dialogs) run one at a time and never inside its
// socket or timer handling; the window closes only after every modal loop running for it has
// returned.
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
    // Keeps a confirmed password and remote-control port in the record of that address and game
    // port, in the profile of that file number, when both are still there.
    std::function<void(uint32_t profileFile,
                       const std::string& address,
                       uint32_t port,
                       const std::string& password,
                       uint32_t rconPort)>
        keepPassword;
};

void RegisterRemoteControlClass(HINSTANCE instance);

// Opens the console of a server of the profile with that file number (or brings its console up),
// creating the window with the first. The record is only read here.
void OpenRemoteControl(const RemoteControlHost& host,
                       uint32_t kind,
                       uint32_t profileFile,
                       const catalogue::ServerRecord& record);
// Consoles open (0 while there is no window).
int RemoteControlCount();
// Closes the window and every console, as its close box does: at once, or when a dialog of the
// window is open, once it has ended (it is ended at once).
void CloseRemoteControl();

}  // namespace rcon::win32
