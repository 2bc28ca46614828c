// The image lists the panes share: one icon per game, the server list's, the list panes'.
#pragma once

#include <windows.h>

#include "base/win32/handles.h"

namespace views::win32 {

struct PaneImages {
    base::win32::ImageList games;    // the tabs and the server list's strip, by game icon index
    base::win32::ImageList servers;  // server list rows and headers (the kImage... positions)
    base::win32::ImageList lists;    // player and buddy panes, Find Player (the kPaneImage... positions)
};

// Small icons from the program's resources.
PaneImages LoadPaneImages(HINSTANCE instance);

}  // namespace views::win32
