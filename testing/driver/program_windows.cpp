// Finding the program's windows from outside, with their texts and class names.
#include "testing/driver/program_windows.h"

#include <commctrl.h>

#include <cstdio>

#include "base/app_title.h"
#include "resources/resource.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

constexpr char kDialogClass[] = "#32770";
// How long an action on an open dialog waits for it to be there.
constexpr DWORD kDialogLookupMs = 3000;

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::string WithoutAmpersands(const std::string& label) {
    std::string out;
    for (char c : label) {
        if (c != '&')
            out += c;
    }
    return out;
}

}  // namespace

HWND FindMain() {
    return FindWindowA(base::kMainWindowClass, nullptr);
}

HWND RequireMain() {
    HWND main = FindMain();
    if (!main)
        Fail("no main window");
    return main;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

DWORD ThreadOf(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread)
        FailCall("GetWindowThreadProcessId");
    return thread;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                             kAnswerTimeoutMs, &length)) {
        if (!IsWindow(window))
            return "";
        FailCall("SendMessageTimeout(WM_GETTEXT)");
    }
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    if (!GetClassNameA(window, name, sizeof name)) {
        if (!IsWindow(window))
            return "";
        FailCall("GetClassName");
    }
    return name;
}

bool HasClass(HWND window, const char* windowClass) {
    return lstrcmpiA(ClassOf(window).c_str(), windowClass) == 0;
}

std::string Describe(HWND window) {
    if (!window)
        return "none";
    DWORD pid = 0;
    DWORD thread = GetWindowThreadProcessId(window, &pid);
    char text[512];
    snprintf(text, sizeof text, "%p %s \"%s\" (process %lu, thread %lu)", static_cast<void*>(window),
             ClassOf(window).c_str(), WindowText(window).c_str(), static_cast<unsigned long>(pid),
             static_cast<unsigned long>(thread));
    return text;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    if (!EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows)))
        FailCall("EnumWindows");
    return windows;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

HWND VisibleChildOfClass(HWND parent, const char* windowClass) {
    for (HWND child : ChildrenOf(parent)) {
        if (HasClass(child, windowClass) && IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

bool AnyProgram() {
    return GetEnvironmentVariableA("VEXAR_DRIVER_ANY_PROGRAM", nullptr, 0) > 0;
}

std::vector<HWND> ProgramDialogs() {
    std::vector<HWND> dialogs;
    HWND main = FindMain();
    if (!main && !AnyProgram())
        return dialogs;
    DWORD pid = main ? ProcessOf(main) : 0;
    for (HWND window : TopLevelWindows()) {
        if ((!main || ProcessOf(window) == pid) && IsWindowVisible(window) && HasClass(window, kDialogClass))
            dialogs.push_back(window);
    }
    return dialogs;
}

HWND WaitForDialog(const char* title, DWORD ms) {
    HWND found = nullptr;
    WaitUntil(ms, kPollMs, [title, &found] {
        for (HWND dialog : ProgramDialogs()) {
            if (WindowText(dialog) == title) {
                found = dialog;
                return true;
            }
        }
        return false;
    });
    return found;
}

HWND RequireDialogControl(const char* title, int id) {
    if (!AnyProgram())
        RequireMain();
    HWND dialog = WaitForDialog(title, kDialogLookupMs);
    if (!dialog)
        Fail("no dialog \"%s\"", title);
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        Fail("no control %d in the dialog \"%s\"", id, title);
    return control;
}

std::string DialogText(HWND dialog) {
    std::string text;
    for (HWND child : ChildrenOf(dialog)) {
        if (!HasClass(child, WC_STATICA))
            continue;
        std::string line = WindowText(child);
        if (line.empty())
            continue;
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

HWND FindButton(HWND dialog, const std::string& label) {
    for (HWND child : ChildrenOf(dialog)) {
        if (HasClass(child, WC_BUTTONA) && WithoutAmpersands(WindowText(child)) == label)
            return child;
    }
    return nullptr;
}

HWND PaneList(HWND main, const char* paneClass) {
    HWND pane = VisibleChildOfClass(main, paneClass);
    if (!pane)
        return nullptr;
    for (HWND child : ChildrenOf(pane)) {
        if (HasClass(child, WC_LISTVIEWA))
            return child;
    }
    return nullptr;
}

HWND TabControl(HWND main) {
    HWND tab = nullptr;
    for (HWND child : ChildrenOf(main)) {
        if (HasClass(child, WC_TABCONTROLA))
            tab = child;
    }
    if (!tab)
        Fail("no tab control");
    return tab;
}

HWND Toolbar(HWND main) {
    // The toolbar sits in a bar along the top of the main window.
    for (HWND child : ChildrenOf(main)) {
        HWND toolbar = GetDlgItem(child, IDC_TOOLBAR);
        if (toolbar && HasClass(toolbar, TOOLBARCLASSNAMEA))
            return toolbar;
    }
    Fail("no toolbar");
}

}  // namespace driver
