// The remote-control window: consoles, their sockets and replies, toolbar, history and placement.
#include "rcon/win32/remote_control.h"

#include <winsock2.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/app_title.h"
#include "base/file_io.h"
#include "base/settings_index.h"
#include "base/text.h"
#include "base/win32/handles.h"
#include "rcon/rcon_protocol.h"
#include "rcon/server_properties.h"
#include "rcon/win32/change_map_dialog.h"
#include "rcon/win32/password_dialog.h"
#include "rcon/win32/server_properties_dialog.h"
#include "resources/resource.h"
#include "views/game_colours.h"

namespace rcon::win32 {

namespace {

constexpr UINT RC_SEND_TYPED = WM_USER + 1;
constexpr UINT RC_SOCKET = WM_USER + 2;
constexpr UINT RC_ENTER_KEY = WM_USER + 60;
constexpr UINT_PTR kAutoStatusTimer = 1;
constexpr UINT kAutoStatusSeconds[] = {0, 5, 10, 15, 30, 60};
constexpr int kReceiveBufferBytes = 64000;
constexpr size_t kLongestCommand = 254;
constexpr size_t kLongestHistoryFile = 4096;
constexpr COLORREF kLogText = RGB(255, 255, 0), kLogBackground = RGB(0, 0, 255);
constexpr char kTitle[] = "Vexar! Remote Control";
constexpr char kPasswordNotSet[] =
    "No remote control password has been set on this server!\n\nYou will be unable to remotely administer this "
    "server until it is preset!";
constexpr char kPasswordWrong[] = "You're Remote Control password is incorrect!";

struct Console {
    std::string address;  // the server's, as listed
    uint32_t serverPort = 0;
    uint32_t kind = 0;
    catalogue::ServerList* servers = nullptr;
    SOCKET socket = INVALID_SOCKET;
    sockaddr_in to = {};
    std::string password;
    std::string challenge;
    bool awaitingChallenge = false;
    bool passwordConfirmed = false;
    bool savePassword = true;
    std::string command;
    ReplyCollector reply;
    std::string lastDatagram;
    HWND mapList = nullptr;  // the open Change Server Map dialog's list
    HWND log = nullptr;
    HWND players = nullptr;
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
    std::vector<std::unique_ptr<Console>> consoles;
    Console* current = nullptr;
    uint32_t historyKind = UINT32_MAX;  // the game whose history the command box holds
    uint32_t autoStatus = 0;
    int kickRow = -1;           // the row of the last kick, removed when the server confirms it
    std::string receiveBuffer;  // one datagram at a time
};

std::unique_ptr<Window> g_window;
// The command box's own edit procedure (the box outlives the window's state while it is destroyed).
WNDPROC g_commandEditProc = nullptr;

std::string HistoryPath(const Window& w, uint32_t kind) {
    const char* file = w.host.catalogue.rconCommandsFileOf(kind);
    return file ? base::JoinPath(w.host.installFolder, std::string("user_") + file) : std::string();
}

void SaveHistory(Window& w) {
    std::string path = HistoryPath(w, w.historyKind);
    if (path.empty())
        return;
    std::vector<std::string> entries;
    LRESULT count = SendMessageA(w.commandBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string entry(static_cast<size_t>(SendMessageA(w.commandBox, CB_GETLBTEXTLEN, i, 0)), '\0');
        SendMessageA(w.commandBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        entries.push_back(entry);
    }
    std::string text = WriteHistory(entries);
    base::AtomicFileWriter file(path);
    if (file.Write(text.data(), text.size()))
        file.Commit();
}

void LoadHistory(Window& w, uint32_t kind) {
    SendMessageA(w.commandBox, CB_RESETCONTENT, 0, 0);
    w.historyKind = kind;
    base::FileReader file(HistoryPath(w, kind));
    std::string text(kLongestHistoryFile, '\0');
    text.resize(file.IsOpen() ? file.Read(text.data(), text.size()) : 0);
    for (const std::string& entry : ReadHistory(text))
        SendMessageA(w.commandBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void AppendLog(Console& c, std::string_view text) {
    std::string lines;
    for (char ch : text) {
        if (ch == '\n')
            lines += '\r';
        lines += ch;
    }
    int end = GetWindowTextLengthA(c.log);
    SendMessageA(c.log, EM_SETSEL, end, end);
    SendMessageA(c.log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lines.c_str()));
    SendMessageA(c.log, EM_SCROLLCARET, 0, 0);
}

void ShowPlayers(Console& c) {
    SendMessageA(c.players, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const RconPlayer& p : ParseStatusReply(c.kind, c.reply.Text())) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<char*>(p.name.c_str());
        item.lParam = p.number;
        int at = static_cast<int>(SendMessageA(c.players, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (auto [column, text] : {std::pair{1, &p.score}, std::pair{2, &p.ping}}) {
            LVITEMA cell = {};
            cell.iSubItem = column;
            cell.pszText = const_cast<char*>(text->c_str());
            SendMessageA(c.players, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
        }
        ++row;
    }
}

void CloseConsole(Window& w, Console& c);

// Sends the console's command; asks for the password first when there is none or it was never
// confirmed. False when the user cancelled the password (the console is closed then).
bool Send(Window& w, Console& c, uint32_t pending) {
    if (c.password.empty() || !c.passwordConfirmed) {
        c.passwordConfirmed = true;
        auto ports = w.host.catalogue.defaultPortsOf(c.kind);
        PasswordRequest request{c.password, ntohs(c.to.sin_port), ports ? ports->defaultHostPort : 0,
                                c.kind == catalogue::kHalfLife, c.savePassword};
        if (RunPasswordDialog(w.host.instance, w.window, request) != IDOK) {
            CloseConsole(w, c);
            return false;
        }
        c.savePassword = request.save;
        c.password = request.password;
        c.to.sin_port = htons(static_cast<u_short>(request.port));
        if (c.savePassword && c.servers) {
            if (catalogue::ServerRecord* record = c.servers->Find(c.address, c.serverPort)) {
                base::CopyText(record->rconPassword, c.password);
                record->hostPort = request.port;
                if (w.host.passwordKept)
                    w.host.passwordKept(*c.servers);
            }
        }
    }
    std::string datagram = FormatRconDatagram(c.kind, c.awaitingChallenge, c.challenge, c.password, c.command);
    sendto(c.socket, datagram.data(), static_cast<int>(datagram.size()), 0, reinterpret_cast<sockaddr*>(&c.to),
           sizeof c.to);
    c.reply.Start(c.kind, pending);
    return true;
}

bool SendCommand(Window& w, Console& c, const std::string& command, uint32_t pending) {
    c.command = command;
    return Send(w, c, pending);
}

void MakeCurrent(Window& w, Console* c) {
    if (w.current && w.current != c) {
        ShowWindow(w.current->log, SW_HIDE);
        ShowWindow(w.current->players, SW_HIDE);
    }
    w.current = c;
    if (!c)
        return;
    if (c->kind != w.historyKind) {
        if (w.historyKind != UINT32_MAX)
            SaveHistory(w);
        LoadHistory(w, c->kind);
    }
    ShowWindow(c->log, SW_SHOW);
    ShowWindow(c->players, SW_SHOW);
    for (size_t i = 0; i < w.consoles.size(); ++i) {
        if (w.consoles[i].get() == c)
            SendMessageA(w.consoleBox, CB_SETCURSEL, i, 0);
    }
}

void CloseConsole(Window& w, Console& c) {
    auto it = std::find_if(w.consoles.begin(), w.consoles.end(), [&c](const auto& e) { return e.get() == &c; });
    if (it == w.consoles.end())
        return;
    size_t index = static_cast<size_t>(it - w.consoles.begin());
    closesocket(c.socket);
    DestroyWindow(c.log);
    DestroyWindow(c.players);
    SendMessageA(w.consoleBox, CB_DELETESTRING, index, 0);
    if (w.current == &c)
        w.current = nullptr;
    w.consoles.erase(it);
    if (w.consoles.empty()) {
        PostMessageA(w.window, WM_CLOSE, 0, 0);
        return;
    }
    if (!w.current)
        MakeCurrent(w, w.consoles.back().get());
}

// Runs a command of a tool dialog on the console it belongs to (its reply goes to the log).
RunCommand RunOn(Window& w, Console& c) {
    return [&w, &c](const std::string& command) { SendCommand(w, c, command, kNoCommand); };
}

void OnCommandDone(Window& w, Console& c) {
    if (c.reply.Pending() == kServerProperties) {
        std::vector<PropertyRow> rows = CvarRows(c.kind, c.reply.Text());
        c.reply.Start(c.kind, kNoCommand);
        RunServerProperties(w.host.instance, w.window, std::move(rows), RunOn(w, c));
    } else if (c.reply.Pending() == kChangeMap) {
        bool collected = c.kind == catalogue::kJediKnight2 || c.kind == catalogue::kSoldierOfFortune2;
        std::vector<std::string> maps =
            MapListEntries(collected ? std::string_view(c.reply.Text()) : LogText(c.kind, c.lastDatagram));
        RunChangeMap(w.host.instance, w.window, maps, RunOn(w, c), c.mapList);
        if (c.reply.Pending() == kChangeMap)
            c.reply.Start(c.kind, kNoCommand);
    } else if (c.reply.Pending() == kRefreshStatus) {
        ShowPlayers(c);
    } else if (c.reply.Pending() == kKickPlayer) {
        const std::string& text = c.reply.Text();
        if (c.kind == catalogue::kHalfLife) {
            SendCommand(w, c, "status", kRefreshStatus);
        } else if (text.find("ClientDisconnect:") != std::string::npos ||
                   (c.kind == catalogue::kMedalOfHonour && text.find("kicked") != std::string::npos)) {
            SendMessageA(c.players, LVM_DELETEITEM, w.kickRow, 0);
        } else {
            AppendLog(c, text);
        }
    } else {
        AppendLog(c, c.reply.Text());
    }
}

void OnSocket(Window& w, SOCKET socket) {
    auto it =
        std::find_if(w.consoles.begin(), w.consoles.end(), [socket](const auto& c) { return c->socket == socket; });
    if (it == w.consoles.end())
        return;
    Console& c = **it;
    w.receiveBuffer.resize(kReceiveBufferBytes + 1);
    sockaddr_in from = {};
    int fromSize = sizeof from;
    int n =
        recvfrom(socket, w.receiveBuffer.data(), kReceiveBufferBytes, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (n <= 0)
        return;
    // Only the console's own server is listened to.
    if (from.sin_addr.s_addr != c.to.sin_addr.s_addr || from.sin_port != c.to.sin_port)
        return;
    const std::string datagram = w.receiveBuffer.substr(0, static_cast<size_t>(n));
    if (PasswordProblem problem = PasswordProblemIn(datagram); problem != PasswordProblem::kNone) {
        MessageBoxA(w.window, problem == PasswordProblem::kNotSet ? kPasswordNotSet : kPasswordWrong, base::kAppTitle,
                    MB_OK | MB_ICONSTOP);
        c.password.clear();
        Send(w, c, c.reply.Pending());
        return;
    }
    if (c.awaitingChallenge) {
        if (auto challenge = ReadChallenge(datagram)) {
            c.challenge = *challenge;
            c.awaitingChallenge = false;
            SendCommand(w, c, "status", kRefreshStatus);
        }
        return;
    }
    c.lastDatagram = datagram;
    // Today's servers send a long map list in several datagrams: they go to the open dialog.
    if (c.mapList && c.reply.Pending() == kChangeMap) {
        for (const std::string& map : MapListEntries(LogText(c.kind, datagram)))
            SendMessageA(c.mapList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(map.c_str()));
        return;
    }
    if (c.reply.Pending() == kNoCommand)
        AppendLog(c, LogText(c.kind, datagram));
    else if (c.reply.Take(datagram))
        OnCommandDone(w, c);
}

void SendTyped(Window& w) {
    if (!w.current)
        return;
    char text[kLongestCommand + 1] = {};
    GetWindowTextA(w.commandBox, text, sizeof text);
    std::string command = text;
    if (command.empty())
        return;
    if (SendMessageA(w.commandBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) ==
        CB_ERR)
        SendMessageA(w.commandBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    Console& c = *w.current;
    if (!SendCommand(w, c, command, kNoCommand))
        return;
    AppendLog(c, command + "\n\n");
    SetWindowTextA(w.commandBox, "");
    SetFocus(w.commandBox);
}

void SetAutoStatus(Window& w, uint32_t choice) {
    if (choice == w.autoStatus || choice >= std::size(kAutoStatusSeconds))
        return;
    w.autoStatus = choice;
    KillTimer(w.window, kAutoStatusTimer);
    base::WriteDwordValue(w.host.settings, base::reg::kRconAutoStatus, choice);
    if (choice)
        SetTimer(w.window, kAutoStatusTimer, kAutoStatusSeconds[choice] * 1000, nullptr);
}

void Layout(Window& w) {
    RECT client;
    GetClientRect(w.window, &client);
    int width = client.right, height = client.bottom;
    SendMessageA(w.toolbar, TB_AUTOSIZE, 0, 0);
    MoveWindow(w.consoleBox, 10, 55, width - 20, 200, TRUE);
    for (const auto& c : w.consoles) {
        MoveWindow(c->players, 10, 85, width - 20, 150, TRUE);
        MoveWindow(c->log, 10, 245, width - 20, std::max(0, height - 290), TRUE);
    }
    MoveWindow(w.commandBox, 10, height - 35, std::max(0, width - 80), 200, TRUE);
    MoveWindow(w.send, width - 70, height - 35, 60, 24, TRUE);
}

// Enter in the command box sends; Tab and Esc are swallowed.
LRESULT CALLBACK CommandEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) &&
        (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)) {
        if (message == WM_KEYDOWN && wParam == VK_RETURN && g_window)
            PostMessageA(g_window->window, RC_ENTER_KEY, 0, 0);
        return 0;
    }
    return CallWindowProcA(g_commandEditProc, edit, message, wParam, lParam);
}

void CreateControls(Window& w) {
    HINSTANCE instance = w.host.instance;
    w.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST, 0, 0, 0, 0,
                                w.window, reinterpret_cast<HMENU>(IDC_RCON_TOOLBAR), instance, nullptr);
    if (!w.toolbar) {
        MessageBoxA(w.window, "Unable to create Toolbar!", base::kAppTitle, MB_OK);
    } else {
        SendMessageA(w.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageA(w.toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        TBADDBITMAP bitmap = {instance, IDB_RCON_TOOLBAR};
        SendMessageA(w.toolbar, TB_ADDBITMAP, 5, reinterpret_cast<LPARAM>(&bitmap));
        const std::pair<int, const char*> buttons[] = {{IDM_RCON_SERVER_PROPS, "Server Props"},
                                                       {IDM_RCON_CHANGE_MAP, "Change Map"},
                                                       {IDM_RCON_REFRESH, "Refresh"},
                                                       {IDM_RCON_SERVER_INFO, "Server Info"},
                                                       {IDM_RCON_CLEAR_LOG, "Clear Log"}};
        for (int i = 0; i < 5; ++i) {
            TBBUTTON b = {};
            b.iBitmap = i;
            b.idCommand = buttons[i].first;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = static_cast<BYTE>(BTNS_BUTTON | BTNS_AUTOSIZE | (i == 2 ? BTNS_DROPDOWN : 0));
            b.iString = reinterpret_cast<INT_PTR>(buttons[i].second);
            SendMessageA(w.toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
        }
    }
    w.consoleBox = CreateWindowExA(0, WC_COMBOBOXA, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                                   0, 0, 0, w.window, reinterpret_cast<HMENU>(IDC_RCON_CONSOLES), instance, nullptr);
    w.commandBox = CreateWindowExA(0, WC_COMBOBOXA, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL, 0, 0,
                                   0, 0, w.window, reinterpret_cast<HMENU>(IDC_RCON_COMMAND), instance, nullptr);
    w.send = CreateWindowExA(0, WC_BUTTONA, "Send", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, w.window,
                             reinterpret_cast<HMENU>(IDC_RCON_SEND), instance, nullptr);
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND control : {w.consoleBox, w.commandBox, w.send})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gui), TRUE);
    if (HWND edit = FindWindowExA(w.commandBox, nullptr, WC_EDITA, nullptr))
        g_commandEditProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandEditProc)));
    w.logFont.Reset(CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_MODERN, "Courier New"));
    w.logBrush.Reset(CreateSolidBrush(kLogBackground));
}

