// vexar-driver: drives a running vexar.exe from outside in the same Wine session. One action per
// run; results go to standard output, one item per line. Exit code 0 on success, 1 on failure.
//
//   wait-main [ms]                     wait until the main window exists; print its handle
//   count-windows CLASS                number of top-level windows of a class
//   message [ms]                       wait for a message box of vexar; print its text
//   answer TEXT BUTTON [ms]            wait for a message box containing TEXT and press BUTTON
//   no-message [ms]                    fail if a message box of vexar appears within ms
//   command ID                         post WM_COMMAND ID to the main window
//   key VK [ctrl|alt|shift]            post a key press to the main window (accelerators)
//   send MSG WPARAM LPARAM             send a message to the main window; print the result
//   mouse MSG X Y                      post a mouse message at client X, Y of the main window
//   tabs                               selected tab index, then the tab texts
//   select-tab N                       click tab N; prints "selected" or "refused"
//   rows CLASS                         rows of the list control in the visible pane of CLASS,
//                                      cells separated by tabs
//   select-row CLASS N                 select row N of that list (and focus the list)
//   rect CLASS                         client rectangle (x y width height) of the visible window of
//                                      CLASS inside the main window
//   menu-state ID                      "checked"/"unchecked" (+ " grayed") of a main menu item
//   reg-dword NAME / reg-text NAME     a value under HKCU\SOFTWARE\ZORBEX\Nexo
//   show CMD                           ShowWindow(main, CMD)  (3 maximise, 6 minimise, 9 restore)
//   visible                            "1" when the main window is visible, else "0"
//   close [ms]                         post WM_CLOSE and wait for the window to go away
//   wait-idle [ms]                     wait until no master query or refresh runs ("Stop Server refresh"
//                                      greyed for a second), after one started
//   dlg-wait TITLE [ms]                wait for a dialog of vexar with that caption
//   dlg-text TITLE ID TEXT             set the text of control ID of that dialog
//   dlg-click TITLE ID                 press button ID of that dialog
//   dlg-rows TITLE ID                  rows of the list control ID of that dialog
//   dlg-enabled TITLE ID               "1" when control ID is enabled
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "testing/driver/hook_query.h"

namespace {

HWND g_main = nullptr;

HWND FindMain() {
    return FindWindowA("VEXAR", nullptr);
}

bool WaitFor(DWORD ms, bool (*done)()) {
    DWORD start = GetTickCount();
    do {
        if (done())
            return true;
        Sleep(50);
    } while (GetTickCount() - start < ms);
    return done();
}

bool MainExists() {
    g_main = FindMain();
    return g_main != nullptr;
}

bool RequireMain() {
    if (!MainExists()) {
        fprintf(stderr, "vexar-driver: no main window\n");
        return false;
    }
    return true;
}

// Memory inside the vexar process for messages whose parameters are pointers.
class RemoteBuffer {
  public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_ && !keep_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    bool ok() const { return address_ != nullptr; }
    // Leaves the memory to the program (a message that uses it may still be in progress).
    void Keep() { keep_ = true; }
    char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t n) {
        return WriteProcessMemory(process_, at(offset), data, n, nullptr);
    }
    bool Read(size_t offset, void* data, size_t n) { return ReadProcessMemory(process_, at(offset), data, n, nullptr); }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
    bool keep_ = false;
};

std::string WindowText(HWND w) {
    char text[1024] = "";
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::string ClassOf(HWND w) {
    char name[256] = "";
    GetClassNameA(w, name, sizeof name);
    return name;
}

DWORD ProcessOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

// Message boxes and dialogs of the vexar process.
std::vector<HWND> VexarDialogs() {
    std::vector<HWND> found;
    HWND main = FindMain();
    if (!main)
        return found;
    DWORD pid = ProcessOf(main);
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr) {
        if (ProcessOf(w) == pid && IsWindowVisible(w))
            found.push_back(w);
    }
    return found;
}

std::string DialogText(HWND dialog) {
    std::string text;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Static") {
            std::string t = WindowText(c);
            if (!t.empty()) {
                if (!text.empty())
                    text += "\n";
                text += t;
            }
        }
    }
    return text;
}

std::string StripAmpersand(std::string s) {
    std::string out;
    for (char c : s)
        if (c != '&')
            out += c;
    return out;
}

HWND FindButton(HWND dialog, const std::string& label) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button" && StripAmpersand(WindowText(c)) == label)
            return c;
    }
    return nullptr;
}

