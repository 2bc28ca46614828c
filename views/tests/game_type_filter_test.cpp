// The game-type filter: an item of the Filter menu finds the servers whose game type it names.
#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "views/server_filter.h"

namespace {

TEST(GameTypeFilter, AnItemMatchesItsNameInEveryModNotItsPosition) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    const uint32_t kind = catalogue::kQuake3;
    const catalogue::ModDefinition* listed = views::GameTypeMenuMod(cat, kind);
    ASSERT_NE(listed, nullptr);
    // The menu's "CTF" item, and a mod that has CTF at another position.
    uint32_t item = 0;
    for (size_t i = 0; i < listed->gameTypes.size(); ++i) {
        if (listed->gameTypes[i].displayName == "CTF")
            item = static_cast<uint32_t>(i + 1);
    }
    ASSERT_GT(item, 0u);
    const catalogue::GameDefinition* game = cat.GameOf(kind);
    uint32_t otherMod = 0;
    std::string atItemThere;
    for (size_t m = 0; m < game->mods.size() && !otherMod; ++m) {
        const auto& types = game->mods[m].gameTypes;
        bool hasCtf = false;
        for (const auto& t : types)
            hasCtf |= t.displayName == "CTF";
        if (hasCtf && types.size() >= item && types[item - 1].displayName != "CTF") {
            otherMod = static_cast<uint32_t>(m + 1);
            atItemThere = types[item - 1].displayName;
        }
    }
    ASSERT_GT(otherMod, 0u);

    views::DisplayOptions options;
    options.ShowNoReply = 1;
    options.GameTypeFilter = item;
    catalogue::ServerRecord ctf;
    ctf.modIndex = otherMod;
    base::CopyText(ctf.gameTypeDisplay, "ctf");
    catalogue::ServerRecord other;
    other.modIndex = otherMod;
    base::CopyText(other.gameTypeDisplay, atItemThere.c_str());
    EXPECT_TRUE(views::PassesServerFilter(ctf, options, cat, kind));
    EXPECT_FALSE(views::PassesServerFilter(other, options, cat, kind));

    // An item beyond the listed ones, or a server without a game type, shows nothing.
    options.GameTypeFilter = static_cast<uint32_t>(listed->gameTypes.size() + 1);
    EXPECT_FALSE(views::PassesServerFilter(ctf, options, cat, kind));
    options.GameTypeFilter = item;
    ctf.gameTypeDisplay[0] = '\0';
    EXPECT_FALSE(views::PassesServerFilter(ctf, options, cat, kind));
}

}  // namespace
