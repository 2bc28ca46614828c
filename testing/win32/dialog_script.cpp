// Thread timers look for the dialog or message box among the thread's windows.
#include "testing/win32/dialog_script.h"

#include <algorithm>

namespace testing_support {

namespace {

constexpr UINT kPollMs = 20;
// The static control of a message box that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::function<void(HWND)> g_script;
MessageBoxAnswers* g_answers = nullptr;

// The visible dialogs of this thread, topmost first.
std::vector<HWND> VisibleDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
    std::vector<HWND> dialogs = VisibleDialogs();
    if (dialogs.empty() || !g_script)
        return;
    KillTimer(nullptr, timer);
    HWND dialog = dialogs.front();
    auto script = std::move(g_script);
    g_script = nullptr;
    script(dialog);
    if (IsWindow(dialog) && IsWindowVisible(dialog))
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

void RunDialogScript(const std::function<void()>& open, const std::function<void(HWND)>& script) {
    g_script = script;
    UINT_PTR timer = SetTimer(nullptr, 0, kPollMs, RunScript);
    open();
    KillTimer(nullptr, timer);
    g_script = nullptr;
}

void PressButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

MessageBoxAnswers::MessageBoxAnswers(const char* caption, int button)
    : caption_(caption), button_(button), timer_(SetTimer(nullptr, 0, kPollMs, OnTimer)) {
    g_answers = this;
}

MessageBoxAnswers::~MessageBoxAnswers() {
    KillTimer(nullptr, timer_);
    g_answers = nullptr;
}

void CALLBACK MessageBoxAnswers::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_answers)
        return;
    for (HWND box : VisibleDialogs()) {
        std::vector<HWND>& answered = g_answers->answered_;
        if (TextOf(box) != g_answers->caption_ || !GetDlgItem(box, kMessageBoxTextId) ||
            std::find(answered.begin(), answered.end(), box) != answered.end())
            continue;
        answered.push_back(box);
        g_answers->texts.push_back(TextOf(GetDlgItem(box, kMessageBoxTextId)));
        PostMessageA(box, WM_COMMAND, g_answers->button_, 0);
    }
}

}  // namespace testing_support
