// Window procedures of the three list panes of a game tab, and the dialogs they bring.
#pragma once

#include <windows.h>

#include "app/win32/shell.h"

namespace views::win32 {

// Each pane belongs to the profile that is current while it is created, and creates its list
// control as its first child. The private messages are in pane_messages.h.
LRESULT CALLBACK ServerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PlayerPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BuddyPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The Find Player (40019) and Add Buddy (40023) dialogs of the main window's commands, modal on
// the main window and working on the current profile. Other commands go to `next` (none: nothing).
// The program attaches one instance as TheShell().dialogs.
class PaneDialogs : public app::win32::ShellDialogs {
  public:
    explicit PaneDialogs(app::win32::ShellDialogs* next = nullptr) : next_(next) {}
    void Open(UINT command) override;

  private:
    app::win32::ShellDialogs* next_;
};

// Find Player: returns the dialog's result (1 after "&Join", when the server list pane of the
// current profile has been told to join the player's server; 2 when closed).
INT_PTR RunFindPlayer(HWND owner);
// Add Buddy: stays open for more names until "&Close".
void RunAddBuddy(HWND owner);

}  // namespace views::win32
