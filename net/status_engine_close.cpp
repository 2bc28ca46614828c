// Ending a refresh cycle: the worker's end, timer 2, the end-of-refresh rule, unanswered and stale
// servers, mode 6's result.
#include <algorithm>
#include <cstring>

#include "net/status_engine.h"

namespace net {

using catalogue::ServerRecord;

uint32_t StatusEngine::CloseDelayMs() const {
    uint32_t classic = host_.MonitorActive() ? kMonitorGraceMs : kGraceMs;
    return Classic() ? classic : std::min(classic, pacing_.timeoutMs);
}

void StatusEngine::OnWorkerFinished() {
    if (!worker_)
        return;
    worker_->Join();
    worker_.reset();
    if (state_ != State::kSending)
        return;
    state_ = State::kWaiting;
    if (closeWhenWorkerEnds_) {
        CloseCycle();
        return;
    }
    ShowAnswered();
    if (Classic()) {
        host_.ArmCloseTimer(CloseDelayMs());
        return;
    }
    SweepTimedOut(nullptr);
    CloseWhenSettled();
}

void StatusEngine::OnCloseTimer() {
    // Only a waiting cycle closes on the timer: while the worker runs the records may still be
    // walked, and an idle engine has nothing to close (a late tick of a killed timer).
    if (state_ != State::kWaiting) {
        if (state_ == State::kIdle)
            host_.KillCloseTimer();
        return;
    }
    if (Classic()) {
        CloseCycle();
        return;
    }
    SweepTimedOut(nullptr);
    CloseWhenSettled();
}

void StatusEngine::RequestClose() {
    // Every expected reply is in. While the worker still walks the list the close waits for its end,
    // so that no record is freed under it and the socket it sends on stays open.
    if (worker_) {
        closeWhenWorkerEnds_ = true;
        return;
    }
    CloseCycle();
}

// Past the classic pace there is no grace time: once the worker has ended, the cycle closes when no
// request sent awaits its reply any more, and until then timer 2 waits for the oldest one's time-out.
void StatusEngine::CloseWhenSettled() {
    if (state_ != State::kWaiting)
        return;
    bool settled;
    {
        std::lock_guard guard(recordMutex_);
        settled = awaiting_ == 0;
    }
    if (settled)
        CloseCycle();
    else
        ArmForOldestRequest();
}

void StatusEngine::ArmForOldestRequest() {
    uint32_t delayMs = 1;
    {
        std::lock_guard guard(recordMutex_);
        // After a sweep the first record in sending order is the oldest one still awaiting its reply.
        if (!sentOrder_.empty()) {
            const uint64_t waited = CounterToMs(sentOrder_.front().counter, clock_.Counter(), clock_.Frequency());
            // It is given up once it has waited more than the time-out, in whole milliseconds.
            if (waited <= pacing_.timeoutMs)
                delayMs = static_cast<uint32_t>(pacing_.timeoutMs + 1 - waited);
        }
    }
    host_.ArmCloseTimer(delayMs);
}

void StatusEngine::CloseCycle() {
    StopReceiver();
    staged_.clear();  // read in the last moment: as late as those never read
    socket_.reset();
    host_.KillCloseTimer();
    sentTo_.clear();
    sentOrder_.clear();
    followUps_.clear();
    steps_.clear();
    exchanges_.clear();
    arrivals_.clear();
    arrivalBytes_ = 0;
    repliesPosted_ = false;
    awaiting_ = 0;
    lastCycleMs_ = static_cast<uint32_t>(CounterToMs(cycleStart_, clock_.Counter(), clock_.Frequency()));
    state_ = State::kIdle;

    // The worker has been joined: the records are the user-interface thread's alone from here.
    catalogue::ServerList& list = profile_->servers;
    std::memset(receiveBuffer_, 0, sizeof receiveBuffer_);
    // Records after a stop were never asked: they are unmarked but not counted as silent, or
    // stopping refreshes would age servers out that nobody queried.
    bool reached = true;
    for (ServerRecord* r = list.head; r; r = r->next) {
        if (r == stoppedAt_)
            reached = false;
        if (!r->refreshPending)
            continue;
        r->awaitingReply = 0;
        r->refreshPending = 0;
        if (reached && r->ping == catalogue::kNoPing) {
            host_.ParseReply(*r, receiveBuffer_, 0, keepRawReply_);
            host_.RowChanged(*r);
        }
    }

    // A server that stayed silent through the last six cycles is dropped; favourites stay.
    for (ServerRecord* r = list.head; r;) {
        ServerRecord* next = r->next;
        if (r->livesLeft < 0 && !r->isFavourite)
            host_.RemoveStale(*r);
        else if (r->livesLeft > pacing_.lives)
            r->livesLeft = pacing_.lives;
        r = next;
    }

    host_.CycleFinished();
    refreshBusy_ = false;
    SetToolbarBusy(false);
    host_.HideProgress();
    profile_ = nullptr;

    // Cleared before the dialog or message box: their modal loop may start the next cycle.
    const bool showInformation = keepRawReply_ && !NeedsTwoReplies(kind_);
    keepRawReply_ = false;
    if (showInformation) {
        if (host_.RawReplyHasText())
            host_.ShowServerInformation();
        else
            messages_.Tell(kNoResponseText, base::MessageIcon::kExclamation);
    }
}

}  // namespace net
