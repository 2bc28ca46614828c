// The remote-control window's controls: toolbar, console box, command box, each console's log and
// player list, their layout and colours.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "base/app_title.h"
#include "rcon/win32/console_window.h"
#include "resources/resource.h"

namespace rcon::win32 {

namespace {

constexpr COLORREF kLogText = RGB(255, 255, 0), kLogBackground = RGB(0, 0, 255);

// The command box's own edit procedure (the box outlives the window's state while it is destroyed).
WNDPROC g_commandEditProc = nullptr;

// Enter in the command box sends; Tab and Esc are swallowed.
LRESULT CALLBACK CommandEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) &&
        (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)) {
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            if (Window* w = TheWindow())
                PostMessageA(w->window, RC_ENTER_KEY, 0, 0);
        }
        return 0;
    }
    return CallWindowProcA(g_commandEditProc, edit, message, wParam, lParam);
}

void CreateToolbar(Window& w) {
    HINSTANCE instance = w.host.instance;
    w.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST, 0, 0, 0, 0,
                                w.window, reinterpret_cast<HMENU>(IDC_RCON_TOOLBAR), instance, nullptr);
    if (!w.toolbar) {
        QueuePrompt(w, 0, TellUser{"Unable to create Toolbar!"});
        return;
    }
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

}  // namespace

void CreateControls(Window& w) {
    HINSTANCE instance = w.host.instance;
    CreateToolbar(w);
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
    SendMessageA(w.commandBox, CB_LIMITTEXT, kLongestCommand, 0);
    if (HWND edit = FindWindowExA(w.commandBox, nullptr, WC_EDITA, nullptr))
        g_commandEditProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandEditProc)));
    w.logFont.Reset(CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_MODERN, "Courier New"));
    w.logBrush.Reset(CreateSolidBrush(kLogBackground));
}

bool CreateConsoleControls(Window& w, Console& c, const std::string& title) {
    HINSTANCE instance = w.host.instance;
    c.players = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, nullptr, WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                                0, 0, 0, w.window, nullptr, instance, nullptr);
    c.log = CreateWindowExA(WS_EX_CLIENTEDGE, WC_EDITA, nullptr,
                            WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
                            0, w.window, nullptr, instance, nullptr);
    if (!c.players || !c.log)
        return false;
    SendMessageA(c.players, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const std::pair<const char*, int> columns[] = {{"Player", 100}, {"Score", 70}, {"Ping", 70}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, columns[i].second, const_cast<char*>(columns[i].first)};
        SendMessageA(c.players, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(c.log, WM_SETFONT, reinterpret_cast<WPARAM>(w.logFont.get()), TRUE);
    SendMessageA(c.log, EM_SETLIMITTEXT, kLogLimit + 1, 0);  // the session keeps it within
    LRESULT entry = SendMessageA(w.consoleBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageA(w.consoleBox, CB_SETITEMDATA, entry, c.id);
    return true;
}

void DestroyConsoleControls(Window& w, Console& c) {
    LRESULT count = SendMessageA(w.consoleBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(w.consoleBox, CB_GETITEMDATA, i, 0) == c.id) {
            SendMessageA(w.consoleBox, CB_DELETESTRING, i, 0);
            break;
        }
    }
    DestroyWindow(c.log);
    DestroyWindow(c.players);
    c.log = c.players = nullptr;
}

void Layout(Window& w) {
    RECT client;
    GetClientRect(w.window, &client);
    int width = client.right, height = client.bottom;
    SendMessageA(w.toolbar, TB_AUTOSIZE, 0, 0);
    MoveWindow(w.consoleBox, 10, 55, std::max(0, width - 20), 200, TRUE);
    for (const auto& c : w.consoles) {
        MoveWindow(c->players, 10, 85, std::max(0, width - 20), 150, TRUE);
        MoveWindow(c->log, 10, 245, std::max(0, width - 20), std::max(0, height - 290), TRUE);
    }
    MoveWindow(w.commandBox, 10, height - 35, std::max(0, width - 80), 200, TRUE);
    MoveWindow(w.send, width - 70, height - 35, 60, 24, TRUE);
}

void ShowPlayers(Console& c) {
    SendMessageA(c.players, WM_SETREDRAW, FALSE, 0);
    SendMessageA(c.players, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const RconPlayer& p : c.session->Players()) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row++;
        item.pszText = const_cast<char*>(p.name.c_str());
        item.lParam = p.number;
        int at = static_cast<int>(SendMessageA(c.players, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (auto [column, text] : {std::pair{1, &p.score}, std::pair{2, &p.ping}}) {
            LVITEMA cell = {};
            cell.iSubItem = column;
            cell.pszText = const_cast<char*>(text->c_str());
            SendMessageA(c.players, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
        }
    }
    SendMessageA(c.players, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(c.players, nullptr, TRUE);
}

void ApplyLog(Console& c, const LogAppended& log) {
    if (log.cutFront) {
        SendMessageA(c.log, EM_SETSEL, 0, static_cast<LPARAM>(log.cutFront));
        SendMessageA(c.log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    }
    int end = GetWindowTextLengthA(c.log);
    SendMessageA(c.log, EM_SETSEL, end, end);
    SendMessageA(c.log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(log.text.c_str()));
    SendMessageA(c.log, EM_SCROLLCARET, 0, 0);
}

void FillHistoryBox(Window& w) {
    char typed[kLongestCommand + 1] = {};
    GetWindowTextA(w.commandBox, typed, sizeof typed);
    SendMessageA(w.commandBox, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : w.history.Entries())
        SendMessageA(w.commandBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SetWindowTextA(w.commandBox, typed);
}

LRESULT OnColourStatic(Window& w, HDC dc, HWND control) {
    for (const auto& c : w.consoles) {
        if (control == c->log) {
            SetTextColor(dc, kLogText);
            SetBkColor(dc, kLogBackground);
            return reinterpret_cast<LRESULT>(w.logBrush.get());
        }
    }
    return 0;
}

}  // namespace rcon::win32