HWND VisibleChildOfClass(HWND parent, const char* windowClass) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == windowClass && IsWindowVisible(c))
            return c;
    }
    return nullptr;
}

HWND PaneList(const char* paneClass) {
    HWND pane = VisibleChildOfClass(g_main, paneClass);
    if (!pane)
        return nullptr;
    for (HWND c = GetWindow(pane, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == WC_LISTVIEWA)
            return c;
    }
    return nullptr;
}

HWND FindDialog(const char* title, DWORD ms) {
    DWORD start = GetTickCount();
    do {
        for (HWND dialog : VexarDialogs()) {
            if (WindowText(dialog) == title)
                return dialog;
        }
        Sleep(50);
    } while (GetTickCount() - start < ms);
    fprintf(stderr, "vexar-driver: no dialog \"%s\"\n", title);
    return nullptr;
}

int ListRows(HWND list) {
    if (!list) {
        fprintf(stderr, "vexar-driver: no list\n");
        return 1;
    }
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    RemoteBuffer remote(list, sizeof(LVITEMA) + 512);
    if (!remote.ok())
        return 1;
    for (int row = 0; row < rows; ++row) {
        std::string line;
        for (int col = 0; col < columns; ++col) {
            LVITEMA item = {};
            item.iSubItem = col;
            item.cchTextMax = 511;
            item.pszText = remote.at(sizeof(LVITEMA));
            remote.Write(0, &item, sizeof item);
            char zero = 0;
            remote.Write(sizeof(LVITEMA), &zero, 1);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.at(0)));
            char text[512] = "";
            remote.Read(sizeof(LVITEMA), text, sizeof text - 1);
            if (col)
                line += '\t';
            line += text;
        }
        printf("%s\n", line.c_str());
    }
    return 0;
}

int Rows(const char* paneClass) {
    return ListRows(PaneList(paneClass));
}

int SelectRow(const char* paneClass, int row) {
    HWND list = PaneList(paneClass);
    if (!list)
        return 1;
    RemoteBuffer remote(list, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    remote.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.at(0)));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at(0)));
    return 0;
}

int Tabs() {
    HWND tab = nullptr;
    for (HWND c = GetWindow(g_main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == WC_TABCONTROLA)
            tab = c;
    }
    if (!tab)
        return 1;
    printf("%d\n", static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)));
    int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    RemoteBuffer remote(tab, sizeof(TCITEMA) + 256);
    for (int i = 0; i < count; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = remote.at(sizeof(TCITEMA));
        item.cchTextMax = 255;
        remote.Write(0, &item, sizeof item);
        SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(remote.at(0)));
        char text[256] = "";
        remote.Read(sizeof(TCITEMA), text, sizeof text - 1);
        printf("%s\n", text);
    }
    return 0;
}

int SelectTab(int index) {
    HWND tab = nullptr;
    for (HWND c = GetWindow(g_main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == WC_TABCONTROLA)
            tab = c;
    }
    if (!tab)
        return 1;
    // A click on the tab, so that the control itself sends its notifications (which may refuse the
    // change, or ask a question in a modal message box).
    RemoteBuffer remote(tab, sizeof(RECT));
    SendMessageA(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.at(0)));
    RECT r = {};
    remote.Read(0, &r, sizeof r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tab, WM_LBUTTONUP, 0, at);
    Sleep(500);
    // While a question is open the program does not answer messages: the selection is then read
    // after a short wait, without blocking.
    DWORD_PTR current = static_cast<DWORD_PTR>(-1);
    SendMessageTimeoutA(tab, TCM_GETCURSEL, 0, 0, SMTO_NORMAL, 2000, &current);
    printf("%s\n", static_cast<int>(current) == index ? "selected" : "refused");
    return 0;
}

int Answer(const std::string& text, const std::string& button, DWORD ms) {
    DWORD start = GetTickCount();
    do {
        for (HWND dialog : VexarDialogs()) {
            if (DialogText(dialog).find(text) == std::string::npos)
                continue;
            HWND b = FindButton(dialog, button);
            if (!b) {
                fprintf(stderr, "vexar-driver: no button %s\n", button.c_str());
                return 1;
            }
            printf("%s\n", DialogText(dialog).c_str());
            PostMessageA(b, BM_CLICK, 0, 0);
            Sleep(100);
            return 0;
        }
        Sleep(50);
    } while (GetTickCount() - start < ms);
    fprintf(stderr, "vexar-driver: no message containing \"%s\"\n", text.c_str());
    for (HWND dialog : VexarDialogs())
        fprintf(stderr, "  open: %s\n", DialogText(dialog).c_str());
    return 1;
}

