// The remote-control window's modal loops: the prompts its consoles ask for, shown one at a time
// from a posted message (never from inside a socket or timer message), and the close that waits
// until the last loop has returned.
//
// Inside a dialog's or menu's loop the window's timers and socket messages keep running, and the
// owner of the window may close it or be destroyed (removing a game, leaving the program). So a
// prompt holds only its console's id, looks the console up again when the loop returns, and a
// close asked for meanwhile ends the window's dialogs and waits for the loops to unwind before the
// state they run on is freed.
#include "base/app_title.h"
#include "catalogue/catalogue.h"
#include "rcon/win32/change_map_dialog.h"
#include "rcon/win32/console_window.h"
#include "rcon/win32/password_dialog.h"
#include "rcon/win32/server_properties_dialog.h"

namespace rcon::win32 {

namespace {

// Ends a dialog or message box whose owner chain leads to the window.
BOOL CALLBACK EndIfOwnedBy(HWND candidate, LPARAM window) {
    char name[16] = {};
    GetClassNameA(candidate, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0)
        return TRUE;
    for (HWND owner = GetWindow(candidate, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == reinterpret_cast<HWND>(window)) {
            EndDialog(candidate, IDCANCEL);
            break;
        }
    }
    return TRUE;
}

void SaveState(Window& w) {
    if (w.saved)
        return;
    w.saved = true;
    SaveHistory(w);
    if (!w.destroyed)
        StorePlacement(w);
}

// A tool dialog's command goes to its console, if the console is still open.
RunCommand RunOn(Window& w, int id) {
    return [&w, id](const std::string& command) {
        Console* c = w.closeRequested ? nullptr : FindConsole(w, id);
        if (c) {
            c->session->Run(command);
            ApplyEffects(w, *c);
        }
    };
}

// Shows one prompt; false when the window was closed meanwhile.
bool ShowPrompt(Window& w, QueuedPrompt& next) {
    HWND owner = w.window;
    HINSTANCE instance = w.host.instance;
    const int id = next.consoleId;
    if (auto* tell = std::get_if<TellUser>(&next.prompt)) {
        UINT style = MB_OK | (tell->icon == TellUser::kStop ? MB_ICONSTOP : MB_ICONINFORMATION);
        return RunModal(w, [&] { MessageBoxA(owner, tell->message.c_str(), base::kAppTitle, style); });
    }
    if (auto* props = std::get_if<ShowProperties>(&next.prompt)) {
        RunCommand run = RunOn(w, id);
        return RunModal(w, [&] { RunServerProperties(instance, owner, std::move(props->rows), run); });
    }
    if (auto* maps = std::get_if<ShowMaps>(&next.prompt)) {
        RunCommand run = RunOn(w, id);
        return RunModal(w, [&] { RunChangeMap(instance, owner, maps->maps, run); });
    }
    Console* c = FindConsole(w, id);
    if (!c)
        return true;
    if (auto* ask = std::get_if<AskPassword>(&next.prompt)) {
        const uint32_t kind = c->session->Kind();
        auto ports = w.host.catalogue.defaultPortsOf(kind);
        PasswordRequest request{ask->password, ask->port, ports ? ports->defaultHostPort : 0,
                                SpeaksHalfLifeRcon(kind) || SpeaksSourceRcon(kind), ask->save};
        INT_PTR result = IDCANCEL;
        if (!RunModal(w, [&] { result = RunPasswordDialog(instance, owner, request); }))
            return false;
        if (Console* again = FindConsole(w, id)) {
            std::optional<PasswordAnswer> answer;
            if (result == IDOK)
                answer = PasswordAnswer{request.password, request.port, request.save};
            again->session->AnswerPassword(answer);
            return ApplyEffects(w, *again);
        }
        return true;
    }
    if (auto* kick = std::get_if<AskKickReason>(&next.prompt)) {
        std::string reason;
        INT_PTR result = IDCANCEL;
        if (!RunModal(w, [&] { result = RunKickPlayer(instance, owner, kick->name, reason); }))
            return false;
        if (Console* again = FindConsole(w, id)) {
            again->session->AnswerKickReason(kick->number,
                                             result == IDOK ? std::optional<std::string>(reason) : std::nullopt);
            return ApplyEffects(w, *again);
        }
    }
    return true;
}

}  // namespace

bool RunModal(Window& w, const std::function<void()>& loop) {
    ++w.modalDepth;
    loop();
    --w.modalDepth;
    if (w.closeRequested) {
        if (w.modalDepth == 0)
            FinishClose(w);
        return false;
    }
    if (w.modalDepth == 0 && !w.prompts.empty())
        PostMessageA(w.window, RC_SHOW_PROMPT, 0, 0);
    return true;
}

void QueuePrompt(Window& w, int consoleId, ConsoleEffect prompt) {
    w.prompts.push_back({consoleId, std::move(prompt)});
    PostMessageA(w.window, RC_SHOW_PROMPT, 0, 0);
}

void ShowPrompts(Window& w) {
    while (w.modalDepth == 0 && !w.closeRequested && !w.prompts.empty()) {
        QueuedPrompt next = std::move(w.prompts.front());
        w.prompts.pop_front();
        if (next.consoleId && !FindConsole(w, next.consoleId))
            continue;
        if (!ShowPrompt(w, next))
            return;
    }
}

bool RequestClose(Window& w) {
    SaveState(w);
    if (w.modalDepth == 0) {
        FinishClose(w);
        return false;
    }
    w.closeRequested = true;
    EnumThreadWindows(GetCurrentThreadId(), EndIfOwnedBy, reinterpret_cast<LPARAM>(w.window));
    EndMenu();
    return true;
}

void FinishClose(Window& w) {
    SaveState(w);
    w.closeRequested = true;
    w.consoles.clear();  // each session closes its socket
    if (w.destroyed)
        return FreeWindow();
    KillTimer(w.window, kAutoStatusTimer);
    KillTimer(w.window, kTickTimer);
    DestroyWindow(w.window);  // its WM_DESTROY frees the state
}

void OnDestroyed(Window& w) {
    SaveState(w);
    if (w.modalDepth > 0) {
        // The owner went under a dialog of ours: the state lives on until the loops return.
        w.destroyed = true;
        w.closeRequested = true;
        return;
    }
    HWND main = w.host.main;
    FreeWindow();
    SetActiveWindow(main);
}

}  // namespace rcon::win32
