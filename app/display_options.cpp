// Display option toggles and filter choices with their registry values and menu marks.
#include "app/display_options.h"

#include "resources/resource.h"

namespace app {

namespace {

enum class Kind { kHideFlag, kShowFlag, kOnOff };

struct OptionCommand {
    uint32_t command;
    uint32_t DisplayOptions::*field;
    const base::RegistryValue* value;
    Kind kind;
};

const OptionCommand kOptionCommands[] = {
    {IDM_SHOW_PASSWORDED, &DisplayOptions::HidePassworded, &base::reg::kHidePassworded, Kind::kHideFlag},
    {IDM_SHOW_FULL, &DisplayOptions::HideFull, &base::reg::kHideFull, Kind::kHideFlag},
    {IDM_SHOW_EMPTY, &DisplayOptions::HideEmpty, &base::reg::kHideEmpty, Kind::kHideFlag},
    {IDM_SHOW_BOTS, &DisplayOptions::ShowBots, &base::reg::kShowBots, Kind::kShowFlag},
    {IDM_SHOW_NO_REPLY, &DisplayOptions::ShowNoReply, &base::reg::kShowNoReply, Kind::kShowFlag},
    {IDM_VISITED_ON_TOP, &DisplayOptions::VisitedOnTop, &base::reg::kVisitedOnTop, Kind::kOnOff},
    {IDM_FAVOURITES_ON_TOP, &DisplayOptions::FavouritesOnTop, &base::reg::kFavouritesOnTop, Kind::kOnOff},
};

void WriteOption(base::SettingsStore& store, const base::RegistryValue& value, uint32_t data) {
    if (value.type == base::ValueType::kDecimalText)
        base::WriteDecimalText(store, value, static_cast<int32_t>(data));
    else
        base::WriteDwordValue(store, value, data);
}

std::optional<std::pair<uint32_t, uint32_t>> ChooseFilter(uint32_t n,
                                                          uint32_t& current,
                                                          uint32_t (*item)(uint32_t),
                                                          const base::RegistryValue& value,
                                                          base::SettingsStore& store) {
    if (n != 0 && n == current)
        return std::nullopt;
    std::pair<uint32_t, uint32_t> marks{item(current), item(n)};
    current = n;
    base::WriteDwordValue(store, value, n);
    return marks;
}

}  // namespace

std::optional<MenuMark> ToggleDisplayOption(uint32_t command, DisplayOptions& options, base::SettingsStore& store) {
    for (const OptionCommand& c : kOptionCommands) {
        if (c.command != command)
            continue;
        uint32_t& flag = options.*c.field;
        switch (c.kind) {
            case Kind::kHideFlag:
                flag = flag ? 0 : 1;
                break;
            case Kind::kShowFlag:
                flag = flag ? 0 : 0xFFFFFFFFu;
                break;
            case Kind::kOnOff:
                flag = flag ? 0 : 1;
                break;
        }
        WriteOption(store, *c.value, flag);
        bool checked = c.kind == Kind::kHideFlag ? flag == 0 : flag != 0;
        return MenuMark{command, checked};
    }
    return std::nullopt;
}

uint32_t ModFilterItem(uint32_t modFilter) {
    return modFilter ? IDM_MOD_FIRST + modFilter : IDM_MOD_ALL;
}

uint32_t GameTypeFilterItem(uint32_t gameTypeFilter) {
    return gameTypeFilter ? IDM_GAMETYPE_FIRST + gameTypeFilter : IDM_GAMETYPE_ALL;
}

std::optional<std::pair<uint32_t, uint32_t>> ChooseModFilter(uint32_t n,
                                                             DisplayOptions& options,
                                                             base::SettingsStore& store) {
    return ChooseFilter(n, options.ModFilter, ModFilterItem, base::reg::kModFilter, store);
}

std::optional<std::pair<uint32_t, uint32_t>> ChooseGameTypeFilter(uint32_t n,
                                                                  DisplayOptions& options,
                                                                  base::SettingsStore& store) {
    return ChooseFilter(n, options.GameTypeFilter, GameTypeFilterItem, base::reg::kGameTypeFilter, store);
}

std::vector<MenuMark> StartupMenuMarks(const DisplayOptions& o, bool useTray) {
    return {
        {IDM_VISITED_ON_TOP, o.VisitedOnTop != 0}, {IDM_FAVOURITES_ON_TOP, o.FavouritesOnTop != 0},
        {IDM_MINIMISE_TO_TRAY, useTray},           {IDM_SHOW_PASSWORDED, o.HidePassworded == 0},
        {IDM_SHOW_EMPTY, o.HideEmpty == 0},        {IDM_SHOW_FULL, o.HideFull == 0},
        {IDM_SHOW_BOTS, o.ShowBots != 0},          {IDM_SHOW_NO_REPLY, o.ShowNoReply != 0},
    };
}

DisplayOptions DisplayOptionsFrom(const StartupSettings& settings) {
    DisplayOptions o;
    o.HideEmpty = settings.hideEmpty;
    o.HidePassworded = settings.hidePassworded;
    o.HideFull = settings.hideFull;
    o.ShowNoReply = settings.showNoReply;
    o.ShowBots = settings.showBots;
    o.VisitedOnTop = settings.visitedOnTop;
    o.FavouritesOnTop = settings.favouritesOnTop;
    return o;
}

}  // namespace app
