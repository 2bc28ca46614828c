// Actions on the program's message boxes and dialogs.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "testing/driver/actions.h"
#include "testing/driver/inside_query.h"
#include "testing/driver/program_windows.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

constexpr DWORD kMessageMs = 5000;
constexpr DWORD kNoMessageMs = 1000;
constexpr DWORD kAnswerMs = 10000;
constexpr DWORD kDialogWaitMs = 10000;
// Time allowed to a message box to go away once its button is pressed.
constexpr DWORD kMessageCloseMs = 5000;

// The first of the program's message boxes to appear within ms, or nullptr.
HWND WaitForMessageBox(DWORD ms) {
    HWND found = nullptr;
    WaitUntil(ms, kPollMs, [&found] {
        std::vector<HWND> dialogs = ProgramDialogs();
        found = dialogs.empty() ? nullptr : dialogs.front();
        return found != nullptr;
    });
    return found;
}

HWND ControlOf(const Args& args) {
    return RequireDialogControl(args.Text(0), args.Number<int>(1, 0, 0xFFFF));
}

}  // namespace

int Message(const Args& args) {
    DWORD ms = args.MillisecondsOr(0, kMessageMs);
    HWND box = WaitForMessageBox(ms);
    if (!box)
        Fail("no message box within %lu ms", static_cast<unsigned long>(ms));
    printf("%s\n", DialogText(box).c_str());
    return 0;
}

int NoMessage(const Args& args) {
    DWORD ms = args.MillisecondsOr(0, kNoMessageMs);
    HWND box = WaitForMessageBox(ms);
    if (!box)
        return 0;
    printf("%s\n", DialogText(box).c_str());
    fprintf(stderr, "vexar-driver: no-message: a message box appeared\n");
    return 1;
}

int Answer(const Args& args) {
    std::string text = args.Text(0);
    std::string button = args.Text(1);
    DWORD ms = args.MillisecondsOr(2, kAnswerMs);
    HWND box = nullptr;
    std::string shown;
    WaitUntil(ms, kPollMs, [&] {
        for (HWND dialog : ProgramDialogs()) {
            shown = DialogText(dialog);
            if (shown.find(text) != std::string::npos) {
                box = dialog;
                return true;
            }
        }
        return false;
    });
    if (!box) {
        std::string open;
        for (HWND dialog : ProgramDialogs())
            open += "\n  open: " + DialogText(dialog);
        Fail("no message containing \"%s\" within %lu ms%s", text.c_str(), static_cast<unsigned long>(ms),
             open.c_str());
    }
    HWND pressed = FindButton(box, button);
    if (!pressed)
        Fail("no button \"%s\" in the message \"%s\"", button.c_str(), shown.c_str());
    printf("%s\n", shown.c_str());
    fflush(stdout);
    DWORD thread = ThreadOf(box);
    PostOrFail(pressed, BM_CLICK, 0, 0);
    if (!WaitUntil(kMessageCloseMs, kPollMs, [box] { return !IsWindow(box) || !IsWindowVisible(box); }))
        Fail("the message box stayed open after pressing \"%s\"", button.c_str());
    // The code after the message box (a query the answer asked for, the next message) runs on
    // before the program takes its next posted message; a program may also end on the answer.
    WaitUntilTaken(thread, true);
    return 0;
}

int DlgWait(const Args& args) {
    const char* title = args.Text(0);
    DWORD ms = args.MillisecondsOr(1, kDialogWaitMs);
    if (!AnyProgram())
        RequireMain();
    if (!WaitForDialog(title, ms))
        Fail("no dialog \"%s\" within %lu ms", title, static_cast<unsigned long>(ms));
    return 0;
}

int DlgText(const Args& args) {
    std::string text = args.TextOr(2, "");
    HWND control = ControlOf(args);
    // WM_SETTEXT carries its text to the other process by itself.
    SendOrFail(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    std::string shown = WindowText(control);
    if (shown != text)
        Fail("the control shows \"%s\" after setting \"%s\"", shown.c_str(), text.c_str());
    return 0;
}

int DlgClick(const Args& args) {
    HWND control = ControlOf(args);
    DWORD thread = ThreadOf(control);  // the click may close the dialog
    PostOrFail(control, BM_CLICK, 0, 0);
    WaitUntilTaken(thread);
    return 0;
}

int DlgEnabled(const Args& args) {
    printf("%d\n", IsWindowEnabled(ControlOf(args)) ? 1 : 0);
    return 0;
}

int DlgRead(const Args& args) {
    printf("%s\n", WindowText(ControlOf(args)).c_str());
    return 0;
}

int DlgItems(const Args& args) {
    HWND combo = ControlOf(args);
    LRESULT count = SendOrFail(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // CB_GETLBTEXT carries its text back from the other process by itself, but under Wine
        // only in its wide form.
        wchar_t wide[1024] = {};
        if (SendOrFail(combo, CB_GETLBTEXTLEN, i, 0) >= static_cast<LRESULT>(std::size(wide)))
            Fail("entry %ld is too long", static_cast<long>(i));
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, 5000, &length))
            FailCall("SendMessageTimeout(CB_GETLBTEXT)");
        char text[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        printf("%s\n", text);
    }
    return 0;
}

int DlgSelect(const Args& args) {
    HWND control = ControlOf(args);
    std::string text = args.Text(2);
    bool listBox = HasClass(control, WC_LISTBOXA);
    if (SendOrFail(control, listBox ? LB_SELECTSTRING : CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(text.c_str())) < 0)
        Fail("no entry begins with \"%s\"", text.c_str());
    // A selection made by a message is not notified; a user's is.
    int id = GetDlgCtrlID(control);
    SendOrFail(GetParent(control), WM_COMMAND, MAKEWPARAM(id, listBox ? LBN_SELCHANGE : CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
    return 0;
}

int DlgChecked(const Args& args) {
    printf("%d\n", SendOrFail(ControlOf(args), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    return 0;
}

}  // namespace driver