Console* AddConsole(Window& w, uint32_t kind, const catalogue::ServerRecord& record, catalogue::ServerList& servers) {
    auto c = std::make_unique<Console>();
    c->address = record.addressText;
    c->serverPort = record.port;
    c->kind = kind;
    c->servers = &servers;
    c->password = record.rconPassword;
    c->socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (c->socket == INVALID_SOCKET) {
        MessageBoxA(w.window, "Unable to allocate local resource!", base::kAppTitle, MB_OK);
        return nullptr;
    }
    int receive = kReceiveBufferBytes;
    setsockopt(c->socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receive), sizeof receive);
    if (WSAAsyncSelect(c->socket, w.window, RC_SOCKET, FD_READ) == SOCKET_ERROR) {
        closesocket(c->socket);
        MessageBoxA(w.window, "Unable to connect to server!", base::kAppTitle, MB_OK);
        return nullptr;
    }
    c->to.sin_family = AF_INET;
    c->to.sin_addr.s_addr = inet_addr(c->address.c_str());
    c->to.sin_port = htons(static_cast<u_short>(record.hostPort ? record.hostPort : record.port));
    HINSTANCE instance = w.host.instance;
    c->players = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, nullptr, WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                                 0, 0, 0, w.window, nullptr, instance, nullptr);
    SendMessageA(c->players, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const std::pair<const char*, int> columns[] = {{"Player", 100}, {"Score", 70}, {"Ping", 70}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, columns[i].second, const_cast<char*>(columns[i].first)};
        SendMessageA(c->players, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    c->log = CreateWindowExA(WS_EX_CLIENTEDGE, WC_EDITA, nullptr,
                             WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
                             0, w.window, nullptr, instance, nullptr);
    SendMessageA(c->log, WM_SETFONT, reinterpret_cast<WPARAM>(w.logFont.get()), TRUE);
    SendMessageA(c->log, EM_SETLIMITTEXT, 0, 0);  // as much as memory allows
    if (kind == catalogue::kHalfLife) {
        c->command = "challenge rcon";
        c->awaitingChallenge = true;
    } else {
        c->command = "status";
    }
    std::string title = views::StripColourCodes(record.hostName, views::ColourDialectOf(kind));
    SendMessageA(w.consoleBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    w.consoles.push_back(std::move(c));
    return w.consoles.back().get();
}

void OnClose(Window& w) {
    SaveHistory(w);
    while (!w.consoles.empty()) {
        Console& c = *w.consoles.back();
        shutdown(c.socket, SD_SEND);
        closesocket(c.socket);
        w.consoles.pop_back();
    }
    w.current = nullptr;
    WINDOWPLACEMENT placement = {sizeof placement};
    if (GetWindowPlacement(w.window, &placement) && placement.showCmd == SW_SHOWNORMAL) {
        RECT r;
        GetWindowRect(w.window, &r);
        using namespace base::reg;
        base::WriteDwordValue(w.host.settings, kRconWindowXY, (static_cast<uint32_t>(r.top) << 16) | (r.left & 0xFFFF));
        base::WriteDwordValue(w.host.settings, kRconWindowWH,
                              (static_cast<uint32_t>(r.bottom) << 16) | (r.right & 0xFFFF));
        base::WriteDwordValue(w.host.settings, kRconWindowState, placement.showCmd);
    }
    DestroyWindow(w.window);
}

void ShowMenuAt(Window& w, WORD menuId, POINT at, UINT checked) {
    base::win32::Menu menu(LoadMenuA(w.host.instance, MAKEINTRESOURCEA(menuId)));
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (checked)
        CheckMenuItem(popup, checked, MF_BYCOMMAND | MF_CHECKED);
    TrackPopupMenu(popup, TPM_LEFTALIGN, at.x, at.y, 0, w.window, nullptr);
}

void OnNotify(Window& w, const NMHDR& header) {
    if (header.hwndFrom == w.toolbar && header.code == TBN_DROPDOWN) {
        RECT button;
        SendMessageA(w.toolbar, TB_GETRECT, IDM_RCON_REFRESH, reinterpret_cast<LPARAM>(&button));
        POINT at = {button.left, button.bottom};
        ClientToScreen(w.toolbar, &at);
        ShowMenuAt(w, IDR_RCON_AUTOSTATUS_MENU, at, IDM_RCON_AUTO_NONE + w.autoStatus);
    } else if (w.current && header.hwndFrom == w.current->players && header.code == NM_RCLICK) {
        // The row clicked is the selected one; "Kick Player!" takes it from there.
        if (SendMessageA(w.current->players, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) >= 0) {
            POINT at;
            GetCursorPos(&at);
            ShowMenuAt(w, IDR_RCON_PLAYER_MENU, at, 0);
        }
    }
}

void Kick(Window& w, Console& c) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = w.kickRow;
    if (w.kickRow < 0 || !SendMessageA(c.players, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return;
    std::string reason;
    if (c.kind == catalogue::kSoldierOfFortune2) {
        char name[256] = {};
        LVITEMA text = {};
        text.pszText = name;
        text.cchTextMax = sizeof name;
        SendMessageA(c.players, LVM_GETITEMTEXTA, w.kickRow, reinterpret_cast<LPARAM>(&text));
        if (RunKickPlayer(w.host.instance, w.window, name, reason) != IDOK)
            return;
    }
    SendCommand(w, c, KickCommand(c.kind, static_cast<int32_t>(item.lParam), reason), kKickPlayer);
}

void OnCommand(Window& w, UINT id, UINT code) {
    Console* c = w.current;
    if (id == IDC_RCON_SEND) {
        SendTyped(w);
    } else if (id == IDC_RCON_CONSOLES && code == CBN_SELCHANGE) {
        LRESULT index = SendMessageA(w.consoleBox, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < w.consoles.size())
            MakeCurrent(w, w.consoles[static_cast<size_t>(index)].get());
    } else if (id >= IDM_RCON_AUTO_NONE && id <= IDM_RCON_AUTO_60) {
        SetAutoStatus(w, id - IDM_RCON_AUTO_NONE);
    } else if (c && id == IDM_RCON_REFRESH) {
        SendCommand(w, *c, "status", kRefreshStatus);
    } else if (c && id == IDM_RCON_SERVER_INFO) {
        SendCommand(w, *c, "serverinfo", kNoCommand);
    } else if (c && id == IDM_RCON_CLEAR_LOG) {
        SetWindowTextA(c->log, "");
    } else if (c && id == IDM_RCON_KICK) {
        w.kickRow = static_cast<int>(SendMessageA(c->players, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        Kick(w, *c);
    } else if (c && id == IDM_RCON_SERVER_PROPS) {
        SendCommand(w, *c, "cvarlist", kServerProperties);
    } else if (c && id == IDM_RCON_CHANGE_MAP) {
        if (c->kind == catalogue::kMedalOfHonour)
            MessageBoxA(w.window, "Server doesn't support this feature! :/", base::kAppTitle,
                        MB_OK | MB_ICONINFORMATION);
        else
            SendCommand(w, *c, c->kind == catalogue::kHalfLife ? "maps *" : "dir maps", kChangeMap);
    }
}

LRESULT CALLBACK RemoteControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = g_window.get();
    if (!w || (w->window && w->window != window))
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            w->window = window;
            CreateControls(*w);
            return 0;
        case WM_SIZE:
            Layout(*w);
            return 0;
        case WM_COMMAND:
            OnCommand(*w, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            OnNotify(*w, *reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            for (const auto& c : w->consoles) {
                if (reinterpret_cast<HWND>(lParam) == c->log) {
                    SetTextColor(reinterpret_cast<HDC>(wParam), kLogText);
                    SetBkColor(reinterpret_cast<HDC>(wParam), kLogBackground);
                    return reinterpret_cast<LRESULT>(w->logBrush.get());
                }
            }
            break;
        case RC_SEND_TYPED:
        case RC_ENTER_KEY:
            SendTyped(*w);
            return 0;
        case RC_SOCKET:
            if (WSAGETSELECTEVENT(lParam) == FD_READ)
                OnSocket(*w, static_cast<SOCKET>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kAutoStatusTimer && w->current)
                SendCommand(*w, *w->current, "status", kRefreshStatus);
            return 0;
        case WM_CLOSE:
            OnClose(*w);
            return 0;
        case WM_DESTROY: {
            HWND main = w->host.main;
            g_window.reset();
            SetActiveWindow(main);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CreateRemoteControlWindow(const RemoteControlHost& host) {
    g_window = std::make_unique<Window>(Window{host});
    using namespace base::reg;
    auto xy = host.settings.ReadDword(kRconWindowXY.keyPath, kRconWindowXY.name);
    auto wh = host.settings.ReadDword(kRconWindowWH.keyPath, kRconWindowWH.name);
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    if (xy && wh) {
        x = static_cast<int>(*xy & 0xFFFF);
        y = static_cast<int>((*xy >> 16) & 0xFFF);
        width = static_cast<int>(*wh & 0xFFFF) - x;
        height = static_cast<int>((*wh >> 16) & 0xFFF) - y;
    }
    HWND window = CreateWindowExA(0, kRemoteControlClass, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                  host.main, nullptr, host.instance, nullptr);
    if (!window) {
        g_window.reset();
        return;
    }
    g_window->autoStatus = 0;
    uint32_t stored = base::ReadDwordOr(host.settings, kRconAutoStatus);
    SetAutoStatus(*g_window, stored < std::size(kAutoStatusSeconds) ? stored : 0);
    Layout(*g_window);
}

}  // namespace

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
                       const catalogue::ServerRecord& record,
                       catalogue::ServerList& servers) {
    if (!g_window)
        CreateRemoteControlWindow(host);
    if (!g_window)
        return;
    Window& w = *g_window;
    for (const auto& c : w.consoles) {
        if (c->address == record.addressText && c->serverPort == record.port) {
            MakeCurrent(w, c.get());
            return;
        }
    }
    if (static_cast<int>(w.consoles.size()) >= kMostConsoles)
        return;
    Console* c = AddConsole(w, kind, record, servers);
    if (!c) {
        if (w.consoles.empty())
            DestroyWindow(w.window);
        return;
    }
    MakeCurrent(w, c);
    Layout(w);
    Send(w, *c, kRefreshStatus);
}

int RemoteControlCount() {
    return g_window ? static_cast<int>(g_window->consoles.size()) : 0;
}

void CloseRemoteControl() {
    if (g_window)
        SendMessageA(g_window->window, WM_CLOSE, 0, 0);
}

}  // namespace rcon::win32
