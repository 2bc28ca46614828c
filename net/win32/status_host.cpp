// Status refresh: what the engine asks of the windows, done with pane messages.
#include "net/win32/status_host.h"

#include <commctrl.h>

#include <cstring>

#include "app/win32/app_messages.h"
#include "app/win32/shell.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace net::win32 {

using namespace app::win32;
using namespace views::win32;

namespace {

class Win32WorkerThread : public WorkerThread {
  public:
    explicit Win32WorkerThread(std::function<void()> body) : body_(std::move(body)) {
        handle_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
    }
    ~Win32WorkerThread() override { Join(); }
    bool started() const { return handle_ != nullptr; }
    void Join() override {
        if (handle_) {
            WaitForSingleObject(handle_, INFINITE);
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

  private:
    static DWORD WINAPI Run(void* self) {
        static_cast<Win32WorkerThread*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    HANDLE handle_ = nullptr;
};

HWND ServerPane() {
    return ServerPaneOf(CurrentProfile());
}

}  // namespace

std::unique_ptr<WorkerThread> Win32ThreadStarter::Start(std::function<void()> body) {
    auto thread = std::make_unique<Win32WorkerThread>(std::move(body));
    if (!thread->started())
        return nullptr;
    return thread;
}

uint32_t StatusHost::MarkSelectedForRefresh() {
    return static_cast<uint32_t>(SendToPane(ServerPane(), PM_MARK_SELECTED_FOR_REFRESH));
}

uint32_t StatusHost::MarkFirstSelectedForRefresh() {
    return static_cast<uint32_t>(SendToPane(ServerPane(), PM_MARK_FIRST_FOR_REFRESH));
}

void StatusHost::AnnounceFullRefresh() {
    SendToPane(BuddyPaneOf(CurrentProfile()), PM_BUDDIES_RESET);
}

void StatusHost::AnnounceQuery(catalogue::ServerRecord& record) {
    SendToPane(BuddyPaneOf(CurrentProfile()), PM_SERVER_REMOVED, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::ClearRawReply() {
    TheShell().replies.propertiesReply.Clear();
}

void StatusHost::ParseReply(catalogue::ServerRecord& record, const uint8_t* data, size_t size, bool keepRaw) {
    ReplyBuffers& replies = TheShell().replies;
    size_t n = size < sizeof replies.lastReply ? size : sizeof replies.lastReply;
    std::memcpy(replies.lastReply, data, n);
    std::memset(replies.lastReply + n, 0, sizeof replies.lastReply - n);
    replies.lastReplySize = n;
    SendToPane(ServerPane(), PM_APPLY_REPLY, keepRaw ? 1 : 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::RowChanged(catalogue::ServerRecord& record) {
    SendToPane(ServerPane(), PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::RemoveStale(catalogue::ServerRecord& record) {
    SendToPane(ServerPane(), PM_REMOVE_SERVER, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::CycleFinished() {
    catalogue::GameProfile* p = CurrentProfile();
    SendToPane(ServerPaneOf(p), PM_RESORT);
    SendToPane(ServerPaneOf(p), PM_SHOW_SELECTED_PLAYERS);
    SendToPane(BuddyPaneOf(p), PM_RESORT);
    SendToPane(PlayerPaneOf(p), PM_RESORT);
    UpdateWindow(main_);
}

bool StatusHost::RawReplyHasText() {
    return TheShell().replies.propertiesReply.HoldsText();
}

void StatusHost::ShowServerInformation() {
    if (TheShell().dialogs)
        TheShell().dialogs->Open(IDM_SERVER_INFO);
}

void StatusHost::SetToolbarState(int command, ToolbarState state) {
    app::win32::SetToolbarState(command, static_cast<BYTE>(state));
}

void StatusHost::ShowProgress(uint32_t range, uint32_t step) {
    HideProgress();
    HWND pane = ServerPane();
    if (!pane)
        return;
    RECT client;
    GetClientRect(pane, &client);
    HINSTANCE instance = TheShell().instance;
    text_ = CreateWindowExA(0, "STATIC", kRefreshingServersText, WS_CHILD | WS_VISIBLE, client.right - 360,
                            client.top + 5, 150, 16, pane, nullptr, instance, nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, client.right - 200, client.top + 5, 195, 16,
                           pane, nullptr, instance, nullptr);
    step_ = step ? step : 1;
    SendMessageA(bar_, PBM_SETRANGE32, 0, range);
    SendMessageA(bar_, PBM_SETSTEP, step_, 0);
}

void StatusHost::HideProgress() {
    if (text_)
        DestroyWindow(text_);
    if (bar_)
        DestroyWindow(bar_);
    text_ = bar_ = nullptr;
}

void StatusHost::PostProgress(uint32_t position) {
    PostMessageA(main_, WM_APP_WORKERPROGRESS, position, 0);
}

void StatusHost::ShowWorkerProgress(uint32_t position) {
    if (text_) {
        char text[64];
        wsprintfA(text, kRefreshingServerFormat, static_cast<int>(position));
        SetWindowTextA(text_, text);
    }
    if (bar_)
        SendMessageA(bar_, PBM_SETPOS, position * step_, 0);
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

}  // namespace net::win32
