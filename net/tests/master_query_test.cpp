// Tests of the master query's attempts with a fake main window and crafted list datagrams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_query.h"
#include "testing/fake_message_sink.h"

namespace {

using catalogue::GameProfile;

// Records every effect as a line of text; datagrams to receive are queued in `incoming`.
class FakeHost : public net::MasterQueryHost {
  public:
    int OpenMasterSocket() override {
        log.push_back("open");
        return socketError;
    }
    bool ConnectMasterSocket(const char* address, uint16_t port) override {
        log.push_back("connect " + std::string(address) + ":" + std::to_string(port));
        return connectOk;
    }
    bool SendToMaster(const uint8_t* data, size_t size) override {
        sent.emplace_back(reinterpret_cast<const char*>(data), size);
        log.push_back("send " + std::to_string(size));
        return sendOk;
    }
    int ReceiveFromMaster(uint8_t* buffer, size_t capacity) override {
        if (incoming.empty())
            return -1;
        std::string d = incoming.front();
        incoming.pop_front();
        size_t n = d.size() < capacity ? d.size() : capacity;
        std::copy(d.begin(), d.begin() + n, buffer);
        return static_cast<int>(n);
    }
    void CloseMasterSocket() override { log.push_back("close"); }
    void SetTimer(int id, uint32_t periodMs) override {
        log.push_back("timer " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void KillTimer(int id) override { log.push_back("kill " + std::to_string(id)); }
    void CreateLabel(std::string_view text) override {
        label = std::string(text);
        labelExists = true;
        log.push_back("label+ " + label);
    }
    void SetLabelText(std::string_view text) override {
        EXPECT_TRUE(labelExists) << "label changed while it does not exist";
        label = std::string(text);
        labels.push_back(label);
    }
    void DestroyLabel() override {
        labelExists = false;
        log.push_back("label-");
    }
    void SetToolbarRunning(bool running) override { log.push_back(running ? "toolbar running" : "toolbar idle"); }
    void ClearListRows() override { log.push_back("clear rows"); }
    void SendRefilter() override { log.push_back("refilter"); }
    void SendRefreshAll() override { log.push_back("refresh 0"); }
    void PostMasterQuery() override {
        log.push_back("post query");
        ++posted;
    }

    bool Logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
    size_t Count(const std::string& line) const { return std::count(log.begin(), log.end(), line); }

    int socketError = 0;
    bool connectOk = true;
    bool sendOk = true;
    std::deque<std::string> incoming;
    std::vector<std::string> sent;
    std::vector<std::string> log;
    std::vector<std::string> labels;
    std::string label;
    bool labelExists = false;
    int posted = 0;
};

std::string ByteList(const std::vector<std::string>& addresses, bool end = true) {
    std::string d = "\xFF\xFF\xFF\xFFgetserversResponse";
    for (const std::string& a : addresses) {
        int o[4];
        std::sscanf(a.c_str(), "%d.%d.%d.%d", &o[0], &o[1], &o[2], &o[3]);
        d += std::string{'\\', char(o[0]), char(o[1]), char(o[2]), char(o[3]), char(0x6D), char(0x38)};  // 27960
    }
    return end ? d + std::string("\\EOT\0\0\0", 7) : d;
}

std::string HalfLifeBatch(uint32_t id, int firstServer, int servers) {
    std::string d =
        "\xFF\xFF\xFF\xFF"
        "f\n";
    for (int i = 0; i < 4; ++i)
        d += char(id >> (8 * i));
    for (int i = 0; i < servers; ++i)
        d += std::string{10, 0, 1, char(firstServer + i), 0x69, static_cast<char>(0x87)};  // port 27015
    return d + '\0';  // the byte that lets the last record be read
}

class MasterQueryTest : public ::testing::Test {
  protected:
    MasterQueryTest() : query(busy, host, sink) {
        profile.kind = catalogue::kQuake3;
        profile.protocol = 68;
        base::CopyText(profile.masterAddress, "127.0.0.9");
        profile.masterPort = 27950;
    }
    // Delivers a datagram as a socket read notification.
    void Deliver(const std::string& datagram) {
        host.incoming.push_back(datagram);
        query.OnSocketRead();
    }
    // Runs the attempts the query posts for itself, ending each by timer 1.
    void TimeOutAllAttempts() {
        query.OnTimer(net::kMasterAttemptTimer);
        while (host.posted > 0) {
            --host.posted;
            ASSERT_TRUE(query.Start(profile));
            query.OnTimer(net::kMasterAttemptTimer);
        }
    }

    bool busy = false;
    FakeHost host;
    testing_support::FakeMessageSink sink;
    GameProfile profile;
    net::MasterQuery query;
};

TEST_F(MasterQueryTest, StartSendsTheRequestAndArmsTimerOne) {
    ASSERT_TRUE(query.Start(profile));
    EXPECT_TRUE(busy);
    EXPECT_TRUE(query.running());
    EXPECT_TRUE(query.socketOpen());
    EXPECT_EQ(query.retriesLeft(), 2);
    const std::vector<std::string> expected = {
        "toolbar running",         "clear rows", "open",        "label+ Contacting Master Server",
        "connect 127.0.0.9:27950", "send 28",    "timer 1 5000"};
    EXPECT_EQ(host.log, expected);
    EXPECT_EQ(host.labels, std::vector<std::string>{"Master Query 1"});
    EXPECT_EQ(host.sent[0], "\xFF\xFF\xFF\xFFgetservers 68 empty full");
}

TEST_F(MasterQueryTest, BusyFlagRefusesAStart) {
    busy = true;
    EXPECT_FALSE(query.Start(profile));
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(query.retriesLeft(), 3);
    busy = false;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_FALSE(query.Start(profile));  // its own attempt holds the flag
    EXPECT_EQ(host.Count("open"), 1u);
}

TEST_F(MasterQueryTest, ThreeAttemptsThenGiveUp) {
    ASSERT_TRUE(query.Start(profile));
    TimeOutAllAttempts();
    EXPECT_EQ(host.Count("open"), 3u);
    EXPECT_EQ(host.Count("close"), 3u);
    EXPECT_EQ(host.Count("post query"), 2u);
    EXPECT_EQ(host.labels, (std::vector<std::string>{"Master Query 1", "Master Query 2", "Master Query 3"}));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], "I've tried 3 times to contact the master\nserver, I give up!!");
    EXPECT_FALSE(busy);
    EXPECT_FALSE(host.labelExists);
    EXPECT_EQ(host.log.back(), "toolbar idle");
    EXPECT_FALSE(host.Logged("refresh 0"));
    EXPECT_EQ(query.retriesLeft(), 3);
    // The next query has three attempts again.
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.labels.back(), "Master Query 1");
}

