// The version check's TCP conversation on Windows: connect, "getver", judge the answer, offer.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <string>

#include "net/win32/socket_owner.h"

namespace app::win32 {

struct Shell;

class VersionCheck {
  public:
    VersionCheck(Shell& shell, UINT socketMessage) : shell_(shell), socketMessage_(socketMessage) {}
    ~VersionCheck() { Close(); }

    // WM_APP_VERSIONCHECK: a non-blocking connect to the version server on TCP port 2048.
    void Start(const std::string& serverAddress);
    // WM_APP_VERSIONSOCKET.
    void OnSocketEvent(WPARAM socket, LPARAM event);
    // Shuts the socket down and closes it (also used when the main window closes).
    void Close();
    bool open() const { return static_cast<bool>(socket_); }

  private:
    Shell& shell_;
    UINT socketMessage_;
    net::win32::OwnedSocket socket_;
};

}  // namespace app::win32
