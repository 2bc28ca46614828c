// Native tests' access to the protocol fixtures: starting one as a child process, and a loopback UDP client.
#pragma once

#if !defined(_WIN32)

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace testing_support {

// One fixture program of the build tree (testing/fixtures/NAME beside the test program), started with
// a free port and a limited lifetime, and stopped when this object goes.
class FixtureProcess {
  public:
    FixtureProcess() = default;
    FixtureProcess(const FixtureProcess&) = delete;
    FixtureProcess& operator=(const FixtureProcess&) = delete;
    ~FixtureProcess() { Stop(); }

    // Starts the fixture and waits until it has bound its socket. False when it could not start.
    bool Start(const std::string& name, std::vector<std::string> args) {
        char self[4096];
        ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0)
            return false;
        self[n] = '\0';
        std::string program = std::string(self);
        program = program.substr(0, program.rfind('/')) + "/testing/fixtures/" + name;
        args.insert(args.begin(), program);
        args.insert(args.end(), {"--port", "0", "--lifetime-ms", "30000"});
        int out[2];
        if (pipe(out) != 0)
            return false;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
        if (pid_ < 0)
            return false;
        std::string line;
        if (!ReadLine(&line, 5000) || line.rfind("ready ", 0) != 0)
            return false;
        port_ = static_cast<uint16_t>(std::atoi(line.c_str() + 6));
        return true;
    }

    // Reads one line of the fixture's output ("request ADDRESS BYTES" for each request it received).
    bool ReadLine(std::string* line, int timeoutMs) {
        line->clear();
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            size_t nl = pending_.find('\n');
            if (nl != std::string::npos) {
                *line = pending_.substr(0, nl);
                pending_.erase(0, nl + 1);
                return true;
            }
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
            if (left <= 0)
                return false;
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, left) <= 0)
                return false;
            char buffer[4096];
            ssize_t n = read(out_, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            pending_.append(buffer, static_cast<size_t>(n));
        }
    }

    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (out_ >= 0) {
            close(out_);
            out_ = -1;
        }
    }

    uint16_t port() const { return port_; }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    uint16_t port_ = 0;
    std::string pending_;
};

// A UDP socket on 127.0.0.1 that talks to loopback addresses only.
class LoopbackClient {
  public:
    LoopbackClient() {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~LoopbackClient() {
        if (fd_ >= 0)
            close(fd_);
    }
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool SendTo(const char* address, uint16_t port, const std::string& data) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        if (inet_pton(AF_INET, address, &to.sin_addr) != 1 || (ntohl(to.sin_addr.s_addr) >> 24) != 127)
            return false;
        return sendto(fd_, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
               static_cast<ssize_t>(data.size());
    }
    // One datagram, or false when none comes within the time.
    bool Receive(std::vector<uint8_t>* datagram, int timeoutMs) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return false;
        datagram->resize(65536);
        ssize_t n = recv(fd_, datagram->data(), datagram->size(), 0);
        if (n < 0)
            return false;
        datagram->resize(static_cast<size_t>(n));
        return true;
    }

  private:
    int fd_ = -1;
};

}  // namespace testing_support

#endif  // !_WIN32
