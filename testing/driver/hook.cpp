// vexar-driver-hook.dll: the message hook that vexar-driver places on a thread of the program.
//
// It answers what only the program's own process can (menus are per process under Wine), and
// tells when the program has taken a message or a key from its queue.
#include <windows.h>

#include <commctrl.h>

#include "testing/driver/hook_query.h"

namespace {

// The driver's query, mapped while one message is looked at.
class SharedQuery {
  public:
    SharedQuery() : mapping_(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kDriverQueryMapping)) {
        if (mapping_)
            query_ = static_cast<DriverQuery*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DriverQuery)));
    }
    ~SharedQuery() {
        if (query_)
            UnmapViewOfFile(query_);
        if (mapping_)
            CloseHandle(mapping_);
    }
    SharedQuery(const SharedQuery&) = delete;
    SharedQuery& operator=(const SharedQuery&) = delete;

    DriverQuery* Get() const { return query_; }

  private:
    HANDLE mapping_;
    DriverQuery* query_ = nullptr;
};

void AnswerQuery(const MSG& msg) {
    SharedQuery shared;
    DriverQuery* q = shared.Get();
    if (!q)
        return;
    if (q->request == kQueryMenuState)
        q->result = GetMenuState(GetMenu(msg.hwnd), q->item, MF_BYCOMMAND);
    if (q->request == kQueryMenuState || q->request == kQueryReached)
        InterlockedExchange(&q->done, 1);
}

void NoteKeyUp(const MSG& msg) {
    SharedQuery shared;
    DriverQuery* q = shared.Get();
    if (q && q->request == kQueryKeyUp && q->item == msg.wParam)
        InterlockedExchange(&q->done, 1);
}

void NoteToolbarState(const CWPSTRUCT& sent) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kRefreshWatchMapping);
    if (!mapping)
        return;
    auto* watch = static_cast<RefreshWatch*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RefreshWatch)));
    if (watch) {
        if (sent.wParam == watch->item && !(LOWORD(sent.lParam) & TBSTATE_INDETERMINATE))
            InterlockedExchange(&watch->busySeen, 1);
        UnmapViewOfFile(watch);
    }
    CloseHandle(mapping);
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
