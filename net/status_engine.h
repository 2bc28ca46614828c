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
#include "net/a2s_exchange.h"
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

// Fixed tuning of a cycle (the burst, pause and time-out are the pace's: net/pacing.h).
constexpr uint32_t kGraceMs = 1500;        // timer 2 after the worker ended
constexpr uint32_t kMonitorGraceMs = 750;  // the same while the server monitor runs
constexpr size_t kReceiveBufferSize = 4096;
constexpr uint32_t kMaxMeasuredPing = catalogue::kNoPing - 1;

// The receiving side. Datagrams wait between the receiving thread and the user-interface thread in
// a queue bounded both in count and in bytes; what does not fit is dropped and counted. The
// user-interface thread handles at most kRepliesPerDrain per message, so it stays responsive under
// any flood, and the receiving thread re-checks its stop flag at least every kReceiveWaitMs.
constexpr size_t kReplyQueueCount = 8192;
constexpr size_t kReplyQueueBytes = 8u << 20;
constexpr size_t kRepliesPerDrain = 256;
constexpr int kReceiveWaitMs = 10;
constexpr int kDatagramsPerWake = 256;
constexpr size_t kStagedLimit = 1024;  // datagrams read but not yet handed over to the queue
constexpr uint64_t kReadEarlyMs = 1;   // see ReceiveWaiting: how much a read's time may precede its datagram

constexpr const char kRefreshingServersText[] = "Refreshing Servers...";
constexpr const char kRefreshingServerFormat[] = "Refreshing Server %d";
constexpr const char kAnsweredFormat[] = "%d/%d answered";
constexpr const char kNoResponseText[] = "Server didn't respond within the timeout period, please try again!";
constexpr const char kCompressedReplyText[] =
    "A server sent a compressed reply, which this version cannot read: that part of its status is not shown.";
// A Steam cycle's worker, with nothing to send, looks again for further datagrams this often.
constexpr uint32_t kFollowUpWaitMs = 2;

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
// (waiting) -> closing -> idle. At the classic pace a waiting cycle closes on timer 2 (kGraceMs after
// the worker, kMonitorGraceMs while the monitor runs) or when every queried server has answered. At
// any other pace it closes as soon as every request sent has been answered or has waited longer than
// the time-out; timer 2 is then armed for the oldest request's time-out.
//
// Threads. Every public member is called on the user-interface thread, except ReceiveWaiting (the
// receiving thread, or a test standing in for it) and the counters, which any thread may read. A
// cycle with requests to send runs two threads of its own, started by the ThreadStarter once the
// status socket is open and joined before the cycle ends:
// - the worker walks the profile's server list holding recordLock() per record step (never during
//   its pause, a name lookup or a send) and writes refreshPending, awaitingReply, ping, replyCount,
//   sendTime, queryAddress, and for the marker kinds captureLimit and pure (before the record's
//   request is sent);
// - for the Steam kinds a server is asked in several steps (the info request, again with the
//   challenge the server sent, then the players, and the rules while the reply is kept for Server
//   Information). The user-interface thread, handling a reply, queues the datagram it leads to
//   under recordLock(); the worker sends the queue before the next record of its walk, counting
//   every datagram in the pace, and once its walk is done goes on waiting (kFollowUpWaitMs at a
//   time) until no request of the cycle awaits its reply. A datagram is then timed out from when
//   the last one left for its server; the ping is the round trip of the info request that was
//   answered, so sendTime is taken again when the info request goes out with its challenge. A
//   silence of a whole pause counts as the pause: the next datagrams start a new burst;
// - the receiver reads every datagram as it arrives, timing it from the start of the read (from
//   kReadEarlyMs before its end when the read was slow), and never waits for recordLock() while it
//   reads: it hands what it read over when the lock is free (it waits for it only once
//   kStagedLimit datagrams are kept). Under the lock it drops empty datagrams and those from
//   endpoints the cycle never sent to, and queues the rest for the user-interface thread (the
//   queue is guarded by recordLock() too). It touches no record.
// The user-interface thread handles queued datagrams in OnRepliesWaiting: it matches each to its
// record and updates it under recordLock(), and times the reply from its arrival, not from when it
// is handled. While Busy(), code on the user-interface thread that links or unlinks records of the
// cycle's profile, or reads those fields of a record that may still be waiting to be sent, must hold
// recordLock(). Records are removed only when the cycle closes, after both threads have been joined.
// No code holding recordLock() may send a pane a message: panes take it themselves to read ping.
//
// Modal loops. A message box or dialog runs a modal loop in which the main window's messages keep
// coming: replies, timer 2, the worker's end and new refresh requests. No member of the engine opens
// one, and no StatusHost or MessageSink call it makes may open one before returning (the Win32 layer
// queues what must be shown and shows it once the handler has finished): inside one, the cycle that
// asked could close, the next one start and stale records be freed, and the handler, resumed, would
// count a reply into a cycle that is gone. User-interface code that opens one on the user's command
// looks the records it held up again afterwards (by address and port) and stops when they are gone.
class StatusEngine {
  public:
    explicit StatusEngine(const StatusEngineDeps& deps);
    ~StatusEngine();  // stops and joins running threads
    StatusEngine(const StatusEngine&) = delete;
    StatusEngine& operator=(const StatusEngine&) = delete;

