// Actions on the main window: waiting for it, commands, keys, mouse, geometry, menu marks, closing,
// and timing its answers.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "testing/driver/actions.h"
#include "testing/driver/inside_query.h"
#include "testing/driver/program_windows.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

constexpr DWORD kWaitMainMs = 20000;
constexpr DWORD kCloseMs = 20000;
constexpr DWORD kWaitIdleMs = 30000;
// Between a master query and the refresh it starts, "Stop Server refresh" is greyed for a moment:
// the program is idle once the button has stayed greyed this long.
constexpr DWORD kIdleHoldMs = 1000;
constexpr DWORD kProbePeriodMs = 20;
constexpr DWORD kProbeLimitMs = 600000;
// A probe not answered within this long is recorded with this time.
constexpr DWORD kProbeAnswerLimitMs = 10000;

// "Stop Server refresh" is greyed exactly while no master query or refresh runs.
bool ToolbarIdle(HWND toolbar) {
    LRESULT state = SendOrFail(toolbar, TB_GETSTATE, IDM_STOP_REFRESH, 0);
    if (state == -1)
        Fail("the toolbar has no \"Stop Server refresh\" button");
    return (state & TBSTATE_INDETERMINATE) != 0;
}

// The performance counter in microseconds (under Wine: CLOCK_MONOTONIC_RAW of the system).
long long CounterMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / frequency.QuadPart * 1000000 +
           now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

