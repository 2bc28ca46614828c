// Presets, range checks and the stored pace of refreshes.
#include "net/pacing.h"

#include <cstdio>

#include "base/settings_index.h"

namespace net {

namespace {

std::optional<std::string> OutOfRange(const char* what, uint32_t value, PacingRange range) {
    if (value >= range.low && value <= range.high)
        return std::nullopt;
    char text[160];
    std::snprintf(text, sizeof text, "%s must be between %u and %u.", what, range.low, range.high);
    return std::string(text);
}

}  // namespace

Pacing PacingOf(PacingPreset preset, const Pacing& custom) {
    switch (preset) {
        case PacingPreset::kClassic:
            return kClassicPacing;
        case PacingPreset::kFast:
            return kFastPacing;
        case PacingPreset::kCustom:
            break;
    }
    Pacing pacing = custom;
    pacing.preset = PacingPreset::kCustom;
    return pacing;
}

std::optional<std::string> CheckPacing(const Pacing& p) {
    if (auto e = OutOfRange("Servers per burst", p.requestsPerBurst, kRequestsPerBurstRange))
        return e;
    if (auto e = OutOfRange("The pause between bursts (ms)", p.pauseMs, kPauseRange))
        return e;
    if (auto e = OutOfRange("The server timeout (ms)", p.timeoutMs, kTimeoutRange))
        return e;
    if (p.lives < 0)
        return OutOfRange("The refreshes before a silent server is removed", 0, kLivesRange);
    return OutOfRange("The refreshes before a silent server is removed", static_cast<uint32_t>(p.lives), kLivesRange);
}

Pacing ReadPacing(base::SettingsStore& settings) {
    using namespace base::reg;
    uint32_t preset = base::ReadDwordOr(settings, kPacingPreset);
    if (preset == static_cast<uint32_t>(PacingPreset::kFast))
        return kFastPacing;
    if (preset != static_cast<uint32_t>(PacingPreset::kCustom))
        return kClassicPacing;
    Pacing custom{PacingPreset::kCustom, base::ReadDwordOr(settings, kPacingBurst),
                  base::ReadDwordOr(settings, kPacingPause), base::ReadDwordOr(settings, kPacingTimeout),
                  static_cast<int32_t>(base::ReadDwordOr(settings, kPacingLives))};
    return CheckPacing(custom) ? kClassicPacing : custom;
}

void WritePacing(base::SettingsStore& settings, const Pacing& pacing) {
    using namespace base::reg;
    base::WriteDwordValue(settings, kPacingPreset, static_cast<uint32_t>(pacing.preset));
    base::WriteDwordValue(settings, kPacingBurst, pacing.requestsPerBurst);
    base::WriteDwordValue(settings, kPacingPause, pacing.pauseMs);
    base::WriteDwordValue(settings, kPacingTimeout, pacing.timeoutMs);
    base::WriteDwordValue(settings, kPacingLives, static_cast<uint32_t>(pacing.lives));
}

}  // namespace net