TEST_F(MasterQueryTest, ListDatagramsAddServersAndEndInARefresh) {
    ASSERT_TRUE(query.Start(profile));
    host.log.clear();
    Deliver(ByteList({"10.0.0.1", "10.0.0.2"}, false));
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_EQ(host.log, (std::vector<std::string>{"kill 1", "timer 1 2000"}));
    Deliver(ByteList({"10.0.0.2", "10.0.0.3", "255.0.0.1"}));
    EXPECT_EQ(profile.servers.count, 3u);
    EXPECT_EQ(host.labels.back(), "Received 2 Servers");  // the count before the datagram was merged
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_FALSE(busy);
    EXPECT_EQ(query.retriesLeft(), 3);
    EXPECT_EQ(
        std::vector<std::string>(host.log.end() - 7, host.log.end()),
        (std::vector<std::string>{"kill 1", "kill 4", "close", "label-", "toolbar idle", "refilter", "refresh 0"}));
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(MasterQueryTest, NonEmptyListIsSuccessEvenWhenNothingWasAdded) {
    catalogue::findOrCreateServer(profile.servers, catalogue::MakeServerTemplate("10.0.0.1", 27960));
    ASSERT_TRUE(query.Start(profile));
    Deliver(ByteList({"10.0.0.1"}));
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_TRUE(host.Logged("refresh 0"));
    EXPECT_EQ(host.posted, 0);
    EXPECT_EQ(profile.servers.count, 1u);
}

TEST_F(MasterQueryTest, GamesWithoutMasterSendAnEmptyDatagramAndEndByTimeOut) {
    profile.kind = catalogue::kMedalOfHonour;
    ASSERT_TRUE(query.Start(profile));
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0], "");
    Deliver(ByteList({"10.0.0.1"}));  // nothing is parsed for this kind
    EXPECT_EQ(profile.servers.count, 0u);
    TimeOutAllAttempts();
    EXPECT_EQ(sink.shown.size(), 1u);

    // With servers in the list the first time-out is a success.
    catalogue::findOrCreateServer(profile.servers, catalogue::MakeServerTemplate("10.0.0.1", 12203));
    host.log.clear();
    ASSERT_TRUE(query.Start(profile));
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_TRUE(host.Logged("refresh 0"));
    EXPECT_EQ(host.Count("open"), 1u);
}

