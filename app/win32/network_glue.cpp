// The network parts attached to the main window.
#include "app/win32/network_glue.h"

#include "app/win32/app_messages.h"
#include "app/win32/master_query_host.h"
#include "app/win32/status_host.h"
#include "app/win32/version_check_win32.h"
#include "net/master_query.h"
#include "net/status_engine.h"
#include "net/win32/win32_network.h"
#include "net/win32/win32_thread.h"

namespace app::win32 {

struct Network::Parts {
    explicit Parts(HWND main)
        : masterHost(main, WM_APP_MASTERSOCKET, WM_APP_MASTERLOOKUP),
          master(TheShell().ctx->refreshBusy, masterHost, later, clock),
          statusHost(main),
          engine(
              net::StatusEngineDeps{statusHost, clock, sockets, resolver, threads, later, TheShell().ctx->refreshBusy}),
          version(main, WM_APP_VERSIONSOCKET) {}

    // The master query and the engine tell from inside their handlers: their messages wait until
    // those have returned.
    LaterSink later;
    net::win32::Win32Clock clock;
    MasterQueryHost masterHost;
    net::MasterQuery master;
    StatusHost statusHost;
    net::win32::Win32DatagramSocketFactory sockets;
    net::win32::HostResolver resolver;
    net::win32::Win32ThreadStarter threads;
    net::StatusEngine engine;
    VersionCheck version;
};

Network::Network() = default;
Network::~Network() = default;

void Network::OnMainWindowCreated(HWND main) {
    parts_ = std::make_unique<Parts>(main);
}

void Network::StartMasterQuery() {
    if (parts_ && TheShell().ctx->current()) {
        catalogue::GameProfile& profile = *TheShell().ctx->current();
        const catalogue::Catalogue& games = TheShell().ctx->catalogue;
        const catalogue::GameDefinition* game = games.GameOf(profile.kind);
        parts_->master.Start(profile, catalogue::MastersToAsk(profile, games),
                             game ? game->masterFilters : std::vector<std::string>{});
    }
}

void Network::OnMasterSocket(WPARAM socket, LPARAM event) {
    // Events of a master's socket that was closed for the next master's are stale.
    if (!parts_ || static_cast<SOCKET>(socket) != parts_->masterHost.socket())
        return;
    switch (WSAGETSELECTEVENT(event)) {
        case FD_READ:
            parts_->master.OnSocketRead();
            break;
        case FD_CONNECT:
            parts_->master.OnSocketConnected(WSAGETSELECTERROR(event));
            break;
        case FD_CLOSE:
            parts_->master.OnSocketClosed();
            break;
    }
}

void Network::OnMasterLookup(WPARAM task, LPARAM result) {
    std::optional<uint32_t> address;
    if (parts_ && parts_->masterHost.LookupAnswer(task, result, &address))
        parts_->master.OnMasterLookedUp(address);
}

void Network::StartRefresh(WPARAM mode) {
    if (parts_ && TheShell().ctx->current()) {
        parts_->engine.SetPacing(net::ReadPacing(*TheShell().ctx->settings));
        // A refresh is a new round of notices: each may be given once more.
        if (parts_->engine.StartCycle(static_cast<uint32_t>(mode), *TheShell().ctx->current()))
            TheShell().notices.NewRound();
    }
}

void Network::OnStatusSocket(WPARAM, LPARAM) {
    if (parts_)
        parts_->engine.OnRepliesWaiting();
}

void Network::StartVersionCheck() {
    if (parts_)
        parts_->version.Start(TheShell().ctx->endpoints.versionServer);
}

void Network::OnVersionSocket(WPARAM socket, LPARAM event) {
    if (parts_)
        parts_->version.OnSocketEvent(socket, event);
}

void Network::OnTimer(UINT_PTR id) {
    if (!parts_)
        return;
    if (id == kTimerRefreshClose) {
        parts_->engine.OnCloseTimer();
    } else if (id == kTimerRepliesWaiting) {
        KillTimer(TheShell().main, kTimerRepliesWaiting);
        parts_->engine.OnRepliesWaiting();
    } else if (id == kTimerShowProgress) {
        parts_->statusHost.ShowProgressNow();
    } else if (id == kTimerMasterAttempt || id == kTimerMasterBatch) {
        parts_->master.OnTimer(static_cast<int>(id));
    }
}

void Network::OnWorkerDone() {
    if (parts_)
        parts_->engine.OnWorkerFinished();
}

void Network::OnWorkerProgress(WPARAM, LPARAM) {
    if (parts_)
        parts_->statusHost.ShowWorkerProgress(parts_->engine.TakeWalkPosition());
}

void Network::OnServerInformation() {
    if (parts_)
        parts_->statusHost.ShowPendingInformation();
}

void Network::RequestStop() {
    if (parts_)
        parts_->engine.RequestStop();
}

void Network::CloseSockets() {
    if (!parts_)
        return;
    parts_->version.Close();
    parts_->master.Shutdown();
    // Ending the engine joins a running worker, which walks the profile's servers.
    parts_.reset();
}

void Network::ChangeServerList(const std::function<void()>& change) {
    if (!parts_)
        return change();
    std::lock_guard lock(parts_->engine.recordLock());
    change();
}

void Network::MarkForRefresh(catalogue::ServerRecord& record) {
    if (parts_)
        parts_->engine.MarkForRefresh(record);
    else
        ShellNetwork::MarkForRefresh(record);
}

std::mutex* Network::RecordLock() {
    return parts_ ? &parts_->engine.recordLock() : nullptr;
}

}  // namespace app::win32
