// Receiving status replies: matching each datagram to its record, the ping, and completion.
#include <cstring>

#include "net/status_engine.h"

namespace net {

using catalogue::ServerRecord;

namespace {

uint16_t PortFromNetworkOrder(uint16_t value) {
    uint8_t bytes[2];
    std::memcpy(bytes, &value, sizeof bytes);
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

}  // namespace

void StatusEngine::OnReadable() {
    if (state_ == State::kIdle || !socket_)
        return;
    // A bounded batch keeps the user interface responsive under a burst; the platform notifies again
    // while data remains.
    for (int i = 0; i < kDatagramsPerNotification && socket_; ++i) {
        if (!socket_->Pending())
            return;
        std::memset(receiveBuffer_, 0, sizeof receiveBuffer_);
        Endpoint from;
        const int size = socket_->ReceiveFrom(receiveBuffer_, kReceiveBufferSize, &from);
        if (size < 0)
            return;
        if (size == 0)
            continue;  // an empty datagram is no reply; it must not trigger the no-reply rule
        if (!HandleDatagram(static_cast<size_t>(size), from))
            return;
    }
}

// The first record, in list order, whose request went to the sender and which still awaits a reply.
// Only records sent in this cycle can await one, and the worker sends in list order, so the records
// filed under the sender's endpoint are searched instead of the whole list. Called with
// recordMutex_ held.
ServerRecord* StatusEngine::MatchSender(const Endpoint& from) {
    auto it = sentTo_.find(EndpointKey(from));
    if (it == sentTo_.end())
        return nullptr;
    for (ServerRecord* r : it->second) {
        if (r->awaitingReply && r->queryAddress.addressNetworkOrder == from.addressNetworkOrder &&
            PortFromNetworkOrder(r->queryAddress.portNetworkOrder) == from.port)
            return r;
    }
    return nullptr;
}

// Returns false when the handling of this notification ends (unknown sender, cycle closed).
bool StatusEngine::HandleDatagram(size_t size, const Endpoint& from) {
    ServerRecord* record;
    {
        std::lock_guard guard(recordMutex_);
        record = MatchSender(from);
        if (!record)
            return false;
        const uint64_t elapsedMs = CounterToMs(record->sendTime, clock_.Counter(), clock_.Frequency());
        // 9999 means "no reply": a reply, however late, never reads as none.
        record->ping = static_cast<uint32_t>(elapsedMs < kMaxMeasuredPing ? elapsedMs : kMaxMeasuredPing);
        record->livesLeft = pacing_.lives;
        record->replyCount += 1;
    }
    // The parse runs without the lock: the worker no longer writes the fields it fills (the reply
    // markers are cleared before the record's request is sent, and it is matched only after that).
    host_.ParseReply(*record, receiveBuffer_, size, keepRawReply_);
    host_.RowChanged(*record);

    // The Half-Life family answers the two requests separately; the parser notes each arrival.
    const bool complete = !NeedsTwoReplies(kind_) || (record->pure == 1 && record->captureLimit == 1);
    if (!complete)
        return true;
    {
        std::lock_guard guard(recordMutex_);
        record->awaitingReply = 0;
    }
    completedCount_ += 1;
    if (queriedCount_ == 1 || completedCount_ >= queriedCount_) {
        RequestClose();
        return false;
    }
    return true;
}

}  // namespace net