TEST_F(MasterQueryTest, ShortDatagramsAreIgnoredExceptByEliteForce) {
    const std::string exactly24 = std::string("\xFF\xFF\xFF\xFFgetserversResponse") + "\\\x0A";
    for (uint32_t kind :
         {catalogue::kQuake3, catalogue::kWolfenstein, catalogue::kJediKnight2, catalogue::kSoldierOfFortune2}) {
        profile.kind = kind;
        host.log.clear();
        ASSERT_TRUE(query.Start(profile));
        host.log.clear();
        Deliver(exactly24);
        EXPECT_TRUE(host.log.empty()) << kind;  // the time-out is not extended
        query.OnTimer(net::kMasterAttemptTimer);
        host.posted = 0;
    }
    profile.kind = catalogue::kEliteForce;
    ASSERT_TRUE(query.Start(profile));
    host.log.clear();
    Deliver(std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(host.log, (std::vector<std::string>{"kill 1", "timer 1 2000"}));
    EXPECT_EQ(profile.servers.count, 0u);
}

TEST_F(MasterQueryTest, EliteForceHexList) {
    profile.kind = catalogue::kEliteForce;
    profile.protocol = 24;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.sent[0], "\xFF\xFF\xFF\xFFgetservers 24 empty full");
    Deliver(std::string("\xFF\xFF\xFF\xFFgetserversResponse\n") + "\\0a0000016d38\\0A0000026D38\\EOT");
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_NE(profile.servers.Find("10.0.0.2", 27960), nullptr);
}

TEST_F(MasterQueryTest, HalfLifeBatchesContinueAndTimerFourResends) {
    profile.kind = catalogue::kHalfLife;
    profile.masterTimeoutMs = 2500;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.sent[0], std::string("e\0\0\0\0", 5));
    host.log.clear();
    Deliver(HalfLifeBatch(0x01020304, 1, 3));
    EXPECT_EQ(profile.servers.count, 3u);
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_EQ(host.sent[1], "e\x04\x03\x02\x01");
    EXPECT_EQ(host.log, (std::vector<std::string>{"send 5", "timer 4 5000"}));
    // The continuation got lost: timer 4 sends it again and waits the profile's time-out.
    query.OnTimer(net::kHalfLifeResendTimer);
    ASSERT_EQ(host.sent.size(), 3u);
    EXPECT_EQ(host.sent[2], host.sent[1]);
    EXPECT_TRUE(host.Logged("timer 4 2500"));
    EXPECT_EQ(query.lastRequest().size, 5u);
    profile.masterTimeoutMs = 0;  // from a damaged profile file: never a zero period
    query.OnTimer(net::kHalfLifeResendTimer);
    EXPECT_EQ(host.log.back(), "timer 4 2000");
    // The last batch (identifier 0) ends the query at once.
    Deliver(HalfLifeBatch(0, 4, 2));
    EXPECT_EQ(profile.servers.count, 5u);
    EXPECT_EQ(host.labels.back(), "Received 5 Servers");
    EXPECT_FALSE(busy);
    EXPECT_TRUE(host.Logged("refresh 0"));
    EXPECT_EQ(host.sent.size(), 4u);
    // A late timer of the finished query does nothing.
    size_t before = host.log.size();
    query.OnTimer(net::kHalfLifeResendTimer);
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(host.log.size(), before);
}

