// Datagram transport and resolver for tests: records what is sent, delivers what a test queues.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/clock.h"
#include "net/datagram_socket.h"

namespace testing_support {

struct SentDatagram {
    net::Endpoint to;
    std::string bytes;
    uint64_t counter = 0;  // the clock's counter when it was sent (0 without a clock)
};

// The sockets a factory opened share one network: every datagram sent by any of them is recorded,
// and queued datagrams are received by whichever socket is open.
class FakeDatagramSocketFactory : public net::DatagramSocketFactory {
  public:
    explicit FakeDatagramSocketFactory(net::Clock* clock = nullptr) : clock_(clock) {}

    std::unique_ptr<net::DatagramSocket> Open() override {
        std::lock_guard guard(mutex_);
        if (failOpen)
            return nullptr;
        ++opened_;
        ++openNow_;
        return std::make_unique<Socket>(*this);
    }

    // Queues a datagram for the open socket.
    void Deliver(const net::Endpoint& from, std::string bytes) {
        std::lock_guard guard(mutex_);
        inbound_.push_back({from, std::move(bytes)});
    }
    std::vector<SentDatagram> Sent() {
        std::lock_guard guard(mutex_);
        return sent_;
    }
    // How many datagrams were sent at each counter value, from the `from`th one on (with a fake clock
    // that moves only while the code under test sleeps, its bursts).
    std::vector<size_t> BurstsSince(size_t from) {
        std::lock_guard guard(mutex_);
        std::vector<size_t> seen;
        for (size_t i = from; i < sent_.size(); ++i) {
            if (i == from || sent_[i].counter != sent_[i - 1].counter)
                seen.push_back(0);
            ++seen.back();
        }
        return seen;
    }
    size_t SentCount() {
        std::lock_guard guard(mutex_);
        return sent_.size();
    }
    size_t Queued() {
        std::lock_guard guard(mutex_);
        return inbound_.size();
    }
    int OpenedCount() {
        std::lock_guard guard(mutex_);
        return opened_;
    }
    int OpenNow() {
        std::lock_guard guard(mutex_);
        return openNow_;
    }

    bool failOpen = false;         // Open() returns nullptr
    bool failReceive = false;      // ReceiveFrom() fails
    std::function<void()> onRead;  // called by every ReceiveFrom that returns a datagram

  private:
    struct Inbound {
        net::Endpoint from;
        std::string bytes;
    };

    class Socket : public net::DatagramSocket {
      public:
        explicit Socket(FakeDatagramSocketFactory& net) : net_(net) {}
        ~Socket() override {
            std::lock_guard guard(net_.mutex_);
            --net_.openNow_;
        }
        bool SendTo(const net::Endpoint& to, const void* data, size_t size) override {
            std::lock_guard guard(net_.mutex_);
            net_.sent_.push_back(
                {to, std::string(static_cast<const char*>(data), size), net_.clock_ ? net_.clock_->Counter() : 0});
            return true;
        }
        int ReceiveFrom(void* buffer, size_t capacity, net::Endpoint* from) override {
            std::lock_guard guard(net_.mutex_);
            if (net_.failReceive || net_.inbound_.empty())
                return -1;
            Inbound d = std::move(net_.inbound_.front());
            net_.inbound_.pop_front();
            const size_t n = d.bytes.size() < capacity ? d.bytes.size() : capacity;
            std::memcpy(buffer, d.bytes.data(), n);
            if (from)
                *from = d.from;
            if (net_.onRead)
                net_.onRead();
            return static_cast<int>(n);
        }
        // Never waits: the test's thread stands in for the receiving thread.
        bool WaitReadable(int) override {
            std::lock_guard guard(net_.mutex_);
            return !net_.inbound_.empty();
        }

      private:
        FakeDatagramSocketFactory& net_;
    };

    net::Clock* clock_;
    std::mutex mutex_;
    std::vector<SentDatagram> sent_;
    std::deque<Inbound> inbound_;
    int opened_ = 0;
    int openNow_ = 0;
};

// Resolves the names a test registers; everything else fails.
class FakeResolver : public net::Resolver {
  public:
    std::optional<uint32_t> Resolve(const char* name) override {
        std::lock_guard guard(mutex_);
        lookups.push_back(name);
        auto it = names.find(name);
        if (it == names.end())
            return std::nullopt;
        return it->second;
    }
    std::map<std::string, uint32_t> names;
    std::vector<std::string> lookups;

  private:
    std::mutex mutex_;
};

// An IPv4 endpoint from a dotted text (the text must be valid) and a port.
inline net::Endpoint MakeEndpoint(const char* dotted, uint16_t port) {
    return net::Endpoint{*net::ParseDottedAddress(dotted), port};
}

}  // namespace testing_support
