// vexar-driver-hook.dll: the message hook that vexar-driver places on a thread of the program.
//
// It answers what only the program's own process can (menus are per process under Wine), and
// tells when the program has taken a message or a key from its queue, or enabled a toolbar button.
#include <windows.h>

#include <commctrl.h>

#include "testing/driver/hook_query.h"

namespace {

// A block the driver shares by name, mapped while one message is looked at.
template <typename T>
class SharedView {
  public:
    explicit SharedView(const char* name) : mapping_(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name)) {
        if (mapping_)
            view_ = static_cast<T*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(T)));
    }
    ~SharedView() {
        if (view_)
            UnmapViewOfFile(view_);
        if (mapping_)
            CloseHandle(mapping_);
    }
    SharedView(const SharedView&) = delete;
    SharedView& operator=(const SharedView&) = delete;

    T* Get() const { return view_; }

  private:
    HANDLE mapping_;
    T* view_ = nullptr;
};

void AnswerQuery(const MSG& msg) {
    SharedView<DriverQuery> shared(kDriverQueryMapping);
    DriverQuery* q = shared.Get();
    if (!q)
        return;
    if (q->request == kQueryMenuState)
        q->result = GetMenuState(GetMenu(msg.hwnd), q->item, MF_BYCOMMAND);
    if (q->request == kQueryMenuState || q->request == kQueryReached)
        InterlockedExchange(&q->done, 1);
}

void NoteKeyUp(const MSG& msg) {
    SharedView<DriverQuery> shared(kDriverQueryMapping);
    DriverQuery* q = shared.Get();
    if (q && q->request == kQueryKeyUp && q->item == msg.wParam)
        InterlockedExchange(&q->done, 1);
}

void NoteToolbarState(const CWPSTRUCT& sent) {
    SharedView<RefreshWatch> shared(kRefreshWatchMapping);
    RefreshWatch* watch = shared.Get();
    if (watch && sent.wParam == watch->item && !(LOWORD(sent.lParam) & TBSTATE_INDETERMINATE))
        InterlockedExchange(&watch->busySeen, 1);
}

}  // namespace

// Messages sent to the thread's windows: the toolbar's button states.
extern "C" __declspec(dllexport) LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent->message == TB_SETSTATE)
            NoteToolbarState(*sent);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        static const UINT queryMessage = RegisterWindowMessageA(kDriverQueryMessage);
        if (msg->message == queryMessage) {
            AnswerQuery(*msg);
            msg->message = WM_NULL;
        } else if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) {
            NoteKeyUp(*msg);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
