// Filter menu items of the current game.
#include "app/win32/commands/filter_menu.h"

#include "app/win32/frame/shell.h"
#include "resources/resource.h"
#include "views/server_filter.h"

namespace app::win32 {

namespace {

HMENU FindSubMenuHolding(HMENU menu, UINT item) {
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub)
            continue;
        if (GetMenuState(sub, item, MF_BYCOMMAND) != UINT(-1)) {
            // The item may sit deeper; return the innermost pop-up that holds it directly.
            int m = GetMenuItemCount(sub);
            for (int j = 0; j < m; ++j) {
                if (GetMenuItemID(sub, j) == item)
                    return sub;
            }
            if (HMENU deeper = FindSubMenuHolding(sub, item))
                return deeper;
        }
    }
    return nullptr;
}

}  // namespace

HMENU FilterMenu(HMENU mainMenu) {
    return FindSubMenuHolding(mainMenu, IDM_SHOW_PASSWORDED);
}

HMENU GameTypeMenu(HMENU mainMenu) {
    return FindSubMenuHolding(mainMenu, IDM_GAMETYPE_ALL);
}

HMENU ModMenu(HMENU mainMenu) {
    return FindSubMenuHolding(mainMenu, IDM_MOD_ALL);
}

void CheckItem(HMENU mainMenu, UINT item, bool checked) {
    CheckMenuItem(mainMenu, item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void InsertFilterItems(Shell& shell, HMENU mainMenu, const catalogue::GameProfile& profile) {
    HMENU mods = ModMenu(mainMenu);
    HMENU types = GameTypeMenu(mainMenu);
    const catalogue::GameDefinition* game = shell.ctx->catalogue.GameOf(profile.kind);
    const catalogue::ModDefinition* typesMod = views::GameTypeMenuMod(shell.ctx->catalogue, profile.kind);
    shell.insertedModItems = 0;
    shell.insertedGameTypeItems = 0;
    if (game && mods) {
        for (size_t i = 0; i < game->mods.size(); ++i) {
            const std::string& name = game->mods[i].displayName;
            if (name.empty())
                continue;
            InsertMenuA(mods, 2, MF_BYPOSITION | MF_STRING, IDM_MOD_FIRST + i + 1, name.c_str());
        }
        shell.insertedModItems = static_cast<uint32_t>(game->mods.size());
    }
    if (typesMod && types) {
        for (size_t j = 0; j < typesMod->gameTypes.size(); ++j)
            AppendMenuA(types, MF_STRING, IDM_GAMETYPE_FIRST + j + 1, typesMod->gameTypes[j].displayName.c_str());
        shell.insertedGameTypeItems = static_cast<uint32_t>(typesMod->gameTypes.size());
    }
    // The filter chosen for this game, or none: a position means another item in another game.
    auto choice = shell.filterChoices.find(&profile);
    shell.ctx->display.ModFilter = choice != shell.filterChoices.end() ? choice->second.first : 0;
    shell.ctx->display.GameTypeFilter = choice != shell.filterChoices.end() ? choice->second.second : 0;
    CheckItem(mainMenu, ModFilterItem(shell.ctx->display.ModFilter), true);
    CheckItem(mainMenu, GameTypeFilterItem(shell.ctx->display.GameTypeFilter), true);
}

void RemoveFilterItems(Shell& shell, HMENU mainMenu) {
    if (const catalogue::GameProfile* p = CurrentProfile(shell))
        shell.filterChoices[p] = {shell.ctx->display.ModFilter, shell.ctx->display.GameTypeFilter};
    CheckItem(mainMenu, ModFilterItem(shell.ctx->display.ModFilter), false);
    CheckItem(mainMenu, GameTypeFilterItem(shell.ctx->display.GameTypeFilter), false);
    for (uint32_t n = 1; n <= shell.insertedModItems; ++n)
        DeleteMenu(mainMenu, IDM_MOD_FIRST + n, MF_BYCOMMAND);
    for (uint32_t n = 1; n <= shell.insertedGameTypeItems; ++n)
        DeleteMenu(mainMenu, IDM_GAMETYPE_FIRST + n, MF_BYCOMMAND);
    shell.insertedModItems = 0;
    shell.insertedGameTypeItems = 0;
}

}  // namespace app::win32