int Message(DWORD ms, bool expectNone) {
    DWORD start = GetTickCount();
    do {
        auto dialogs = VexarDialogs();
        if (!dialogs.empty()) {
            printf("%s\n", DialogText(dialogs[0]).c_str());
            return expectNone ? 1 : 0;
        }
        Sleep(50);
    } while (GetTickCount() - start < ms);
    return expectNone ? 0 : 1;
}

int RegValue(const char* name, bool text) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX\\Nexo", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        printf("missing\n");
        return 0;
    }
    BYTE data[512] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        printf("missing\n");
    else if (type == REG_DWORD)
        printf("%s%lu\n", text ? "dword:" : "", static_cast<unsigned long>(*reinterpret_cast<DWORD*>(data)));
    else
        printf("%s%s\n", text ? "" : "text:", reinterpret_cast<char*>(data));
    return 0;
}

// Runs a query inside the program through the hook DLL next to this driver.
bool QueryInside(UINT request, UINT item, UINT* result) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = strrchr(path, '\\');
    strcpy(slash ? slash + 1 : path, "vexar-driver-hook.dll");
    HMODULE dll = LoadLibraryA(path);
    if (!dll) {
        fprintf(stderr, "vexar-driver: cannot load %s\n", path);
        return false;
    }
    auto proc = reinterpret_cast<HOOKPROC>(GetProcAddress(dll, "GetMsgProc"));
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DriverQuery), kDriverQueryMapping);
    auto* q = static_cast<DriverQuery*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DriverQuery)));
    q->request = request;
    q->item = item;
    q->result = 0;
    q->done = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, proc, dll, GetWindowThreadProcessId(g_main, nullptr));
    bool ok = false;
    if (hook) {
        PostMessageA(g_main, RegisterWindowMessageA(kDriverQueryMessage), 0, 0);
        for (int i = 0; i < 100 && !q->done; ++i)
            Sleep(50);
        ok = q->done != 0;
        *result = q->result;
        UnhookWindowsHookEx(hook);
    } else {
        fprintf(stderr, "vexar-driver: SetWindowsHookEx failed (%lu)\n", GetLastError());
    }
    UnmapViewOfFile(q);
    CloseHandle(mapping);
    FreeLibrary(dll);
    return ok;
}

