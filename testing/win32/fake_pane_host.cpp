// The fake pane host's windows.
#include "testing/win32/fake_pane_host.h"

#include <commctrl.h>

#include "views/win32/panes.h"

namespace testing_support {

FakePaneHost::FakePaneHost() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    views::win32::RegisterPaneClasses(Instance());
    owner = CreateWindowExA(0, "STATIC", "pane host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr,
                            nullptr, Instance(), nullptr);
    sink.owner = owner;
    images = views::win32::LoadPaneImages(Instance());
    catalogue.buildCatalogue();
}

FakePaneHost::~FakePaneHost() {
    for (auto& [profile, set] : panes)
        views::win32::DestroyPanes(set);
    DestroyWindow(owner);
}

views::win32::PaneSet FakePaneHost::CreatePanesOf(catalogue::GameProfile& profile) {
    views::win32::PaneSet set = views::win32::CreatePanes(*this, profile, owner);
    panes[&profile] = set;
    MoveWindow(set.server, 210, 0, 660, 400, TRUE);
    MoveWindow(set.buddy, 0, 0, 200, 300, TRUE);
    MoveWindow(set.player, 0, 300, 200, 300, TRUE);
    for (HWND pane : {set.server, set.buddy, set.player})
        ShowWindow(pane, SW_SHOW);
    return set;
}

}  // namespace testing_support
