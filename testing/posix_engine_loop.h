// The main window's part of a refresh on POSIX: a loop that hears the engine's threads (replies
// waiting, the worker's end) and runs timer 2, for loopback tests and the refresh benchmark.
#pragma once

#if !defined(_WIN32)

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "net/clock.h"
#include "net/posix/posix_net.h"
#include "net/status_engine.h"

namespace testing_support {

class PosixEngineLoop {
  public:
    PosixEngineLoop(net::PosixDatagramSocketFactory& sockets, net::Clock& clock) : clock_(clock) {}

    // Any thread: the posted messages of the Windows program.
    void PostWorkerFinished() { Post(workerFinished_); }
    void PostRepliesWaiting() { Post(repliesWaiting_); }
    // The loop's thread: timer 2.
    void ArmTimer(uint32_t periodMs) {
        timerArmed_ = true;
        timerPeriod_ = periodMs;
        timerStart_ = clock_.TickCount();
    }
    void KillTimer() { timerArmed_ = false; }

    // Runs until the engine is idle; false when limitMs passed first.
    bool RunUntilIdle(net::StatusEngine& engine, uint32_t limitMs) {
        const uint32_t start = clock_.TickCount();
        while (engine.Busy()) {
            if (clock_.TickCount() - start > limitMs)
                return false;
            bool replies, workerDone;
            {
                std::unique_lock lock(mutex_);
                wake_.wait_for(lock, std::chrono::milliseconds(kTimerStepMs),
                               [this] { return repliesWaiting_ || workerFinished_; });
                replies = repliesWaiting_;
                workerDone = workerFinished_;
                repliesWaiting_ = workerFinished_ = false;
            }
            if (replies) {
                const uint64_t before = clock_.Counter();
                engine.OnRepliesWaiting();
                readableCalls += 1;
                readableCounts += clock_.Counter() - before;
            }
            if (workerDone)
                engine.OnWorkerFinished();
            if (timerArmed_ && clock_.TickCount() - timerStart_ >= timerPeriod_) {
                timerStart_ = clock_.TickCount();  // periodic, like a window timer
                engine.OnCloseTimer();
            }
        }
        return true;
    }

    uint64_t readableCalls = 0;   // drains of the reply queue
    uint64_t readableCounts = 0;  // clock counts spent in them

  private:
    static constexpr int kTimerStepMs = 1;

    void Post(bool& flag) {
        {
            std::lock_guard lock(mutex_);
            flag = true;
        }
        wake_.notify_one();
    }

    net::Clock& clock_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool workerFinished_ = false;  // guarded by mutex_
    bool repliesWaiting_ = false;  // guarded by mutex_
    bool timerArmed_ = false;
    uint32_t timerPeriod_ = 0;
    uint32_t timerStart_ = 0;
};

}  // namespace testing_support

#endif