TEST_F(MasterQueryTest, HalfLifeStopsAtMaxServers) {
    profile.kind = catalogue::kHalfLife;
    profile.maxServers = 4;
    ASSERT_TRUE(query.Start(profile));
    Deliver(HalfLifeBatch(7, 1, 3));
    EXPECT_TRUE(busy);
    Deliver(HalfLifeBatch(8, 4, 3));  // 6 servers now, more are on offer: no more asked for
    EXPECT_EQ(profile.servers.count, 6u);
    EXPECT_EQ(host.sent.size(), 2u);
    EXPECT_FALSE(busy);
    EXPECT_TRUE(host.Logged("refresh 0"));
}

TEST_F(MasterQueryTest, SocketErrorWindsDown) {
    host.socketError = 10024;
    EXPECT_FALSE(query.Start(profile));
    EXPECT_EQ(sink.shown, std::vector<std::string>{"Socket Error: 10024"});
    EXPECT_FALSE(busy);
    EXPECT_FALSE(query.running());
    EXPECT_FALSE(host.Logged("label+ Contacting Master Server"));
    EXPECT_FALSE(host.Logged("close"));
    EXPECT_EQ(host.log.back(), "refilter");  // the cleared panes show the list again
    EXPECT_TRUE(host.Logged("toolbar idle"));
    EXPECT_EQ(host.posted, 0);
    EXPECT_EQ(query.retriesLeft(), 3);
}

TEST_F(MasterQueryTest, ConnectAndSendFailuresWindDown) {
    host.connectOk = false;
    EXPECT_FALSE(query.Start(profile));
    EXPECT_EQ(sink.shown.back(), "Could not connect!");
    EXPECT_FALSE(busy);
    EXPECT_FALSE(query.socketOpen());
    EXPECT_FALSE(host.labelExists);
    EXPECT_EQ(host.Count("close"), 1u);
    EXPECT_TRUE(host.Logged("toolbar idle"));

    host.connectOk = true;
    host.sendOk = false;
    host.log.clear();
    EXPECT_FALSE(query.Start(profile));
    EXPECT_EQ(sink.shown.back(), "Send error");
    EXPECT_FALSE(busy);
    EXPECT_FALSE(host.labelExists);
    EXPECT_EQ(host.Count("close"), 1u);
    EXPECT_FALSE(host.Logged("timer 1 5000"));
    EXPECT_EQ(host.labels.back(), "Master Query 1");  // each failed query starts counting afresh
    EXPECT_EQ(host.posted, 0);

    host.sendOk = true;
    EXPECT_TRUE(query.Start(profile));  // never stuck busy
}

TEST_F(MasterQueryTest, ReceiveErrorsAndShutdown) {
    ASSERT_TRUE(query.Start(profile));
    host.log.clear();
    query.OnSocketRead();  // nothing to receive: ignored
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.labels.size(), 1u);
    query.Shutdown();
    EXPECT_EQ(host.log, std::vector<std::string>{"close"});
    EXPECT_FALSE(query.socketOpen());
    query.Shutdown();
    EXPECT_EQ(host.Count("close"), 1u);
}

TEST_F(MasterQueryTest, OversizedDatagramIsCutToTheBuffer) {
    ASSERT_TRUE(query.Start(profile));
    std::string big = ByteList({}, false);
    for (int k = 0; big.size() < 10000; ++k)
        big += std::string{'\\', 10, 9, char(k / 200), char(k % 200), 0x6D, 0x38};  // distinct addresses
    Deliver(big);
    // Only the entries inside the first 8192 bytes: (8192 - 22) / 7 whole entries.
    EXPECT_EQ(profile.servers.count, (8192u - 22u) / 7u);
}

}  // namespace
