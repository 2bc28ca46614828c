// Key lookup in info strings: whole keys first, the first-substring rule only when none is whole.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/info_keys.h"

namespace {

TEST(LookupKey, WholeKeysWinAndTheSubstringRuleStaysForTheRest) {
    struct Case {
        std::string reply;
        const char* key;
        std::optional<std::string> expected;
    } cases[] = {
        // A longer key no longer shadows the one asked for.
        {"statusResponse\n\\com_gamename\\Quake3Arena\\gamename\\baseoa\\g_gametype\\4\n0 0 \"x\"\n", "gamename",
         "baseoa"},
        // A value that looks like the key is not the key.
        {"\\a\\gamename\\gamename\\x", "gamename", "x"},
        // Upper-case keys fall back to their lower-case spelling, whole first.
        {"\\g_needpass\\1\\mapname\\dm1", "MAPNAME", "dm1"},
        // A trailing backslash only marks the name.
        {"\\player_1\\Xan\\frags_1\\4", "player_1\\", "Xan"},
        {"\\player_1\\Xan\\frags_1\\4", "frags_1", "4"},
        // No whole key: the first occurrence of the text, as before.
        {"\\sv_hostname\\Lab", "hostname", "Lab"},
        {"\\Gamename\\Q3", "gamename", std::nullopt},
        // Keys end at the newline: player lines hold no keys, but the old rule still looks there.
        {"statusResponse\n\\a\\1\n0 0 \"\\b\\2\"\n", "b", "2\""},
        {"\\a\\1\\b", "b", ""},
        {"", "b", std::nullopt},
        {"\\long\\" + std::string(300, 'v'), "long", std::string(255, 'v')},
    };
    for (const Case& c : cases) {
        auto value = base::lookupKey(c.reply, c.key);
        EXPECT_EQ(value ? std::optional<std::string>(std::string(*value)) : std::nullopt, c.expected)
            << c.reply << " / " << c.key;
    }
}

}  // namespace
