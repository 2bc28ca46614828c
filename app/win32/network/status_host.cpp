// Status refresh: what the engine asks of the windows, done with pane messages.
#include "app/win32/network/status_host.h"

#include <commctrl.h>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "app/win32/settings/saves.h"
#include "rcon/server_properties.h"
#include "rcon/win32/server_properties_dialog.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

using namespace views::win32;

namespace {

views::win32::PaneSet Panes(Shell& shell) {
    return PanesOf(shell, CurrentProfile(shell));
}

}  // namespace

StatusHost::StatusHost(Shell& shell) : shell_(shell), main_(shell.main) {}

StatusHost::~StatusHost() {
    HideProgress();
    taskbar_.Reset();  // before COM ends on this thread
    if (comStarted_)
        CoUninitialize();
}

bool StatusHost::MonitorActive() {
    return shell_.monitorActive;
}

uint32_t StatusHost::MarkSelectedForRefresh() {
    return static_cast<uint32_t>(SendToPane(Panes(shell_).server, PM_MARK_SELECTED_FOR_REFRESH));
}

uint32_t StatusHost::MarkFirstSelectedForRefresh() {
    return static_cast<uint32_t>(SendToPane(Panes(shell_).server, PM_MARK_FIRST_FOR_REFRESH));
}

void StatusHost::AnnounceFullRefresh() {
    SendToPane(Panes(shell_).buddy, PM_BUDDIES_RESET);
}

