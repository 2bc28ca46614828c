// Creation and destruction of a game tab's panes.
#include "views/win32/panes.h"

#include "views/win32/pane_messages.h"

namespace views::win32 {

namespace {

HWND CreatePane(PaneHost& host, catalogue::GameProfile& profile, HWND parent, const char* windowClass, int x, int w) {
    PaneCreation creation{host, profile};
    return CreateWindowExA(0, windowClass, "", WS_CHILD | WS_CLIPCHILDREN, x, 45, w, 250, parent, nullptr,
                           host.Instance(), &creation);
}

void RegisterPaneClass(HINSTANCE instance, const char* name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

}  // namespace

void RegisterPaneClasses(HINSTANCE instance) {
    RegisterPaneClass(instance, kServerPaneClass, ServerPaneProc);
    RegisterPaneClass(instance, kPlayerPaneClass, PlayerPaneProc);
    RegisterPaneClass(instance, kBuddyPaneClass, BuddyPaneProc);
}

PaneSet CreatePanes(PaneHost& host, catalogue::GameProfile& profile, HWND parent) {
    PaneSet p;
    p.server = CreatePane(host, profile, parent, kServerPaneClass, 210, 420);
    p.player = CreatePane(host, profile, parent, kPlayerPaneClass, 5, 200);
    p.buddy = CreatePane(host, profile, parent, kBuddyPaneClass, 5, 200);
    p.serverList = p.server ? GetWindow(p.server, GW_CHILD) : nullptr;
    p.playerList = p.player ? GetWindow(p.player, GW_CHILD) : nullptr;
    p.buddyList = p.buddy ? GetWindow(p.buddy, GW_CHILD) : nullptr;
    return p;
}

void DestroyPanes(PaneSet& panes) {
    for (HWND pane : {panes.player, panes.server, panes.buddy}) {
        if (pane)
            DestroyWindow(pane);
    }
    panes = PaneSet{};
}

}  // namespace views::win32
