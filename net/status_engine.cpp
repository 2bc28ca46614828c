// Starting a refresh cycle: the selection of servers by mode, the toolbar and the threads' start.
#include "net/status_engine.h"

#include "catalogue/catalogue.h"

namespace net {

using catalogue::ServerRecord;

StatusEngine::StatusEngine(const StatusEngineDeps& deps)
    : host_(deps.host),
      clock_(deps.clock),
      sockets_(deps.sockets),
      resolver_(deps.resolver),
      threads_(deps.threads),
      messages_(deps.messages),
      refreshBusy_(deps.refreshBusy) {}

StatusEngine::~StatusEngine() {
    // The worker walks records owned by the profile: it must be gone before anything is freed.
    if (worker_) {
        stopRequested_ = true;
        worker_->Join();
        worker_.reset();
    }
    StopReceiver();
    socket_.reset();
}

void StatusEngine::StopReceiver() {
    if (!receiver_)
        return;
    stopReceiver_ = true;
    receiver_->Join();
    receiver_.reset();
}

void StatusEngine::SetToolbarBusy(bool busy) {
    host_.SetRefreshRunning(busy);
}

bool StatusEngine::StartCycle(uint32_t mode, catalogue::GameProfile& profile) {
    if (refreshBusy_ || state_ != State::kIdle || mode >= kRefreshModeCount)
        return false;
    refreshBusy_ = true;
    pacing_ = nextPacing_;
    queriedCount_ = 0;
    completedCount_ = 0;
    closeWhenWorkerEnds_ = false;
    stoppedAt_ = nullptr;
    sentTo_.clear();
    sentOrder_.clear();
    awaiting_ = 0;
    arrivals_.clear();
    arrivalBytes_ = 0;
    repliesPosted_ = false;
    followUps_.clear();
    steps_.clear();
    exchanges_.clear();
    compressedNoted_ = false;
    unsolicitedDropped_ = 0;
    overflowDropped_ = 0;
    ++cycleNumber_;
    walkPosition_ = 0;
    progressPosted_ = false;
    stopRequested_ = false;  // a stop pressed while idle must not cut the next cycle short
    SetToolbarBusy(true);
    keepRawReply_ = false;
    profile_ = &profile;
    kind_ = profile.kind;
    steam_ = catalogue::IsSteamGame(kind_);

    // The worker is not running yet, so the records are touched without the lock here.
    queriedCount_ = SelectServers(mode, profile);
    if (queriedCount_ == 0) {
        EndEmptyCycle();
        return true;
    }

    state_ = State::kSending;
    host_.ShowProgress(queriedCount_, NeedsTwoReplies(kind_) ? 2 : 1);
    cycleStart_ = clock_.Counter();
    // The socket is made here rather than on a thread of the cycle so that neither sees it appear or
    // disappear; it lives until the cycle closes. The receiver starts first: the first replies may
    // come back before the worker's second request leaves.
    socket_ = sockets_.Open();
    if (!socket_) {
        FailWithoutSending();
        return true;
    }
    stopReceiver_ = false;
    receiver_ = threads_.Start(ThreadRole::kReceiver, [this] { ReceiverMain(); });
    if (receiver_)
        worker_ = threads_.Start(ThreadRole::kWorker, [this] { WorkerMain(); });
    if (!worker_) {
        StopReceiver();
        socket_.reset();
        FailWithoutSending();
    }
    return true;
}

uint32_t StatusEngine::SelectServers(uint32_t mode, catalogue::GameProfile& profile) {
    catalogue::ServerList& list = profile.servers;
    auto countPending = [&list] {
        uint32_t n = 0;
        for (ServerRecord* r = list.head; r; r = r->next)
            n += r->refreshPending ? 1 : 0;
        return n;
    };
    auto clearAll = [&list] {
        for (ServerRecord* r = list.head; r; r = r->next)
            r->awaitingReply = r->refreshPending = 0;
    };

    switch (mode) {
        case kRefreshAll:
            for (ServerRecord* r = list.head; r; r = r->next) {
                r->awaitingReply = 0;
                r->refreshPending = 1;
            }
            host_.AnnounceFullRefresh();
            return list.count;
        case kRefreshSelected:
            clearAll();
            return host_.MarkSelectedForRefresh();
        case kRefreshMarked:
        case kRefreshMonitored:
            for (ServerRecord* r = list.head; r; r = r->next) {
                if (r->refreshPending)
                    r->awaitingReply = 0;
            }
            return countPending();
        case kRefreshAutoRefresh:
            if (host_.MonitorActive())
                return 0;
            for (ServerRecord* r = list.head; r; r = r->next) {
                if (r->autoRefresh) {
                    r->awaitingReply = 0;
                    r->refreshPending = 1;
                    host_.AnnounceQuery(*r);
                }
            }
            // Records still marked from a refresh that could not start (Add Server while busy) are
            // sent to as well, so they are counted: the cycle closes early only when every request
            // sent has its reply.
            return countPending();
        case kRefreshFavourites:
            for (ServerRecord* r = list.head; r; r = r->next) {
                if (r->isFavourite) {
                    r->awaitingReply = 0;
                    r->refreshPending = 1;
                    host_.AnnounceQuery(*r);
                } else {
                    r->refreshPending = 0;
                }
            }
            return countPending();
        case kRefreshServerInfo:
            // Only the chosen server may be queried: any other reply would overwrite the kept copy.
            clearAll();
            host_.ClearRawReply();
            keepRawReply_ = true;
            // The count is that of the selected rows even though only the first is queried: with
            // several rows selected the cycle closes on timer 2.
            return host_.MarkFirstSelectedForRefresh();
        default:
            return 0;
    }
}

void StatusEngine::EndEmptyCycle() {
    state_ = State::kIdle;
    keepRawReply_ = false;
    profile_ = nullptr;
    refreshBusy_ = false;
    SetToolbarBusy(false);
}

uint32_t StatusEngine::TakeWalkPosition() {
    progressPosted_ = false;
    return walkPosition_;
}

void StatusEngine::MarkForRefresh(ServerRecord& record) {
    std::lock_guard guard(recordMutex_);
    record.refreshPending = 1;
    // awaitingReply is set only by the worker, for a request of the running cycle; that cycle counts
    // the record among those it waits for until the reply comes or the request times out.
    if (state_ == State::kIdle)
        record.awaitingReply = 0;
}

void StatusEngine::RequestStop() {
    if (worker_)
        stopRequested_ = true;
}

}  // namespace net