UINT ParseNumber(const char* s) {
    return static_cast<UINT>(strtoul(s, nullptr, 0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: vexar-driver ACTION [ARGS]\n");
        return 2;
    }
    std::string action = argv[1];
    auto arg = [&](int i, const char* fallback) { return i < argc ? argv[i] : fallback; };

    if (action == "wait-main") {
        if (!WaitFor(ParseNumber(arg(2, "20000")), MainExists))
            return 1;
        printf("%p\n", static_cast<void*>(g_main));
        return 0;
    }
    if (action == "count-windows") {
        int n = 0;
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, argv[2], nullptr)) != nullptr)
            ++n;
        printf("%d\n", n);
        return 0;
    }
    if (action == "message")
        return Message(ParseNumber(arg(2, "5000")), false);
    if (action == "no-message")
        return Message(ParseNumber(arg(2, "1000")), true);
    if (action == "answer" && argc >= 4)
        return Answer(argv[2], argv[3], ParseNumber(arg(4, "10000")));
    if (action == "reg-dword")
        return RegValue(argv[2], false);
    if (action == "reg-text")
        return RegValue(argv[2], true);

    if (action.rfind("dlg-", 0) == 0) {
        if (!MainExists())
            return 1;
        HWND dialog = FindDialog(argv[2], action == "dlg-wait" ? ParseNumber(arg(3, "10000")) : 3000);
        if (!dialog)
            return 1;
        if (action == "dlg-wait")
            return 0;
        HWND control = GetDlgItem(dialog, static_cast<int>(ParseNumber(arg(3, "0"))));
        if (!control) {
            fprintf(stderr, "vexar-driver: no control %s\n", arg(3, "?"));
            return 1;
        }
        if (action == "dlg-text") {
            SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4, "")));
            return 0;
        }
        if (action == "dlg-click") {
            PostMessageA(control, BM_CLICK, 0, 0);
            Sleep(300);
            return 0;
        }
        if (action == "dlg-rows")
            return ListRows(control);
        if (action == "dlg-enabled") {
            printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
            return 0;
        }
        return 2;
    }
    if (!RequireMain())
        return 1;
    if (action == "command") {
        PostMessageA(g_main, WM_COMMAND, ParseNumber(argv[2]), 0);
        Sleep(200);
        return 0;
    }
    if (action == "key") {
        UINT vk = ParseNumber(argv[2]);
        std::string mod = arg(3, "");
        // Accelerators look at the keyboard state of the modifier keys.
        BYTE state[256];
        GetKeyboardState(state);
        if (mod == "ctrl")
            keybd_event(VK_CONTROL, 0, 0, 0);
        if (mod == "alt")
            keybd_event(VK_MENU, 0, 0, 0);
        SetForegroundWindow(g_main);
        keybd_event(static_cast<BYTE>(vk), 0, 0, 0);
        keybd_event(static_cast<BYTE>(vk), 0, KEYEVENTF_KEYUP, 0);
        if (mod == "ctrl")
            keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
        if (mod == "alt")
            keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        Sleep(300);
        return 0;
    }
    if (action == "send") {
        LRESULT r = SendMessageA(g_main, ParseNumber(argv[2]), ParseNumber(arg(3, "0")), ParseNumber(arg(4, "0")));
        printf("%ld\n", static_cast<long>(r));
        return 0;
    }
    if (action == "mouse") {
        PostMessageA(g_main, ParseNumber(argv[2]), MK_LBUTTON, MAKELPARAM(atoi(argv[3]), atoi(argv[4])));
        Sleep(100);
        return 0;
    }
    if (action == "wait-idle") {
        HWND toolbar = nullptr;
        for (HWND c = GetWindow(g_main, GW_CHILD); c && !toolbar; c = GetWindow(c, GW_HWNDNEXT))
            toolbar = FindWindowExA(c, nullptr, TOOLBARCLASSNAMEA, nullptr);
        if (!toolbar)
            return 1;
        DWORD ms = ParseNumber(arg(2, "30000"));
        DWORD start = GetTickCount();
        DWORD idleSince = 0;
        while (GetTickCount() - start < ms) {
            DWORD_PTR state = 0;
            SendMessageTimeoutA(toolbar, TB_GETSTATE, 40116, 0, SMTO_NORMAL, 1000, &state);
            bool idle = (state & TBSTATE_INDETERMINATE) != 0;
            if (!idle)
                idleSince = 0;
            else if (!idleSince)
                idleSince = GetTickCount();
            else if (GetTickCount() - idleSince >= 1000)
                return 0;
            Sleep(50);
        }
        fprintf(stderr, "vexar-driver: still busy\n");
        return 1;
    }
    if (action == "tabs")
        return Tabs();
    if (action == "select-tab")
        return SelectTab(atoi(argv[2]));
    if (action == "rows")
        return Rows(argv[2]);
    if (action == "select-row")
        return SelectRow(argv[2], atoi(argv[3]));
    if (action == "rect") {
        HWND w = VisibleChildOfClass(g_main, argv[2]);
        if (!w)
            return 1;
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(HWND_DESKTOP, g_main, reinterpret_cast<POINT*>(&r), 2);
        printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (action == "menu-state") {
        UINT state = 0;
        if (!QueryInside(kQueryMenuState, ParseNumber(argv[2]), &state)) {
            fprintf(stderr, "vexar-driver: the query inside the program failed\n");
            return 1;
        }
        if (state == UINT(-1))
            printf("missing\n");
        else
            printf("%s%s\n", (state & MF_CHECKED) ? "checked" : "unchecked", (state & MF_GRAYED) ? " grayed" : "");
        return 0;
    }
    if (action == "show") {
        ShowWindowAsync(g_main, atoi(argv[2]));
        Sleep(300);
        return 0;
    }
    if (action == "visible") {
        printf("%d\n", IsWindowVisible(g_main) ? 1 : 0);
        return 0;
    }
    if (action == "close") {
        PostMessageA(g_main, WM_CLOSE, 0, 0);
        DWORD ms = ParseNumber(arg(2, "20000"));
        DWORD start = GetTickCount();
        while (IsWindow(g_main) && GetTickCount() - start < ms)
            Sleep(50);
        return IsWindow(g_main) ? 1 : 0;
    }
    fprintf(stderr, "vexar-driver: unknown action %s\n", action.c_str());
    return 2;
}
