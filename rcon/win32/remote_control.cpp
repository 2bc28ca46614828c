// The remote-control window: its procedure, its creation with the first console, and the consoles
// it opens for servers.
#include "rcon/win32/remote_control.h"

#include <winsock2.h>

#include <commctrl.h>

#include "base/app_title.h"
#include "base/settings_index.h"
#include "base/text.h"
#include "rcon/win32/console_window.h"
#include "resources/resource.h"
#include "views/game_colours.h"

namespace rcon::win32 {

namespace {

constexpr char kTitle[] = "Vexar! Remote Control";

std::unique_ptr<Window> g_window;

void OnSocket(Window& w, SOCKET socket, LPARAM event) {
    for (const auto& c : w.consoles) {
        if (socket == INVALID_SOCKET || (c->handle != socket && (!c->stream || c->stream->handle() != socket)))
            continue;
        switch (WSAGETSELECTEVENT(event)) {
            case FD_CONNECT:
                c->session->OnConnected(WSAGETSELECTERROR(event));
                break;
            case FD_WRITE:
                if (!c->stream || c->stream->Flush())
                    break;
                [[fallthrough]];  // the failure is read like the end
            default:
                c->session->OnReadable();  // FD_READ, and FD_CLOSE after the last bytes
                break;
        }
        ApplyEffects(w, *c);  // a reply never closes a console
        return;
    }
}

void OnTimer(Window& w, UINT_PTR timer) {
    if (timer == kAutoStatusTimer) {
        if (Console* c = CurrentConsole(w)) {
            c->session->AutoStatus();
            ApplyEffects(w, *c);
        }
        return;
    }
    // Each console's reply collection, challenge and probe.
    for (size_t i = 0; i < w.consoles.size(); ++i) {
        w.consoles[i]->session->Tick();
        ApplyEffects(w, *w.consoles[i]);
    }
}

LRESULT Dispatch(Window& w, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            Layout(w);
            return 0;
        case WM_COMMAND:
            OnCommand(w, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            OnNotify(w, *reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            if (LRESULT brush = OnColourStatic(w, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return brush;
            break;
        case RC_SEND_TYPED:
        case RC_ENTER_KEY:
            SendTyped(w);
            return 0;
        case RC_SOCKET:
            OnSocket(w, static_cast<SOCKET>(wParam), lParam);
            return 0;
        case RC_SHOW_PROMPT:
            ShowPrompts(w);
            return 0;
        case WM_TIMER:
            OnTimer(w, wParam);
            return 0;
        case WM_CLOSE:
            RequestClose(w);
            return 0;
        case WM_DESTROY:
            OnDestroyed(w);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK RemoteControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = g_window.get();
    if (!w || (w->window && w->window != window) || w->destroyed)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        if (message == WM_CREATE) {
            w->window = window;
            CreateControls(*w);
            return 0;
        }
        return Dispatch(*w, window, message, wParam, lParam);
    } catch (...) {
        // Nothing a reply or a command does may end the program from here.
        return 0;
    }
}

bool CreateRemoteControlWindow(const RemoteControlHost& host) {
    g_window = std::make_unique<Window>(Window{host});
    HWND window = CreateWindowExA(0, kRemoteControlClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, host.main, nullptr, host.instance, nullptr);
    if (!window) {
        g_window.reset();
        return false;
    }
    Window& w = *g_window;
    RestorePlacement(w);
    uint32_t stored = base::ReadDwordOr(host.settings, base::reg::kRconAutoStatus);
    SetAutoStatus(w, stored);
    SetTimer(window, kTickTimer, kTickMs, nullptr);
    Layout(w);
    return true;
}

// The console's session on its own socket (a Source game's on its TCP connection), or nullptr with the
// message to show when the socket cannot be had.
std::unique_ptr<ConsoleSession> OpenSession(Window& w, Console& c, ConsoleSetup setup, const char*& failure) {
    failure = "Unable to allocate local resource!";
    if (SpeaksSourceRcon(setup.kind)) {
        auto stream = std::make_unique<Win32StreamSocket>(w.window, RC_SOCKET);
        if (!stream->Prepare())
            return nullptr;
        c.stream = stream.get();
        return std::make_unique<ConsoleSession>(std::move(setup), std::move(stream), w.clock);
    }
    auto socket = net::win32::Win32DatagramSocketFactory(net::win32::SocketWait::kSelect).Open();
    if (!socket)
        return nullptr;
    c.handle = static_cast<net::win32::Win32DatagramSocket&>(*socket).handle();
    if (WSAAsyncSelect(c.handle, w.window, RC_SOCKET, FD_READ) == SOCKET_ERROR) {
        failure = "Unable to connect to server!";
        return nullptr;
    }
    return std::make_unique<ConsoleSession>(std::move(setup), std::move(socket), w.clock);
}

// A console for the server, or nullptr with the message to show when its socket cannot be had.
Console* AddConsole(Window& w,
                    uint32_t kind,
                    uint32_t profileFile,
                    const catalogue::ServerRecord& record,
                    const char*& failure) {
    auto c = std::make_unique<Console>();
    c->id = w.nextId++;
    c->address = record.addressText;
    c->port = record.port;
    c->profileFile = profileFile;
    net::Endpoint server{net::ParseDottedAddress(record.addressText).value_or(0),
                         static_cast<uint16_t>(record.hostPort ? record.hostPort : record.port)};
    c->session = OpenSession(w, *c, ConsoleSetup{kind, server, record.rconPassword}, failure);
    if (!c->session)
        return nullptr;
    std::string title = views::StripColourCodes(record.hostName, views::ColourDialectOf(kind));
    if (!CreateConsoleControls(w, *c, title)) {
        DestroyConsoleControls(w, *c);
        failure = "Unable to allocate local resource!";
        return nullptr;
    }
    w.consoles.push_back(std::move(c));
    return w.consoles.back().get();
}

}  // namespace

Window* TheWindow() {
    return g_window.get();
}

void FreeWindow() {
    g_window.reset();
}

void RegisterRemoteControlClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {sizeof wc};
    wc.lpfnWndProc = RemoteControlProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RCON));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kRemoteControlClass;
    RegisterClassExA(&wc);
}

void OpenRemoteControl(const RemoteControlHost& host,
                       uint32_t kind,
                       uint32_t profileFile,
                       const catalogue::ServerRecord& record) {
    if (g_window && g_window->closeRequested)
        return;  // the window is on its way out
    if (!g_window && !CreateRemoteControlWindow(host))
        return;
    Window& w = *g_window;
    for (const auto& c : w.consoles) {
        if (c->port == record.port && base::EqualsNoCase(c->address, record.addressText))
            return MakeCurrent(w, c->id);
    }
    if (static_cast<int>(w.consoles.size()) >= kMostConsoles)
        return;
    const char* failure = nullptr;
    Console* c = AddConsole(w, kind, profileFile, record, failure);
    if (!c) {
        // A command of the user, not a network or timer callback: the message is shown here.
        HWND owner = w.window;
        if (RunModal(w, [&] { MessageBoxA(owner, failure, base::kAppTitle, MB_OK); }) && w.consoles.empty())
            RequestClose(w);
        return;
    }
    MakeCurrent(w, c->id);
    Layout(w);
    c->session->Open();
    ApplyEffects(w, *c);
}

int RemoteControlCount() {
    return g_window && !g_window->closeRequested ? static_cast<int>(g_window->consoles.size()) : 0;
}

void CloseRemoteControl() {
    if (g_window && !g_window->destroyed)
        RequestClose(*g_window);
}

}  // namespace rcon::win32
