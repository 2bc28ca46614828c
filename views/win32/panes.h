// The three list panes of a game tab and the dialogs they bring: creation on a pane host.
#pragma once

#include <windows.h>

#include "catalogue/profiles.h"
#include "views/win32/pane_host.h"

namespace views::win32 {

// What a pane is created with (CreateWindowExA's parameter): the host and the profile it belongs
// to. The pane keeps both for its life.
struct PaneCreation {
    PaneHost& host;
    catalogue::GameProfile& profile;
};

LRESULT CALLBACK ServerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PlayerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BuddyPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The classes VEXARPAD, VXPLAYER and VXBUDDIES.
void RegisterPaneClasses(HINSTANCE instance);

// Creates the hidden server list, player and buddy panes of a profile as children of parent; each
// creates its list control as its first child. The private messages are in pane_messages.h.
PaneSet CreatePanes(PaneHost& host, catalogue::GameProfile& profile, HWND parent);
// Destroys them (player pane first, then the server list and buddy panes).
void DestroyPanes(PaneSet& panes);

// Find Player (resource 113), modal on the host's owner: returns 1 after "&Join", when the server
// list pane of the profile has been told to join the player's server; 2 when closed; 0 when it
// could not be shown.
INT_PTR RunFindPlayer(PaneHost& host, catalogue::GameProfile& profile);
// Add Buddy (resource 117): stays open for more names until "&Close".
void RunAddBuddy(PaneHost& host, catalogue::GameProfile& profile);

}  // namespace views::win32
