// The remote-control window's commands: toolbar, menus, the console box, typed commands, and what
// a console's session asks of its controls.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "base/settings_index.h"
#include "base/win32/handles.h"
#include "rcon/win32/console_window.h"
#include "resources/resource.h"

namespace rcon::win32 {

namespace {

constexpr UINT kAutoStatusSeconds[] = {0, 5, 10, 15, 30, 60};

// The session's tool command for a toolbar button, kNoCommand for any other id.
uint32_t ToolOf(UINT id) {
    switch (id) {
        case IDM_RCON_SERVER_PROPS:
            return kServerProperties;
        case IDM_RCON_CHANGE_MAP:
            return kChangeMap;
        case IDM_RCON_REFRESH:
            return kRefreshStatus;
        case IDM_RCON_SERVER_INFO:
            return kServerInfoCommand;
        case IDM_RCON_CLEAR_LOG:
            return kClearLogCommand;
        default:
            return kNoCommand;
    }
}

// Runs a popup menu of the window and returns the command chosen (0 for none, or when the window
// was closed meanwhile: `alive` tells).
UINT TrackMenu(Window& w, WORD menuId, POINT at, UINT checked, bool& alive) {
    base::win32::Menu menu(LoadMenuA(w.host.instance, MAKEINTRESOURCEA(menuId)));
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (checked)
        CheckMenuItem(popup, checked, MF_BYCOMMAND | MF_CHECKED);
    UINT chosen = 0;
    HWND owner = w.window;
    alive = RunModal(w, [&] {
        chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    });
    return alive ? chosen : 0;
}

int32_t RowNumber(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? static_cast<int32_t>(item.lParam)
                                                                                : -1;
}

// "Kick Player!" on the row the right click was on (not the selection), of the console it was in.
void OnPlayerRightClick(Window& w, Console& c, int row) {
    int32_t number = RowNumber(c.players, row);
    if (row < 0 || number < 0)
        return;
    const int id = c.id;
    POINT at;
    GetCursorPos(&at);
    bool alive = true;
    if (TrackMenu(w, IDR_RCON_PLAYER_MENU, at, 0, alive) != IDM_RCON_KICK || !alive)
        return;
    if (Console* again = FindConsole(w, id)) {
        again->session->Kick(number);
        ApplyEffects(w, *again);  // a kick never closes a console
    }
}

void OnAutoStatusArrow(Window& w) {
    RECT button;
    SendMessageA(w.toolbar, TB_GETRECT, IDM_RCON_REFRESH, reinterpret_cast<LPARAM>(&button));
    POINT at = {button.left, button.bottom};
    ClientToScreen(w.toolbar, &at);
    bool alive = true;
    UINT chosen = TrackMenu(w, IDR_RCON_AUTOSTATUS_MENU, at, IDM_RCON_AUTO_NONE + w.autoStatus, alive);
    if (alive && chosen >= IDM_RCON_AUTO_NONE && chosen <= IDM_RCON_AUTO_60)
        SetAutoStatus(w, chosen - IDM_RCON_AUTO_NONE);
}

}  // namespace

Console* FindConsole(Window& w, int id) {
    auto it = std::find_if(w.consoles.begin(), w.consoles.end(), [id](const auto& c) { return c->id == id; });
    return it == w.consoles.end() ? nullptr : it->get();
}

Console* CurrentConsole(Window& w) {
    return FindConsole(w, w.currentId);
}

bool ApplyEffects(Window& w, Console& c) {
    const int id = c.id;
    for (ConsoleEffect& effect : c.session->TakeEffects()) {
        if (IsPrompt(effect)) {
            QueuePrompt(w, id, std::move(effect));
        } else if (auto* log = std::get_if<LogAppended>(&effect)) {
            ApplyLog(c, *log);
        } else if (std::holds_alternative<LogCleared>(effect)) {
            SetWindowTextA(c.log, "");
        } else if (std::holds_alternative<PlayersChanged>(effect)) {
            ShowPlayers(c);
        } else if (auto* keep = std::get_if<KeepPassword>(&effect)) {
            if (w.host.keepPassword)
                w.host.keepPassword(c.profileFile, c.address, c.port, keep->password, keep->port);
        } else if (std::holds_alternative<rcon::CloseConsole>(effect)) {
            return CloseConsole(w, id);  // the last effect of a session
        }
    }
    return true;
}

void MakeCurrent(Window& w, int id) {
    Console* c = FindConsole(w, id);
    if (Console* before = CurrentConsole(w); before && before != c) {
        ShowWindow(before->log, SW_HIDE);
        ShowWindow(before->players, SW_HIDE);
    }
    w.currentId = c ? id : 0;
    if (!c)
        return;
    if (c->session->Kind() != w.historyKind) {
        if (w.historyKind != UINT32_MAX)
            SaveHistory(w);
        LoadHistory(w, c->session->Kind());
    }
    ShowWindow(c->log, SW_SHOW);
    ShowWindow(c->players, SW_SHOW);
    LRESULT count = SendMessageA(w.consoleBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(w.consoleBox, CB_GETITEMDATA, i, 0) == id)
            SendMessageA(w.consoleBox, CB_SETCURSEL, i, 0);
    }
}

