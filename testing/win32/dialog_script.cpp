// A thread timer finds the innermost dialog (a modal dialog disables its owner) whose script has
// not started yet.
#include "testing/win32/dialog_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace testing_support {

namespace {

constexpr UINT kPollMs = 20;
// The static control of a message box that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

DialogScript g_script;        // waits for the next dialog
std::vector<HWND> g_running;  // dialogs whose scripts run

BOOL CALLBACK FindActiveDialog(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || std::find(g_running.begin(), g_running.end(), dialog) != g_running.end())
        return;
    if (!g_script) {
        ADD_FAILURE() << "unexpected dialog";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    g_running.push_back(dialog);
    std::exchange(g_script, nullptr)(dialog);
    g_running.pop_back();
}

}  // namespace

void RunDialogScript(const std::function<void()>& open, const DialogScript& script) {
    bool shown = false;
    g_script = [&](HWND dialog) {
        shown = true;
        script(dialog);
        if (IsWindow(dialog) && IsWindowVisible(dialog))
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    UINT_PTR timer = SetTimer(nullptr, 0, kPollMs, RunScript);
    open();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    EXPECT_TRUE(shown) << "no dialog came up";
}

void MarkScripted(HWND window, bool scripted) {
    if (scripted)
        g_running.push_back(window);
    else
        g_running.erase(std::remove(g_running.begin(), g_running.end(), window), g_running.end());
}

void PressButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressInto(HWND dialog, int id, const DialogScript& script) {
    RunDialogScript([&] { PressButton(dialog, id); }, script);
}

std::string MessageBoxText(HWND box) {
    char text[512] = "", caption[128] = "";
    GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
    GetWindowTextA(box, caption, sizeof caption);
    return std::string(text) + "|" + caption;
}

DialogScript AnswerMessage(const std::string& text, const char* caption, int button) {
    return [=](HWND box) {
        EXPECT_EQ(MessageBoxText(box), text + "|" + caption);
        PressButton(box, button);
    };
}

DialogScript TypeAndPress(int edit, const std::string& text, int button) {
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, edit, text.c_str());
        PressButton(dialog, button);
    };
}

}  // namespace testing_support
