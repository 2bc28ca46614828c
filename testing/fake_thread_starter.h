// Thread starter for deterministic tests: a started body runs on the test's own thread when the test
// says so (the worker's) or when its thread is joined. The receiver's body then finds its stop flag
// set and returns at once: a test stands in for the receiving thread with StatusEngine::ReceiveWaiting.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "net/status_engine_host.h"

namespace testing_support {

class FakeThreadStarter : public net::ThreadStarter {
  public:
    std::unique_ptr<net::WorkerThread> Start(net::ThreadRole role, std::function<void()> body) override {
        if (failStart || (role == net::ThreadRole::kWorker && failWorkerStart))
            return nullptr;
        ++started;
        bodies_[int(role)] = std::move(body);
        return std::make_unique<Thread>(*this, role);
    }

    // Runs the started worker's body to its end; false when none is waiting to run.
    bool RunWorker() { return Run(net::ThreadRole::kWorker); }
    bool HasPendingWorker() const { return static_cast<bool>(bodies_[int(net::ThreadRole::kWorker)]); }

    bool failStart = false;        // no thread can be started
    bool failWorkerStart = false;  // only the worker cannot
    int started = 0;
    int joined = 0;

  private:
    class Thread : public net::WorkerThread {
      public:
        Thread(FakeThreadStarter& owner, net::ThreadRole role) : owner_(owner), role_(role) {}
        void Join() override {
            owner_.Run(role_);  // a body never run is run here, as a joined thread would have finished it
            ++owner_.joined;
        }

      private:
        FakeThreadStarter& owner_;
        net::ThreadRole role_;
    };

    bool Run(net::ThreadRole role) {
        std::function<void()> body = std::exchange(bodies_[int(role)], nullptr);
        if (body)
            body();
        return static_cast<bool>(body);
    }

    std::function<void()> bodies_[2];
};

}  // namespace testing_support
