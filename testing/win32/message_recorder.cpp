// The message recorder: a subclassing window procedure per recorded window.
#include "testing/win32/message_recorder.h"

#include <map>

namespace testing_support {

namespace {

std::map<HWND, std::vector<RecordedMessage>> g_recorded;
std::map<HWND, WNDPROC> g_original;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_recorded[window].push_back({message, wParam, lParam});
    return CallWindowProcA(g_original[window], window, message, wParam, lParam);
}

}  // namespace

void RecordMessages(HWND window) {
    g_recorded[window].clear();
    g_original[window] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
}

std::vector<RecordedMessage>& RecordedFor(HWND window) {
    return g_recorded[window];
}

std::vector<RecordedMessage> PrivateMessages(HWND window) {
    std::vector<RecordedMessage> out;
    for (const RecordedMessage& m : g_recorded[window]) {
        if (m.message >= WM_USER && m.message < 0x8000)
            out.push_back(m);
    }
    return out;
}

}  // namespace testing_support
