// How fast a refresh asks its servers: requests per burst, the pause after a burst, how long a
// server has to answer, and how many refreshes a silent server survives. "Classic" is the pace the
// browser always had; "Fast" suits today's connections and lists of thousands of servers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/settings_store.h"

namespace net {

enum class PacingPreset : uint32_t { kClassic = 0, kFast = 1, kCustom = 2 };

struct Pacing {
    PacingPreset preset = PacingPreset::kClassic;
    uint32_t requestsPerBurst = 11;
    uint32_t pauseMs = 200;
    uint32_t timeoutMs = 999;
    // Refreshes without an answer before a server (other than a favourite) is removed.
    int32_t lives = 5;

    bool operator==(const Pacing&) const = default;
};

inline constexpr Pacing kClassicPacing{};
// Fast asks 40 servers every 10 ms: about 1,500 a second where each request and answer goes through
// Wine, which keeps every answer of a 30,000-server list (100 a burst overran the machine and lost a
// quarter of them).
inline constexpr Pacing kFastPacing{PacingPreset::kFast, 40, 10, 1000, 5};

// The values a user may enter.
struct PacingRange {
    uint32_t low;
    uint32_t high;
};
inline constexpr PacingRange kRequestsPerBurstRange{1, 1000};
inline constexpr PacingRange kPauseRange{1, 5000};
inline constexpr PacingRange kTimeoutRange{100, 10000};
inline constexpr PacingRange kLivesRange{1, 100};

// The preset's values; kCustom keeps the given ones.
Pacing PacingOf(PacingPreset preset, const Pacing& custom);
// The message for the first value out of its range, or nothing when all are fine.
std::optional<std::string> CheckPacing(const Pacing& pacing);

// Stored under the program's key; a missing, unreadable or out-of-range setting reads as Classic.
Pacing ReadPacing(base::SettingsStore& settings);
void WritePacing(base::SettingsStore& settings, const Pacing& pacing);

}  // namespace net
