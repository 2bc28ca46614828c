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

using Log = std::vector<std::string>;

// Records every effect as a line of text; datagrams to receive wait in `incoming`.
class FakeHost : public net::MasterQueryHost {
  public:
    int OpenMasterSocket() override { return Add("open"), socketError; }
    bool ConnectMasterSocket(const char* address, uint16_t port) override {
        return Add("connect " + std::string(address) + ":" + std::to_string(port)), connectOk;
    }
    bool SendToMaster(const uint8_t* data, size_t size) override {
        sent.emplace_back(reinterpret_cast<const char*>(data), size);
        return Add("send " + std::to_string(size)), sendOk;
    }
    int ReceiveFromMaster(uint8_t* buffer, size_t capacity) override {
        if (incoming.empty())
            return -1;
        const size_t n = std::min(incoming.front().size(), capacity);
        std::copy(incoming.front().begin(), incoming.front().begin() + n, buffer);
        incoming.pop_front();
        return static_cast<int>(n);
    }
    void CloseMasterSocket() override { Add("close"); }
    void SetTimer(int id, uint32_t periodMs) override {
        Add("timer " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void KillTimer(int id) override { Add("kill " + std::to_string(id)); }
    void CreateLabel(std::string_view text) override {
        EXPECT_FALSE(labelExists);
        labelExists = true;
        Add("label+ " + std::string(text));
    }
    void SetLabelText(std::string_view text) override {
        EXPECT_TRUE(labelExists) << "label changed while it does not exist";
        labels.emplace_back(text);
    }
    void DestroyLabel() override {
        labelExists = false;
        Add("label-");
    }
    void SetToolbarRunning(bool running) override { Add(running ? "toolbar running" : "toolbar idle"); }
    void ClearListRows() override { Add("clear rows"); }
    void SendRefilter() override { Add("refilter"); }
    void SendRefreshAll() override { Add("refresh 0"); }
    void PostMasterQuery() override { Add("post query"), ++posted; }

    int Add(const std::string& line) { return log.push_back(line), 0; }
    size_t Count(const std::string& line) const { return std::count(log.begin(), log.end(), line); }

    int socketError = 0;
    bool connectOk = true;
    bool sendOk = true;
    std::deque<std::string> incoming;
    Log sent, log, labels;
    bool labelExists = false;
    int posted = 0;
};

// A byte list of servers on port 27960, ended by the marker or not.
std::string ByteList(const std::vector<int>& lastOctets, bool end = true) {
    std::string d = "\xFF\xFF\xFF\xFFgetserversResponse";
    for (int o : lastOctets)
        d += std::string{'\\', 10, 0, 0, char(o), 0x6D, 0x38};
    return end ? d + std::string("\\EOT\0\0\0", 7) : d;
}

std::string HalfLifeBatch(uint32_t id, int firstServer, int servers) {
    std::string d =
        "\xFF\xFF\xFF\xFF"
        "f\n";
    for (int i = 0; i < 4; ++i)
        d += char(id >> (8 * i));
    for (int i = 0; i < servers; ++i)
        d += std::string{10, 0, 1, char(firstServer + i), 0x69, static_cast<char>(0x87)};
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
    void Deliver(const std::string& datagram) {
        host.incoming.push_back(datagram);
        query.OnSocketRead();
    }
    Log LastLines(size_t n) { return Log(host.log.end() - std::min(n, host.log.size()), host.log.end()); }

    bool busy = false;
    FakeHost host;
    testing_support::FakeMessageSink sink;
    catalogue::GameProfile profile;
    net::MasterQuery query;
};

TEST_F(MasterQueryTest, ThreeSilentAttemptsThenTheUserIsTold) {
    busy = true;  // a refresh runs
    EXPECT_FALSE(query.Start(profile));
    EXPECT_TRUE(host.log.empty());
    busy = false;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_TRUE(busy && query.running() && query.socketOpen());
    EXPECT_EQ(host.log, (Log{"toolbar running", "clear rows", "open", "label+ Contacting Master Server",
                             "connect 127.0.0.9:27950", "send 28", "timer 1 5000"}));
    EXPECT_EQ(host.sent[0], "\xFF\xFF\xFF\xFFgetservers 68 empty full");
    EXPECT_FALSE(query.Start(profile));  // its own attempt holds the flag
    for (int attempt = 1; attempt <= 3; ++attempt) {
        query.OnTimer(net::kMasterAttemptTimer);
        if (attempt < 3) {
            ASSERT_EQ(host.posted, attempt);
            ASSERT_TRUE(query.Start(profile));
        }
    }
    EXPECT_EQ(std::tuple(host.Count("open"), host.Count("close"), host.Count("post query")), std::tuple(3u, 3u, 2u));
    EXPECT_EQ(host.labels, (Log{"Master Query 1", "Master Query 2", "Master Query 3"}));
    EXPECT_EQ(sink.shown, Log{"I've tried 3 times to contact the master\nserver, I give up!!"});
    EXPECT_TRUE(!busy && !host.labelExists && host.Count("refresh 0") == 0);
    EXPECT_EQ(host.log.back(), "toolbar idle");
    ASSERT_TRUE(query.Start(profile));  // the next query has three attempts again
    EXPECT_EQ(host.labels.back(), "Master Query 1");
}

TEST_F(MasterQueryTest, ListDatagramsAddServersExtendTheAttemptAndEndInARefresh) {
    ASSERT_TRUE(query.Start(profile));
    host.log.clear();
    Deliver(std::string("\xFF\xFF\xFF\xFFgetserversResponse\\\x0A", 24));  // too short: not even the time-out moves
    EXPECT_TRUE(host.log.empty());
    query.OnSocketRead();  // nothing to receive: ignored
    EXPECT_TRUE(host.log.empty());
    Deliver(ByteList({1, 2}, false));
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_EQ(host.log, (Log{"kill 1", "timer 1 2000"}));
    Deliver(ByteList({2, 3, 255}));
    EXPECT_EQ(profile.servers.count, 3u);
    EXPECT_EQ(host.labels.back(), "Received 2 Servers");  // the count before the datagram was merged
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_FALSE(busy);
    EXPECT_EQ(LastLines(7), (Log{"kill 1", "kill 4", "close", "label-", "toolbar idle", "refilter", "refresh 0"}));
    EXPECT_TRUE(sink.shown.empty());
    // A list of known servers only is a success all the same, and the attempts start afresh.
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.labels.back(), "Master Query 1");
    Deliver(ByteList({1}));
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(std::pair(host.Count("refresh 0"), host.posted), std::pair(size_t(2), 0));
    // Only the first 8192 bytes of a datagram are read: (8192 - 22) / 7 whole entries.
    clearServers(profile.servers);
    ASSERT_TRUE(query.Start(profile));
    std::string big = ByteList({}, false);
    for (int k = 0; big.size() < 10000; ++k)
        big += std::string{'\\', 10, 9, char(k / 200), char(k % 200), 0x6D, 0x38};
    Deliver(big);
    EXPECT_EQ(profile.servers.count, (8192u - 22u) / 7u);
    query.Shutdown();
    query.Shutdown();
    EXPECT_EQ(std::pair(query.socketOpen(), host.log.back()), std::pair(false, std::string("close")));
    EXPECT_EQ(host.Count("close"), 3u);
}

TEST_F(MasterQueryTest, EliteForceTakesAnyDatagramAndGamesWithoutMasterEndByTimeOut) {
    profile.kind = catalogue::kEliteForce;
    profile.protocol = 24;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.sent[0], "\xFF\xFF\xFF\xFFgetservers 24 empty full");
    host.log.clear();
    Deliver("\xFF\xFF\xFF\xFF");  // too short for a list, but it extends the attempt
    EXPECT_EQ(host.log, (Log{"kill 1", "timer 1 2000"}));
    Deliver("\xFF\xFF\xFF\xFFgetserversResponse\n\\0a0000016d38\\0A0000026D38\\EOT");
    EXPECT_EQ(profile.servers.count, 2u);
    EXPECT_NE(profile.servers.Find("10.0.0.2", 27960), nullptr);

