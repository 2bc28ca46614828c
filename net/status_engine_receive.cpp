// Receiving status replies: the receiving thread's intake, and on the user-interface thread the
// match of each datagram to its record, the ping from its arrival, and completion.
#include <cstring>

#include "net/status_engine.h"

#include "catalogue/catalogue.h"

namespace net {

using catalogue::ServerRecord;

namespace {

uint16_t PortFromNetworkOrder(uint16_t value) {
    uint8_t bytes[2];
    std::memcpy(bytes, &value, sizeof bytes);
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

}  // namespace

uint64_t StatusEngine::KeyOf(const ServerRecord& r) {
    return EndpointKey(
        Endpoint{r.queryAddress.addressNetworkOrder, PortFromNetworkOrder(r.queryAddress.portNetworkOrder)});
}

void StatusEngine::ReceiverMain() {
    while (!stopReceiver_)
        ReceiveWaiting(kReceiveWaitMs);
}

// Every datagram is read, and its arrival time taken, without waiting for anything else:
// - a datagram the read returns was normally waiting when the read began, while the read itself
//   may take long (under Wine it reports to the Wine server after it has taken the datagram); but
//   the thread may also have been set aside before it looked, and the datagram have come
//   meanwhile. Its time is the later of the read's start and kReadEarlyMs before the read's end: a
//   ping is never shorter than the reply took by more than that, and a slow read adds no more than
//   its length less that;
// - the datagrams read are handed over under recordLock(), but only when the lock is free at once:
//   a thread holding it may have been set aside by the system for milliseconds, and the reads (with
//   their times) must go on meanwhile. What could not be handed over is kept for the next turn, a
//   millisecond later at most; once kStagedLimit datagrams are kept the thread waits for the lock.
// After a full batch the thread rests a moment: a flood must not keep it (it may run at a raised
// priority) from ever leaving the processor to the window.
void StatusEngine::ReceiveWaiting(int waitMs) {
    if (!socket_)
        return;
    int read = 0;
    if (socket_->WaitReadable(staged_.empty() ? waitMs : 1)) {
        const uint64_t early = clock_.Frequency() * kReadEarlyMs / 1000;
        for (; read < kDatagramsPerWake; ++read) {
            Endpoint from;
            const uint64_t readStart = clock_.Counter();
            const int size = socket_->ReceiveFrom(readBuffer_, kReceiveBufferSize, &from);
            if (size < 0)
                break;
            const uint64_t readEnd = clock_.Counter();
            const uint64_t arrival = readEnd - readStart > early ? readEnd - early : readStart;
            staged_.push_back(Arrival{from, arrival, std::vector<uint8_t>(readBuffer_, readBuffer_ + size)});
        }
    }
    HandOver(staged_.size() >= kStagedLimit);
    if (read == kDatagramsPerWake)
        clock_.SleepMs(1);
}

// Called on the receiving thread. A datagram that cannot be a reply of this cycle is dropped and
// counted; so is one that does not fit in the queue. The user-interface thread is told only when
// the queue stops being empty: it drains the queue in batches and posts again itself when it leaves
// datagrams behind.
void StatusEngine::HandOver(bool wait) {
    if (staged_.empty())
        return;
    std::unique_lock guard(recordMutex_, std::defer_lock);
    if (wait)
        guard.lock();
    else if (!guard.try_lock())
        return;
    for (Arrival& a : staged_) {
        const size_t size = a.bytes.size();
        auto it = size == 0 ? sentTo_.end() : sentTo_.find(EndpointKey(a.from));
        if (it == sentTo_.end()) {
            unsolicitedDropped_ += 1;
        } else if (arrivals_.size() >= kReplyQueueCount || arrivalBytes_ + size > kReplyQueueBytes) {
            overflowDropped_ += 1;
        } else {
            arrivalBytes_ += size;
            it->second.queued += 1;
            arrivals_.push_back(std::move(a));
        }
    }
    staged_.clear();
    const bool post = !repliesPosted_ && !arrivals_.empty();
    if (post)
        repliesPosted_ = true;
    guard.unlock();
    if (post)
        host_.PostRepliesWaiting();
}

size_t StatusEngine::OnRepliesWaiting() {
    if (state_ == State::kIdle)
        return 0;
    std::vector<Arrival> batch;
    bool more;
    {
        std::lock_guard guard(recordMutex_);
        const size_t n = arrivals_.size() < kRepliesPerDrain ? arrivals_.size() : kRepliesPerDrain;
        batch.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            arrivalBytes_ -= arrivals_.front().bytes.size();
            batch.push_back(std::move(arrivals_.front()));
            arrivals_.pop_front();
        }
        more = !arrivals_.empty();
        repliesPosted_ = more;
    }
    const uint32_t cycle = cycleNumber_;
    size_t handled = 0;
    for (const Arrival& a : batch) {
        // A reply in the batch may have closed the cycle (and a dialog of the close may even have
        // started the next one): the rest belongs to no cycle any more.
        if (state_ == State::kIdle || cycleNumber_ != cycle)
            return handled;
        HandleDatagram(a);
        ++handled;
    }
    if (state_ == State::kIdle || cycleNumber_ != cycle)
        return handled;
    if (handled > 0)
        ShowAnswered();
    if (more)
        host_.PostRepliesWaiting();
    return handled;
}

void StatusEngine::ShowAnswered() {
    host_.ShowAnswered(completedCount_, queriedCount_, state_ == State::kWaiting);
}

// The first record, in list order, whose request went to the sender and which still awaits a reply.
// Only records sent in this cycle can await one, and the worker sends in list order, so the records
// filed under the sender's endpoint are searched instead of the whole list. Called with
// recordMutex_ held.
ServerRecord* StatusEngine::MatchSender(const Endpoint& from) {
    auto it = sentTo_.find(EndpointKey(from));
    if (it == sentTo_.end())
        return nullptr;
    for (ServerRecord* r : it->second.records) {
        if (r->awaitingReply && r->queryAddress.addressNetworkOrder == from.addressNetworkOrder &&
            PortFromNetworkOrder(r->queryAddress.portNetworkOrder) == from.port)
            return r;
    }
    return nullptr;
}

void StatusEngine::HandleDatagram(const Arrival& arrival) {
    const size_t size = arrival.bytes.size();
    ServerRecord* record;
    {
        std::lock_guard guard(recordMutex_);
        record = MatchSender(arrival.from);
        if (!record) {
            // Its record answered already, or was given up: dropped.
            sentTo_[EndpointKey(arrival.from)].queued -= 1;
            return;
        }
        if (!steam_) {
            const uint64_t elapsedMs = CounterToMs(record->sendTime, arrival.counter, clock_.Frequency());
            // 9999 means "no reply": a reply, however late, never reads as none.
            record->ping = static_cast<uint32_t>(elapsedMs < kMaxMeasuredPing ? elapsedMs : kMaxMeasuredPing);
            record->livesLeft = pacing_.lives;
            record->replyCount += 1;
        }
    }
    if (steam_) {
        HandleA2sDatagram(arrival, *record);
        return;
    }
    // The parse runs without the lock: the worker no longer writes the fields it fills (the reply
    // markers are cleared before the record's request is sent, and it is matched only after that).
    std::memset(receiveBuffer_, 0, sizeof receiveBuffer_);
    std::memcpy(receiveBuffer_, arrival.bytes.data(), size);
    host_.ParseReply(*record, receiveBuffer_, size, keepRawReply_);
    host_.RowChanged(*record);

    // The Half-Life family answers the two requests separately; the parser notes each arrival.
    const bool complete = !NeedsTwoReplies(kind_) || (record->pure == 1 && record->captureLimit == 1);
    bool settled = false;
    {
        std::lock_guard guard(recordMutex_);
        sentTo_[EndpointKey(arrival.from)].queued -= 1;
        if (complete && record->awaitingReply) {
            record->awaitingReply = 0;
            awaiting_ -= 1;
            settled = awaiting_ == 0;
        }
    }
    if (complete)
        Completed(settled);
}

// A Steam server's datagram goes through its exchange: a challenge or a reply may lead to a further
// datagram (queued for the worker, which sends it under the pace), a reply is parsed, and the record
// completes with the last reply asked for. What the exchange does not take (a stranger's bytes, a
// reply to nothing asked, a challenge too many) changes nothing: the server still times out.
void StatusEngine::HandleA2sDatagram(const Arrival& arrival, ServerRecord& record) {
    auto [it, made] = exchanges_.try_emplace(
        &record, kind_ == catalogue::kHalfLifeSteam ? A2sSplitForm::kGoldSrc : A2sSplitForm::kSource,
        A2sWants{true, keepRawReply_});
    A2sExchange& exchange = it->second;
    if (made)
        exchange.Start();  // its first datagram, the info request, was the worker's
    const A2sStep step = exchange.Take(arrival.bytes.data(), arrival.bytes.size());
    if (exchange.CompressedRefused() && !compressedNoted_) {
        compressedNoted_ = true;
        messages_.Tell(kCompressedReplyText, base::MessageIcon::kExclamation);
    }
    bool settled = false;
    {
        std::lock_guard guard(recordMutex_);
        sentTo_[EndpointKey(arrival.from)].queued -= 1;
        record.replyCount += 1;
        if (step.reply)
            record.livesLeft = pacing_.lives;
        if (step.answersInfo) {
            const uint64_t elapsedMs = CounterToMs(record.sendTime, arrival.counter, clock_.Frequency());
            record.ping = static_cast<uint32_t>(elapsedMs < kMaxMeasuredPing ? elapsedMs : kMaxMeasuredPing);
        }
        if (step.send && record.awaitingReply && followUpsOpen_) {
            followUps_.push_back(FollowUp{&record, arrival.from, *step.send, step.sendStartsPing});
            steps_[&record].followUpQueued = true;
        }
        if (step.complete && record.awaitingReply) {
            record.awaitingReply = 0;
            awaiting_ -= 1;
            settled = awaiting_ == 0;
        }
    }
    if (step.reply) {
        // The parse runs without the lock, as above; the reply is followed by a zero byte.
        a2sReply_.assign(step.reply, step.reply + step.replySize);
        a2sReply_.push_back(0);
        host_.ParseReply(record, a2sReply_.data(), step.replySize, keepRawReply_);
        host_.RowChanged(record);
    }
    if (step.complete)
        Completed(settled);
}

void StatusEngine::Completed(bool settled) {
    completedCount_ += 1;
    if (queriedCount_ == 1 || completedCount_ >= queriedCount_)
        RequestClose();
    else if (settled && !Classic())
        CloseWhenSettled();
}

}  // namespace net
