// A thread timer looks for a dialog (or menu) it has not answered yet, as dialog_script does for one.
#include "testing/win32/dialog_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {

namespace {

constexpr UINT kPollMs = 20;

struct Sequence {
    std::vector<DialogScript> scripts;
    size_t next = 0;
    std::vector<HWND> answered;
    bool running = false;
};
Sequence* g_sequence = nullptr;

struct MenuChoice {
    int position = 0;
    bool chosen = false;
};
MenuChoice* g_menu = nullptr;

// The visible, enabled (innermost) dialog of the thread, or the visible popup menu.
BOOL CALLBACK FindWindowOfClass(HWND window, LPARAM found) {
    auto* want = reinterpret_cast<std::pair<const char*, HWND>*>(found);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, want->first) || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    want->second = window;
    return FALSE;
}

HWND Find(const char* windowClass) {
    std::pair<const char*, HWND> want{windowClass, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindWindowOfClass, reinterpret_cast<LPARAM>(&want));
    if (!want.second)
        EnumWindows(FindWindowOfClass, reinterpret_cast<LPARAM>(&want));  // menus belong to the desktop
    return want.second;
}

void CALLBACK AnswerNext(HWND, UINT, UINT_PTR, DWORD) {
    Sequence* s = g_sequence;
    HWND dialog = s && !s->running ? Find("#32770") : nullptr;
    if (!dialog || std::find(s->answered.begin(), s->answered.end(), dialog) != s->answered.end())
        return;
    s->answered.push_back(dialog);
    if (s->next == s->scripts.size()) {
        ADD_FAILURE() << "unexpected dialog";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    s->running = true;
    s->scripts[s->next++](dialog);
    s->running = false;
    if (IsWindow(dialog) && IsWindowVisible(dialog))
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = g_menu && !g_menu->chosen ? Find("#32768") : nullptr;
    if (!menu)
        return;
    g_menu->chosen = true;
    for (int i = 0; i <= g_menu->position; ++i)
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

size_t RunDialogSequence(const std::function<void()>& open, std::vector<DialogScript> scripts) {
    Sequence sequence{std::move(scripts)};
    Sequence* outer = std::exchange(g_sequence, &sequence);
    UINT_PTR timer = SetTimer(nullptr, 0, kPollMs, AnswerNext);
    open();
    KillTimer(nullptr, timer);
    g_sequence = outer;
    return sequence.next;
}

bool ChooseMenuItem(const std::function<void()>& open, int position) {
    MenuChoice choice{position};
    g_menu = &choice;
    UINT_PTR timer = SetTimer(nullptr, 0, kPollMs, PressMenuKeys);
    open();
    KillTimer(nullptr, timer);
    g_menu = nullptr;
    return choice.chosen;
}

}  // namespace testing_support
