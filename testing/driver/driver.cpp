// vexar-driver's action table, argument checking and main().
//
// The driver works a running vexar.exe from outside in the same Wine session, one action per run;
// results go to standard output, one item per line. Exit code 0 on success, 1 on failure, 2 on a
// usage error.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "testing/driver/actions.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

// The longest time limit an action accepts: a day.
constexpr DWORD kMaxWaitMs = 24 * 60 * 60 * 1000;

constexpr Action kActions[] = {
    {"wait-main", 0, 1, "[ms]", "wait until the main window exists; print its handle", WaitMain},
    {"count-windows", 1, 1, "CLASS", "number of top-level windows of a class", CountWindows},
    {"message", 0, 1, "[ms]", "wait for a message box of vexar; print its text", Message},
    {"answer", 2, 3, "TEXT BUTTON [ms]", "wait for a message box containing TEXT, print its text and press BUTTON",
     Answer},
    {"no-message", 0, 1, "[ms]", "fail, printing its text, if a message box of vexar appears within ms", NoMessage},
    {"command", 1, 1, "ID", "post WM_COMMAND ID to the main window and wait until it is taken", Command},
    {"key", 1, 2, "VK [ctrl|alt|shift]", "press a key in the main window (accelerators) and wait until it is taken",
     Key},
    {"send", 1, 3, "MSG [WPARAM [LPARAM]]", "send a message to the main window; print the result", Send},
    {"mouse", 3, 3, "MSG X Y", "post a mouse message at client X, Y of the main window and wait until it is taken",
     Mouse},
    {"tabs", 0, 0, "", "selected tab index, then the tab texts", Tabs},
    {"select-tab", 1, 1, "N", "click tab N; print \"selected\" or \"refused\"", SelectTab},
    {"rows", 1, 1, "CLASS", "rows of the list control in the visible pane of CLASS, cells separated by tabs", Rows},
    {"table", 1, 1, "CLASS", "the column captions of that list, separated by tabs, then its rows as rows prints them",
     Table},
    {"select-row", 2, 2, "CLASS N", "select and focus row N of that list", SelectRow},
    {"window-rows", 1, 1, "CLASS", "rows of the first visible list control in the top-level window of CLASS",
     WindowRows},
    {"window-table", 1, 1, "CLASS", "the column captions of that window's first visible list, then its rows",
     WindowTable},
    {"window-select-row", 2, 2, "CLASS N", "select and focus row N of that window's first visible list",
     WindowSelectRow},
    {"window-child-text", 2, 2, "CLASS CHILDCLASS", "text of the first visible CHILDCLASS child of that window",
     WindowChildText},
    {"window-set-item-text", 3, 3, "CLASS ID TEXT", "set the text of the child window ID of that window",
     WindowSetItemText},
    {"window-command", 2, 2, "CLASS ID", "post WM_COMMAND ID to the top-level window of CLASS; wait until taken",
     WindowCommand},
    {"rect", 1, 1, "CLASS", "client rectangle (x y width height) of the visible window of CLASS in the main window",
     Rect},
    {"menu-state", 1, 1, "ID", "\"checked\"/\"unchecked\" (+ \" grayed\") of a main menu item, or \"missing\"",
     MenuState},
    {"reg-dword", 1, 1, "NAME", "a value under the program's registry key (\"text:\" before text, or \"missing\")",
     RegDword},
    {"reg-text", 1, 1, "NAME", "a value under the program's registry key (\"dword:\" before a number, or \"missing\")",
     RegText},
    {"show", 1, 1, "CMD", "ShowWindow(main, CMD) (3 maximise, 6 minimise, 9 restore), then wait until it is taken",
     Show},
    {"visible", 0, 0, "", "\"1\" when the main window is visible, else \"0\"", Visible},
    {"close", 0, 1, "[ms]", "post WM_CLOSE and wait for the main window to go away", Close},
    {"wait-idle", 0, 1, "[ms]",
     "wait until no master query or refresh runs (\"Stop Server refresh\" greyed for a second)", WaitIdle},
    {"watch-refresh", 0, 1, "[ms]",
     "print \"watching\", then wait until a master query or refresh has run and the program is idle as wait-idle "
     "says (a spell that begins and ends within one message is not seen)",
     WatchRefresh},
    {"probe", 0, 2, "[PERIOD [ms]]",
     "send the main window a message every PERIOD ms (20) until a master query or refresh has run and ended; "
     "print each probe's counter time and answer time in microseconds, then \"idle\" and the time it ended",
     Probe},
    {"dlg-wait", 1, 2, "TITLE [ms]", "wait for a dialog of vexar with that caption", DlgWait},
    {"dlg-text", 2, 3, "TITLE ID [TEXT]", "set the text of control ID of that dialog", DlgText},
    {"dlg-click", 2, 2, "TITLE ID", "press button ID of that dialog and wait until it is taken", DlgClick},
    {"dlg-rows", 2, 2, "TITLE ID", "rows of the list control ID of that dialog", DlgRows},
    {"dlg-table", 2, 2, "TITLE ID", "the column captions of the list control ID of that dialog, then its rows",
     DlgTable},
    {"dlg-enabled", 2, 2, "TITLE ID", "\"1\" when control ID of that dialog is enabled, else \"0\"", DlgEnabled},
    {"special-folder", 1, 1, "desktop|startmenu", "the path of the user's Desktop or Start Menu folder", SpecialFolder},
    {"link-target", 1, 1, "PATH", "the target and the description of a shell link, one a line", LinkTarget},
    {"dlg-read", 2, 2, "TITLE ID", "the text of control ID of that dialog", DlgRead},
    {"dlg-items", 2, 2, "TITLE ID", "the entries of combo box ID of that dialog, one a line", DlgItems},
    {"dlg-select", 3, 3, "TITLE ID TEXT",
     "select the first entry of combo or list box ID that begins with TEXT, as a user would", DlgSelect},
    {"dlg-checked", 2, 2, "TITLE ID", "\"1\" when check box ID of that dialog is checked, else \"0\"", DlgChecked},
};

