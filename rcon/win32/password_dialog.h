// Confirm Remote Control password: the password and port a console uses, and whether to keep them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace rcon::win32 {

struct PasswordRequest {
    std::string password;
    uint32_t port = 0;  // 0: the game's default remote-control port is shown
    uint32_t defaultPort = 0;
    bool portEditable = false;  // the game lets the remote-control port differ
    bool save = true;
};

// Runs dialog 133; IDOK with the request updated, IDCANCEL with it unchanged.
INT_PTR RunPasswordDialog(HINSTANCE instance, HWND owner, PasswordRequest& request);

}  // namespace rcon::win32
