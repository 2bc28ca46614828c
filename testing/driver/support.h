// Failure reporting, owned Win32 handles and the one wait-until helper of vexar-driver.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace driver {

// A wrong command line: reported with the action's usage, exit code 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An action that cannot be carried out: reported on stderr, exit code 1.
class ActionFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws an ActionFailure with the message (printf-style).
[[noreturn]] void Fail(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

// Throws an ActionFailure naming the system call that failed and GetLastError().
[[noreturn]] void FailCall(const char* call);
// The same for calls that return their error code (the registry functions).
[[noreturn]] void FailCall(const char* call, LONG error);

// A release that failed, reported on stderr with GetLastError(): a destructor cannot fail the
// action.
void ReportReleaseFailure(const char* call);
// RegCloseKey with the usual convention: FALSE on failure, the error in GetLastError().
BOOL CloseRegistryKey(HKEY key);

// Handles released by their Win32 function (named by call) when their owner goes out of scope.
template <auto Release, const char* call>
struct ReleaseWith {
    template <typename T>
    void operator()(T* handle) const {
        if (!Release(handle))
            ReportReleaseFailure(call);
    }
};
inline constexpr char kCloseHandle[] = "CloseHandle";
inline constexpr char kFreeLibrary[] = "FreeLibrary";
inline constexpr char kUnhookWindowsHookEx[] = "UnhookWindowsHookEx";
inline constexpr char kRegCloseKey[] = "RegCloseKey";
inline constexpr char kUnmapViewOfFile[] = "UnmapViewOfFile";
using OwnedHandle = std::unique_ptr<void, ReleaseWith<CloseHandle, kCloseHandle>>;
using OwnedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ReleaseWith<FreeLibrary, kFreeLibrary>>;
using OwnedHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, ReleaseWith<UnhookWindowsHookEx, kUnhookWindowsHookEx>>;
using OwnedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, ReleaseWith<CloseRegistryKey, kRegCloseKey>>;
template <typename T>
using OwnedView = std::unique_ptr<T, ReleaseWith<UnmapViewOfFile, kUnmapViewOfFile>>;

// How often a wait looks again.
constexpr DWORD kPollMs = 50;

// Looks at done() until it is true or timeoutMs have passed (looking once more at the end);
// true when done() became true. Every wait of the driver goes through here.
bool WaitUntil(DWORD timeoutMs, DWORD pollMs, const std::function<bool()>& done);

// Time allowed to the program to answer one message sent to it (it answers sent messages even
// while a message box is open).
constexpr DWORD kAnswerTimeoutMs = 5000;

// SendMessageTimeout with kAnswerTimeoutMs; a failure (timeout, window gone) is an ActionFailure.
LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// PostMessage; a failure is an ActionFailure.
void PostOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace driver
