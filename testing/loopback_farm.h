// A farm of UDP status responders on 127.0.0.1 for loopback tests and the refresh benchmark: each
// server answers every request after its own fixed delay, or never.
#pragma once

#if !defined(_WIN32)

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <queue>
#include <string>
#include <thread>
#include <vector>

#include "net/posix/posix_net.h"

namespace testing_support {

class LoopbackFarm {
  public:
    struct Server {
        net::Endpoint endpoint;
        uint32_t delayUs = 0;
        bool silent = false;
        std::string reply;
        std::unique_ptr<net::DatagramSocket> socket;
        int fd = -1;
        std::atomic<uint32_t> requests{0};
        std::atomic<uint64_t> firstRequestNs{0};  // CLOCK_MONOTONIC of the first request since Reset
        std::atomic<uint64_t> lastLateNs{0};      // how much later than due the last reply left
    };

    ~LoopbackFarm() { Stop(); }

    // Opens n sockets on 127.0.0.1 with ephemeral ports; false when one cannot be opened.
    bool Open(size_t n) {
        servers_.clear();
        servers_.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            auto s = std::make_unique<Server>();
            s->socket = net::OpenPosixDatagramSocket(net::Endpoint{}, &s->endpoint);
            if (!s->socket)
                return false;
            s->fd = net::PosixDescriptor(*s->socket);
            servers_.push_back(std::move(s));
        }
        return true;
    }
    std::vector<std::unique_ptr<Server>>& servers() { return servers_; }

    // Serves with `threads` threads, each owning an equal share of the sockets.
    bool Start(int threads) {
        stopFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (stopFd_ < 0)
            return false;
        for (int t = 0; t < threads; ++t) {
            std::vector<Server*> share;
            for (size_t i = t; i < servers_.size(); i += threads)
                share.push_back(servers_[i].get());
            threads_.emplace_back([this, share] { Serve(share); });
        }
        return true;
    }

    void Stop() {
        if (stopFd_ < 0)
            return;
        uint64_t one = 1;
        (void)!write(stopFd_, &one, sizeof one);
        for (auto& t : threads_)
            t.join();
        threads_.clear();
        close(stopFd_);
        stopFd_ = -1;
    }

    void ResetStats() {
        for (auto& s : servers_) {
            s->requests = 0;
            s->firstRequestNs = 0;
            s->lastLateNs = 0;
        }
    }

    static uint64_t NowNs() {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return uint64_t(ts.tv_sec) * 1000000000u + uint64_t(ts.tv_nsec);
    }

  private:
    struct Due {
        uint64_t atNs;
        Server* server;
        net::Endpoint to;
        bool operator>(const Due& other) const { return atNs > other.atNs; }
    };

    void Serve(const std::vector<Server*>& share) {
        const int ep = epoll_create1(EPOLL_CLOEXEC);
        const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        auto add = [ep](int fd, uint64_t tag) {
            epoll_event e{};
            e.events = EPOLLIN;
            e.data.u64 = tag;
            epoll_ctl(ep, EPOLL_CTL_ADD, fd, &e);
        };
        constexpr uint64_t kStopTag = ~uint64_t(0);
        constexpr uint64_t kTimerTag = ~uint64_t(0) - 1;
        add(stopFd_, kStopTag);
        add(timer, kTimerTag);
        for (size_t i = 0; i < share.size(); ++i)
            add(share[i]->fd, i);

        std::priority_queue<Due, std::vector<Due>, std::greater<Due>> due;
        epoll_event events[64];
        char buffer[2048];
        for (;;) {
            const int n = epoll_wait(ep, events, 64, -1);
            if (n < 0 && errno != EINTR)
                break;
            bool stop = false;
            for (int k = 0; k < n; ++k) {
                const uint64_t tag = events[k].data.u64;
                if (tag == kStopTag) {
                    stop = true;
                } else if (tag == kTimerTag) {
                    uint64_t expirations;
                    (void)!read(timer, &expirations, sizeof expirations);
                } else {
                    Server* s = share[tag];
                    net::Endpoint from;
                    while (s->socket->ReceiveFrom(buffer, sizeof buffer, &from) >= 0) {
                        const uint64_t now = NowNs();
                        uint64_t expected = 0;
                        s->firstRequestNs.compare_exchange_strong(expected, now);
                        s->requests += 1;
                        if (!s->silent)
                            due.push(Due{now + uint64_t(s->delayUs) * 1000, s, from});
                    }
                }
            }
            if (stop)
                break;
            const uint64_t now = NowNs();
            while (!due.empty() && due.top().atNs <= now) {
                const Due d = due.top();
                due.pop();
                d.server->socket->SendTo(d.to, d.server->reply.data(), d.server->reply.size());
                d.server->lastLateNs = NowNs() - d.atNs;
            }
            itimerspec deadline{};
            if (!due.empty()) {
                deadline.it_value.tv_sec = static_cast<time_t>(due.top().atNs / 1000000000u);
                deadline.it_value.tv_nsec = static_cast<long>(due.top().atNs % 1000000000u);
            }
            timerfd_settime(timer, TFD_TIMER_ABSTIME, &deadline, nullptr);
        }
        close(timer);
        close(ep);
    }

    std::vector<std::unique_ptr<Server>> servers_;
    std::vector<std::thread> threads_;
    int stopFd_ = -1;
};

}  // namespace testing_support

#endif
