// Master queries over real loopback sockets against the master server fixture of every list format.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_query.h"
#include "testing/fake_message_sink.h"
#include "testing/fixture_process.h"

namespace {

using testing_support::FixtureProcess;

// A master query host with a real connected UDP socket (loopback only). Timers are only recorded:
// the test decides when one fires.
class SocketHost : public net::MasterQueryHost {
  public:
    ~SocketHost() override { CloseMasterSocket(); }
    int OpenMasterSocket() override {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        return fd < 0 ? errno : 0;
    }
    bool ConnectMasterSocket(const char* address, uint16_t port) override {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        if (inet_pton(AF_INET, address, &to.sin_addr) != 1 || (ntohl(to.sin_addr.s_addr) >> 24) != 127)
            return false;  // never anything but loopback from a test
        return connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    }
    bool SendToMaster(const uint8_t* data, size_t size) override {
        ++sends;
        return send(fd, data, size, 0) == static_cast<ssize_t>(size);
    }
    int ReceiveFromMaster(uint8_t* buffer, size_t capacity) override {
        return static_cast<int>(recv(fd, buffer, capacity, MSG_DONTWAIT));
    }
    void CloseMasterSocket() override {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    void SetTimer(int id, uint32_t periodMs) override { armed[id] = true; }
    void KillTimer(int id) override { armed[id] = false; }
    void CreateLabel(std::string_view text) override { label = std::string(text); }
    void SetLabelText(std::string_view text) override { label = std::string(text); }
    void DestroyLabel() override { label.clear(); }
    void SetToolbarRunning(bool running) override {}
    void ClearListRows() override {}
    void SendRefilter() override {}
    void SendRefreshAll() override { ++refreshes; }
    void PostMasterQuery() override { ++posted; }

    // Waits up to `ms` for a datagram; true when one is waiting.
    bool Readable(int ms) {
        pollfd p{fd, POLLIN, 0};
        return fd >= 0 && poll(&p, 1, ms) > 0;
    }

    int fd = -1;
    bool armed[5] = {};
    std::string label;
    int sends = 0;
    int refreshes = 0;
    int posted = 0;
};

class MasterFixtureTest : public ::testing::Test {
  protected:
    MasterFixtureTest() : query(busy, host, sink) {}

    void Point(uint32_t kind, uint32_t protocol, const char* address, uint16_t port) {
        profile.kind = kind;
        profile.protocol = protocol;
        base::CopyText(profile.masterAddress, address);
        profile.masterPort = port;
    }
    // Feeds datagrams to the query while they come; a pause of 300 ms stands for a timer that fired
    // (timer 4 when armed, else timer 1), until the attempt is over.
    void RunAttempt() {
        for (int guard = 0; guard < 50 && query.running(); ++guard) {
            if (host.Readable(300))
                query.OnSocketRead();
            else
                query.OnTimer(host.armed[net::kHalfLifeResendTimer] ? net::kHalfLifeResendTimer
                                                                    : net::kMasterAttemptTimer);
        }
    }
    std::vector<std::string> Addresses() const {
        std::vector<std::string> out;
        for (const catalogue::ServerRecord* r = profile.servers.head; r; r = r->next)
            out.push_back(std::string(r->addressText) + ":" + std::to_string(r->port));
        return out;
    }

    bool busy = false;
    SocketHost host;
    testing_support::FakeMessageSink sink;
    catalogue::GameProfile profile;
    net::MasterQuery query;
};

TEST_F(MasterFixtureTest, QuakeThreeListInSeveralDatagrams) {
    FixtureProcess master;
    ASSERT_TRUE(master.Start("master_fixture",
                             {"--format", "q3", "--bind", "127.10.1.1", "--per-datagram", "2", "--server",
                              "127.10.1.2:27960", "--server", "127.10.1.3:27961", "--server", "255.1.2.3:27960",
                              "--server", "127.10.1.2:27960", "--server", "254.1.2.3:27960"}));
    Point(catalogue::kWolfenstein, 55, "127.10.1.1", master.port());
    ASSERT_TRUE(query.Start(profile));
    std::string line;
    ASSERT_TRUE(master.ReadLine(&line, 2000));
    EXPECT_NE(line.find("\\xFF\\xFF\\xFF\\xFFgetservers 55 empty fulldemo"), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 4), "demo");  // nothing sent after the suffix
    RunAttempt();
    EXPECT_EQ(Addresses(), (std::vector<std::string>{"127.10.1.2:27960", "127.10.1.3:27961", "254.1.2.3:27960"}));
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_FALSE(busy);
    EXPECT_EQ(host.fd, -1);
}

TEST_F(MasterFixtureTest, EliteForceHexList) {
    FixtureProcess master;
    ASSERT_TRUE(master.Start("master_fixture", {"--format", "ef", "--bind", "127.10.1.4", "--upper-hex", "--server",
                                                "127.10.1.5:27960", "--server", "127.10.1.6:27960"}));
    Point(catalogue::kEliteForce, 24, "127.10.1.4", master.port());
    ASSERT_TRUE(query.Start(profile));
    RunAttempt();
    EXPECT_EQ(Addresses(), (std::vector<std::string>{"127.10.1.5:27960", "127.10.1.6:27960"}));
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(MasterFixtureTest, HalfLifeBatchesWithALostContinuation) {
    FixtureProcess master;
    std::vector<std::string> args = {
        "--format", "hl", "--bind", "127.10.1.7", "--per-datagram", "2", "--drop-continuations", "1"};
    for (int i = 1; i <= 5; ++i)
        args.insert(args.end(), {"--server", "127.10.2." + std::to_string(i) + ":27015"});
    ASSERT_TRUE(master.Start("master_fixture", args));
    Point(catalogue::kHalfLife, 0, "127.10.1.7", master.port());
    ASSERT_TRUE(query.Start(profile));
    RunAttempt();
    EXPECT_EQ(profile.servers.count, 5u);
    // The first request, the dropped continuation, its re-send by timer 4, and one more batch.
    EXPECT_EQ(host.sends, 4);
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_FALSE(busy);
}

TEST_F(MasterFixtureTest, SilentMasterGivesUpAfterThreeAttempts) {
    FixtureProcess master;
    ASSERT_TRUE(master.Start("master_fixture", {"--format", "q3", "--bind", "127.10.1.8", "--silent"}));
    Point(catalogue::kQuake3, 68, "127.10.1.8", master.port());
    ASSERT_TRUE(query.Start(profile));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RunAttempt();
        if (host.posted) {
            --host.posted;
            ASSERT_TRUE(query.Start(profile));
        }
    }
    EXPECT_FALSE(query.running());
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], "I've tried 3 times to contact the master\nserver, I give up!!");
    EXPECT_EQ(host.refreshes, 0);
}

}  // namespace

#endif  // !_WIN32
