// Failure reporting, the wait-until helper and checked message sending of vexar-driver.
#include "testing/driver/support.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace driver {

void Fail(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw ActionFailure(text);
}

void FailCall(const char* call) {
    DWORD error = GetLastError();
    Fail("%s failed (error %lu)", call, static_cast<unsigned long>(error));
}

void FailCall(const char* call, LONG error) {
    Fail("%s failed (error %ld)", call, static_cast<long>(error));
}

void ReportReleaseFailure(const char* call) {
    fprintf(stderr, "vexar-driver: %s failed (error %lu)\n", call, static_cast<unsigned long>(GetLastError()));
}

BOOL CloseRegistryKey(HKEY key) {
    LONG error = RegCloseKey(key);
    SetLastError(static_cast<DWORD>(error));
    return error == ERROR_SUCCESS;
}

bool WaitUntil(DWORD timeoutMs, DWORD pollMs, const std::function<bool()>& done) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pollMs, deadline - now)));
    }
}

LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs, &result)) {
        DWORD error = GetLastError();
        Fail("SendMessageTimeout(message 0x%04x) failed (error %lu)", message, static_cast<unsigned long>(error));
    }
    return static_cast<LRESULT>(result);
}

void PostOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageA(window, message, wParam, lParam)) {
        DWORD error = GetLastError();
        Fail("PostMessage(message 0x%04x) failed (error %lu)", message, static_cast<unsigned long>(error));
    }
}

}  // namespace driver
