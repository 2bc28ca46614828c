// Status refresh: what the engine asks of the windows, done with pane messages.
#include "app/win32/status_host.h"

#include <commctrl.h>

#include "app/win32/app_messages.h"
#include "app/win32/shell.h"
#include "rcon/server_properties.h"
#include "rcon/win32/server_properties_dialog.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

using namespace views::win32;

namespace {

views::win32::PaneSet Panes() {
    return PanesOf(CurrentProfile());
}

}  // namespace

bool StatusHost::MonitorActive() {
    return TheShell().monitorActive;
}

uint32_t StatusHost::MarkSelectedForRefresh() {
    return static_cast<uint32_t>(SendToPane(Panes().server, PM_MARK_SELECTED_FOR_REFRESH));
}

uint32_t StatusHost::MarkFirstSelectedForRefresh() {
    return static_cast<uint32_t>(SendToPane(Panes().server, PM_MARK_FIRST_FOR_REFRESH));
}

void StatusHost::AnnounceFullRefresh() {
    SendToPane(Panes().buddy, PM_BUDDIES_RESET);
}

void StatusHost::AnnounceQuery(catalogue::ServerRecord& record) {
    SendToPane(Panes().buddy, PM_SERVER_REMOVED, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::ClearRawReply() {
    propertiesReply_.Clear();
}

void StatusHost::ParseReply(catalogue::ServerRecord& record, const uint8_t* data, size_t size, bool keepRaw) {
    ReplyToApply reply{&record, data, size, keepRaw ? &propertiesReply_ : nullptr};
    SendToPane(Panes().server, PM_APPLY_REPLY, 0, reinterpret_cast<LPARAM>(&reply));
}

void StatusHost::RowChanged(catalogue::ServerRecord& record) {
    SendToPane(Panes().server, PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::RemoveStale(catalogue::ServerRecord& record) {
    SendToPane(Panes().server, PM_REMOVE_SERVER, 0, reinterpret_cast<LPARAM>(&record));
}

void StatusHost::CycleFinished() {
    views::win32::PaneSet p = Panes();
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
    Shell& shell = TheShell();
    catalogue::GameProfile* profile = CurrentProfile();
    if (!profile)
        return;
    std::vector<rcon::PropertyRow> rows = rcon::InformationRows(profile->kind, propertiesReply_.Text());
    rcon::win32::RunServerInformation(shell.instance, shell.main, rows);
}

void StatusHost::SetToolbarState(int command, net::ToolbarState state) {
    ::app::win32::SetToolbarState(static_cast<UINT>(command), static_cast<BYTE>(state));
}

void StatusHost::ShowProgress(uint32_t range, uint32_t step) {
    HideProgress();
    HWND pane = Panes().server;
    if (!pane)
        return;
    RECT client;
    GetClientRect(pane, &client);
    HINSTANCE instance = TheShell().instance;
    text_ = CreateWindowExA(0, "STATIC", net::kRefreshingServersText, WS_CHILD | WS_VISIBLE, client.right - 360,
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
        wsprintfA(text, net::kRefreshingServerFormat, static_cast<int>(position));
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

}  // namespace app::win32
