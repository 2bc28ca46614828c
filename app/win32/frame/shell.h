// The main window's state for the run: the fixed windows, owned handles, the panes of every
// profile, the pane host and the parts the shell hands its work to. WinMain owns the shell (a test
// owns its own) and hands it on: every function of the main window takes it, and the window
// procedures find it in their window (ShellOf).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/app_context.h"
#include "app/save_schedule.h"
#include "app/win32/commands/command_table.h"
#include "app/win32/frame/message_box_sink.h"
#include "app/win32/parts/server_actions.h"
#include "base/message_sink.h"
#include "base/notice_queue.h"
#include "base/win32/handles.h"
#include "views/win32/pane_host.h"
#include "views/win32/pane_images.h"

namespace app::win32 {

struct Shell;

// What the main window hands to the network parts. The default does nothing, so the shell runs
// on its own before the network parts are attached.
class ShellNetwork {
  public:
    virtual ~ShellNetwork() = default;
    // The main window exists (called during start-up, before any other call); the shell outlives
    // the parts' use of it.
    virtual void OnMainWindowCreated(Shell&) {}
    virtual void StartMasterQuery() {}
    virtual void OnMasterSocket(WPARAM, LPARAM) {}
    virtual void OnMasterLookup(WPARAM, LPARAM) {}
    virtual void StartRefresh(WPARAM) {}
    virtual void OnStatusSocket(WPARAM, LPARAM) {}
    virtual void StartVersionCheck() {}
    virtual void OnVersionSocket(WPARAM, LPARAM) {}
    // Timers 1, 2, 4 and 5 of the main window.
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnWorkerDone() {}
    virtual void OnWorkerProgress(WPARAM, LPARAM) {}
    virtual void OnServerInformation() {}
    virtual void RequestStop() {}
    // Closing: shut the master query and version check sockets and end a running refresh (its
    // worker must be gone before the profiles are freed).
    virtual void CloseSockets() {}
    // Runs a change to the current profile's server list (a server linked in) so that a running
    // refresh's worker never sees it half done.
    virtual void ChangeServerList(const std::function<void()>& change) { change(); }
    // Marks a server for the next refresh (StatusEngine::MarkForRefresh: what a running refresh
    // waits for stays awaited).
    virtual void MarkForRefresh(catalogue::ServerRecord& record) {
        record.refreshPending = 1;
        record.awaitingReply = 0;
    }
    // The lock a running refresh's worker holds while it writes records (StatusEngine::recordLock);
    // nullptr while there is no engine. Not to be kept: the engine goes at close.
    virtual std::mutex* RecordLock() { return nullptr; }
};

// The sink of code that runs inside handlers (the refresh engine): its messages wait for
// WM_APP_NOTICES (TellLater). It asks no questions: a question could not wait for its answer.
class LaterSink : public base::MessageSink {
  public:
    explicit LaterSink(Shell& shell) : shell_(shell) {}
    bool AskYesNo(std::string_view, base::MessageIcon) override { return false; }
    void Tell(std::string_view text, base::MessageIcon icon) override;

  private:
    Shell& shell_;
};

// The dialogs the main window opens for commands of later parts (Add Server, Monitor Server); each
// part that owns one attaches it here.
class ShellDialogs {
  public:
    virtual ~ShellDialogs() = default;
    virtual void Open(Shell& shell, UINT command) = 0;
};

// The panes' view of the shell (what a pane may use); the shell is its only implementation.
class ShellPaneHost : public views::win32::PaneHost {
  public:
    explicit ShellPaneHost(Shell& shell) : shell_(shell) {}
    HINSTANCE Instance() override;
    HWND Owner() override;
    const views::win32::IconList& GameIcons() override;
    const views::win32::IconList& ServerIcons() override;
    const views::win32::IconList& ListIcons() override;
    base::SettingsStore& Settings() override;
    base::MessageSink& Sink() override;
    void TellLater(std::string_view text, const catalogue::ServerRecord* server) override;
    const catalogue::Catalogue& Catalogue() override;
    const views::DisplayOptions& Display() override;
    bool RefreshBusy() override;
    views::win32::ServerActions* Actions() override;
    views::win32::PaneSet PanesOf(const catalogue::GameProfile& profile) override;
    void ServerSelectionChanged(const views::win32::ServerSelection& selection) override;
    void PrepareCommandMenu(HMENU popup, const views::win32::ServerSelection& selection) override;
    void CheckCommand(UINT command, bool checked) override;
    void RunCommand(UINT command) override;
    void MarkForRefresh(catalogue::ServerRecord& record) override;
    std::mutex* RecordLock() override;
    void StoredListChanged(const catalogue::GameProfile& profile, catalogue::StoredFile file) override;

