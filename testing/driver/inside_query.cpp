// Queries answered inside the program by the hook DLL next to the driver.
#include "testing/driver/inside_query.h"

#include <string>

#include "testing/driver/program_windows.h"

namespace driver {

namespace {

constexpr char kHookDll[] = "vexar-driver-hook.dll";
constexpr char kHookProc[] = "GetMsgProc";
constexpr char kSentHookProc[] = "CallWndProc";

// The hook DLL's path: next to the driver.
std::string HookDllPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        FailCall("GetModuleFileName");
    std::string folder(path, length);
    size_t slash = folder.find_last_of("\\/");
    folder.erase(slash == std::string::npos ? 0 : slash + 1);
    return folder + kHookDll;
}

// True when the thread has ended (or is not there at all).
bool ThreadHasEnded(DWORD thread) {
    OwnedHandle handle(OpenThread(SYNCHRONIZE, FALSE, thread));
    return !handle || WaitForSingleObject(handle.get(), 0) == WAIT_OBJECT_0;
}

OwnedModule LoadHookDll() {
    std::string path = HookDllPath();
    OwnedModule dll(LoadLibraryA(path.c_str()));
    if (!dll)
        FailCall(("LoadLibrary(" + path + ")").c_str());
    return dll;
}

HOOKPROC HookProc(HMODULE dll, const char* name) {
    // Through void (*)(), the type that converts to any other function pointer without a warning.
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
    if (!proc)
        FailCall((std::string("GetProcAddress(") + name + ")").c_str());
    return proc;
}

// The named block the hook DLL opens, created and mapped here.
template <typename T>
void CreateShared(const char* name, OwnedHandle& mapping, OwnedView<T>& view) {
    mapping.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(T), name));
    if (!mapping)
        FailCall("CreateFileMapping");
    view.reset(static_cast<T*>(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(T))));
    if (!view)
        FailCall("MapViewOfFile");
}

UINT QueryMessage() {
    UINT message = RegisterWindowMessageA(kDriverQueryMessage);
    if (!message)
        FailCall("RegisterWindowMessage");
    return message;
}

}  // namespace

InsideQuery::InsideQuery(DWORD thread, DriverRequest request, UINT item) : thread_(thread) {
    threadHandle_.reset(OpenThread(SYNCHRONIZE, FALSE, thread));
    if (!threadHandle_)
        FailCall("OpenThread(the program's thread)");
    dll_ = LoadHookDll();
    HOOKPROC proc = HookProc(dll_.get(), kHookProc);
    CreateShared(kDriverQueryMapping, mapping_, view_);
    *view_ = DriverQuery{request, item, 0, 0};
    hook_.reset(SetWindowsHookExA(WH_GETMESSAGE, proc, dll_.get(), thread_));
    if (!hook_)
        FailCall("SetWindowsHookEx");
}

ToolbarEnableWatch::ToolbarEnableWatch(HWND toolbar, UINT item) : dll_(LoadHookDll()) {
    HOOKPROC proc = HookProc(dll_.get(), kSentHookProc);
    CreateShared(kRefreshWatchMapping, mapping_, view_);
    *view_ = RefreshWatch{item, 0};
    hook_.reset(SetWindowsHookExA(WH_CALLWNDPROC, proc, dll_.get(), GetWindowThreadProcessId(toolbar, nullptr)));
    if (!hook_)
        FailCall("SetWindowsHookEx(WH_CALLWNDPROC)");
}

bool ToolbarEnableWatch::Seen() const {
    return InterlockedCompareExchange(&view_->busySeen, 0, 0) != 0;
}

void InsideQuery::PostToWindow(HWND window) {
    PostOrFail(window, QueryMessage(), 0, 0);
}

void InsideQuery::PostToThread(HWND) {
    if (!PostThreadMessageA(thread_, QueryMessage(), 0, 0))
        FailCall("PostThreadMessage");
}

bool InsideQuery::Done() const {
    return InterlockedCompareExchange(&view_->done, 0, 0) != 0;
}

bool InsideQuery::ThreadEnded() const {
    return WaitForSingleObject(threadHandle_.get(), 0) == WAIT_OBJECT_0;
}

bool InsideQuery::WaitForAnswer(DWORD timeoutMs, const char* what) {
    bool ended = false;
    bool done = WaitUntil(timeoutMs, kPollMs, [this, &ended] { return Done() || (ended = ThreadEnded()); });
    if (ended && !Done())
        Fail("the program's thread %lu ended before it took %s", static_cast<unsigned long>(thread_), what);
    return done;
}

void InsideQuery::Wait(DWORD timeoutMs, const char* what) {
    if (!WaitForAnswer(timeoutMs, what))
        Fail("the program did not take %s within %lu ms", what, static_cast<unsigned long>(timeoutMs));
}

void InsideQuery::Ask(void (InsideQuery::*post)(HWND), HWND window, const char* what) {
    constexpr DWORD kRepostMs = 2500;
    for (DWORD waited = 0; waited < kTakeTimeoutMs; waited += kRepostMs) {
        (this->*post)(window);
        if (WaitForAnswer(kRepostMs, what))
            return;
    }
    Fail("the program did not take %s within %lu ms", what, static_cast<unsigned long>(kTakeTimeoutMs));
}

UINT QueryMenuState(HWND main, UINT item) {
    InsideQuery query(ThreadOf(main), kQueryMenuState, item);
    query.Ask(&InsideQuery::PostToWindow, main, "the menu query");
    return query.Result();
}

bool WaitUntilTaken(DWORD thread, bool mayEnd) {
    try {
        InsideQuery query(thread, kQueryReached, 0);
        query.Ask(&InsideQuery::PostToThread, nullptr, "the messages posted to it");
        return true;
    } catch (const ActionFailure&) {
        if (!mayEnd || !ThreadHasEnded(thread))
            throw;
        return false;
    }
}

}  // namespace driver