    catalogue::GameProfile moh;
    moh.kind = catalogue::kMedalOfHonour;
    query.OnTimer(net::kMasterAttemptTimer);
    ASSERT_TRUE(query.Start(moh));
    EXPECT_EQ(host.sent.back(), "");  // no master: an empty datagram
    Deliver(ByteList({1}));           // nothing is read for this kind
    EXPECT_EQ(moh.servers.count, 0u);
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(host.posted, 1);  // no servers: another attempt
    findOrCreateServer(moh.servers, catalogue::MakeServerTemplate("10.0.0.1", 12203));
    ASSERT_TRUE(query.Start(moh));
    query.OnTimer(net::kMasterAttemptTimer);  // with servers in the list the time-out is a success
    EXPECT_EQ(host.log.back(), "refresh 0");
}

TEST_F(MasterQueryTest, HalfLifeBatchesAskForTheNextUntilTheLastOrEnoughAndTimerFourResends) {
    profile.kind = catalogue::kHalfLife;
    profile.masterTimeoutMs = 2500;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.sent[0], std::string("e\0\0\0\0", 5));
    host.log.clear();
    Deliver(HalfLifeBatch(0x01020304, 1, 3));
    EXPECT_EQ(profile.servers.count, 3u);
    EXPECT_EQ(host.sent.back(), "e\x04\x03\x02\x01");
    EXPECT_EQ(host.log, (Log{"send 5", "timer 4 5000"}));
    query.OnTimer(net::kHalfLifeResendTimer);  // the continuation got lost: sent again
    EXPECT_EQ(LastLines(2), (Log{"send 5", "timer 4 2500"}));
    EXPECT_EQ(std::pair(host.sent.back(), host.sent.size()), std::pair(std::string("e\x04\x03\x02\x01"), size_t(3)));
    profile.masterTimeoutMs = 0;  // from a damaged profile file: never a zero period
    query.OnTimer(net::kHalfLifeResendTimer);
    EXPECT_EQ(host.log.back(), "timer 4 2000");
    Deliver(HalfLifeBatch(0, 4, 2));  // identifier 0: the last batch ends the query at once
    EXPECT_EQ(profile.servers.count, 5u);
    EXPECT_EQ(host.labels.back(), "Received 5 Servers");
    EXPECT_EQ(LastLines(8),
              (Log{"kill 4", "kill 1", "kill 4", "close", "label-", "toolbar idle", "refilter", "refresh 0"}));
    EXPECT_FALSE(busy);
    const size_t lines = host.log.size();  // a late timer of the finished query does nothing
    query.OnTimer(net::kHalfLifeResendTimer);
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(host.log.size(), lines);

    clearServers(profile.servers);
    profile.maxServers = 4;
    ASSERT_TRUE(query.Start(profile));
    Deliver(HalfLifeBatch(7, 1, 3));
    EXPECT_TRUE(busy);
    Deliver(HalfLifeBatch(8, 4, 3));  // 6 servers, more on offer: no more asked for
    EXPECT_EQ(std::tuple(profile.servers.count, host.sent.size(), busy), std::tuple(6u, size_t(6), false));
}

