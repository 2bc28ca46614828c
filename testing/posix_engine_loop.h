// The main window's part of a refresh on POSIX: a loop that waits on the status socket, hears the
// worker's end and runs timer 2, for loopback tests and the refresh benchmark.
#pragma once

#if !defined(_WIN32)

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "net/clock.h"
#include "net/posix/posix_net.h"
#include "net/status_engine.h"

namespace testing_support {

class PosixEngineLoop {
  public:
    PosixEngineLoop(net::PosixDatagramSocketFactory& sockets, net::Clock& clock) : sockets_(sockets), clock_(clock) {}

    // Any thread: the worker's end (the posted message of the Windows program).
    void PostWorkerFinished() { workerFinished_ = true; }
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
            if (sockets_.HasOpenSocket()) {
                if (sockets_.WaitReadable(kWaitMs)) {
                    const uint64_t before = clock_.Counter();
                    engine.OnReadable();
                    readableCalls += 1;
                    readableCounts += clock_.Counter() - before;
                }
            } else {
                clock_.SleepMs(kWaitMs);
            }
            if (workerFinished_.exchange(false))
                engine.OnWorkerFinished();
            if (timerArmed_ && clock_.TickCount() - timerStart_ >= timerPeriod_) {
                timerStart_ = clock_.TickCount();  // periodic, like a window timer
                engine.OnCloseTimer();
            }
        }
        return true;
    }

    uint64_t readableCalls = 0;
    uint64_t readableCounts = 0;  // clock counts spent inside OnReadable

  private:
    static constexpr int kWaitMs = 1;
    net::PosixDatagramSocketFactory& sockets_;
    net::Clock& clock_;
    std::atomic<bool> workerFinished_{false};
    bool timerArmed_ = false;
    uint32_t timerPeriod_ = 0;
    uint32_t timerStart_ = 0;
};

}  // namespace testing_support

#endif