  private:
    Shell& shell_;
};

// The parts the shell hands its work to; any may be left out (a test runs the shell without network
// or dialogs). Without a sink the messages are boxes owned by the main window.
struct ShellParts {
    ShellNetwork* network = nullptr;
    ShellDialogs* dialogs = nullptr;
    base::MessageSink* sink = nullptr;
};

// Modal loops. A message box, dialog, file or colour chooser, or popup menu runs a modal loop in
// which the main window's timers (end of refresh, automatic refresh, monitor), socket messages,
// posted messages and tray commands keep running: a refresh may close inside it, the next one start,
// stale servers be freed and tabs change. So:
// - no handler of a socket or posted message, of a timer, or of a call from the refresh engine or
//   the master query opens one; a notice such code must give goes to TellLater and is shown after
//   the handler has returned, with the state whole;
// - code that opens one on the user's command looks up again, after it returned, what it held
//   before (a server by address and port, a console by its id, a profile by its file number) and
//   stops cleanly when it is gone.
struct Shell {
    // The context is prepared (PrepareContext); the main window is opened by OpenMainWindow.
    Shell(HINSTANCE instance, AppContext& ctx, ShellParts parts = {});
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    HINSTANCE const instance;
    AppContext* const ctx;
    // The main window's message boxes, and where the shell's messages go (those boxes unless the
    // parts named a sink).
    MessageBoxSink boxes{main};
    base::MessageSink* const sink;
    ShellNetwork* const network;
    ShellDialogs* const dialogs;
    ShellServerActions serverActions{*this};
    ShellPaneHost host{*this};

    // Child windows go with the main window. Set when it is created, cleared when it is destroyed.
    HWND main = nullptr;
    HWND tab = nullptr;
    HWND logoBar = nullptr;
    HWND logoPicture = nullptr;
    HWND bannerBar = nullptr;
    HWND toolbar = nullptr;
    // Shared icons (LoadIconA) are never destroyed.
    HICON largeIcon = nullptr;

    // Owned for the run; freed with the shell after the message loop.
    base::win32::GdiObject logoBitmap;
    base::win32::GdiObject tabFont;
    views::win32::PaneImages images;
    base::win32::Accelerators accelerators;

    // The panes of each profile, created with its tab.
    std::map<const catalogue::GameProfile*, views::win32::PaneSet> panes;
    // The mod and game-type filter chosen for each profile (positions in its Filter menu items):
    // a choice belongs to the game whose items it was made from.
    std::map<const catalogue::GameProfile*, std::pair<uint32_t, uint32_t>> filterChoices;

    // What the greyed commands of the menus and the toolbar depend on (command_table.h).
    CommandState commands;

    // Monitor Server re-queries a server: the auto refresh and the refresh's grace time know.
    bool monitorActive = false;

    // The tray icon is there (added on a minimise with "Minimise to System Tray").
    bool trayIconShown = false;

    // Notices given inside handlers, waiting for WM_APP_NOTICES (posted once while any wait), and
    // whether one of them is up.
    base::NoticeQueue notices;
    bool noticesPosted = false;
    bool showingNotice = false;

    // The saves made while the program runs (saves.h), stopped by the close and the session's end.
    app::SaveSchedule saves;
    bool savesStopped = false;

    // Splitter dragging: the bar under the mouse (0 none, 1-3), dragging and hover flags.
    int activeBar = 0;
    bool dragging = false;
    bool hover = false;
    // Mod items of the current game in the Filter menu (removed again before the tab changes).
    uint32_t insertedModItems = 0;
    uint32_t insertedGameTypeItems = 0;
};

// The shell of a window of the program: the main window, or one of its fixed children or their
// toolbar (each keeps it from its creation); nullptr before it has one.
Shell* ShellOf(HWND window);
// Keeps the shell in a window being created (WM_NCCREATE, from the creation parameter).
void KeepShellIn(HWND window, LPARAM createStruct);

// The current profile and its panes (all null when there is none).
catalogue::GameProfile* CurrentProfile(Shell& shell);
views::win32::PaneSet PanesOf(Shell& shell, const catalogue::GameProfile* profile);
using views::win32::SendToPane;

// A notice from inside a handler: queued (at most once per server, or nullptr, and refresh), and
// WM_APP_NOTICES posted.
void TellLater(Shell& shell, std::string_view text, const catalogue::ServerRecord* server, base::MessageIcon icon);
// WM_APP_NOTICES: shows the waiting notices one after another (nothing while one is up: that call
// shows the rest).
void ShowWaitingNotices(Shell& shell);

// Greys and enables the main menu's items and the toolbar's buttons for the shell's command state.
void ShowCommandStates(Shell& shell);
// Toolbar and menus while a master query or refresh runs, and back.
void SetRefreshCommandsRunning(Shell& shell, bool running);

}  // namespace app::win32
