// The monotonic clock on POSIX.
#include <time.h>

#include <cerrno>

#include "net/posix/posix_net.h"

namespace net {

namespace {

uint64_t MonotonicNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000000000u + uint64_t(ts.tv_nsec);
}

}  // namespace

uint64_t PosixClock::Counter() {
    const uint64_t ns = MonotonicNs();
    return resolution_ == Resolution::kNanoseconds ? ns : ns / 1000;
}

uint64_t PosixClock::Frequency() {
    return resolution_ == Resolution::kNanoseconds ? 1000000000u : 1000000u;
}

uint32_t PosixClock::TickCount() {
    return static_cast<uint32_t>(MonotonicNs() / 1000000u);
}

void PosixClock::SleepMs(uint32_t ms) {
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

}  // namespace net