bool CloseConsole(Window& w, int id) {
    auto it = std::find_if(w.consoles.begin(), w.consoles.end(), [id](const auto& c) { return c->id == id; });
    if (it == w.consoles.end())
        return true;
    DestroyConsoleControls(w, **it);
    w.consoles.erase(it);
    if (w.consoles.empty())
        return RequestClose(w);
    if (w.currentId == id) {
        w.currentId = 0;
        MakeCurrent(w, w.consoles.back()->id);
    }
    return true;
}

void SendTyped(Window& w) {
    Console* c = CurrentConsole(w);
    char text[kLongestCommand + 1] = {};
    GetWindowTextA(w.commandBox, text, sizeof text);
    if (!c || !text[0])
        return;
    if (w.history.Add(text))
        FillHistoryBox(w);
    c->session->Type(text);
    if (!ApplyEffects(w, *c))
        return;
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

void OnCommand(Window& w, UINT id, UINT code) {
    Console* c = CurrentConsole(w);
    if (id == IDC_RCON_SEND) {
        SendTyped(w);
    } else if (id == IDC_RCON_CONSOLES && code == CBN_SELCHANGE) {
        LRESULT index = SendMessageA(w.consoleBox, CB_GETCURSEL, 0, 0);
        if (index >= 0)
            MakeCurrent(w, static_cast<int>(SendMessageA(w.consoleBox, CB_GETITEMDATA, index, 0)));
    } else if (id >= IDM_RCON_AUTO_NONE && id <= IDM_RCON_AUTO_60) {
        SetAutoStatus(w, id - IDM_RCON_AUTO_NONE);
    } else if (c && id == IDM_RCON_KICK) {
        // Not from the row's menu (which kicks the row clicked): the selected row.
        int row = static_cast<int>(SendMessageA(c->players, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (int32_t number = RowNumber(c->players, row); row >= 0 && number >= 0)
            c->session->Kick(number);
        ApplyEffects(w, *c);
    } else if (uint32_t tool = ToolOf(id); c && tool != kNoCommand) {
        c->session->RunTool(tool);
        ApplyEffects(w, *c);
    }
}

void OnNotify(Window& w, const NMHDR& header) {
    Console* c = CurrentConsole(w);
    if (header.hwndFrom == w.toolbar && header.code == TBN_DROPDOWN)
        OnAutoStatusArrow(w);
    else if (c && header.hwndFrom == c->players && header.code == NM_RCLICK)
        OnPlayerRightClick(w, *c, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
}

}  // namespace rcon::win32
