// What a pane or a dialog of the browser may use of the program: handed to it when it is created.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <mutex>
#include <string_view>

#include "base/message_sink.h"
#include "base/settings_store.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "views/display_options.h"
#include "views/win32/icon_list.h"

namespace views::win32 {

// The three panes of one game tab and the list controls inside them (each pane's first child).
struct PaneSet {
    HWND server = nullptr;
    HWND buddy = nullptr;
    HWND player = nullptr;
    HWND serverList = nullptr;
    HWND buddyList = nullptr;
    HWND playerList = nullptr;
};

// Actions of later parts that the server list pane starts on a record: joining a game (with the
// spectator flag), editing the player configuration, opening a remote-control console.
class ServerActions {
  public:
    virtual ~ServerActions() = default;
    virtual void Join(catalogue::ServerRecord& record, bool asSpectator) = 0;
    virtual void EditPlayerConfig(catalogue::ServerRecord& record) = 0;
    virtual void OpenRemoteControl(catalogue::ServerRecord&) {}
    // Servers open in the remote-control console (at most five), and closing the console.
    virtual int RemoteControlCount() const { return 0; }
    virtual void CloseRemoteControl() {}
};

// The contract: every call is made on the user-interface thread; the references stay valid while
// any pane exists. A pane never reaches the program by any other way.
//
// Modal loops. A message box, dialog, chooser or popup menu runs a modal loop in which the main
// window's timers, socket messages, posted messages and tray commands keep running. Pane messages
// sent by the refresh engine, a timer or a network handler (replies, row changes, removals, the end
// of a refresh, the monitor's marks) never open one: a notice they must give goes to TellLater. A
// pane that opens one on the user's command looks up again what it held (a server by address and
// port, a player by its slot and name) before touching it afterwards, and stops when it is gone.
// What the main window's command states take from the server list: a server is selected, its game
// takes remote control, it names a web site.
struct ServerSelection {
    bool selected = false;
    bool remoteControl = false;
    bool webSite = false;
};

class PaneHost {
  public:
    virtual ~PaneHost() = default;

    virtual HINSTANCE Instance() = 0;
    // The main window: owner of the panes' dialogs, message boxes and clipboard copies.
    virtual HWND Owner() = 0;
    // Image lists shared by the panes: one icon per game (the tabs), the server list's icons, the
    // player and buddy panes' icons.
    virtual const IconList& GameIcons() = 0;
    virtual const IconList& ServerIcons() = 0;
    virtual const IconList& ListIcons() = 0;

    virtual base::SettingsStore& Settings() = 0;
    // Messages and questions at once: only where no handler of the kinds above is under way.
    virtual base::MessageSink& Sink() = 0;
    // A notice from code that may run inside such a handler: shown once the message being handled
    // has returned, at most once per server (the one it is about, or nullptr) and refresh.
    virtual void TellLater(std::string_view text, const catalogue::ServerRecord* server) = 0;
    virtual const catalogue::Catalogue& Catalogue() = 0;
    virtual const DisplayOptions& Display() = 0;
    // A master query or refresh runs (its worker walks the server list).
    virtual bool RefreshBusy() = 0;
    // Marks a server for the next refresh; a server the running refresh awaits stays awaited
    // (net::StatusEngine::MarkForRefresh).
    virtual void MarkForRefresh(catalogue::ServerRecord& record) = 0;
    // The lock under which a running refresh's worker writes the records it queries (ping among
    // them), nullptr when none can run. Taken for reads of those fields; never held while a pane
    // message is sent.
    virtual std::mutex* RecordLock() = 0;
    virtual ServerActions* Actions() = 0;
    // The panes of a profile (all null before they exist).
    virtual PaneSet PanesOf(const catalogue::GameProfile& profile) = 0;

    // The main window's commands: the server list's selection, from which the program greys and
    // enables its menus and toolbar (and a popup menu of its commands about to open); a main menu
    // item checked or not; a command run as if chosen from the main menu.
    virtual void ServerSelectionChanged(const ServerSelection& selection) = 0;
    virtual void PrepareCommandMenu(HMENU popup, const ServerSelection& selection) = 0;
    virtual void CheckCommand(UINT command, bool checked) = 0;
    virtual void RunCommand(UINT command) = 0;

    // The user changed what a stored file of the profile holds (a favourite, a buddy, the columns): the
    // program saves it soon. Cheap; nothing is written during the call.
    virtual void StoredListChanged(const catalogue::GameProfile& profile, catalogue::StoredFile file) {}
};

// Sends a pane message (nothing when the pane does not exist).
inline LRESULT SendToPane(HWND pane, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return pane ? SendMessageA(pane, message, wParam, lParam) : 0;
}

}  // namespace views::win32
