// The dialogs of the main window that work on the current profile's servers: Add Server and
// Monitor Server (whose flag the shell keeps).
#pragma once

#include "app/win32/frame/shell.h"

namespace app::win32 {

class ServerDialogs : public ShellDialogs {
  public:
    void Open(Shell& shell, UINT command) override;
};

}  // namespace app::win32