    // WM_APP_REFRESH. Returns false when the request is ignored (refresh busy, unknown mode). A
    // request that selects nothing ends at once (true is returned, nothing is sent).
    bool StartCycle(uint32_t mode, catalogue::GameProfile& profile);
    // The pace of the cycles that start from now on (Classic until told otherwise).
    void SetPacing(const Pacing& pacing) { nextPacing_ = pacing; }
    // StatusHost::PostRepliesWaiting reached the user-interface thread: handles up to
    // kRepliesPerDrain queued datagrams (posting again when more remain) and shows the answers.
    // Returns the number of datagrams handled.
    size_t OnRepliesWaiting();
    // The worker announced its end through StatusHost::PostWorkerFinished: join it, then arm timer 2
    // (or close at once when nothing is left to wait for).
    void OnWorkerFinished();
    // Timer 2 expired: close the cycle (at a pace other than Classic, once every request is settled).
    void OnCloseTimer();
    // User-interface code marks a record for the next cycle (Refresh Selected, the server monitor):
    // refreshPending is set under recordLock(). awaitingReply is cleared only while no cycle runs: a
    // record the running cycle awaits keeps it, or that cycle would wait for a reply it can no longer
    // take and never close.
    void MarkForRefresh(catalogue::ServerRecord& record);
    // Command 40116 "Stop Server refresh": the worker stops before its next record; the cycle still
    // closes as it would have (through timer 2 at the classic pace).
    void RequestStop();

    // StatusHost::PostProgress reached the user-interface thread: the position the worker has reached
    // now (it posts again once this was taken).
    uint32_t TakeWalkPosition();

    // Receiving thread: waits up to waitMs for datagrams, then takes in every one waiting (at most
    // kDatagramsPerWake, then it sleeps 1 ms). The receiving thread calls it in a loop until the
    // cycle closes.
    void ReceiveWaiting(int waitMs);

    bool Busy() const { return state_ != State::kIdle; }
    bool WorkerRunning() const { return worker_ != nullptr; }
    uint32_t queriedCount() const { return queriedCount_; }
    uint32_t completedCount() const { return completedCount_; }
    bool keepRawReply() const { return keepRawReply_; }
    uint32_t lastCycleMs() const { return lastCycleMs_; }
    // Datagrams of the current (or last) cycle dropped on arrival: empty ones and those from an
    // endpoint the cycle never sent to; and those dropped because the queue was full.
    uint64_t unsolicitedDropped() const { return unsolicitedDropped_.load(); }
    uint64_t overflowDropped() const { return overflowDropped_.load(); }
    std::mutex& recordLock() { return recordMutex_; }

  private:
    enum class State { kIdle, kSending, kWaiting };

    // A datagram taken in by the receiving thread, with the counter value of its arrival.
    struct Arrival {
        Endpoint from;
        uint64_t counter = 0;
        std::vector<uint8_t> bytes;
    };
    // The requests sent to one endpoint: their records in sending order, and how many datagrams from
    // the endpoint wait in the queue (a request is not given up while its reply may be among them).
    struct SentTo {
        std::vector<catalogue::ServerRecord*> records;
        uint32_t queued = 0;
    };
    // A request of the cycle in sending order, with the counter value of when it left.
    struct Sent {
        catalogue::ServerRecord* record = nullptr;
        uint64_t counter = 0;
    };
    // Steam kinds: a datagram a reply led to, waiting for the worker; and per record, when its last
    // datagram left and whether one waits (it is then not timed out: its time has not begun).
    struct FollowUp {
        catalogue::ServerRecord* record = nullptr;
        Endpoint to;
        A2sRequest request;
        bool startsPing = false;
    };
    struct Steps {
        uint64_t lastSent = 0;
        bool followUpQueued = false;
    };

