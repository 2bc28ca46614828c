// The clock the network code measures pings and time-outs with.
#pragma once

#include <cstdint>

namespace net {

class Clock {
  public:
    virtual ~Clock() = default;
    // High-resolution counter and its frequency (counts per second). Without a high-resolution
    // counter an implementation returns the millisecond tick count and a frequency of 1000.
    virtual uint64_t Counter() = 0;
    virtual uint64_t Frequency() = 0;
    // Milliseconds since some fixed moment, wrapping at 2^32.
    virtual uint32_t TickCount() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};

// Whole milliseconds between two counter values.
inline uint64_t CounterToMs(uint64_t from, uint64_t to, uint64_t frequency) {
    if (to < from || frequency == 0)
        return 0;
    return (to - from) * 1000 / frequency;
}

}  // namespace net
