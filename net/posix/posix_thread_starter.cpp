// Worker threads on POSIX (std::thread).
#include <thread>

#include "net/posix/posix_net.h"

namespace net {

namespace {

class StdWorkerThread : public WorkerThread {
  public:
    explicit StdWorkerThread(std::function<void()> body) : thread_(std::move(body)) {}
    ~StdWorkerThread() override { Join(); }
    void Join() override {
        if (thread_.joinable())
            thread_.join();
    }

  private:
    std::thread thread_;
};

}  // namespace

std::unique_ptr<WorkerThread> PosixThreadStarter::Start(ThreadRole, std::function<void()> body) {
    try {
        return std::make_unique<StdWorkerThread>(std::move(body));
    } catch (const std::system_error&) {
        return nullptr;
    }
}

}  // namespace net
