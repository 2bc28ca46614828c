// The status refresh engine: one refresh cycle at a time over the current profile's servers.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "base/message_sink.h"
#include "catalogue/profiles.h"
#include "net/clock.h"
#include "net/datagram_socket.h"
#include "net/pacing.h"
#include "net/status_engine_host.h"
#include "net/status_requests.h"

namespace net {

// Which servers a cycle queries (wParam of WM_APP_REFRESH).
enum RefreshMode : uint32_t {
    kRefreshAll = 0,          // every record; the buddy pane is told a full refresh starts
    kRefreshSelected = 1,     // the rows selected in the server list pane
    kRefreshMarked = 2,       // the records already marked refreshPending (Add Server)
    kRefreshAutoRefresh = 3,  // records with autoRefresh set; none while the monitor runs
    kRefreshMonitored = 4,    // the record the monitor marked
    kRefreshFavourites = 5,   // favourites only
    kRefreshServerInfo = 6,   // the first selected row, its reply kept for the information dialog
};
constexpr uint32_t kRefreshModeCount = 7;

// Fixed tuning of a cycle.
constexpr uint32_t kRequestsPerPause = 11;  // the worker pauses once more than 10 were sent
constexpr uint32_t kPauseMs = 200;
constexpr uint64_t kReplyTimeoutMs = 999;  // older requests are given up at each pause
constexpr uint32_t kGraceMs = 1500;        // timer 2 after the worker ended
constexpr uint32_t kMonitorGraceMs = 750;  // the same while the server monitor runs
constexpr int kDatagramsPerNotification = 10;
constexpr size_t kReceiveBufferSize = 4096;
constexpr uint32_t kMaxMeasuredPing = catalogue::kNoPing - 1;

constexpr const char kRefreshingServersText[] = "Refreshing Servers...";
constexpr const char kRefreshingServerFormat[] = "Refreshing Server %d";
constexpr const char kNoResponseText[] = "Server didn't respond within the timeout period, please try again!";

struct StatusEngineDeps {
    StatusHost& host;
    Clock& clock;
    DatagramSocketFactory& sockets;
    Resolver& resolver;
    ThreadStarter& threads;
    base::MessageSink& messages;
    bool& refreshBusy;  // owned by the caller, shared with the master query
};

// Lifecycle: idle -> StartCycle (servers selected) -> sending (worker alive) -> OnWorkerFinished
// (timer 2 armed) -> OnCloseTimer or the last expected reply -> closing -> idle.
//
// Threads: every public member is called on the user-interface thread. The worker walks the
// profile's server list holding recordLock() per record step (never during its 200 ms pause), and
// the receiving side holds it while it matches a reply and updates the record. The fields the worker
// writes are refreshPending, awaitingReply, ping, replyCount, sendTime, queryAddress, and for the
// marker kinds captureLimit and pure (before the record's request is sent). While Busy(), code on
// the user-interface thread that links or unlinks records of the cycle's profile, or reads those
// fields of a record that may still be waiting to be sent, must hold recordLock(). Records are
// removed only when the cycle closes, after the worker has been joined.
class StatusEngine {
  public:
    explicit StatusEngine(const StatusEngineDeps& deps);
    ~StatusEngine();  // stops and joins a running worker
    StatusEngine(const StatusEngine&) = delete;
    StatusEngine& operator=(const StatusEngine&) = delete;

    // WM_APP_REFRESH. Returns false when the request is ignored (refresh busy, unknown mode). A
    // request that selects nothing ends at once (true is returned, nothing is sent).
    bool StartCycle(uint32_t mode, catalogue::GameProfile& profile);
    // The pace of the cycles that start from now on (Classic until told otherwise).
    void SetPacing(const Pacing& pacing) { nextPacing_ = pacing; }
    // WM_APP_STATUSSOCKET with FD_READ: handles at most 10 waiting datagrams.
    void OnReadable();
    // The worker announced its end through StatusHost::PostWorkerFinished: join it, then arm timer 2
    // (or close at once when every expected reply already came in).
    void OnWorkerFinished();
    // Timer 2 expired: close the cycle.
    void OnCloseTimer();
    // Command 40116 "Stop Server refresh": the worker stops before its next record; the cycle still
    // closes through timer 2.
    void RequestStop();

    bool Busy() const { return state_ != State::kIdle; }
    bool WorkerRunning() const { return worker_ != nullptr; }
    uint32_t queriedCount() const { return queriedCount_; }
    uint32_t completedCount() const { return completedCount_; }
    bool keepRawReply() const { return keepRawReply_; }
    uint32_t lastCycleMs() const { return lastCycleMs_; }
    std::mutex& recordLock() { return recordMutex_; }

  private:
    enum class State { kIdle, kSending, kWaiting };

    // The time left for answers once the worker has ended: the classic grace, or no more than
    // the time-out at any other pace.
    uint32_t CloseDelayMs() const;

    // Selection by mode (status_engine.cpp).
    uint32_t SelectServers(uint32_t mode, catalogue::GameProfile& profile);
    void EndEmptyCycle();
    void SetToolbarBusy(bool busy);

    // Worker (status_engine_worker.cpp).
    void WorkerMain();
    bool QueryRecord(catalogue::ServerRecord& record, const StatusRequests& requests);
    void SweepTimedOut(catalogue::ServerRecord* current);
    void Pause();
    void FailWithoutSending();

    // Receiving (status_engine_receive.cpp).
    static uint64_t EndpointKey(const Endpoint& e) { return (uint64_t(e.addressNetworkOrder) << 16) | e.port; }
    catalogue::ServerRecord* MatchSender(const Endpoint& from);
    bool HandleDatagram(size_t size, const Endpoint& from);

    // Closing (status_engine_close.cpp).
    void RequestClose();
    void CloseCycle();

    StatusHost& host_;
    Clock& clock_;
    DatagramSocketFactory& sockets_;
    Resolver& resolver_;
    ThreadStarter& threads_;
    base::MessageSink& messages_;
    bool& refreshBusy_;

    State state_ = State::kIdle;
    Pacing nextPacing_ = kClassicPacing;
    Pacing pacing_ = kClassicPacing;  // of the running cycle; read by the worker
    catalogue::GameProfile* profile_ = nullptr;
    uint32_t kind_ = 0;
    uint32_t queriedCount_ = 0;
    uint32_t completedCount_ = 0;
    bool keepRawReply_ = false;
    bool closeWhenWorkerEnds_ = false;
    uint32_t lastCycleMs_ = 0;
    uint64_t cycleStart_ = 0;  // written by the worker before its walk, read after it is joined
    // First record the worker did not reach because of a stop (nullptr when it walked the whole
    // list); written by the worker, read at the close after it is joined.
    catalogue::ServerRecord* stoppedAt_ = nullptr;

    std::unique_ptr<DatagramSocket> socket_;  // opened before the worker starts, closed after it ended
    std::unique_ptr<WorkerThread> worker_;
    std::atomic<bool> stopRequested_{false};
    std::mutex recordMutex_;
    // The requests of the cycle, guarded by recordMutex_: records by the endpoint their request went
    // to, in sending order (a reply is matched without walking the whole list), and the records in
    // sending order, whose send times therefore only grow (the sweep stops at the first young one).
    std::unordered_map<uint64_t, std::vector<catalogue::ServerRecord*>> sentTo_;
    std::deque<catalogue::ServerRecord*> sentOrder_;

    uint8_t receiveBuffer_[kReceiveBufferSize + 1] = {};
};

}  // namespace net
