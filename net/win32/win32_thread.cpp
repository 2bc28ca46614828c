// Threads started with CreateThread and joined when they are released.
#include "net/win32/win32_thread.h"

#include <windows.h>

#include "base/win32/handles.h"

namespace net::win32 {

namespace {

class Win32WorkerThread : public WorkerThread {
  public:
    Win32WorkerThread(ThreadRole role, std::function<void()> body) : body_(std::move(body)) {
        handle_.Reset(CreateThread(nullptr, 0, &Run, this, CREATE_SUSPENDED, nullptr));
        if (!handle_)
            return;
        // The receiver waits for datagrams nearly all the time; when one comes it must run at once,
        // because the time it reads the clock is the reply's arrival time.
        if (role == ThreadRole::kReceiver)
            SetThreadPriority(handle_.get(), THREAD_PRIORITY_ABOVE_NORMAL);
        ResumeThread(handle_.get());
    }
    ~Win32WorkerThread() override { Join(); }
    bool started() const { return static_cast<bool>(handle_); }
    void Join() override {
        if (handle_) {
            WaitForSingleObject(handle_.get(), INFINITE);
            handle_.Reset();
        }
    }

  private:
    static DWORD WINAPI Run(void* self) {
        static_cast<Win32WorkerThread*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    base::win32::KernelHandle handle_;
};

}  // namespace

std::unique_ptr<WorkerThread> Win32ThreadStarter::Start(ThreadRole role, std::function<void()> body) {
    auto thread = std::make_unique<Win32WorkerThread>(role, std::move(body));
    if (!thread->started())
        return nullptr;
    return thread;
}

}  // namespace net::win32
