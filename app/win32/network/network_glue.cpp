// The network parts attached to the main window.
#include "app/win32/network/network_glue.h"

#include "app/win32/frame/app_messages.h"
#include "app/win32/network/master_query_host.h"
#include "app/win32/network/status_host.h"
#include "app/win32/network/version_check_win32.h"
#include "net/master_query.h"
#include "net/status_engine.h"
#include "net/win32/win32_network.h"
#include "net/win32/win32_thread.h"

namespace app::win32 {

struct Network::Parts {
    explicit Parts(Shell& shell)
        : shell(shell),
          later(shell),
          masterHost(shell, WM_APP_MASTERSOCKET, WM_APP_MASTERLOOKUP),
          master(shell.ctx->refreshBusy, masterHost, later, clock),
          statusHost(shell),
          engine(net::StatusEngineDeps{statusHost, clock, sockets, resolver, threads, later, shell.ctx->refreshBusy}),
          version(shell, WM_APP_VERSIONSOCKET) {}

    Shell& shell;
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

void Network::OnMainWindowCreated(Shell& shell) {
    parts_ = std::make_unique<Parts>(shell);
}

void Network::StartMasterQuery() {
    if (parts_ && parts_->shell.ctx->current()) {
        catalogue::GameProfile& profile = *parts_->shell.ctx->current();
        const catalogue::Catalogue& games = parts_->shell.ctx->catalogue;
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
    if (!parts_)
        return;
    Shell& shell = parts_->shell;
    if (shell.ctx->current()) {
        parts_->engine.SetPacing(net::ReadPacing(*shell.ctx->settings));
        // A refresh is a new round of notices: each may be given once more.
        if (parts_->engine.StartCycle(static_cast<uint32_t>(mode), *shell.ctx->current()))
            shell.notices.NewRound();
    }
}

void Network::OnStatusSocket(WPARAM, LPARAM) {
    if (parts_)
        parts_->engine.OnRepliesWaiting();
}

void Network::StartVersionCheck() {
    if (parts_)
        parts_->version.Start(parts_->shell.ctx->endpoints.versionServer);
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
        KillTimer(parts_->shell.main, kTimerRepliesWaiting);
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
