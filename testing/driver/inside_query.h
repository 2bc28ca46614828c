// Queries answered inside the program by the hook DLL: menu states, and what it has taken.
#pragma once

#include <windows.h>

#include <memory>

#include "testing/driver/hook_query.h"
#include "testing/driver/support.h"

namespace driver {

// Time allowed to the program to take a posted message or a key from its queue.
constexpr DWORD kTakeTimeoutMs = 20000;

// One query: while it exists, the hook DLL next to the driver watches the messages of one thread
// of the program.
class InsideQuery {
  public:
    InsideQuery(DWORD thread, DriverRequest request, UINT item);
    InsideQuery(const InsideQuery&) = delete;
    InsideQuery& operator=(const InsideQuery&) = delete;

    // Posts the query message to a window of the hooked thread, or to the thread itself.
    void PostToWindow(HWND window);
    void PostToThread(HWND unused = nullptr);
    // Waits until the hook has answered; an ActionFailure naming what after timeoutMs, or as soon
    // as the thread has ended without answering.
    void Wait(DWORD timeoutMs, const char* what);
    // Posts the query with post and waits for the answer, posting it again every few seconds: a
    // query is idempotent, and one posted again costs nothing where the first went astray.
    void Ask(void (InsideQuery::*post)(HWND), HWND window, const char* what);
    UINT Result() const { return view_->result; }
    // True when the hooked thread has ended.
    bool ThreadEnded() const;

  private:
    bool Done() const;
    // Waits up to timeoutMs for the answer; false when there was none. Fails when the thread ends.
    bool WaitForAnswer(DWORD timeoutMs, const char* what);

    DWORD thread_;
    OwnedHandle threadHandle_;
    OwnedModule dll_;
    OwnedHandle mapping_;
    OwnedView<DriverQuery> view_;
    OwnedHook hook_;  // last, so that it goes first
};

// While it exists, the hook DLL notes on the toolbar's thread when the program enables the
// toolbar button item: work that began and ended between two looks at the toolbar is still seen.
class ToolbarEnableWatch {
  public:
    ToolbarEnableWatch(HWND toolbar, UINT item);
    ToolbarEnableWatch(const ToolbarEnableWatch&) = delete;
    ToolbarEnableWatch& operator=(const ToolbarEnableWatch&) = delete;

    bool Seen() const;

  private:
    OwnedModule dll_;
    OwnedHandle mapping_;
    OwnedView<RefreshWatch> view_;
    OwnedHook hook_;  // last, so that it goes first
};

// GetMenuState(main menu, item, MF_BYCOMMAND) as the program sees it.
UINT QueryMenuState(HWND main, UINT item);

// Waits until the thread (of a window, found before posting to the window) has taken everything
// posted to it so far from its queue. With mayEnd, a thread that ends meanwhile (a program that
// exits on what was posted) is no failure: false is returned.
bool WaitUntilTaken(DWORD thread, bool mayEnd = false);

}  // namespace driver
