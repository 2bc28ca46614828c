// The refresh worker: walks the server list, sends each marked server its request, paces the
// requests and gives up on requests that waited too long.
#include <cstring>

#include "net/status_engine.h"

namespace net {

using catalogue::ServerRecord;

namespace {

constexpr uint16_t kAddressFamilyInet = 2;  // AF_INET on every platform we build for

uint16_t PortToNetworkOrder(uint16_t port) {
    const uint8_t bytes[2] = {uint8_t(port >> 8), uint8_t(port & 0xFF)};
    uint16_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

// The record fields the receiving side reads are only written with recordMutex_ held, and the lock
// is taken per record step so that replies are matched while the walk goes on. Name resolution, the
// sends and the pause run without it: they may take long, and replies must be taken in meanwhile.
// Datagrams that replies led to (Steam kinds) go before the next record: they finish servers already
// begun, and they count in the pace like every other datagram.
void StatusEngine::WorkerMain() {
    const StatusRequests requests = BuildStatusRequests(kind_);
    uint32_t sentSinceCheck = 0;
    uint32_t position = 0;
    cycleStart_ = clock_.Counter();
    uint32_t lastSendTick = clock_.TickCount();
    ServerRecord* walked = nullptr;  // the record of the walk sent last

    std::unique_lock lock(recordMutex_);
    ServerRecord* record = profile_->servers.head;
    followUpsOpen_ = steam_;
    lock.unlock();
    auto paced = [&](uint32_t sent) {
        sentSinceCheck += sent;
        lastSendTick = clock_.TickCount();
        if (sentSinceCheck >= pacing_.requestsPerBurst) {
            Pause();
            // While the walk goes on, the record it sent last is young and not looked at.
            SweepTimedOut(record ? walked : nullptr);
            sentSinceCheck = 0;
        }
    };
    for (;;) {
        if (stopRequested_) {
            stoppedAt_ = record;
            break;
        }
        if (steam_ && SendFollowUp()) {
            paced(1);
            continue;
        }
        if (!record) {
            if (!steam_ || !AwaitsReplies())
                break;
            clock_.SleepMs(kFollowUpWaitMs);
            // A silence as long as the pause is one: what follows starts a new burst.
            if (clock_.TickCount() - lastSendTick >= pacing_.pauseMs)
                sentSinceCheck = 0;
            SweepTimedOut(nullptr);
            continue;
        }
        ++position;
        lock.lock();
        const bool pending = record->refreshPending != 0;
        lock.unlock();
        // One progress message at a time: the window shows the latest position when it gets to it,
        // and a fast walk does not load it (or the system's message queue) with a post per record.
        walkPosition_ = position;
        if (pending && !progressPosted_.exchange(true))
            host_.PostProgress(position);
        if (pending && QueryRecord(*record, requests)) {
            walked = record;
            paced(static_cast<uint32_t>(requests.count));
        }
        lock.lock();
        record = record->next;
        lock.unlock();
    }
    lock.lock();
    // What is still queued is never sent: its server times out, keeping what it answered.
    followUpsOpen_ = false;
    for (const FollowUp& f : followUps_)
        steps_[f.record].followUpQueued = false;
    followUps_.clear();
    lock.unlock();
    stopRequested_ = false;
    host_.PostWorkerFinished();
}

bool StatusEngine::SendFollowUp() {
    FollowUp next;
    {
        std::lock_guard guard(recordMutex_);
        if (followUps_.empty())
            return false;
        next = followUps_.front();
        followUps_.pop_front();
        Steps& steps = steps_[next.record];
        steps.followUpQueued = false;
        steps.lastSent = clock_.Counter();
        if (next.startsPing)
            next.record->sendTime = steps.lastSent;
        sentOrder_.push_back(Sent{next.record, steps.lastSent});
    }
    socket_->SendTo(next.to, next.request.bytes, next.request.size);
    return true;
}

bool StatusEngine::AwaitsReplies() {
    std::lock_guard guard(recordMutex_);
    return awaiting_ > 0 || !followUps_.empty();
}

// Called with recordMutex_ held.
uint64_t StatusEngine::LastSentOf(const ServerRecord& r) {
    if (!steam_)
        return r.sendTime;
    auto it = steps_.find(&r);
    return it == steps_.end() ? r.sendTime : it->second.lastSent;
}

bool StatusEngine::QueryRecord(ServerRecord& record, const StatusRequests& requests) {
    char address[sizeof record.addressText];
    uint32_t port;
    {
        std::lock_guard guard(recordMutex_);
        record.ping = catalogue::kNoPing;
        record.replyCount = 0;
        if (UsesReplyMarkers(kind_))
            record.captureLimit = record.pure = 0;
        std::memcpy(address, record.addressText, sizeof address);
        address[sizeof address - 1] = '\0';
        port = record.port;
    }

    std::optional<uint32_t> ip = ParseDottedAddress(address);
    if (!ip)
        ip = resolver_.Resolve(address);
    // An unresolvable server gets no request: it keeps ping 9999 and counts as unanswered at close.
    if (!ip || requests.count == 0)
        return false;

    const Endpoint to{*ip, static_cast<uint16_t>(port)};
    {
        // The record is complete before its request leaves, so a reply finds it ready; the send
        // itself runs without the lock, which the receiving thread needs for every datagram.
        std::lock_guard guard(recordMutex_);
        record.queryAddress.family = kAddressFamilyInet;
        record.queryAddress.portNetworkOrder = PortToNetworkOrder(to.port);
        record.queryAddress.addressNetworkOrder = to.addressNetworkOrder;
        record.awaitingReply = 1;
        awaiting_ += 1;
        sentTo_[EndpointKey(to)].records.push_back(&record);
        // Taken just before the request leaves: a thread descheduled between the send and the clock
        // would otherwise shorten the ping by that time (it may lengthen it by the time the send
        // takes instead, which is far less).
        record.sendTime = clock_.Counter();
        sentOrder_.push_back(Sent{&record, record.sendTime});
        if (steam_)
            steps_[&record] = Steps{record.sendTime, false};
    }
    for (int i = 0; i < requests.count; ++i)
        socket_->SendTo(to, requests.datagrams[i].bytes, requests.datagrams[i].size);
    return true;
}

void StatusEngine::Pause() {
    const uint32_t start = clock_.TickCount();
    for (;;) {
        const uint32_t elapsed = clock_.TickCount() - start;
        if (elapsed >= pacing_.pauseMs)
            break;
        clock_.SleepMs(pacing_.pauseMs - elapsed);
    }
}

// Gives up every request sent before the current record (all of them when there is none) that has
// waited longer than the time-out. Only records sent in this cycle can be awaiting a reply, and they
// are held in sending order, so the walk ends at the first request still young: the lock is held for
// the few records that change rather than for the whole list. A request whose endpoint has datagrams
// in the queue is passed over: its reply may be among them, taken in before the time-out. So is a
// Steam server whose next datagram waits to be sent, and an entry of a server that was sent another
// datagram since (the later entry stands for it).
void StatusEngine::SweepTimedOut(ServerRecord* current) {
    std::lock_guard guard(recordMutex_);
    const uint64_t now = clock_.Counter();
    const uint64_t frequency = clock_.Frequency();
    auto stale = [this](const Sent& s) { return !s.record->awaitingReply || s.counter != LastSentOf(*s.record); };
    for (size_t i = 0; i < sentOrder_.size() && sentOrder_[i].record != current; ++i) {
        const Sent& s = sentOrder_[i];
        if (stale(s))
            continue;
        if (CounterToMs(s.counter, now, frequency) <= pacing_.timeoutMs)
            break;
        ServerRecord* r = s.record;
        auto it = sentTo_.find(KeyOf(*r));
        if (it != sentTo_.end() && it->second.queued > 0)
            continue;
        if (steam_ && steps_[r].followUpQueued)
            continue;
        // Its late reply is dropped from now on; the close treats it as unanswered, unless it
        // answered the info request of a Steam kind already.
        r->awaitingReply = 0;
        r->refreshPending = 1;
        awaiting_ -= 1;
    }
    // What is settled leaves the front, which is then the oldest request still awaiting its reply.
    while (!sentOrder_.empty() && sentOrder_.front().record != current && stale(sentOrder_.front()))
        sentOrder_.pop_front();
}

void StatusEngine::FailWithoutSending() {
    // Nothing can be sent, so every selected server ends this cycle unanswered.
    for (ServerRecord* r = profile_->servers.head; r; r = r->next) {
        if (r->refreshPending)
            r->ping = catalogue::kNoPing;
    }
    state_ = State::kWaiting;
    host_.ArmCloseTimer(CloseDelayMs());
}

}  // namespace net
