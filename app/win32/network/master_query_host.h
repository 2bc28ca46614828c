// The main window's side of the master query: its UDP or TCP socket announced by WM_APP_MASTERSOCKET,
// timers 1 and 4, the "Contacting Master Server" label on the server list pane, toolbar states.
// Every call arrives inside a handler of the main window: none runs a modal loop (shell.h, "Modal
// loops").
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <optional>
#include <string>

#include "net/master_query.h"
#include "net/win32/socket_owner.h"

namespace app::win32 {

struct Shell;

class MasterQueryHost : public net::MasterQueryHost {
  public:
    MasterQueryHost(Shell& shell, UINT socketMessage, UINT lookupMessage);
    ~MasterQueryHost() override;

    int OpenMasterSocket(bool stream) override;
    bool ConnectMasterSocket(const char* address, uint16_t port) override;
    // WSAAsyncGetHostByName: the answer arrives as lookupMessage (wParam the task handle, lParam the
    // error and length) and is read by LookupAnswer.
    bool LookUpMaster(const std::string& name) override;
    void CancelMasterLookup() override;
    // The address of a finished lookup, or nothing when it failed; an answer to an abandoned lookup
    // is no answer at all (false).
    bool LookupAnswer(WPARAM task, LPARAM result, std::optional<uint32_t>* address);
    bool SendToMaster(const uint8_t* data, size_t size) override;
    int ReceiveFromMaster(uint8_t* buffer, size_t capacity) override;
    void CloseMasterSocket() override;
    void SetTimer(int id, uint32_t periodMs) override;
    void KillTimer(int id) override;
    void CreateLabel(std::string_view text) override;
    void SetLabelText(std::string_view text) override;
    void DestroyLabel() override;
    void SetToolbarRunning(bool running) override;
    void ClearListRows() override;
    void SendRefilter() override;
    void SendRefreshAll() override;
    void PostMasterQuery() override;
    void ServersGathered(const catalogue::GameProfile& profile) override;

    SOCKET socket() const { return socket_.get(); }

  private:
    bool LabelAlive();

    Shell& shell_;
    HWND main_;  // the shell's main window, which outlives this host
    UINT socketMessage_;
    UINT lookupMessage_;
    HANDLE lookup_ = nullptr;
    char hostBuffer_[MAXGETHOSTSTRUCT] = {};
    net::win32::OwnedSocket socket_;
    HWND label_ = nullptr;
};

}  // namespace app::win32
