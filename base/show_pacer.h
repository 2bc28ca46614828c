// Paces something shown on screen that may change far more often than it is worth drawing.
#pragma once

#include <cstdint>

namespace base {

// A change is shown at once when the last showing is at least a period old, when it is the final
// one, or when nothing was shown yet; otherwise it waits for a timer that ends the period, asked for
// once however many changes come meanwhile. Times are milliseconds of a wrapping tick count.
class ShowPacer {
  public:
    struct Decision {
        bool showNow = false;
        uint32_t timerMs = 0;  // arm the timer for this long (0: no timer to arm)
    };

    explicit ShowPacer(uint32_t periodMs) : periodMs_(periodMs) {}

    Decision Changed(uint32_t nowMs, bool final) {
        const uint32_t since = nowMs - shownAtMs_;
        if (final || !shown_ || since >= periodMs_)
            return Decision{true, 0};
        if (timerArmed_)
            return Decision{};
        timerArmed_ = true;
        return Decision{false, periodMs_ - since};
    }
    // The changes were shown (at once or on the timer, which is then over).
    void Shown(uint32_t nowMs) {
        shownAtMs_ = nowMs;
        shown_ = true;
        timerArmed_ = false;
    }
    // Nothing shown any more (and no timer): the next change shows at once.
    void Reset() { *this = ShowPacer(periodMs_); }

  private:
    uint32_t periodMs_;
    uint32_t shownAtMs_ = 0;
    bool shown_ = false;
    bool timerArmed_ = false;
};

}  // namespace base
