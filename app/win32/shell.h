// The main window's process-wide state: the fixed windows, image lists, drag state and hooks.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "app/app_context.h"
#include "base/message_sink.h"
#include "net/status_parser.h"

namespace app::win32 {

// What the main window hands to the network parts. The default does nothing, so the shell runs
// on its own before the network parts are attached.
class ShellNetwork {
  public:
    virtual ~ShellNetwork() = default;
    // The main window exists (called during start-up, before any other call).
    virtual void OnMainWindowCreated(HWND) {}
    virtual void StartMasterQuery() {}
    virtual void OnMasterSocket(WPARAM, LPARAM) {}
    virtual void StartRefresh(WPARAM) {}
    virtual void OnStatusSocket(WPARAM, LPARAM) {}
    virtual void StartVersionCheck() {}
    virtual void OnVersionSocket(WPARAM, LPARAM) {}
    // Timers 1, 2 and 4 of the main window.
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnWorkerDone() {}
    virtual void OnWorkerProgress(WPARAM, LPARAM) {}
    virtual void RequestStop() {}
    // Closing: shut the master query and version check sockets and end a running refresh (its
    // worker must be gone before the profiles are freed).
    virtual void CloseSockets() {}
};

// The dialogs the main window opens for commands (Find Player, Add Buddy, Game Setup, Colour
// Preferences); each part that owns one attaches it here.
class ShellDialogs {
  public:
    virtual ~ShellDialogs() = default;
    virtual void Open(UINT command) = 0;
};

// Actions of later parts that the server list pane starts on a record: joining a game (with the
// spectator flag), editing the player configuration, opening a remote-control console.
class ShellServerActions {
  public:
    virtual ~ShellServerActions() = default;
    virtual void Join(catalogue::ServerRecord& record, bool asSpectator) = 0;
    virtual void EditPlayerConfig(catalogue::ServerRecord& record) = 0;
    virtual void OpenRemoteControl(catalogue::ServerRecord& record) = 0;
    // Servers open in the remote-control console (at most five), and closing the console.
    virtual int RemoteControlCount() const { return 0; }
    virtual void CloseRemoteControl() {}
};

// The datagram being handed to the server list pane for parsing (`LastReply`), and the copy kept
// for the server information dialog (`PropertiesReply`).
struct ReplyBuffers {
    uint8_t lastReply[net::kStatusBufferSize] = {};
    size_t lastReplySize = 0;
    net::RawReply propertiesReply;
};

struct Shell {
    HINSTANCE instance = nullptr;
    AppContext* ctx = nullptr;
    base::MessageSink* sink = nullptr;
    ShellNetwork* network = nullptr;
    ShellDialogs* dialogs = nullptr;
    ShellServerActions* serverActions = nullptr;
    ReplyBuffers replies;

    HWND main = nullptr;
    HWND tab = nullptr;
    HWND logoBar = nullptr;
    HWND logoPicture = nullptr;
    HWND bannerBar = nullptr;
    HWND bannerPicture = nullptr;
    HWND toolbar = nullptr;
    HBITMAP logoBitmap = nullptr;
    HIMAGELIST tabImages = nullptr;
    HIMAGELIST paneIconsA = nullptr;
    HIMAGELIST paneIconsB = nullptr;
    HFONT tabFont = nullptr;
    HACCEL accelerators = nullptr;
    HICON largeIcon = nullptr;

    // Splitter dragging: the bar under the mouse (0 none, 1-3), dragging and hover flags.
    int activeBar = 0;
    bool dragging = false;
    bool hover = false;
    // Mod items of the current game in the Filter menu (removed again before the tab changes).
    uint32_t insertedModItems = 0;
    uint32_t insertedGameTypeItems = 0;
};

Shell& TheShell();

// The current profile and its windows.
catalogue::GameProfile* CurrentProfile();
HWND ServerPaneOf(const catalogue::GameProfile* profile);
HWND BuddyPaneOf(const catalogue::GameProfile* profile);
HWND PlayerPaneOf(const catalogue::GameProfile* profile);
HWND ServerListOf(const catalogue::GameProfile* profile);
HWND BuddyListOf(const catalogue::GameProfile* profile);
HWND PlayerListOf(const catalogue::GameProfile* profile);
// Sends a pane message to a pane of the current profile (nothing when there is none).
LRESULT SendToPane(HWND pane, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Toolbar button states (TB_SETSTATE).
void SetToolbarState(int command, BYTE state);
// Toolbar and menus while a master query or refresh runs, and back.
void SetRefreshCommandsRunning(bool running);

}  // namespace app::win32
