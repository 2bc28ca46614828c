// The remote-control window's state and the parts its files share: consoles by id, their
// controls, the prompt queue and the rule that the window closes only once no modal loop runs
// for it.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32/handles.h"
#include "net/win32/win32_network.h"
#include "rcon/command_history.h"
#include "rcon/console_session.h"
#include "rcon/win32/remote_control.h"
#include "rcon/win32/stream_socket_win32.h"

namespace rcon::win32 {

constexpr UINT RC_SEND_TYPED = WM_USER + 1;
constexpr UINT RC_SOCKET = WM_USER + 2;
constexpr UINT RC_SHOW_PROMPT = WM_USER + 3;
constexpr UINT RC_ENTER_KEY = WM_USER + 60;
constexpr UINT_PTR kAutoStatusTimer = 1;
constexpr UINT_PTR kTickTimer = 2;
constexpr UINT kTickMs = 100;

struct Console {
    int id = 0;
    std::string address;  // the server's, as listed, with its game port: how the record is found
    uint32_t port = 0;
    uint32_t profileFile = 0;
    SOCKET handle = INVALID_SOCKET;       // the session's socket, as socket messages name it
    Win32StreamSocket* stream = nullptr;  // Source RCON: the session's connection (its own)
    std::unique_ptr<ConsoleSession> session;
    HWND log = nullptr;
    HWND players = nullptr;
};

// A prompt a console asked for, shown once no other modal loop runs for the window.
struct QueuedPrompt {
    int consoleId = 0;  // 0: the window's own message
    ConsoleEffect prompt;
};

struct Window {
    RemoteControlHost host;
    HWND window = nullptr;
    HWND toolbar = nullptr;
    HWND consoleBox = nullptr;
    HWND commandBox = nullptr;
    HWND send = nullptr;
    base::win32::GdiObject logFont;
    base::win32::GdiObject logBrush;
    net::win32::Win32Clock clock;
    std::vector<std::unique_ptr<Console>> consoles;
    int currentId = 0;
    int nextId = 1;
    uint32_t historyKind = UINT32_MAX;  // the game whose history the command box holds
    CommandHistory history;
    uint32_t autoStatus = 0;
    std::deque<QueuedPrompt> prompts;
    // Modal loops running for the window (its dialogs, message boxes and menus). A close asked for
    // meanwhile waits for the last to return; `destroyed` when the window went with its owner.
    int modalDepth = 0;
    bool closeRequested = false;
    bool destroyed = false;
    bool saved = false;  // history and placement are stored
};

// The window's state, or nullptr while there is no window.
Window* TheWindow();

Console* FindConsole(Window& w, int id);
Console* CurrentConsole(Window& w);

// Controls (console_controls.cpp).
void CreateControls(Window& w);
bool CreateConsoleControls(Window& w, Console& c, const std::string& title);
void DestroyConsoleControls(Window& w, Console& c);
void Layout(Window& w);
void ShowPlayers(Console& c);
void ApplyLog(Console& c, const LogAppended& log);
void FillHistoryBox(Window& w);
LRESULT OnColourStatic(Window& w, HDC dc, HWND control);

// Storage (console_storage.cpp): the command box's history of the game in historyKind, and the
// window's placement.
void SaveHistory(Window& w);
void LoadHistory(Window& w, uint32_t kind);
void StorePlacement(Window& w);
void RestorePlacement(Window& w);

// Carries out what the console's session asks: controls change at once, prompts are queued. The
// console may be gone afterwards (CloseConsole): callers look it up again by id. False when the
// window closed with its last console (its state is freed).
bool ApplyEffects(Window& w, Console& c);
void MakeCurrent(Window& w, int id);
bool CloseConsole(Window& w, int id);

// Modal loops (console_prompts.cpp). RunModal runs one for the window; false when the window was
// closed meanwhile (its state is then freed: the caller returns at once without touching it).
bool RunModal(Window& w, const std::function<void()>& loop);
void QueuePrompt(Window& w, int consoleId, ConsoleEffect prompt);
void ShowPrompts(Window& w);
// Stores the history and the placement (once) and closes the window, now or, while a modal loop
// runs, once the last has returned (the dialogs open for it are ended). False when it closed now
// (its state is freed).
bool RequestClose(Window& w);
void FinishClose(Window& w);
// WM_DESTROY: frees the state, or while a modal loop runs marks it for freeing when the last ends.
void OnDestroyed(Window& w);
void FreeWindow();

// Commands (console_commands.cpp).
void OnCommand(Window& w, UINT id, UINT code);
void OnNotify(Window& w, const NMHDR& header);
void SendTyped(Window& w);
void SetAutoStatus(Window& w, uint32_t choice);

}  // namespace rcon::win32