    bool Classic() const { return pacing_.preset == PacingPreset::kClassic; }
    // The time left for answers once the worker has ended at the classic pace, or without requests.
    uint32_t CloseDelayMs() const;

    // Selection by mode (status_engine.cpp).
    uint32_t SelectServers(uint32_t mode, catalogue::GameProfile& profile);
    void EndEmptyCycle();
    void SetToolbarBusy(bool busy);
    void StopReceiver();

    // Worker (status_engine_worker.cpp).
    void WorkerMain();
    bool QueryRecord(catalogue::ServerRecord& record, const StatusRequests& requests);
    void SweepTimedOut(catalogue::ServerRecord* current);
    void Pause();
    void FailWithoutSending();
    bool SendFollowUp();
    bool AwaitsReplies();
    uint64_t LastSentOf(const catalogue::ServerRecord& r);

    // Receiving (status_engine_receive.cpp).
    static uint64_t EndpointKey(const Endpoint& e) { return (uint64_t(e.addressNetworkOrder) << 16) | e.port; }
    static uint64_t KeyOf(const catalogue::ServerRecord& r);  // of the endpoint its request went to
    void ReceiverMain();
    void HandOver(bool wait);
    catalogue::ServerRecord* MatchSender(const Endpoint& from);
    void HandleDatagram(const Arrival& arrival);
    void HandleA2sDatagram(const Arrival& arrival, catalogue::ServerRecord& record);
    void Completed(bool settled);
    void ShowAnswered();

    // Closing (status_engine_close.cpp).
    void RequestClose();
    void CloseWhenSettled();
    void ArmForOldestRequest();
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
    uint32_t cycleNumber_ = 0;  // tells a drain whether its cycle closed while it ran
    uint64_t cycleStart_ = 0;   // written by the worker before its walk, read after it is joined
    // First record the worker did not reach because of a stop (nullptr when it walked the whole
    // list); written by the worker, read at the close after it is joined.
    catalogue::ServerRecord* stoppedAt_ = nullptr;

    // Opened before the threads start, closed after they are joined.
    std::unique_ptr<DatagramSocket> socket_;
    std::unique_ptr<WorkerThread> worker_;
    std::unique_ptr<WorkerThread> receiver_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> stopReceiver_{false};
    std::atomic<uint32_t> walkPosition_{0};
    std::atomic<bool> progressPosted_{false};
    std::atomic<uint64_t> unsolicitedDropped_{0};
    std::atomic<uint64_t> overflowDropped_{0};

    std::mutex recordMutex_;
    // Guarded by recordMutex_: the requests of the cycle by the endpoint they went to (a datagram is
    // matched without walking the whole list); the records in sending order, whose send times
    // therefore only grow (a sweep stops at the first young one); how many sent requests still await
    // their reply; and the queue of datagrams taken in, with its size in bytes and whether the
    // user-interface thread has been told of it.
    std::unordered_map<uint64_t, SentTo> sentTo_;
    std::deque<Sent> sentOrder_;
    uint32_t awaiting_ = 0;
    std::deque<Arrival> arrivals_;
    size_t arrivalBytes_ = 0;
    bool repliesPosted_ = false;
    bool steam_ = false;          // the cycle's kind speaks the Source query protocol
    bool followUpsOpen_ = false;  // the worker still sends what replies lead to
    std::deque<FollowUp> followUps_;
    std::unordered_map<const catalogue::ServerRecord*, Steps> steps_;

    // The user-interface thread's: each Steam record's exchange (made at its first datagram), the
    // reply being parsed (a reply put together from split parts may be longer than a datagram), and
    // whether the cycle noted a refused reply already.
    std::unordered_map<const catalogue::ServerRecord*, A2sExchange> exchanges_;
    std::vector<uint8_t> a2sReply_;
    bool compressedNoted_ = false;

    // The receiving thread's: the datagram being read, and those read but not yet handed over.
    uint8_t readBuffer_[kReceiveBufferSize] = {};
    std::vector<Arrival> staged_;
    uint8_t receiveBuffer_[kReceiveBufferSize + 1] = {};  // the datagram being parsed
};

}  // namespace net
