// The pace of refreshes: presets, the ranges a user may enter, and what is stored.
#include <gtest/gtest.h>

#include "base/settings_index.h"
#include "net/pacing.h"
#include "testing/fake_settings.h"

namespace {

using net::Pacing;
using net::PacingPreset;

TEST(Pacing, ValuesOutOfRangeAreNamedAndPresetsIgnoreTypedValues) {
    const Pacing typed{PacingPreset::kCustom, 0, 0, 0, 0};
    EXPECT_EQ(net::PacingOf(PacingPreset::kClassic, typed), (Pacing{PacingPreset::kClassic, 11, 200, 999, 5}));
    EXPECT_EQ(net::PacingOf(PacingPreset::kFast, typed), net::kFastPacing);
    EXPECT_FALSE(net::CheckPacing(net::kClassicPacing) || net::CheckPacing(net::kFastPacing));
    const std::string burst = "Servers per burst must be between 1 and 1000.",
                      pause = "The pause between bursts (ms) must be between 1 and 5000.",
                      timeout = "The server timeout (ms) must be between 100 and 10000.",
                      lives = "The refreshes before a silent server is removed must be between 1 and 100.";
    const std::pair<Pacing, std::string> cases[] = {
        {{PacingPreset::kCustom, 0, 200, 999, 5}, burst},   {{PacingPreset::kCustom, 1001, 200, 999, 5}, burst},
        {{PacingPreset::kCustom, 1000, 0, 999, 5}, pause},  {{PacingPreset::kCustom, 1, 5000, 99, 5}, timeout},
        {{PacingPreset::kCustom, 1, 1, 10001, 5}, timeout}, {{PacingPreset::kCustom, 1, 1, 100, 0}, lives},
        {{PacingPreset::kCustom, 1, 1, 100, -1}, lives},    {{PacingPreset::kCustom, 1, 1, 10000, 100}, ""}};
    for (const auto& [pacing, message] : cases)
        EXPECT_EQ(net::CheckPacing(pacing).value_or(""), message) << pacing.requestsPerBurst;
}

TEST(Pacing, StoredPaceSurvivesAndBrokenSettingsReadAsClassic) {
    testing_support::FakeSettings settings;
    EXPECT_EQ(net::ReadPacing(settings), net::kClassicPacing);
    const Pacing custom{PacingPreset::kCustom, 40, 20, 1500, 3};
    net::WritePacing(settings, custom);
    EXPECT_EQ(net::ReadPacing(settings), custom);
    net::WritePacing(settings, net::kFastPacing);
    EXPECT_EQ(net::ReadPacing(settings), net::kFastPacing);
    // A hand-edited value out of range, or an unknown preset, gives the classic pace.
    net::WritePacing(settings, custom);
    base::WriteDwordValue(settings, base::reg::kPacingTimeout, 5);
    EXPECT_EQ(net::ReadPacing(settings), net::kClassicPacing);
    base::WriteDwordValue(settings, base::reg::kPacingPreset, 7);
    EXPECT_EQ(net::ReadPacing(settings), net::kClassicPacing);
}

}  // namespace
