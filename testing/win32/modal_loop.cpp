// A computer-based training hook sees the message box activate and gives it a timer of its own, so
// the script runs inside the box's modal loop. Freed blocks are kept by replacing the global
// operator delete of the test program.
#include "testing/win32/modal_loop.h"

#include <malloc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "app/win32/frame/message_box_sink.h"
#include "base/app_title.h"
#include "testing/win32/dialog_script.h"

namespace testing_support {

namespace {

constexpr UINT_PTR kStartTimer = 0x5EED;

struct PendingBox {
    const Meanwhile* meanwhile = nullptr;
    int answer = IDOK;
    HWND box = nullptr;
    bool started = false;
};

std::vector<PendingBox*> g_pending;  // the innermost box last
HHOOK g_hook = nullptr;

void CALLBACK StartScript(HWND box, UINT, UINT_PTR id, DWORD) {
    KillTimer(box, id);
    for (PendingBox* p : g_pending) {
        if (p->box != box || p->started)
            continue;
        p->started = true;
        if (*p->meanwhile)
            (*p->meanwhile)(box);
        if (IsWindow(box))
            PostMessageA(box, WM_COMMAND, p->answer, 0);
        return;
    }
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !g_pending.empty() && !g_pending.back()->box) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        if (!lstrcmpA(name, "#32770")) {
            g_pending.back()->box = window;
            MarkScripted(window, true);  // not a dialog for RunDialogScript's scripts
            SetTimer(window, kStartTimer, USER_TIMER_MINIMUM, StartScript);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

int RunModalLoop(HWND owner, const std::string& text, UINT flags, const Meanwhile& meanwhile, int answer) {
    PendingBox pending{&meanwhile, answer};
    g_pending.push_back(&pending);
    if (!g_hook)
        g_hook = SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId());
    const int result = MessageBoxA(owner, text.c_str(), base::kAppTitle, flags);
    MarkScripted(pending.box, false);
    g_pending.pop_back();
    if (g_pending.empty() && g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    EXPECT_TRUE(pending.started) << "the box \"" << text << "\" ran no script";
    return result;
}

void ModalLoopSink::During(const std::string& text, Meanwhile meanwhile, bool yes) {
    scripts_[text].push_back(Script{std::move(meanwhile), yes});
}

size_t ModalLoopSink::Unused() const {
    size_t n = 0;
    for (const auto& [text, queue] : scripts_)
        n += queue.size();
    return n;
}

bool ModalLoopSink::RunIfRegistered(std::string_view text, UINT flags, bool& yes) {
    auto found = scripts_.find(std::string(text));
    if (found == scripts_.end() || found->second.empty())
        return false;
    Script script = std::move(found->second.front());
    found->second.pop_front();
    yes = script.yes;
    boxes.emplace_back(std::string(text), depth_);
    HWND parent = owner ? owner : mainWindow ? *mainWindow : nullptr;
    ++depth_;
    const bool question = (flags & MB_YESNO) != 0;
    RunModalLoop(parent, std::string(text), flags, script.meanwhile, question ? (yes ? IDYES : IDNO) : IDOK);
    --depth_;
    return true;
}

bool ModalLoopSink::AskYesNo(std::string_view text, base::MessageIcon icon) {
    bool yes = false;
    if (!RunIfRegistered(text, MB_YESNO | app::win32::IconFlags(icon), yes))
        return FakeMessageSink::AskYesNo(text, icon);
    shown.emplace_back(text);
    return yes;
}

void ModalLoopSink::Tell(std::string_view text, base::MessageIcon icon) {
    shown.emplace_back(text);
    bool unused = false;
    RunIfRegistered(text, MB_OK | app::win32::IconFlags(icon), unused);
}

void FireTimer(HWND window, UINT_PTR id) {
    SendMessageA(window, WM_TIMER, id, 0);
}

void PumpWaiting() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpWaiting();
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// ---- Freed blocks -------------------------------------------------------------------------------

namespace {

constexpr unsigned char kFreedPattern = 0xDB;

// Kept blocks are listed in nodes from malloc, so that keeping one never calls operator delete.
struct KeptBlock {
    KeptBlock* next;
    unsigned char* bytes;
    size_t size;
};

std::atomic<bool> g_watching{false};
std::mutex g_keptLock;
KeptBlock* g_kept = nullptr;
size_t g_keptCount = 0;

void Release(void* p) noexcept {
    if (!p)
        return;
    if (g_watching.load(std::memory_order_acquire)) {
        if (auto* node = static_cast<KeptBlock*>(std::malloc(sizeof(KeptBlock)))) {
            const size_t size = _msize(p);
            std::memset(p, kFreedPattern, size);
            std::lock_guard guard(g_keptLock);
            *node = KeptBlock{g_kept, static_cast<unsigned char*>(p), size};
            g_kept = node;
            ++g_keptCount;
            return;
        }
    }
    std::free(p);
}

bool StillPattern(const KeptBlock& b) {
    for (size_t i = 0; i < b.size; ++i) {
        if (b.bytes[i] != kFreedPattern)
            return false;
    }
    return true;
}

}  // namespace

FreedMemoryWatch::FreedMemoryWatch() {
    EXPECT_FALSE(g_watching.exchange(true)) << "one FreedMemoryWatch at a time";
}

FreedMemoryWatch::~FreedMemoryWatch() {
    g_watching = false;
    std::lock_guard guard(g_keptLock);
    while (KeptBlock* b = g_kept) {
        g_kept = b->next;
        std::free(b->bytes);
        std::free(b);
    }
    g_keptCount = 0;
}

size_t FreedMemoryWatch::TouchedAfterFree() const {
    std::lock_guard guard(g_keptLock);
    size_t touched = 0;
    for (const KeptBlock* b = g_kept; b; b = b->next)
        touched += StillPattern(*b) ? 0 : 1;
    return touched;
}

size_t FreedMemoryWatch::Freed() const {
    std::lock_guard guard(g_keptLock);
    return g_keptCount;
}

}  // namespace testing_support

// The test program's allocation functions: the standard library's, except that a watch keeps what
// is freed.
void* operator new(std::size_t size) {
    for (;;) {
        if (void* p = std::malloc(size ? size : 1))
            return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    testing_support::Release(p);
}
void operator delete[](void* p) noexcept {
    testing_support::Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    testing_support::Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    testing_support::Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    testing_support::Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    testing_support::Release(p);
}
