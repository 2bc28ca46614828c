// Display options from the start-up settings.
#include "views/display_options.h"

namespace views {

DisplayOptions DisplayOptionsFrom(const app::StartupSettings& settings) {
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

}  // namespace views