void StatusHost::AnnounceQuery(catalogue::ServerRecord& record) {
    SendToPane(Panes(shell_).buddy, PM_SERVER_REMOVED, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::ClearRawReply() {
    propertiesReply_.Clear();
}

void StatusHost::ParseReply(catalogue::ServerRecord& record, const uint8_t* data, size_t size, bool keepRaw) {
    ReplyToApply reply{&record, data, size, keepRaw ? &propertiesReply_ : nullptr};
    SendToPane(Panes(shell_).server, PM_APPLY_REPLY, 0, reinterpret_cast<LPARAM>(&reply));
}

void StatusHost::RowChanged(catalogue::ServerRecord& record) {
    SendToPane(Panes(shell_).server, PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::RemoveStale(catalogue::ServerRecord& record) {
    SendToPane(Panes(shell_).server, PM_REMOVE_SERVER, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::CycleFinished() {
    // Written once the refresh has let go of the records, never on its way.
    if (const catalogue::GameProfile* profile = CurrentProfile(shell_))
        NoteStoredChange(shell_, *profile, catalogue::StoredFile::kServerList);
    views::win32::PaneSet p = Panes(shell_);
    SendToPane(p.server, PM_RESORT);
    SendToPane(p.server, PM_SHOW_SELECTED_PLAYERS);
    SendToPane(p.buddy, PM_RESORT);
    SendToPane(p.player, PM_RESORT);
    UpdateWindow(main_);
}

bool StatusHost::RawReplyHasText() {
    return propertiesReply_.HoldsText();
}

void StatusHost::ShowServerInformation() {
    catalogue::GameProfile* profile = CurrentProfile(shell_);
    if (!profile)
        return;
    // The dialog runs a modal loop: it comes once the handler that closed the refresh has returned.
    // The rows are made now, from the reply the refresh kept, before another refresh can replace it.
    pendingInformation_ = rcon::InformationRows(profile->kind, propertiesReply_.Text());
    PostMessageA(main_, WM_APP_SERVERINFO, 0, 0);
}

void StatusHost::ShowPendingInformation() {
    std::vector<rcon::PropertyRow> rows = std::move(pendingInformation_);
    pendingInformation_.clear();
    if (!rows.empty())
        rcon::win32::RunServerInformation(shell_.instance, main_, rows);
}

void StatusHost::SetRefreshRunning(bool running) {
    // The toolbar's and the menus' states follow the command table from whether a refresh runs.
    SetRefreshCommandsRunning(shell_, running);
}

ITaskbarList3* StatusHost::Taskbar() {
    if (taskbarTried_)
        return taskbar_.get();
    taskbarTried_ = true;
    // COM may already run on this thread in another mode; the object is made either way.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                taskbar_.OutVoid())) ||
        !taskbar_)
        return nullptr;
    if (FAILED(taskbar_->HrInit()))
        taskbar_.Reset();
    return taskbar_.get();
}

void StatusHost::ShowProgress(uint32_t range, uint32_t step) {
    HideProgress();
    if (ITaskbarList3* taskbar = Taskbar()) {
        taskbar->SetProgressState(main_, TBPF_NORMAL);
        taskbar->SetProgressValue(main_, 0, range);
    }
    HWND pane = Panes(shell_).server;
    if (!pane)
        return;
    RECT client;
    GetClientRect(pane, &client);
    HINSTANCE instance = shell_.instance;
    text_ = CreateWindowExA(0, "STATIC", net::kRefreshingServersText, WS_CHILD | WS_VISIBLE, client.right - 360,
                            client.top + 5, 150, 16, pane, nullptr, instance, nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, client.right - 200, client.top + 5, 195, 16,
                           pane, nullptr, instance, nullptr);
    SendMessageA(bar_, PBM_SETRANGE32, 0, range);
    SendMessageA(bar_, PBM_SETSTEP, step ? step : 1, 0);
}

void StatusHost::HideProgress() {
    KillTimer(main_, kTimerShowProgress);
    progressPacer_.Reset();
    progress_.barWaiting = progress_.textWaiting = false;
    if (text_)
        DestroyWindow(text_);
    if (bar_)
        DestroyWindow(bar_);
    text_ = bar_ = nullptr;
    if (taskbar_)
        taskbar_->SetProgressState(main_, TBPF_NOPROGRESS);
}

void StatusHost::PostProgress(uint32_t position) {
    PostMessageA(main_, WM_APP_WORKERPROGRESS, position, 0);
}

// The bar and the text change at most ten times a second: drawing them takes about a millisecond
// under Wine, while the worker walks thousands of servers a second and replies come by the hundred.
// What changed in between waits for a timer; the count of a finished refresh shows at once.
void StatusHost::ShowWorkerProgress(uint32_t position) {
    wsprintfA(progress_.text, net::kRefreshingServerFormat, static_cast<int>(position));
    progress_.textWaiting = true;
    ShowProgressSoon(false);
}

void StatusHost::ShowAnswered(uint32_t answered, uint32_t queried, bool sent) {
    progress_.answered = answered;
    progress_.queried = queried;
    progress_.barWaiting = true;
    if (sent) {
        wsprintfA(progress_.text, net::kAnsweredFormat, static_cast<int>(answered), static_cast<int>(queried));
        progress_.textWaiting = true;
    }
    ShowProgressSoon(answered >= queried);
}

void StatusHost::ShowProgressSoon(bool final) {
    const base::ShowPacer::Decision d = progressPacer_.Changed(GetTickCount(), final);
    if (d.showNow)
        ShowProgressNow();
    else if (d.timerMs > 0)
        SetTimer(main_, kTimerShowProgress, d.timerMs, nullptr);
}

void StatusHost::ShowProgressNow() {
    KillTimer(main_, kTimerShowProgress);
    progressPacer_.Shown(GetTickCount());
    if (progress_.barWaiting) {
        if (bar_)
            SendMessageA(bar_, PBM_SETPOS, progress_.answered, 0);
        if (taskbar_)
            taskbar_->SetProgressValue(main_, progress_.answered, progress_.queried);
    }
    if (progress_.textWaiting && text_)
        SetWindowTextA(text_, progress_.text);
    progress_.barWaiting = progress_.textWaiting = false;
}

void StatusHost::PostRepliesWaiting() {
    // The receiving thread's word comes as a posted message. A drain that left replies behind asks
    // again from this thread: then a timer, whose message comes after input and painting, so that a
    // flood of replies never keeps the window from answering the user.
    if (GetWindowThreadProcessId(main_, nullptr) == GetCurrentThreadId())
        SetTimer(main_, kTimerRepliesWaiting, USER_TIMER_MINIMUM, nullptr);
    else
        PostMessageA(main_, WM_APP_STATUSSOCKET, 0, 0);
}

void StatusHost::ArmCloseTimer(uint32_t periodMs) {
    SetTimer(main_, kTimerRefreshClose, periodMs, nullptr);
}

void StatusHost::KillCloseTimer() {
    KillTimer(main_, kTimerRefreshClose);
}

void StatusHost::PostWorkerFinished() {
    PostMessageA(main_, WM_APP_WORKERDONE, 0, 0);
}

}  // namespace app::win32
