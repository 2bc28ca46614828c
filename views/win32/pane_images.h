// The image lists the panes share: one icon per game, the server list's, the list panes'.
#pragma once

#include <windows.h>

#include "views/win32/icon_list.h"

namespace views::win32 {

struct PaneImages {
    IconList games;    // the tabs and the server list's strip, by game icon index
    IconList servers;  // server list rows and headers (the kImage... positions)
    IconList lists;    // player and buddy panes, Find Player (the kPaneImage... positions)
};

// Small icons from the program's resources.
PaneImages LoadPaneImages(HINSTANCE instance);

}  // namespace views::win32
