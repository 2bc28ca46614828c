// Tests of master requests, the three master list formats at their boundaries, merging into a list, and
// the master query's attempts with a fake main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_list.h"
#include "net/master_query.h"
#include "testing/fake_clock.h"
#include "testing/fake_message_sink.h"

namespace {

using namespace catalogue;
using Log = std::vector<std::string>;

std::string Text(const net::MasterRequest& r) {
    return std::string(reinterpret_cast<const char*>(r.bytes), r.size);
}

const std::string kFF = "\xFF\xFF\xFF\xFF";
const std::string kByteHeader = kFF + "getserversResponse";  // 22 bytes
const std::string kHexHeader = kByteHeader + "\n";           // 23 bytes

std::string Entry(int a, int b, int c, int d, int port) {
    return std::string{'\\', char(a), char(b), char(c), char(d), char(port >> 8), char(port & 0xFF)};
}
std::string Hex(int a, int b, int c, int d, int port, const char* format = "\\%02x%02x%02x%02x%02x%02x") {
    char text[16];
    std::snprintf(text, sizeof text, format, a, b, c, d, port >> 8, port & 0xFF);
    return text;
}
// A Half-Life batch: "f\n", the next batch's identifier, 6-byte records, then `trailer` zero bytes.
std::string Batch(uint32_t id, int records, size_t trailer, int first = 1) {
    std::string d = kFF + "f\n";
    for (int i = 0; i < 4; ++i)
        d += char(id >> (8 * i));
    for (int i = 0; i < records; ++i)
        d += std::string{10, 0, 0, char(first + i), 0x69, char(0x87)};  // port 27015
    return d + std::string(trailer, '\0');
}

// (The requests of the built-in masters' protocols are in the next test.)
TEST(MasterRequests, QuakeStyleByKindAndProtocolHalfLifeByBatchNoneForTheOthers) {
    const std::tuple<uint32_t, uint32_t, std::string> rows[] = {
        {kJediKnight2, 16, kFF + "getservers 16 empty full"},
        {kWolfenstein, 55, kFF + "getservers 55 empty fulldemo"},
        {kWolfenstein, 57, kFF + "getservers 57 empty full"},
        {kSoldierOfFortune2, 2001, kFF + "getservers 2001 DEMOSOF2"},
        {kHalfLife, 46, std::string("e\0\0\0\0", 5)},
        {kMedalOfHonour, 8, ""},
        {kUnrealTournament, 0, ""},
        {kRenegade, 0, ""},
        {kOpenArena, 71, kFF + "getservers 71 empty full"},
        {kEtLegacy, 84, kFF + "getservers 84 empty full"},
        {kNexuiz, 3, kFF + "getservers Nexuiz 3 empty full"},
        {42, 0, ""}};
    for (auto [kind, protocol, request] : rows)
        EXPECT_EQ(Text(net::BuildMasterRequest(kind, protocol)), request) << kind << " " << protocol;
    const uint8_t id[4] = {0x12, 0x00, 0xFF, 0x80};
    EXPECT_EQ(Text(net::BuildHalfLifeRequest(id)), std::string("e\x12\x00\xFF\x80", 5));
}

// The built-in masters, and the request a new profile sends them: the Game Profile dialog's version
// list is sorted and its first entry chosen, and that must be the protocol most of today's servers
// speak. Sources: Lilium Voyager's and cMod's sv_master defaults (Elite Force), JK2MV's sv_init.cpp,
// iortcw's qcommon.h and sv_init.c, ioquake3's sv_init.c, 1fx Mod's master list (SOF2), 333networks'
// masterserver settings and OldUnreal's UnrealTournament.ini (UT), GameserverLister's quake3.py;
// for today's games ET: Legacy's sv_init.c and com_masterServer, Urban Terror's ui (sv_master1 and 2
// on port 27900), DarkPlaces' sv_masterextra defaults (Xonotic, Nexuiz).
TEST(MasterRequests, BuiltInMastersAreTodaysAndANewProfileAsksForTodaysServers) {
    Catalogue catalogue;
    catalogue.buildCatalogue();
    const std::tuple<uint32_t, std::string, uint32_t, std::string> rows[] = {
        {kEliteForce, "master.stvef.org efmaster.tjps.eu master.stef1.daggolin.de", 27953, "getservers 24 empty full"},
        {kJediKnight2, "master.jkhub.org master.jk2mv.org", 28060, "getservers 15 empty full"},
        {kWolfenstein, "wolfmaster.idsoftware.com dpmaster.deathmask.net master.iortcw.org", 27950,
         "getservers 60 empty full"},
        {kQuake3, "master.quake3arena.com master.ioquake3.org dpmaster.deathmask.net", 27950,
         "getservers 68 empty full"},
        {kSoldierOfFortune2, "master.1fxmod.org master.sof2.ravensoft.com", 20110, "getservers 2004 SOF2FULL"},
        {kUnrealTournament, "master.333networks.com master.oldunreal.com master.errorist.eu", 28900, ""},
        {kXonotic, "dpmaster.deathmask.net dpmaster.tchr.no", 27950, "getservers Xonotic 3 empty full"},
        {kNexuiz, "dpmaster.deathmask.net dpmaster.tchr.no", 27950, "getservers Nexuiz 3 empty full"},
        {kIoQuake3, "master.ioquake3.org master.quake3arena.com dpmaster.deathmask.net", 27950,
         "getservers 68 empty full"},
        {kUrbanTerror, "master.urbanterror.info master2.urbanterror.info", 27900, "getservers 68 empty full"},
        {kEtLegacy, "master.etlegacy.com etmaster.idsoftware.com master0.etmaster.net", 27950,
         "getservers 84 empty full"},
        // Valve's master, one filter per application id (Valve's list of them on the developer wiki).
        {kHalfLifeSteam, "hl2master.steampowered.com", 27011,
         "\\appid\\10 \\appid\\80 \\appid\\20 \\appid\\30 \\appid\\70 \\appid\\40 \\appid\\50 \\appid\\60"},
        {kTeamFortress2, "hl2master.steampowered.com", 27011, "\\appid\\440"}};
    for (const auto& [kind, hosts, port, request] : rows) {
        const GameDefinition* g = catalogue.GameOf(kind);
        ASSERT_NE(g, nullptr);
        std::string names = g->masterAddress;
        for (const MasterServer& m : g->moreMasters)
            names += (m.port == g->masterPort ? " " : " (other port) ") + m.host;
        EXPECT_EQ(std::pair(names, g->masterPort), std::pair(hosts, port)) << kind;
        const VersionDefinition& first = *std::min_element(
            g->versions.begin(), g->versions.end(),
            [](const auto& a, const auto& b) { return base::CompareNoCase(a.displayName, b.displayName) < 0; });
        std::string filters = Text(net::BuildMasterRequest(kind, first.protocol));
        for (const std::string& f : g->masterFilters)  // the Steam games': their filters
            filters = (IsSteamGame(kind) && filters != "" ? filters + " " : "") + f;
        EXPECT_EQ(filters, request.empty() || IsSteamGame(kind) ? request : kFF + request) << kind;
    }
}

TEST(MasterLists, EveryFormatAtItsBoundaries) {
    // Kind, datagram, then what was read: "taken end-marker skipped [batch id]:" and the entries.
    const std::tuple<uint32_t, std::string, std::string> rows[] = {
        {kQuake3, kByteHeader + "\\\x0A", "0 0 0:"},  // 24 bytes hold no list
        {kQuake3, kByteHeader + Entry(10, 0, 0, 1, 27960), "1 0 0: 10.0.0.1:27960"},
        {kQuake3, kByteHeader + "\\\x0A\x0B", "1 0 0:"},  // an entry cut off by the end is not read
        {kJediKnight2, kByteHeader + Entry(1, 2, 3, 4, 5) + Entry(6, 7, 8, 9, 10) + std::string("\\EOT\0\0\0", 7),
         "1 1 0: 1.2.3.4:5 6.7.8.9:10"},
        {kQuake3, kByteHeader + Entry(1, 2, 3, 4, 5) + "\\EOT", "1 1 0: 1.2.3.4:5"},  // a marker cut short
        // Address and port bytes that are backslashes are read as bytes: entries stand 7 bytes apart.
        {kQuake3, kByteHeader + Entry(92, 92, 92, 92, 0x5C5C) + Entry(1, 2, 3, 4, 5),
         "1 0 0: 92.92.92.92:23644 1.2.3.4:5"},
        {kQuake3, kByteHeader + Entry(1, 2, 3, 4, 5) + "\\EOT\x01\x02\x03", "1 0 0: 1.2.3.4:5 69.79.84.1:515"},
        {kSoldierOfFortune2,
         kByteHeader + Entry(255, 1, 2, 3, 1) + Entry(254, 1, 2, 3, 27960) + Entry(1, 255, 2, 3, 1) +
             Entry(1, 2, 3, 255, 1) + "X" + Entry(9, 9, 9, 9, 9),
         "1 0 3: 254.1.2.3:27960"},  // no address byte above 254; the list ends without a backslash
        {kWolfenstein, kByteHeader + "x" + Entry(1, 2, 3, 4, 5), "1 0 0:"},  // the list starts at byte 22
        // Masters of today that end the header with a line feed and a NUL (JK2MV's) or a line feed
        // alone: two such bytes are passed over, no more.
        {kJediKnight2, kByteHeader + std::string("\n\0", 2) + Entry(1, 2, 3, 4, 5) + "\\EOT", "1 1 0: 1.2.3.4:5"},
        {kQuake3, kByteHeader + "\n" + Entry(1, 2, 3, 4, 5), "1 0 0: 1.2.3.4:5"},
        {kQuake3, kByteHeader + "\n\n\n" + Entry(1, 2, 3, 4, 5), "1 0 0:"},
        {kEliteForce, kHexHeader + " " + Hex(1, 2, 3, 4, 5), "1 0 0: 1.2.3.4:5"},
        {kEliteForce,
         kHexHeader + Hex(192, 168, 0, 171, 27960) + Hex(10, 250, 0, 15, 0xABCD, "\\%02X%02X%02X%02X%02X%02X") +
             "\\EOT",
         "1 1 0: 192.168.0.171:27960 10.250.0.15:43981"},
        {kEliteForce, kByteHeader + Hex(1, 2, 3, 4, 5), "1 0 0:"},  // the hex list starts at byte 23
        {kEliteForce, kHexHeader + "\\", "0 0 0:"},
        {kEliteForce, kHexHeader + Hex(1, 2, 3, 4, 5) + "\\0102030", "1 0 0: 1.2.3.4:5"},
        {kEliteForce, kHexHeader + Hex(1, 2, 3, 4, 5) + "\\0102030g0506" + Hex(7, 7, 7, 7, 7), "1 0 0: 1.2.3.4:5"},
        {kEliteForce, kHexHeader + Hex(255, 0, 0, 1, 1) + Hex(254, 0, 0, 1, 1), "1 0 1: 254.0.0.1:1"},
        // A Half-Life record is read only while at least one more byte of the datagram follows it.
        {kHalfLife, Batch(0, 2, 0), "1 0 0 00000000: 10.0.0.1:27015"},
        {kHalfLife, Batch(0, 2, 1), "1 0 0 00000000: 10.0.0.1:27015 10.0.0.2:27015"},
        {kHalfLife, Batch(0, 1, 0), "1 0 0 00000000:"},
        {kHalfLife, Batch(0, 0, 3), "1 0 0 00000000:"},
        {kHalfLife, Batch(0x80FF0001, 1, 1, 255), "1 0 1 0100ff80:"},
        {kHalfLife, kFF + "f\n\x01", "1 0 0 01000000:"},  // what the datagram holds of the identifier
        {kHalfLife, "", "1 0 0 00000000:"},
        {kMedalOfHonour, kByteHeader + Entry(1, 2, 3, 4, 5), "0 0 0:"},
        {kUnrealTournament, kByteHeader + Entry(1, 2, 3, 4, 5), "0 0 0:"}};
    for (auto [kind, datagram, expected] : rows) {
        std::vector<uint8_t> d(datagram.begin(), datagram.end());  // exactly the datagram
        net::MasterListReply r = net::ReadMasterReply(kind, d.data(), d.size());
        char head[40];
        std::snprintf(head, sizeof head, "%d %d %u", r.taken, r.endMarker, r.skipped);
        std::string read = head;
        if (kind == kHalfLife) {
            std::snprintf(head, sizeof head, " %02x%02x%02x%02x", r.batchId[0], r.batchId[1], r.batchId[2],
                          r.batchId[3]);
            read += head;
            EXPECT_EQ(r.HasNextBatch(), read.substr(read.size() - 8) != "00000000");
        }
        read += ":";
        for (const net::MasterEntry& e : r.entries) {
            std::snprintf(head, sizeof head, " %u.%u.%u.%u:%u", e.octets[0], e.octets[1], e.octets[2], e.octets[3],
                          e.port);
            read += head;
        }
        EXPECT_EQ(read, expected) << kind << ": " << datagram.size() << " bytes";
    }
}

TEST(MasterLists, MergeAddsNewAddressesOnceAndLeavesKnownRecordsAlone) {
    ServerList list;
    findOrCreateServer(list, MakeServerTemplate("10.0.0.1", 27960));
    list.head->livesLeft = 2;
    base::CopyText(list.head->hostName, "Known");
    findOrCreateServer(list, MakeServerTemplate("MyHost", 1));  // hand-entered, in another letter case
    const std::vector<net::MasterEntry> entries = {
        {{10, 0, 0, 1}, 27960}, {{10, 0, 0, 2}, 27960}, {{10, 0, 0, 2}, 27960}, {{10, 0, 0, 2}, 27961}};
    EXPECT_EQ(net::MergeMasterEntries(list, entries), 2u);  // known, new, twice in one reply, another port
    EXPECT_EQ(list.count, 4u);
    EXPECT_EQ(std::tuple(std::string(list.head->hostName), list.head->livesLeft), std::tuple(std::string("Known"), 2));
    const ServerRecord* added = list.Find("10.0.0.2", 27960);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(std::tuple(std::string(added->hostName), added->hostPort, added->addressOctets[3], added->isFavourite,
                         added->refreshPending, added->ping, added->livesLeft),
              std::tuple(std::string("~ New Server!"), 27960u, 2u, 0u, 1u, kNoPing, kFreshLives));
    EXPECT_NE(list.Find("myhost", 1), nullptr);
    EXPECT_EQ(net::MergeMasterEntries(list, {entries[1]}), 0u);  // a later datagram repeats an entry
}

// Records every effect as a line of text; datagrams to receive wait in `incoming`.
class FakeHost : public net::MasterQueryHost {
  public:
    int OpenMasterSocket(bool stream) override { return Add(stream ? "open tcp" : "open"), socketError; }
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
    bool LookUpMaster(const std::string& name) override { return Add("lookup " + name), lookupOk; }
    void CancelMasterLookup() override { Add("cancel lookup"); }
    void CloseMasterSocket() override { Add("close"); }
    void SetTimer(int id, uint32_t periodMs) override {
        due[id] = {nowMs + periodMs, periodMs};
        Add("timer " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void KillTimer(int id) override { due.erase(id), Add("kill " + std::to_string(id)); }
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
    bool lookupOk = true;
    std::deque<std::string> incoming;
    uint64_t nowMs = 0;
    std::map<int, std::pair<uint64_t, uint32_t>> due;  // the timers that would fire: when next, and their period
    Log sent, log, labels;
    bool labelExists = false;
    int posted = 0;
};

// A byte list of servers 10.0.0.<octet>:27960, ended by the marker or not.
std::string ByteList(std::initializer_list<int> lastOctets, bool end = true) {
    std::string d = kByteHeader;
    for (int o : lastOctets)
        d += Entry(10, 0, 0, o, 27960);
    return end ? d + std::string("\\EOT\0\0\0", 7) : d;
}

class MasterQueryTest : public ::testing::Test {
  protected:
    MasterQueryTest() : query(busy, host, sink, clock) {
        profile.kind = kQuake3;
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
    testing_support::FakeMessageSink sink;  // whileShown runs as the main window's messages in a box
    GameProfile profile;
    testing_support::FakeClock clock;
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
    Deliver(kByteHeader + "\\\x0A");  // too short: not even the time-out moves
    EXPECT_TRUE(host.log.empty());
    query.OnSocketRead();  // nothing to receive: ignored
    EXPECT_TRUE(host.log.empty());
    Deliver(ByteList({1, 2}, false));
    EXPECT_EQ(std::pair(profile.servers.count, host.log), std::pair(2u, Log{"kill 1", "timer 1 2000"}));
    Deliver(ByteList({2, 3, 255}));  // the label tells the count before the datagram was merged
    EXPECT_EQ(std::pair(profile.servers.count, host.labels.back()), std::pair(3u, std::string("Received 2 Servers")));
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_TRUE(!busy && sink.shown.empty());
    EXPECT_EQ(LastLines(7), (Log{"close", "kill 1", "kill 4", "label-", "toolbar idle", "refilter", "refresh 0"}));
    // A list of known servers only is a success all the same, and the attempts start afresh.
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(host.labels.back(), "Master Query 1");
    Deliver(ByteList({1}));
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(std::pair(host.Count("refresh 0"), host.posted), std::pair(size_t(2), 0));
    // Only the first 8192 bytes of a datagram are read: (8192 - 22) / 7 whole entries.
    clearServers(profile.servers);
    profile.maxServers = 5000;
    ASSERT_TRUE(query.Start(profile));
    std::string big = ByteList({}, false);
    for (int k = 0; big.size() < 10000; ++k)
        big += Entry(10, 9, k / 200, k % 200, 27960);
    Deliver(big);
    EXPECT_EQ(profile.servers.count, (8192u - 22u) / 7u);
    query.Shutdown();
    query.Shutdown();
    EXPECT_EQ(std::pair(query.socketOpen(), host.log.back()), std::pair(false, std::string("close")));
    EXPECT_EQ(host.Count("close"), 3u);
    // A flooding master: the list stops at maxServers, and so does the attempt.
    query.OnTimer(net::kMasterAttemptTimer);
    clearServers(profile.servers);
    profile.maxServers = 3;
    ASSERT_TRUE(query.Start(profile));
    Deliver(ByteList({1, 2}, false));
    EXPECT_TRUE(busy);
    Deliver(ByteList({3, 4, 5}, false));
    EXPECT_EQ(std::tuple(profile.servers.count, busy, host.log.back()),
              std::tuple(3u, false, std::string("refresh 0")));
}

TEST_F(MasterQueryTest, EliteForceTakesAnyDatagramAndGamesWithoutMasterEndByTimeOut) {
    profile.kind = kEliteForce;
    profile.protocol = 24;
    ASSERT_TRUE(query.Start(profile));
    host.log.clear();
    Deliver("\xFF\xFF\xFF\xFF");  // too short for a list, but it extends the attempt
    EXPECT_EQ(host.log, (Log{"kill 1", "timer 1 2000"}));
    Deliver(kHexHeader + "\\0a0000016d38\\0A0000026D38\\EOT");
    EXPECT_TRUE(profile.servers.count == 2u && profile.servers.Find("10.0.0.2", 27960));

    GameProfile moh;
    moh.kind = kMedalOfHonour;
    query.OnTimer(net::kMasterAttemptTimer);
    ASSERT_TRUE(query.Start(moh));
    EXPECT_EQ(host.sent.back(), "");  // no master: an empty datagram
    Deliver(ByteList({1}));           // nothing is read for this kind
    EXPECT_EQ(moh.servers.count, 0u);
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(host.posted, 1);  // no servers: another attempt
    findOrCreateServer(moh.servers, MakeServerTemplate("10.0.0.1", 12203));
    ASSERT_TRUE(query.Start(moh));
    query.OnTimer(net::kMasterAttemptTimer);  // with servers in the list the time-out is a success
    EXPECT_EQ(host.log.back(), "refresh 0");
}

TEST_F(MasterQueryTest, HalfLifeBatchesAskForTheNextUntilTheLastOrEnoughAndTimerFourResends) {
    profile.kind = kHalfLife;
    profile.masterTimeoutMs = 2500;
    ASSERT_TRUE(query.Start(profile));
    host.log.clear();
    Deliver(Batch(0x01020304, 3, 1, 1));
    EXPECT_EQ(std::tuple(profile.servers.count, host.sent.back(), host.log),
              std::tuple(3u, std::string("e\x04\x03\x02\x01"), Log{"send 5", "timer 4 5000"}));
    query.OnTimer(net::kHalfLifeResendTimer);  // the continuation got lost: sent again
    EXPECT_EQ(LastLines(2), (Log{"send 5", "timer 4 2500"}));
    EXPECT_EQ(std::pair(host.sent.back(), host.sent.size()), std::pair(std::string("e\x04\x03\x02\x01"), size_t(3)));
    profile.masterTimeoutMs = 0;  // from a damaged profile file: never a zero period
    query.OnTimer(net::kHalfLifeResendTimer);
    EXPECT_EQ(host.log.back(), "timer 4 2000");
    Deliver(Batch(0, 2, 1, 4));  // identifier 0: the last batch ends the query at once
    EXPECT_EQ(std::pair(profile.servers.count, host.labels.back()), std::pair(5u, std::string("Received 5 Servers")));
    EXPECT_EQ(LastLines(8),
              (Log{"kill 4", "close", "kill 1", "kill 4", "label-", "toolbar idle", "refilter", "refresh 0"}));
    EXPECT_FALSE(busy);
    const size_t lines = host.log.size();  // a late timer of the finished query does nothing
    query.OnTimer(net::kHalfLifeResendTimer);
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(host.log.size(), lines);

    clearServers(profile.servers);
    profile.maxServers = 4;
    ASSERT_TRUE(query.Start(profile));
    Deliver(Batch(7, 3, 1, 1));
    EXPECT_TRUE(busy);
    Deliver(Batch(8, 3, 1, 4));  // more on offer: no more asked for, and no more than 4 taken
    EXPECT_EQ(std::tuple(profile.servers.count, host.sent.size(), busy), std::tuple(4u, size_t(6), false));
}

TEST_F(MasterQueryTest, HostNamesAreLookedUpWithoutBlocking) {
    // A long name kept beside the profile's 19-character address is the one looked up.
    base::CopyText(profile.masterAddress, "dpmaster.deathmask");
    profile.masterHostName = "dpmaster.deathmask.net";
    profile.kind = catalogue::kOpenArena;
    profile.protocol = 71;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_TRUE(query.lookingUp() && busy);
    EXPECT_EQ(LastLines(2), (Log{"lookup dpmaster.deathmask.net", "timer 1 10000"}));
    EXPECT_EQ(host.labels.back(), "Looking up dpmaster.deathmask.net");
    query.OnMasterLookedUp(0x0900007Fu);  // 127.0.0.9 in network byte order, as the platform gives it
    EXPECT_EQ(std::pair(host.sent, host.Count("connect 127.0.0.9:27950")),
              std::pair(Log{kFF + "getservers 71 empty full"}, size_t(1)));
    query.OnMasterLookedUp(0x0100007Fu);  // a second answer is no answer
    EXPECT_EQ(host.sent.size(), 1u);
    query.OnTimer(net::kMasterAttemptTimer);  // the attempt itself goes on as ever
    EXPECT_FALSE(query.running());
}

TEST_F(MasterQueryTest, EveryFailureWindsDownBeforeItsMessageAndCountsTheAttemptsAfresh) {
    // Inside the box the main window's armed timers fire, as ten seconds of a modal loop would: busy,
    // running, timers armed, label, socket open.
    Log seen;
    sink.whileShown = [&] {
        for (auto [id, when] : std::map(host.due))
            query.OnTimer(id);
        for (bool b : {busy, query.running(), !host.due.empty(), host.labelExists, query.socketOpen()})
            seen.push_back(b ? "1" : "0");
    };
    findOrCreateServer(profile.servers, MakeServerTemplate("10.0.0.1", 27960));  // a refresh would follow an end
    base::CopyText(profile.masterAddress, "master.example");
    // The lookup takes too long, finds nothing or cannot start; connect, send or the socket fails.
    for (int how = 0; how < 6; ++how) {
        host.lookupOk = how != 2;
        host.connectOk = how != 3;
        host.sendOk = how != 4;
        host.socketError = how == 5 ? 10024 : 0;
        EXPECT_EQ(query.Start(profile), how != 2 && how != 5);
        if (how == 0)
            query.OnTimer(net::kMasterAttemptTimer);
        else
            query.OnMasterLookedUp(how == 1 ? std::nullopt : std::optional<uint32_t>(0x0900007Fu));
        EXPECT_EQ(std::pair(query.lookingUp(), query.retriesLeft()), std::pair(false, 3));
    }
    host.socketError = 0;
    host.connectOk = host.sendOk = host.lookupOk = true;
    const std::string notFound = "Could not find the master server \"master.example\"!";
    EXPECT_EQ(sink.shown,
              (Log{notFound, notFound, notFound, "Could not connect!", "Send error", "Socket Error: 10024"}));
    EXPECT_EQ(seen, Log(30, "0"));
    EXPECT_EQ(std::tuple(host.Count("refresh 0"), host.Count("refilter"), host.Count("timer 1 5000"), host.posted,
                         host.Count("cancel lookup")),
              std::tuple(size_t(0), size_t(6), size_t(0), 0, size_t(1)));
    // The give-up message of the third silent attempt: a query started inside it has its three attempts.
    clearServers(profile.servers);
    base::CopyText(profile.masterAddress, "127.0.0.9");
    sink.whileShown = [&] { EXPECT_TRUE(query.Start(profile)); };
    for (int attempt = 0; attempt < 3; ++attempt) {
        query.Start(profile);
        query.OnTimer(net::kMasterAttemptTimer);
    }
    EXPECT_EQ(std::pair(host.labels.back(), query.retriesLeft()), std::pair(std::string("Master Query 1"), 2));
    // The same when a GameSpy master closes the third attempt's stream with an empty list: what the
    // close still does must not touch the query started in the box.
    profile.kind = kUnrealTournament;
    query.OnTimer(net::kMasterAttemptTimer);
    for (int attempt = 0; attempt < 2; ++attempt) {
        query.Start(profile);
        query.OnSocketConnected(0);
        Deliver("\\basic\\\\secure\\AIJENQ\\final\\");
        host.incoming.push_back("\\final\\");
        query.OnSocketClosed();
    }
    EXPECT_EQ(std::tuple(query.running(), host.log.back(), query.retriesLeft()),
              std::tuple(true, std::string("timer 1 5000"), 2));
}

TEST_F(MasterQueryTest, SeveralMastersAreAskedInTurnAndTheirListsMerged) {
    const std::vector<MasterServer> masters = {{"127.0.0.9", 27950}, {"127.0.0.10", 27951}, {"127.0.0.11", 27952}};
    ASSERT_TRUE(query.Start(profile, masters));
    Deliver(ByteList({1, 2}));
    query.OnTimer(net::kMasterAttemptTimer);  // the first master is done: the second is asked
    EXPECT_TRUE(busy);
    host.connectOk = false;  // the third cannot be reached: the attempt ends with what the others gave
    Deliver(ByteList({2, 3}));
    query.OnTimer(net::kMasterAttemptTimer);
    EXPECT_EQ(std::tuple(profile.servers.count, host.Count("send 28"), host.log.back(), sink.shown.size()),
              std::tuple(3u, size_t(2), std::string("refresh 0"), size_t(0)));
    EXPECT_EQ(host.Count("connect 127.0.0.11:27952"), 1u);
    // None reachable: the first failure is told, once.
    clearServers(profile.servers);
    ASSERT_FALSE(query.Start(profile, masters));
    EXPECT_EQ(std::tuple(sink.shown, busy, host.posted), std::tuple(Log{"Could not connect!"}, false, 0));
    // A profile that keeps its game's built-in master (in any letter case) asks the game's others too.
    Catalogue catalogue;
    catalogue.buildCatalogue();
    GameProfile own;
    own.kind = kUnrealTournament;
    own.masterHostName = "MASTER.333networks.com";
    for (uint32_t port : {28900u, 20110u}) {
        own.masterPort = port;
        EXPECT_EQ(MastersToAsk(own, catalogue).size(), port == 28900 ? 3u : 1u);
    }
}

TEST_F(MasterQueryTest, UnrealTournamentMastersAnswerTheChallengeAndListQueryPortsOverTcp) {
    profile.kind = kUnrealTournament;
    profile.masterPort = 28900;
    ASSERT_TRUE(query.Start(profile));
    EXPECT_EQ(LastLines(4),
              (Log{"open tcp", "label+ Contacting Master Server", "connect 127.0.0.9:28900", "timer 1 5000"}));
    EXPECT_TRUE(host.sent.empty());  // the master speaks first
    query.OnSocketConnected(0);
    Deliver("\\basic\\\\secure\\GRADDE");
    EXPECT_EQ(host.sent,
              (Log{"\\gamename\\ut\\location\\0\\validate\\0dTcgk3a\\final\\\\list\\\\gamename\\ut\\final\\"}));
    Deliver("\\ip\\10.0.0.1:7778\\ip\\10.0.");
    Deliver("0.2:7780\\ip\\10.0.0.1:7778\\final\\");
    EXPECT_EQ(std::pair(profile.servers.count, host.log.back()), std::pair(2u, std::string("refresh 0")));
    const ServerRecord* s = profile.servers.Find("10.0.0.2", 7780);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->hostPort, 7779u);  // the game port until the server's status names its own

    // Garbage, an early close, a list without its end (then the time-out), an endless list and a
    // refused connect each end the master's part with what it gave.
    const std::tuple<int, std::string, uint32_t> rows[] = {{0, "<html>", 0},
                                                           {1, "\\ip\\10.0.0.9:7778\\ip\\10.0.0.8:", 1},
                                                           {2, "\\ip\\10.0.0.9:7778\\", 1},
                                                           {3, "", 5},
                                                           {4, "", 0}};
    for (auto [how, stream, servers] : rows) {
        clearServers(profile.servers);
        profile.maxServers = 5;
        ASSERT_TRUE(query.Start(profile));
        query.OnSocketConnected(how == 4 ? 10061 : 0);
        if (how != 4)
            Deliver("\\basic\\\\secure\\AIJENQ");
        for (int k = 0; how == 3 && k < 100 && query.running(); ++k)
            Deliver("\\ip\\10.1.0." + std::to_string(k % 7) + ":7778");
        host.incoming.push_back(stream);
        how == 1 ? query.OnSocketClosed() : query.OnSocketRead();
        if (how == 2)
            query.OnTimer(net::kMasterAttemptTimer);
        EXPECT_EQ(std::pair(query.running(), profile.servers.count), std::pair(false, servers)) << how;
        while (query.running())
            query.OnTimer(net::kMasterAttemptTimer);
    }
    EXPECT_EQ(sink.shown.back(), "Could not connect!");
}

// A fake Steam master: "\appid\N" lists 10.0.0.k:27015, k = N/10 to N/10+2, two a page; it answers `answers` times.
TEST_F(MasterQueryTest, SteamMastersAreAskedFilterByFilterPagePacedMergedAndEndWithWhatCame) {
    profile.kind = kHalfLifeSteam;
    const std::tuple<uint32_t, int, uint32_t, std::string> runs[] = {
        {999, 9, 4, "10@0.0.0.0:0 10@10.0.0.2:27015 20@0.0.0.0:0 20@10.0.0.3:27015"},
        {1, 9, 1, "10@0.0.0.0:0"},  // maxServers across the filters: no more pages
        {999, 1, 2, "10@0.0.0.0:0 10@10.0.0.2:27015 10@10.0.0.2:27015 10@10.0.0.2:27015"},
        {999, 0, 0, "10@0.0.0.0:0 10@0.0.0.0:0 10@0.0.0.0:0"}};  // silent: the next attempt follows
    for (const auto& [maxServers, answers, servers, requests] : runs) {
        clearServers(profile.servers);
        profile.maxServers = maxServers;
        host.sent.clear();
        ASSERT_TRUE(query.Start(profile, {}, {"\\appid\\10", "\\appid\\20"}));
        std::string asked;
        uint64_t lastSend = 0, gap = UINT64_MAX;
        for (size_t seen = 0, step = 0; query.running() && step < 3000; ++step, clock.AdvanceMs(10)) {
            host.nowMs = clock.NowMs();
            for (; seen < host.sent.size(); ++seen, lastSend = host.nowMs) {
                const std::string seed = host.sent[seen].c_str() + 2, id = host.sent[seen].c_str() + 10 + seed.size();
                asked += (seen ? " " : "") + id + "@" + seed;
                gap = seen ? std::min(gap, host.nowMs - lastSend) : gap;
                const int low = std::stoi(id) / 10, from = seed[0] == '0' ? low : std::stoi(seed.substr(7)) + 1;
                std::string page = kFF + "\x66\x0A";
                for (int k = from; k <= std::min(low + 2, from + 1); ++k)
                    page += std::string{10, 0, 0, char(k), 0x69, char(0x87)};
                if (int(seen) < answers)
                    Deliver(from + 1 >= low + 2 ? page + std::string(6, '\0') : page);
            }
            for (auto [timer, when] : std::map(host.due))
                if (when.first <= host.nowMs)
                    host.due[timer].first = host.nowMs + when.second, query.OnTimer(timer);
        }
        EXPECT_EQ(std::tuple(profile.servers.count, asked, host.log.back(), gap >= 1000),
                  std::tuple(servers, requests, answers ? "refresh 0" : "post query", true));
        EXPECT_EQ(host.labelExists ? host.labels.back() : "",
                  answers == 1 ? "The master stopped answering after 2 servers" : "");
    }
}

}  // namespace
