// Non-blocking IPv4 UDP sockets on POSIX.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "net/posix/posix_net.h"

namespace net {

namespace {

sockaddr_in ToSockaddr(const Endpoint& e) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(e.port);
    a.sin_addr.s_addr = e.addressNetworkOrder;
    return a;
}

}  // namespace

uint32_t LoopbackAddress() {
    return htonl(INADDR_LOOPBACK);
}

class PosixDatagramSocket : public DatagramSocket {
  public:
    PosixDatagramSocket(int fd, std::atomic<int>* published) : fd_(fd), published_(published) {}
    ~PosixDatagramSocket() override {
        if (published_) {
            int expected = fd_;
            published_->compare_exchange_strong(expected, -1);
        }
        close(fd_);
    }

    bool SendTo(const Endpoint& to, const void* data, size_t size) override {
        const sockaddr_in a = ToSockaddr(to);
        for (;;) {
            const ssize_t n = sendto(fd_, data, size, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
            if (n >= 0)
                return size_t(n) == size;
            if (errno != EINTR)
                return false;
        }
    }

    int ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) override {
        sockaddr_in a{};
        socklen_t length = sizeof a;
        ssize_t n;
        do {
            n = recvfrom(fd_, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&a), &length);
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return -1;
        if (from) {
            from->addressNetworkOrder = a.sin_addr.s_addr;
            from->port = ntohs(a.sin_port);
        }
        return static_cast<int>(n);
    }

    bool WaitReadable(int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        int n;
        do {
            n = poll(&p, 1, timeoutMs);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            PosixClock().SleepMs(timeoutMs > 0 ? static_cast<uint32_t>(timeoutMs) : 0);
            return false;
        }
        return n > 0 && (p.revents & POLLIN);
    }

    int fd() const { return fd_; }

  private:
    int fd_;
    std::atomic<int>* published_;
};

namespace {

int OpenBound(const Endpoint& local, Endpoint* bound) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    Endpoint where = local;
    if (where.addressNetworkOrder == 0)
        where.addressNetworkOrder = LoopbackAddress();
    const sockaddr_in a = ToSockaddr(where);
    sockaddr_in got{};
    socklen_t length = sizeof got;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&got), &length) != 0) {
        close(fd);
        return -1;
    }
    if (bound)
        *bound = Endpoint{got.sin_addr.s_addr, ntohs(got.sin_port)};
    return fd;
}

}  // namespace

PosixDatagramSocketFactory::PosixDatagramSocketFactory(Endpoint local) : local_(local) {}

std::unique_ptr<DatagramSocket> PosixDatagramSocketFactory::Open() {
    const int fd = OpenBound(local_, nullptr);
    if (fd < 0)
        return nullptr;
    openFd_ = fd;
    return std::make_unique<PosixDatagramSocket>(fd, &openFd_);
}

std::optional<Endpoint> PosixDatagramSocketFactory::OpenEndpoint() {
    const int fd = openFd_;
    if (fd < 0)
        return std::nullopt;
    sockaddr_in got{};
    socklen_t length = sizeof got;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&got), &length) != 0)
        return std::nullopt;
    return Endpoint{got.sin_addr.s_addr, ntohs(got.sin_port)};
}

std::unique_ptr<DatagramSocket> OpenPosixDatagramSocket(const Endpoint& local, Endpoint* bound) {
    const int fd = OpenBound(local, bound);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixDatagramSocket>(fd, nullptr);
}

int PosixDescriptor(DatagramSocket& socket) {
    auto* posix = dynamic_cast<PosixDatagramSocket*>(&socket);
    return posix ? posix->fd() : -1;
}

}  // namespace net