TEST_F(MasterQueryTest, SocketConnectAndSendFailuresWindDownAndNeverStayBusy) {
    host.socketError = 10024;
    EXPECT_FALSE(query.Start(profile));
    EXPECT_EQ(sink.shown.back(), "Socket Error: 10024");
    EXPECT_EQ(host.log, (Log{"toolbar running", "clear rows", "open", "kill 1", "kill 4", "toolbar idle", "refilter"}));
    host.socketError = 0;
    host.connectOk = false;
    EXPECT_FALSE(query.Start(profile));
    EXPECT_EQ(sink.shown.back(), "Could not connect!");
    EXPECT_EQ(host.Count("close"), 1u);
    host.connectOk = true;
    host.sendOk = false;
    EXPECT_FALSE(query.Start(profile));
    EXPECT_EQ(sink.shown.back(), "Send error");
    EXPECT_EQ(host.Count("close"), 2u);
    EXPECT_EQ(host.Count("timer 1 5000"), 0u);
    EXPECT_EQ(host.labels, (Log{"Master Query 1"}));  // each failed query counts its attempts afresh
    EXPECT_TRUE(!busy && !query.running() && !query.socketOpen() && !host.labelExists && host.posted == 0);
    EXPECT_EQ(query.retriesLeft(), 3);
    host.sendOk = true;
    EXPECT_TRUE(query.Start(profile));
}

}  // namespace