std::string Synopsis(const Action& action) {
    std::string synopsis = action.name;
    if (*action.usage)
        synopsis += std::string(" ") + action.usage;
    return synopsis;
}

void PrintUsage() {
    size_t width = 0;
    for (const Action& action : kActions)
        width = std::max(width, Synopsis(action).size());
    fprintf(stderr,
            "usage: vexar-driver ACTION [ARGUMENTS]\n"
            "Works a running vexar.exe from outside. Exit code 0 on success, 1 on failure, 2 on a usage error.\n"
            "Numbers are decimal, or hexadecimal with 0x; ms is a time limit in milliseconds.\n"
            "Actions:\n");
    for (const Action& action : kActions)
        fprintf(stderr, "  %-*s  %s\n", static_cast<int>(width), Synopsis(action).c_str(), action.summary);
}

const Action* FindAction(const char* name) {
    for (const Action& action : kActions) {
        if (strcmp(action.name, name) == 0)
            return &action;
    }
    return nullptr;
}

void CheckCount(const Action& action, const Args& args) {
    size_t count = args.Count();
    if (count >= action.minArgs && count <= action.maxArgs)
        return;
    std::string takes = std::to_string(action.minArgs);
    if (action.maxArgs != action.minArgs)
        takes += " to " + std::to_string(action.maxArgs);
    takes += action.maxArgs == 1 ? " argument" : " arguments";
    throw UsageError("takes " + takes + ", got " + std::to_string(count));
}

}  // namespace

const char* Args::Text(size_t i) const {
    if (i >= Count())
        throw UsageError("argument " + std::to_string(i + 1) + " is missing");
    return values_[i];
}

long long Args::ParseNumber(size_t i, long long min, long long max) const {
    const char* text = Text(i);
    char* end = nullptr;
    errno = 0;
    long long value = strtoll(text, &end, 0);
    if (end == text || *end != '\0' || errno == ERANGE ||
        !(isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '+'))
        throw UsageError(std::string("\"") + text + "\" is not a number");
    if (value < min || value > max)
        throw UsageError(std::string("\"") + text + "\" is out of range (" + std::to_string(min) + " to " +
                         std::to_string(max) + ")");
    return value;
}

DWORD Args::MillisecondsOr(size_t i, DWORD fallback) const {
    return NumberOr<DWORD>(i, fallback, 0, kMaxWaitMs);
}

}  // namespace driver

int main(int argc, char** argv) {
    using namespace driver;
    const Action* action = argc >= 2 ? FindAction(argv[1]) : nullptr;
    if (!action) {
        if (argc >= 2)
            fprintf(stderr, "vexar-driver: unknown action \"%s\"\n", argv[1]);
        PrintUsage();
        return 2;
    }
    try {
        Args args(std::span<char* const>(argv + 2, static_cast<size_t>(argc - 2)));
        CheckCount(*action, args);
        return action->handler(args);
    } catch (const UsageError& e) {
        fprintf(stderr, "vexar-driver: %s: %s\nusage: vexar-driver %s\n", action->name, e.what(),
                Synopsis(*action).c_str());
        return 2;
    } catch (const std::exception& e) {
        fprintf(stderr, "vexar-driver: %s: %s\n", action->name, e.what());
        return 1;
    }
}
