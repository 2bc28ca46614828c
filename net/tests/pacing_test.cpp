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
    EXPECT_FALSE(net::CheckPacing(net::kClassicPacing));
    EXPECT_FALSE(net::CheckPacing(net::kFastPacing));
    struct Case {
        Pacing pacing;
        const char* message;
    } cases[] = {
        {{PacingPreset::kCustom, 0, 200, 999, 5}, "Servers per burst must be between 1 and 1000."},
        {{PacingPreset::kCustom, 1001, 200, 999, 5}, "Servers per burst must be between 1 and 1000."},
        {{PacingPreset::kCustom, 1000, 0, 999, 5}, "The pause between bursts (ms) must be between 1 and 5000."},
        {{PacingPreset::kCustom, 1, 5000, 99, 5}, "The server timeout (ms) must be between 100 and 10000."},
        {{PacingPreset::kCustom, 1, 1, 10001, 5}, "The server timeout (ms) must be between 100 and 10000."},
        {{PacingPreset::kCustom, 1, 1, 100, 0},
         "The refreshes before a silent server is removed must be between 1 and 100."},
        {{PacingPreset::kCustom, 1, 1, 100, -1},
         "The refreshes before a silent server is removed must be between 1 and 100."},
        {{PacingPreset::kCustom, 1, 1, 10000, 100}, nullptr},
    };
    for (const Case& c : cases) {
        auto problem = net::CheckPacing(c.pacing);
        EXPECT_EQ(problem.value_or(""), c.message ? c.message : "") << c.pacing.requestsPerBurst;
    }
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
