// Thread starter for deterministic tests: the worker's body runs when the test says so, on the
// test's own thread.
#pragma once

#include <functional>
#include <memory>

#include "net/status_engine_host.h"

namespace testing_support {

class FakeThreadStarter : public net::ThreadStarter {
  public:
    std::unique_ptr<net::WorkerThread> Start(std::function<void()> body) override {
        if (failStart)
            return nullptr;
        ++started;
        body_ = std::move(body);
        return std::make_unique<Thread>(*this);
    }

    // Runs the started body to its end; false when nothing is waiting to run.
    bool RunWorker() {
        if (!body_)
            return false;
        auto body = std::move(body_);
        body_ = nullptr;
        body();
        return true;
    }
    bool HasPendingWorker() const { return static_cast<bool>(body_); }

    bool failStart = false;
    int started = 0;
    int joined = 0;

  private:
    class Thread : public net::WorkerThread {
      public:
        explicit Thread(FakeThreadStarter& owner) : owner_(owner) {}
        void Join() override {
            // A body never run is run here, as a joined thread would have finished it.
            owner_.RunWorker();
            ++owner_.joined;
        }

      private:
        FakeThreadStarter& owner_;
    };

    std::function<void()> body_;
};

}  // namespace testing_support
