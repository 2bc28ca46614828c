// vexar-driver-hook.dll: a message hook that vexar-driver places on the main window's thread to
// ask things that only the program's own process can answer (menus are per process under Wine).
#include <windows.h>

#include "testing/driver/hook_query.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        static const UINT query = RegisterWindowMessageA(kDriverQueryMessage);
        if (msg->message == query) {
            HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kDriverQueryMapping);
            if (mapping) {
                auto* q =
                    static_cast<DriverQuery*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DriverQuery)));
                if (q) {
                    if (q->request == kQueryMenuState)
                        q->result = GetMenuState(GetMenu(msg->hwnd), q->item, MF_BYCOMMAND);
                    InterlockedExchange(&q->done, 1);
                    UnmapViewOfFile(q);
                }
                CloseHandle(mapping);
            }
            msg->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
