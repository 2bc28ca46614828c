// The network parts of the program on Windows, attached to the main window: master query, status
// refresh engine and version check, with the window-side hosts they talk through.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <memory>

#include "app/win32/frame/shell.h"

namespace app::win32 {

// The network parts of a shell, built when its main window is created and ended when it closes
// (CloseSockets). The object must outlive the shell's main window.
class Network : public ShellNetwork {
  public:
    Network();
    ~Network() override;
    void OnMainWindowCreated(Shell& shell) override;

    void StartMasterQuery() override;
    void OnMasterSocket(WPARAM, LPARAM) override;
    void OnMasterLookup(WPARAM, LPARAM) override;
    void StartRefresh(WPARAM mode) override;
    void OnStatusSocket(WPARAM, LPARAM) override;
    void StartVersionCheck() override;
    void OnVersionSocket(WPARAM, LPARAM) override;
    void OnTimer(UINT_PTR id) override;
    void OnWorkerDone() override;
    void OnWorkerProgress(WPARAM, LPARAM) override;
    void OnServerInformation() override;
    void RequestStop() override;
    void CloseSockets() override;
    void ChangeServerList(const std::function<void()>& change) override;
    void MarkForRefresh(catalogue::ServerRecord& record) override;
    std::mutex* RecordLock() override;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace app::win32
