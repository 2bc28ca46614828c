// The list panes at 30,000 servers on real Win32: loading a profile's list at tab activation,
// redisplay after a filter change, sorting by name, a refresh's worth of row updates, stale
// removals, and the process memory. Prints the times; run by hand under Wine.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/main_window.h"
#include "app/win32/frame/shell.h"
#include "app/win32/settings/registry.h"
#include "app/win32/settings/win32_settings.h"
#include "base/text.h"
#include "catalogue/profiles.h"
#include "testing/temp_folder.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace {

// The number of servers; a first argument may give another.
int kServers = 30000;

using namespace app::win32;
using namespace views::win32;

class QuietSink : public base::MessageSink {
  public:
    bool AskYesNo(std::string_view, base::MessageIcon) override { return false; }
    void Tell(std::string_view text, base::MessageIcon) override {
        std::printf("message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Handles every waiting message, painting included.
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Report(const char* what, double start) {
    std::printf("%-58s %9.1f ms\n", what, Now() - start);
}

void ReportMemory(const char* when) {
    PROCESS_MEMORY_COUNTERS_EX m = {};
    m.cb = sizeof m;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
    std::printf("memory %-22s working set %6.1f MB, peak %6.1f MB, committed %6.1f MB\n", when,
                m.WorkingSetSize / 1048576.0, m.PeakWorkingSetSize / 1048576.0, m.PagefileUsage / 1048576.0);
}

// A profile whose list file (GS001.vexar) holds kServers servers, and a small second one that is
// the start-up tab.
void WriteProfiles(const std::string& folder) {
    catalogue::ProfileList list(folder, GetSysColor(COLOR_BTNFACE));
    for (const char* title : {"Thirty thousand", "Small"}) {
        auto p = std::make_unique<catalogue::GameProfile>();
        base::CopyText(p->title, title);
        p->kind = catalogue::kQuake3;
        list.registerProfile(std::move(p), true, true);
    }
    catalogue::GameProfile& big = *list.profiles()[0];
    std::mt19937 rng(1234);
    static const char* kMaps[] = {"q3dm17", "q3tourney2", "oa_dm1", "q3ctf1", "pro-q3dm6"};
    for (int i = 0; i < kServers; ++i) {
        char address[20];
        base::FormatText(address, sizeof address, "10.%d.%d.%d", i / 65536, (i / 256) % 256, i % 256);
        catalogue::findOrCreateServer(big.servers, catalogue::MakeServerTemplate(address, 27960));
        catalogue::ServerRecord* r = big.servers.tail;
        base::FormatText(r->hostName, sizeof r->hostName, "^%d%s server %d ^7#%u", i % 10, i % 3 ? "Fast" : "slow", i,
                         static_cast<unsigned>(rng()));
        base::CopyText(r->mapName, kMaps[rng() % 5]);
        r->ping = rng() % 10 == 0 ? catalogue::kNoPing : 20 + rng() % 400;
        r->maxPlayers = 16;
        r->playerCount = static_cast<int32_t>(rng() % 17);
        r->isFavourite = rng() % 50 == 0;
        r->joinCount = rng() % 20 == 0 ? 1 + rng() % 3 : 0;
        base::CopyText(r->passwordText, rng() % 8 == 0 ? "1" : "0");
        r->refreshPending = 0;
    }
    list.saveProfiles();
}

void ColumnClick(HWND pane, HWND list, int column) {
    NMLISTVIEW n = {};
    n.hdr.hwndFrom = list;
    n.hdr.code = LVN_COLUMNCLICK;
    n.iItem = -1;
    n.iSubItem = column;
    SendMessageA(pane, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

int Rows(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 1)
        kServers = std::atoi(argv[1]);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                          ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterWindowClasses(instance);
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX");
    WriteRegDword(HKEY_CURRENT_USER, 1, base::kRegistryKey, "NDF");

    testing_support::TempFolder folder;
    double t = Now();
    WriteProfiles(folder.path());
    Report("write GS001.vexar with 30,000 servers", t);
    WritePrivateProfileStringA("games", "active", "1", folder.File("vexar.ini").c_str());
    ReportMemory("before the shell");

    QuietSink sink;
    static app::AppContext ctx;
    PrepareContext(ctx, std::make_unique<Win32Settings>(folder.path()), folder.path());
    Shell shell(instance, ctx, {nullptr, nullptr, &sink});
    HWND main = OpenMainWindow(shell);
    if (!main)
        return 1;
    SetWindowPos(main, nullptr, 0, 0, 1100, 800, SWP_NOMOVE | SWP_NOZORDER);
    Pump();

    // Tab activation: the list file is read and every server offered to the pane, then painted.
    HWND tab = shell.tab;
    t = Now();
    SendMessageA(tab, TCM_SETCURSEL, 0, 0);
    NMHDR change = {tab, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    UpdateWindow(main);
    Pump();
    catalogue::GameProfile* p = CurrentProfile(shell);
    HWND pane = PanesOf(shell, p).server;
    HWND list = PanesOf(shell, p).serverList;
    std::printf("rows after activation: %d of %u\n", Rows(list), p->servers.count);
    Report("tab activation: load and populate 30,000 servers", t);
    ReportMemory("after loading");

    // Filter changes: the main window rebuilds the rows.
    ctx.display.HidePassworded = 1;
    t = Now();
    SendMessageA(main, WM_APP_REFILTER, 0, 0);
    UpdateWindow(main);
    Pump();
    std::printf("rows with passworded servers hidden: %d\n", Rows(list));
    Report("refilter (hide passworded)", t);
    ctx.display.HidePassworded = 0;
    ctx.display.ShowNoReply = 1;
    t = Now();
    SendMessageA(main, WM_APP_REFILTER, 0, 0);
    UpdateWindow(main);
    Pump();
    std::printf("rows with no-reply servers shown: %d\n", Rows(list));
    Report("refilter (show all)", t);

    // Sorting by the name column, both ways, with a selection to keep.
    LVITEMA select = {};
    select.stateMask = select.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 12345, reinterpret_cast<LPARAM>(&select));
    for (const char* what : {"sort by name (ascending)", "sort by name (descending)"}) {
        t = Now();
        ColumnClick(pane, list, 3);
        UpdateWindow(list);
        Pump();
        Report(what, t);
    }
    ctx.display.FavouritesOnTop = 1;
    t = Now();
    SendMessageA(pane, PM_RESORT, 0, 0);
    UpdateWindow(list);
    Pump();
    Report("resort with favourites on top", t);

    // A refresh's worth of replies: every record changed and its row rewritten.
    t = Now();
    for (catalogue::ServerRecord* r = p->servers.head; r; r = r->next) {
        r->ping = (r->ping + 7) % 500;
        SendMessageA(pane, PM_SERVER_CHANGED, 0, reinterpret_cast<LPARAM>(r));
    }
    UpdateWindow(list);
    Pump();
    Report("30,000 row updates (PM_SERVER_CHANGED)", t);

    // Stale removals at the end of a refresh: every tenth server.
    t = Now();
    int removed = 0;
    for (catalogue::ServerRecord* r = p->servers.head; r;) {
        catalogue::ServerRecord* next = r->next;
        if (++removed % 10 == 0)
            SendMessageA(pane, PM_REMOVE_SERVER, 0, reinterpret_cast<LPARAM>(r));
        r = next;
    }
    UpdateWindow(list);
    Pump();
    std::printf("rows after removals: %d of %u\n", Rows(list), p->servers.count);
    Report("3,000 stale removals (PM_REMOVE_SERVER)", t);

    t = Now();
    SendMessageA(pane, PM_SELECT_ALL, 0, 0);
    Report("select all", t);
    t = Now();
    LRESULT marked = SendMessageA(pane, PM_MARK_SELECTED_FOR_REFRESH, 0, 0);
    std::printf("marked for refresh: %d\n", static_cast<int>(marked));
    Report("mark every server for refresh", t);
    ReportMemory("at the end");

    SendMessageA(main, WM_CLOSE, 0, 0);
    Pump();
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX");
    return 0;
}
