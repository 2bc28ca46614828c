// The main window's side of a status refresh: pane messages, progress, timer 2 and the worker thread.
// Every call of the engine arrives inside a handler of the main window: nothing here runs a modal
// loop (what must be shown is posted and shown after the handler), see StatusEngine "Modal loops".
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <shobjidl.h>

#include "base/show_pacer.h"
#include "base/win32/com_ptr.h"
#include "net/status_engine.h"
#include "net/status_parser.h"
#include "rcon/server_properties.h"

namespace app::win32 {

struct Shell;

class StatusHost : public net::StatusHost {
  public:
    explicit StatusHost(Shell& shell);
    ~StatusHost() override;

    uint32_t MarkSelectedForRefresh() override;
    uint32_t MarkFirstSelectedForRefresh() override;
    void AnnounceFullRefresh() override;
    void AnnounceQuery(catalogue::ServerRecord& record) override;
    bool MonitorActive() override;
    void ClearRawReply() override;
    void ParseReply(catalogue::ServerRecord& record, const uint8_t* data, size_t size, bool keepRaw) override;
    void RowChanged(catalogue::ServerRecord& record) override;
    void RemoveStale(catalogue::ServerRecord& record) override;
    void CycleFinished() override;
    bool RawReplyHasText() override;
    void ShowServerInformation() override;
    void SetRefreshRunning(bool running) override;
    void ShowProgress(uint32_t range, uint32_t step) override;
    void HideProgress() override;
    void PostProgress(uint32_t position) override;
    void ShowAnswered(uint32_t answered, uint32_t queried, bool sent) override;
    void PostRepliesWaiting() override;
    void ArmCloseTimer(uint32_t periodMs) override;
    void KillCloseTimer() override;
    void PostWorkerFinished() override;

    // WM_APP_WORKERPROGRESS on the user-interface thread.
    void ShowWorkerProgress(uint32_t position);
    // kTimerShowProgress: what changed since the progress was last shown.
    void ShowProgressNow();
    // WM_APP_SERVERINFO: the Server Properties dialog that ShowServerInformation left to show.
    void ShowPendingInformation();
    const net::RawReply& propertiesReply() const { return propertiesReply_; }

  private:
    // The taskbar button's progress, where the system offers it (Windows 7 and later); made on the
    // first refresh, nullptr where it is missing.
    ITaskbarList3* Taskbar();

    // The bar and the text show what changed now, or once a tenth of a second passed since they
    // last did.
    void ShowProgressSoon(bool final);

    Shell& shell_;
    HWND main_;  // the shell's main window, which outlives this host
    HWND text_ = nullptr;
    HWND bar_ = nullptr;
    // What the bar and the text are to show, and whether it changed since they last showed it.
    struct Progress {
        uint32_t answered = 0;
        uint32_t queried = 0;
        char text[64] = {};
        bool barWaiting = false;
        bool textWaiting = false;
    } progress_;
    base::ShowPacer progressPacer_{100};
    bool taskbarTried_ = false;
    bool comStarted_ = false;
    base::win32::ComPtr<ITaskbarList3> taskbar_;
    // The copy of the last reply kept for the server information dialog, and the rows that wait for
    // WM_APP_SERVERINFO.
    net::RawReply propertiesReply_;
    std::vector<rcon::PropertyRow> pendingInformation_;
};

}  // namespace app::win32
