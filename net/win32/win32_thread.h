// Threads of the status engine on Windows (CreateThread); the receiver runs above normal priority.
#pragma once

#include "net/status_engine.h"

namespace net::win32 {

class Win32ThreadStarter : public ThreadStarter {
  public:
    std::unique_ptr<WorkerThread> Start(ThreadRole role, std::function<void()> body) override;
};

}  // namespace net::win32
