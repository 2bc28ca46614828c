// Clock for tests: time moves only when a test advances it or the code under test sleeps.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "net/clock.h"

namespace testing_support {

class FakeClock : public net::Clock {
  public:
    // frequency: counts per second of Counter(); 1000 imitates a machine without a high-resolution
    // counter. tickStart lets a test put the tick count just before its 2^32 wrap.
    explicit FakeClock(uint64_t frequency = 1000000, uint32_t tickStart = 0)
        : frequency_(frequency), tickStart_(tickStart) {}

    uint64_t Counter() override { return nowUs_.load() * frequency_ / 1000000; }
    uint64_t Frequency() override { return frequency_; }
    uint32_t TickCount() override { return tickStart_ + static_cast<uint32_t>(nowUs_.load() / 1000); }
    void SleepMs(uint32_t ms) override {
        {
            std::lock_guard guard(mutex_);
            sleeps_.push_back(ms);
        }
        AdvanceUs(uint64_t(ms) * 1000);
        if (onSleep)
            onSleep(ms);
    }

    void AdvanceMs(uint64_t ms) { AdvanceUs(ms * 1000); }
    void AdvanceUs(uint64_t us) { nowUs_ += us; }
    uint64_t NowUs() const { return nowUs_.load(); }
    uint64_t NowMs() const { return nowUs_.load() / 1000; }
    std::vector<uint32_t> Sleeps() {
        std::lock_guard guard(mutex_);
        return sleeps_;
    }

    // Runs after every sleep, once the time has moved on: lets a test act while the code under
    // test is paused (deliver replies, press Stop).
    std::function<void(uint32_t ms)> onSleep;

  private:
    const uint64_t frequency_;
    const uint32_t tickStart_;
    std::atomic<uint64_t> nowUs_{0};
    std::mutex mutex_;
    std::vector<uint32_t> sleeps_;
};

}  // namespace testing_support
