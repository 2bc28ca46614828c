// Whether code takes a lock: it runs on a thread of its own while the test holds the lock.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace testing_support {

// Runs `read` on a thread of its own while this thread holds `lock`; true when it had not finished
// 50 ms later (it waits for the lock). `meanwhile` runs while the lock is still held (what a writer
// that holds it changes); then the lock is let go and the thread joined.
inline bool WaitsForLock(std::mutex& lock, const std::function<void()>& read, const std::function<void()>& meanwhile) {
    std::unique_lock held(lock);
    std::atomic<bool> done{false};
    std::thread reader([&] {
        read();
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const bool waited = !done;
    meanwhile();
    held.unlock();
    reader.join();
    return waited;
}

}  // namespace testing_support