WORD ModifierKey(const char* name) {
    if (strcmp(name, "ctrl") == 0)
        return VK_CONTROL;
    if (strcmp(name, "alt") == 0)
        return VK_MENU;
    if (strcmp(name, "shift") == 0)
        return VK_SHIFT;
    throw UsageError(std::string("unknown modifier \"") + name + "\" (ctrl, alt or shift)");
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

int WaitMain(const Args& args) {
    DWORD ms = args.MillisecondsOr(0, kWaitMainMs);
    HWND main = nullptr;
    if (!WaitUntil(ms, kPollMs, [&main] { return (main = FindMain()) != nullptr; }))
        Fail("no main window within %lu ms", static_cast<unsigned long>(ms));
    printf("%p\n", static_cast<void*>(main));
    return 0;
}

int CountWindows(const Args& args) {
    const char* windowClass = args.Text(0);
    int count = 0;
    for (HWND window : TopLevelWindows()) {
        if (HasClass(window, windowClass))
            ++count;
    }
    printf("%d\n", count);
    return 0;
}

int Command(const Args& args) {
    DWORD id = args.Number<DWORD>(0);
    HWND main = RequireMain();
    DWORD thread = ThreadOf(main);
    PostOrFail(main, WM_COMMAND, id, 0);
    WaitUntilTaken(thread);
    return 0;
}

int Key(const Args& args) {
    BYTE vk = args.Number<BYTE>(0, 1, 254);
    WORD modifier = args.Count() > 1 ? ModifierKey(args.Text(1)) : 0;
    HWND main = RequireMain();
    // Accelerators look at the state of the modifier keys, so the key goes through the input queue
    // like a real one; the hook tells when the program has taken the last key-up, the modifier's.
    InsideQuery keyUp(ThreadOf(main), kQueryKeyUp, modifier ? modifier : vk);
    if (!SetForegroundWindow(main))
        FailCall("SetForegroundWindow");
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    if (modifier)
        inputs.push_back(KeyInput(modifier, true));
    std::string before = Describe(GetForegroundWindow());
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        FailCall("SendInput");
    try {
        keyUp.Wait(kTakeTimeoutMs, "the key");
    } catch (const ActionFailure& e) {
        Fail("%s; the foreground window was %s when the key was sent, and is %s now (the main window is %s)", e.what(),
             before.c_str(), Describe(GetForegroundWindow()).c_str(), Describe(main).c_str());
    }
    return 0;
}

int Send(const Args& args) {
    UINT message = args.Number<UINT>(0);
    WPARAM wParam = args.NumberOr<WPARAM>(1, 0);
    LPARAM lParam = args.NumberOr<LPARAM>(2, 0);
    LRESULT result = SendOrFail(RequireMain(), message, wParam, lParam);
    printf("%s\n", std::to_string(static_cast<long long>(result)).c_str());
    return 0;
}

int Mouse(const Args& args) {
    UINT message = args.Number<UINT>(0);
    short x = args.Number<short>(1);
    short y = args.Number<short>(2);
    HWND main = RequireMain();
    DWORD thread = ThreadOf(main);
    PostOrFail(main, message, MK_LBUTTON, MAKELPARAM(x, y));
    WaitUntilTaken(thread);
    return 0;
}

int Rect(const Args& args) {
    const char* windowClass = args.Text(0);
    HWND main = RequireMain();
    HWND window = VisibleChildOfClass(main, windowClass);
    if (!window)
        Fail("no visible window of class %s", windowClass);
    RECT r;
    if (!GetWindowRect(window, &r))
        FailCall("GetWindowRect");
    POINT topLeft = {r.left, r.top};
    POINT bottomRight = {r.right, r.bottom};
    if (!ScreenToClient(main, &topLeft) || !ScreenToClient(main, &bottomRight))
        FailCall("ScreenToClient");
    printf("%ld %ld %ld %ld\n", topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y);
    return 0;
}

int MenuState(const Args& args) {
    UINT id = args.Number<UINT>(0, 0, 0xFFFF);
    UINT state = QueryMenuState(RequireMain(), id);
    if (state == static_cast<UINT>(-1))
        printf("missing\n");
    else
        printf("%s%s\n", (state & MF_CHECKED) ? "checked" : "unchecked", (state & MF_GRAYED) ? " grayed" : "");
    return 0;
}

int Show(const Args& args) {
    int command = args.Number<int>(0, SW_HIDE, SW_MAX);
    HWND main = RequireMain();
    DWORD thread = ThreadOf(main);
    if (!ShowWindowAsync(main, command))
        FailCall("ShowWindowAsync");
    WaitUntilTaken(thread);
    return 0;
}

int Visible(const Args& args) {
    printf("%d\n", IsWindowVisible(RequireMain()) ? 1 : 0);
    return 0;
}

int Close(const Args& args) {
    DWORD ms = args.MillisecondsOr(0, kCloseMs);
    HWND main = RequireMain();
    // A box or dialog that is up closes with the window, unseen: each is named, so that a test that
    // finds less saved than it expected can tell why.
    for (HWND dialog : ProgramDialogs()) {
        if (IsWindowVisible(dialog))
            printf("open at close: %s: %s\n", WindowText(dialog).c_str(), DialogText(dialog).c_str());
    }
    PostOrFail(main, WM_CLOSE, 0, 0);
    if (!WaitUntil(ms, kPollMs, [main] { return !IsWindow(main); }))
        Fail("the main window is still there after %lu ms", static_cast<unsigned long>(ms));
    return 0;
}

int WaitIdle(const Args& args) {
    DWORD ms = args.MillisecondsOr(0, kWaitIdleMs);
    HWND toolbar = Toolbar(RequireMain());
    ULONGLONG idleSince = 0;
    bool idle = WaitUntil(ms, kPollMs, [toolbar, &idleSince] {
        if (!ToolbarIdle(toolbar)) {
            idleSince = 0;
            return false;
        }
        ULONGLONG now = GetTickCount64();
        if (!idleSince)
            idleSince = now;
        return now - idleSince >= kIdleHoldMs;
    });
    if (!idle)
        Fail("still busy after %lu ms", static_cast<unsigned long>(ms));
    return 0;
}

int WatchRefresh(const Args& args) {
    DWORD ms = args.MillisecondsOr(0, kWaitIdleMs);
    HWND toolbar = Toolbar(RequireMain());
    // A refresh of a server that answers at once may begin and end between two looks.
    ToolbarEnableWatch enabled(toolbar, IDM_STOP_REFRESH);
    bool seenBusy = !ToolbarIdle(toolbar);
    // The caller starts the work once it has read this line, so that none of it goes unseen.
    printf("watching\n");
    fflush(stdout);
    ULONGLONG idleSince = 0;
    bool ended = WaitUntil(ms, kPollMs, [toolbar, &enabled, &seenBusy, &idleSince] {
        if (!seenBusy && enabled.Seen())
            seenBusy = true;
        if (!ToolbarIdle(toolbar)) {
            seenBusy = true;
            idleSince = 0;
            return false;
        }
        if (!seenBusy)
            return false;
        ULONGLONG now = GetTickCount64();
        if (!idleSince)
            idleSince = now;
        return now - idleSince >= kIdleHoldMs;
    });
    if (!ended && !seenBusy)
        Fail("no master query or refresh started within %lu ms", static_cast<unsigned long>(ms));
    if (!ended)
        Fail("a master query or refresh still ran after %lu ms", static_cast<unsigned long>(ms));
    return 0;
}

int Probe(const Args& args) {
    DWORD period = args.NumberOr<DWORD>(0, kProbePeriodMs, 1, 60000);
    DWORD ms = args.MillisecondsOr(1, kProbeLimitMs);
    HWND main = RequireMain();
    HWND toolbar = Toolbar(main);
    const ULONGLONG start = GetTickCount64();
    bool seenBusy = false;
    ULONGLONG idleSince = 0;
    for (;;) {
        const ULONGLONG due = GetTickCount64() + period;
        const long long sent = CounterMicroseconds();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, kProbeAnswerLimitMs, &result) && !IsWindow(main))
            Fail("the main window went away");
        const long long answered = CounterMicroseconds();
        printf("%lld %lld\n", sent, answered - sent);
        const ULONGLONG now = GetTickCount64();
        if (!ToolbarIdle(toolbar)) {
            seenBusy = true;
            idleSince = 0;
        } else if (seenBusy) {
            if (!idleSince)
                idleSince = now;
            if (now - idleSince >= kIdleHoldMs) {
                printf("idle %lld\n", CounterMicroseconds() - static_cast<long long>(now - idleSince) * 1000);
                return 0;
            }
        }
        if (now - start >= ms)
            Fail("no busy spell ended within %lu ms", static_cast<unsigned long>(ms));
        if (due > now)
            Sleep(static_cast<DWORD>(due - now));
    }
}

}  // namespace driver
