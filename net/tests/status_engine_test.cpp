// The status engine on fakes of clock, network, resolver, thread and host: pacing of the requests,
// the refresh modes, receiving replies, and closing cycles (with silent and stale servers).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "catalogue/profiles.h"
#include "net/status_engine.h"
#include "net/status_requests.h"
#include "testing/a2s_bytes.h"
#include "testing/fake_clock.h"
#include "testing/fake_datagram_socket.h"
#include "testing/fake_message_sink.h"
#include "testing/fake_status_host.h"
#include "testing/fake_thread_starter.h"
#include "testing/lock_probe.h"

namespace engine_test {
namespace {

using catalogue::ServerRecord;
using testing_support::MakeEndpoint;
using testing_support::WaitsForLock;
using Strings = std::vector<std::string>;
using FakeAnswered = testing_support::FakeStatusHost::Answered;

class EngineTest : public ::testing::Test {
  protected:
    explicit EngineTest(uint64_t frequency = 1000000, uint32_t tickStart = 0)
        : clock(frequency, tickStart), network(&clock), host(profile.servers) {
        profile.kind = catalogue::kQuake3;
        engine = std::make_unique<net::StatusEngine>(
            net::StatusEngineDeps{host, clock, network, resolver, threads, messages, refreshBusy});
    }

    void SetKind(uint32_t kind) { profile.kind = host.kind = kind; }
    // Appends a server never answered, as a master query would.
    ServerRecord* Add(const char* address, uint32_t port = 27960) {
        auto r = std::make_unique<ServerRecord>();
        base::CopyText(r->addressText, address);
        r->port = port;
        base::CopyText(r->hostName, "~ New Server!");
        ServerRecord* raw = r.get();
        catalogue::appendServer(profile.servers, std::move(r));
        return raw;
    }
    // n servers 10.0.<i/250>.<i%250 + 1>, port 27960.
    std::vector<ServerRecord*> AddMany(int n) {
        std::vector<ServerRecord*> all;
        for (int i = 0; i < n; ++i) {
            char address[20];
            std::snprintf(address, sizeof address, "10.0.%d.%d", i / 250, i % 250 + 1);
            all.push_back(Add(address));
        }
        return all;
    }
    static std::string StatusReply(const char* name) {
        return std::string("\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\") + name + "\\mapname\\q3dm17\n";
    }
    void Reply(const ServerRecord* r, const std::string& bytes) {
        network.Deliver(MakeEndpoint(r->addressText, static_cast<uint16_t>(r->port)), bytes);
    }
    void ReplyName(const ServerRecord* r, const char* name) { Reply(r, StatusReply(name)); }
    // The receiving thread takes in what has arrived, then the user-interface thread handles it.
    void Receive() {
        engine->ReceiveWaiting(0);
        engine->OnRepliesWaiting();
    }
    // The worker runs to its end and the user-interface thread hears of it.
    void RunWorker() {
        ASSERT_TRUE(threads.HasPendingWorker());
        threads.RunWorker();
        engine->OnWorkerFinished();
    }
    // Timer 2 expires (it must be armed).
    void FireTimer() {
        ASSERT_TRUE(host.timerMs.has_value());
        clock.AdvanceMs(*host.timerMs);
        engine->OnCloseTimer();
    }
    // Source query servers: 10.0.0.n answers as behaviours[n - 1] says (testing_support::A2sAnswer)
    // while the worker sleeps, as real ones answer meanwhile.
    void Serve(const std::string& behaviours) {
        answered = network.SentCount();
        clock.onSleep = [this, behaviours](uint32_t) {
            testing_support::A2sAnswerSent(network, answered, behaviours);
            Receive();
        };
    }
    // What the host was last told of the refresh: "running", "idle", or "-" for nothing.
    std::string Toolbar() { return host.refreshRunning ? (*host.refreshRunning ? "running" : "idle") : "-"; }
    // Where the datagrams went, in order, as "a.b.c.d:port".
    Strings SentTargets() {
        Strings out;
        for (auto& d : network.Sent()) {
            const uint8_t* b = reinterpret_cast<const uint8_t*>(&d.to.addressNetworkOrder);
            out.push_back(std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
                          std::to_string(b[3]) + ":" + std::to_string(d.to.port));
        }
        return out;
    }

    catalogue::GameProfile profile;
    testing_support::FakeClock clock;
    testing_support::FakeDatagramSocketFactory network;
    testing_support::FakeResolver resolver;
    testing_support::FakeThreadStarter threads;
    testing_support::FakeMessageSink messages;
    bool refreshBusy = false;
    testing_support::FakeStatusHost host;
    std::unique_ptr<net::StatusEngine> engine;
    size_t answered = 0;
};

// The worker's requests, their pacing, the time-out sweep, name resolution and stop.

TEST(StatusRequests, EachKindSendsItsDatagramsAndHalfLifeWaitsForTwoReplies) {
    const std::string ff = "\xFF\xFF\xFF\xFF";
    // Kind, the request datagrams joined by '|', reply markers, two replies.
    std::vector<std::tuple<uint32_t, std::string, bool, bool>> rows = {
        {2, ff + "details|" + ff + "players", true, true},
        {4, ff + std::string("\x02getstatus\n\0", 12), true, false},
        {7, "\\status\\", true, false},
        {8, "\\status\\", true, false},
        {15, ff + std::string("TSource Engine Query\0", 21), true, false},
        {0xFFFFFFFF, "", false, false}};
    for (uint32_t kind : {0, 1, 3, 5, 6, 9, 13})
        rows.emplace_back(kind, ff + "getstatus", false, false);
    for (auto [kind, datagrams, markers, twoReplies] : rows) {
        const net::StatusRequests r = net::BuildStatusRequests(kind);
        std::string sent;
        for (int i = 0; i < r.count; ++i)
            sent +=
                (i ? "|" : "") + std::string(reinterpret_cast<const char*>(r.datagrams[i].bytes), r.datagrams[i].size);
        EXPECT_EQ(sent, datagrams) << kind;
        EXPECT_EQ(std::pair(net::UsesReplyMarkers(kind), net::NeedsTwoReplies(kind)), std::pair(markers, twoReplies))
            << kind;
    }
}

TEST_F(EngineTest, RequestsGoInBurstsOfElevenEachFollowedByA200MsPauseOrAsAnotherPaceSays) {
    const net::Pacing other{net::PacingPreset::kCustom, 4, 30, 700, 2};
    // Pace, kind, servers, the one left unmarked and the unresolvable one (mode 2), then the bursts
    // and pauses.
    const std::tuple<net::Pacing, uint32_t, int, bool, std::vector<size_t>, std::vector<uint32_t>> runs[] = {
        {net::kClassicPacing, catalogue::kQuake3, 25, false, {11, 11, 3}, {200, 200}},
        {net::kClassicPacing, catalogue::kQuake3, 11, false, {11}, {200}},      // exactly eleven: one pause after
        {net::kClassicPacing, catalogue::kQuake3, 11, true, {10}, {}},          // records not asked do not count
        {net::kClassicPacing, catalogue::kHalfLife, 7, false, {12, 2}, {200}},  // two datagrams per server
        {other, catalogue::kQuake3, 10, false, {4, 4, 2}, {30, 30}}};
    clock.AdvanceMs(0xFFFFFF9Cu);  // the first pause starts 100 ms before the tick count wraps at 2^32
    for (auto [pacing, kind, servers, skipping, bursts, sleeps] : runs) {
        SetKind(kind);
        engine->SetPacing(pacing);
        catalogue::clearServers(profile.servers);
        std::vector<ServerRecord*> records = AddMany(servers);
        if (skipping) {
            records.push_back(Add("nowhere.example"));
            for (ServerRecord* r : records)
                r->refreshPending = r != records[3];
        }
        const size_t sentBefore = network.SentCount(), sleptBefore = clock.Sleeps().size();
        ASSERT_TRUE(engine->StartCycle(skipping ? net::kRefreshMarked : net::kRefreshAll, profile));
        EXPECT_EQ(host.progressStep, kind == catalogue::kHalfLife ? 2u : 1u);
        RunWorker();
        const auto sent = network.Sent();
        EXPECT_EQ(network.BurstsSince(sentBefore), bursts) << servers;  // the clock moves only in sleeps
        const std::vector<uint32_t> slept = clock.Sleeps();
        EXPECT_EQ(std::vector<uint32_t>(slept.begin() + sleptBefore, slept.end()), sleeps) << servers;
        EXPECT_TRUE(servers != 25 || sent[11].counter - sent[10].counter == 200000u);  // a microsecond counter
        while (engine->Busy())
            FireTimer();
    }
}

// When a cycle closes: at the classic pace on timer 2 after its grace time (or once every queried
// server has answered); at any other pace as soon as every request sent has been answered or has
// waited longer than the time-out, with no grace beyond it.
TEST_F(EngineTest, TheRefreshEndsWhenEveryRequestIsAnsweredOrTimedOutAndClassicKeepsItsGrace) {
    const net::Pacing tight{net::PacingPreset::kCustom, 2, 50, 300, 2};
    // Pace; what each server does ('a' answers 20 ms after the worker's end, 's' stays silent, 'm'
    // too and is marked again meanwhile, as the server monitor does, 'u' cannot be resolved, so is
    // never asked); the periods timer 2 is armed with; the cycle's length.
    const std::tuple<net::Pacing, std::string, std::vector<uint32_t>, uint32_t> rows[] = {
        {net::kClassicPacing, "asa", {1500}, 1500},
        {net::kClassicPacing, "aua", {1500}, 1500},
        {net::kFastPacing, "asa", {1001}, 1001},  // the silent one's time-out
        {net::kFastPacing, "aua", {1001}, 20},    // every request answered: the last answer closes it
        {net::kFastPacing, "am", {1001}, 1001},   // a mark leaves the request awaited until its time-out
        {tight, "sss", {251, 50}, 351},           // sent at 0, 0 and 50 ms: the oldest time-out each time
        {tight, "aaa", {251}, 70}};
    for (const auto& [pacing, servers, timers, cycleMs] : rows) {
        catalogue::clearServers(profile.servers);
        std::vector<ServerRecord*> records;
        for (size_t i = 0; i < servers.size(); ++i)
            records.push_back(
                Add(servers[i] == 'u' ? "nowhere.example" : (std::string("10.0.0.") += std::to_string(i + 1)).c_str()));
        std::vector<uint32_t> armed;
        uint64_t armedAtMs = 0;
        host.onArmTimer = [&](uint32_t ms) {
            armed.push_back(ms);
            armedAtMs = clock.NowMs();
        };
        engine->SetPacing(pacing);
        ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
        RunWorker();
        clock.AdvanceMs(20);
        for (size_t i = 0; i < servers.size(); ++i) {
            if (servers[i] == 'a')
                ReplyName(records[i], "up");
            if (servers[i] == 'm') {  // the mark waits for the worker's hold of the records
                EXPECT_TRUE(WaitsForLock(engine->recordLock(), [&] { engine->MarkForRefresh(*records[i]); }, [] {}));
            }
        }
        Receive();
        while (engine->Busy() && host.timerMs && armed.size() < 5) {
            const uint64_t due = armedAtMs + *host.timerMs;  // the timer fires on time
            clock.AdvanceMs(due > clock.NowMs() ? due - clock.NowMs() : 0);
            engine->OnCloseTimer();
        }
        EXPECT_FALSE(engine->Busy()) << servers;
        EXPECT_EQ(armed, timers) << servers;
        EXPECT_EQ(engine->lastCycleMs(), cycleMs) << servers;
        EXPECT_TRUE(servers[0] != 'a' || records[0]->livesLeft == pacing.lives) << servers;  // the pace's lives
    }
}

TEST_F(EngineTest, EachRequestResetsItsRecordAndGoesToItsResolvedAddress) {
    SetKind(catalogue::kUnrealTournament);  // a kind whose reply markers are cleared
    ServerRecord* r = Add("192.168.7.9", 0x6D38);
    ServerRecord* named = Add("lab.example");
    ServerRecord* lost = Add("gone.example");
    resolver.names["lab.example"] = *net::ParseDottedAddress("10.9.9.9");
    r->ping = 42;
    r->replyCount = 3;
    r->captureLimit = 8;
    r->pure = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    clock.AdvanceMs(5);
    RunWorker();
    EXPECT_EQ(std::tuple(r->ping, r->replyCount, r->captureLimit, r->pure, r->awaitingReply, r->sendTime),
              std::tuple(catalogue::kNoPing, 0u, 0, 0, 1u, uint64_t(5000)));
    EXPECT_EQ(SentTargets(), (Strings{"192.168.7.9:27960", "10.9.9.9:27960"}));
    EXPECT_EQ(network.Sent()[0].bytes, "\\status\\");
    EXPECT_EQ(resolver.lookups, (Strings{"lab.example", "gone.example"}));
    EXPECT_EQ(std::tuple(std::memcmp(&r->queryAddress.portNetworkOrder, "\x6D\x38", 2), r->queryAddress.family,
                         r->queryAddress.addressNetworkOrder),
              std::tuple(0, uint16_t(2), *net::ParseDottedAddress("192.168.7.9")));
    EXPECT_EQ(std::pair(lost->awaitingReply, lost->refreshPending), std::pair(0u, 1u));  // no request
    network.Deliver(MakeEndpoint("10.9.9.9", 27960), "\\hostname\\named\\");
    Receive();
    EXPECT_STREQ(named->hostName, "named");
    FireTimer();
    EXPECT_EQ(std::tuple(std::string(lost->hostName), lost->ping),
              std::tuple(std::string("~ gone.example"), catalogue::kNoPing));

    SetKind(catalogue::kQuake3);  // the other kinds keep their markers
    r->captureLimit = 8;
    r->pure = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(std::pair(r->captureLimit, r->pure), std::pair(8, 1));
    EXPECT_EQ(network.Sent().back().bytes, std::string("\xFF\xFF\xFF\xFFgetstatus", 13));
}

TEST_F(EngineTest, EachPauseGivesUpRequestsOlderThan999MsAndTheirLateRepliesAreDropped) {
    auto servers = AddMany(60);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    // In the fourth pause (800 ms after the first burst) the first server answers, and the third's
    // reply is taken in but not yet handled; in the fifth the first burst is 1000 ms old, the second
    // 800 ms.
    int pauses = 0;
    bool sweptAfterThePause = false;
    clock.onSleep = [&](uint32_t) {
        if (++pauses == 4) {
            ReplyName(servers[0], "in time");
            Receive();
            ReplyName(servers[2], "taken in");
            engine->ReceiveWaiting(0);
        } else if (pauses == 5) {
            sweptAfterThePause = servers[1]->awaitingReply == 1;
            ReplyName(servers[1], "late");
        }
    };
    threads.RunWorker();
    EXPECT_TRUE(sweptAfterThePause);
    // The first answered; the rest of its burst given up, but for the one whose reply waits.
    EXPECT_EQ(std::tuple(servers[0]->awaitingReply, servers[1]->awaitingReply, servers[2]->awaitingReply,
                         servers[10]->awaitingReply, servers[11]->awaitingReply),
              std::tuple(0u, 0u, 1u, 0u, 1u));
    engine->OnWorkerFinished();
    Receive();
    EXPECT_STREQ(servers[1]->hostName, "~ New Server!");  // the late reply was dropped
    FireTimer();
    EXPECT_EQ(std::pair(std::string(servers[0]->hostName), servers[0]->ping), std::pair(std::string("in time"), 800u));
    EXPECT_EQ(std::pair(std::string(servers[2]->hostName), servers[2]->ping), std::pair(std::string("taken in"), 800u));
    EXPECT_EQ(std::pair(std::string(servers[1]->hostName), servers[1]->ping),
              std::pair(std::string("~ 10.0.0.2"), catalogue::kNoPing));
}

TEST_F(EngineTest, StopEndsTheWalkBeforeTheNextRecordNeverOutlivesItsCycleAndTheEngineJoinsItsWorkerWhenDestroyed) {
    auto servers = AddMany(30);
    engine->RequestStop();  // while idle: no effect on the next cycle
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    servers[29]->ping = 77;
    clock.onSleep = [&](uint32_t) { engine->RequestStop(); };
    RunWorker();
    EXPECT_EQ(network.SentCount(), 11u);
    FireTimer();  // the cycle still closes through timer 2
    EXPECT_FALSE(engine->Busy());
    EXPECT_STREQ(servers[10]->hostName, "~ 10.0.0.11");                                        // asked and silent
    EXPECT_EQ(std::pair(servers[29]->ping, servers[29]->refreshPending), std::pair(77u, 0u));  // never asked
    // A server never answered that the walk did not reach is not counted as silent either.
    EXPECT_EQ(std::tuple(std::string(servers[28]->hostName), servers[28]->livesLeft),
              std::tuple(std::string("~ New Server!"), 5));
    clock.onSleep = nullptr;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    EXPECT_EQ(network.SentCount(), 41u);
    FireTimer();
    const int joined = threads.joined;  // destroying the engine stops and joins its worker
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    engine.reset();
    EXPECT_EQ(std::tuple(threads.joined, network.SentCount(), network.OpenNow()), std::tuple(joined + 2, 41u, 0));
}

// Starting cycles, the servers each refresh mode selects, and the requests it refuses.

TEST_F(EngineTest, AllServersAreMarkedAndQueriedOnceWhileTheToolbarShowsTheRefresh) {
    auto servers = AddMany(3);
    servers[1]->awaitingReply = 1;  // left over: must not make a reply count before its request
    refreshBusy = true;             // a master query runs: refused
    EXPECT_FALSE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_FALSE(host.refreshRunning);
    refreshBusy = false;
    EXPECT_FALSE(engine->StartCycle(net::kRefreshModeCount, profile));  // no such mode
    EXPECT_FALSE(refreshBusy);
    EXPECT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_FALSE(engine->StartCycle(net::kRefreshFavourites, profile));  // busy with its own cycle
    EXPECT_EQ(threads.started, 2);                                       // the worker and the receiver
    EXPECT_TRUE(refreshBusy);
    EXPECT_EQ(Toolbar(), "running");
    EXPECT_EQ(std::tuple(engine->queriedCount(), host.Saw("full-refresh"), host.progressShown, host.progressRange),
              std::tuple(3u, true, true, 3u));
    EXPECT_EQ(std::tuple(servers[0]->refreshPending, servers[2]->refreshPending, servers[1]->awaitingReply),
              std::tuple(1u, 1u, 0u));
    RunWorker();
    EXPECT_EQ(SentTargets(), (Strings{"10.0.0.1:27960", "10.0.0.2:27960", "10.0.0.3:27960"}));
    // One announcement until the window takes the position; the position taken is the latest.
    EXPECT_EQ(std::pair(host.ProgressPositions(), engine->TakeWalkPosition()), std::pair(std::vector<uint32_t>{1}, 3u));
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kGraceMs));
    EXPECT_FALSE(engine->StartCycle(net::kRefreshAll, profile));  // still waiting for replies
    FireTimer();
    EXPECT_EQ(Toolbar(), "idle");
    EXPECT_FALSE(refreshBusy);
}

TEST_F(EngineTest, EachModeQueriesItsOwnSelection) {
    auto s = AddMany(4);
    auto run = [&](uint32_t mode) {
        host.announced.clear();
        const size_t before = network.SentCount();
        EXPECT_TRUE(engine->StartCycle(mode, profile));
        const uint32_t queried = engine->queriedCount();
        if (threads.HasPendingWorker())
            RunWorker();
        if (engine->Busy())
            FireTimer();
        Strings targets = SentTargets();
        return std::pair(queried, Strings(targets.begin() + before, targets.end()));
    };
    // Selected rows only; marks of an earlier request are cleared first; positions count every record.
    s[0]->refreshPending = 1;
    host.selected = {s[2], s[3]};
    EXPECT_EQ(run(net::kRefreshSelected), std::pair(2u, Strings{"10.0.0.3:27960", "10.0.0.4:27960"}));
    EXPECT_EQ(host.ProgressPositions(), (std::vector<uint32_t>{3}));
    EXPECT_TRUE(host.Saw("mark-selected"));
    // Records already marked (Add Server).
    s[1]->refreshPending = 1;
    EXPECT_EQ(run(net::kRefreshMarked), std::pair(1u, Strings{"10.0.0.2:27960"}));
    // Auto refresh: the flagged ones, plus one left marked by a refresh that could not start.
    s[0]->autoRefresh = s[2]->autoRefresh = 1;
    s[3]->refreshPending = 1;
    EXPECT_EQ(run(net::kRefreshAutoRefresh),
              std::pair(3u, Strings{"10.0.0.1:27960", "10.0.0.3:27960", "10.0.0.4:27960"}));
    EXPECT_EQ(host.announced, (std::vector<ServerRecord*>{s[0], s[2]}));
    // Favourites only: other marks are dropped.
    s[1]->isFavourite = 1;
    s[2]->refreshPending = 1;
    EXPECT_EQ(run(net::kRefreshFavourites), std::pair(1u, Strings{"10.0.0.2:27960"}));
    EXPECT_EQ(host.announced, (std::vector<ServerRecord*>{s[1]}));
    EXPECT_EQ(s[2]->refreshPending, 0u);
    // While the monitor runs auto refresh queries nothing; the monitored record closes at its reply,
    // with the short grace time.
    host.monitorActive = true;
    EXPECT_EQ(run(net::kRefreshAutoRefresh), std::pair(0u, Strings{}));
    s[3]->refreshPending = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshMonitored, profile));
    RunWorker();
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kMonitorGraceMs));
    ReplyName(s[3], "watched");
    Receive();
    EXPECT_FALSE(engine->Busy() || host.timerMs.has_value() || network.OpenNow() != 0);
    // Nothing selected, or nothing in the list: the cycle ends at once.
    host.selected.clear();
    const int started = threads.started;
    EXPECT_EQ(run(net::kRefreshSelected), std::pair(0u, Strings{}));
    EXPECT_EQ(std::tuple(threads.started, refreshBusy, Toolbar()), std::tuple(started, false, std::string("idle")));
    catalogue::clearServers(profile.servers);
    EXPECT_EQ(run(net::kRefreshAll), std::pair(0u, Strings{}));
}

TEST_F(EngineTest, ServerInformationQueriesTheFirstSelectedRowAndShowsItsReply) {
    auto s = AddMany(3);
    s[2]->refreshPending = 1;  // must not be queried: its reply would replace the kept one
    host.rawReply = "old";
    host.selected = {s[1]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    EXPECT_TRUE(host.rawReply.empty() && engine->keepRawReply());
    RunWorker();
    EXPECT_EQ(SentTargets(), Strings{"10.0.0.2:27960"});
    ReplyName(s[1], "info");
    Receive();
    ASSERT_FALSE(engine->Busy());
    EXPECT_TRUE(host.parses.at(0).keepRaw && host.Saw("server-information") && messages.shown.empty());
    EXPECT_NE(host.shownInformation.find("\\sv_hostname\\info"), std::string::npos);
    EXPECT_FALSE(engine->keepRawReply());

    host.selected = {s[0], s[1], s[2]};  // several selected: still one request, the close by timer 2
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    EXPECT_EQ(engine->queriedCount(), 3u);
    RunWorker();
    EXPECT_EQ(network.SentCount(), 2u);
    FireTimer();  // no reply this time
    EXPECT_EQ(messages.shown, Strings{"Server didn't respond within the timeout period, please try again!"});
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));  // the next refresh keeps no raw reply
    EXPECT_FALSE(engine->keepRawReply());
    RunWorker();
    FireTimer();

    SetKind(catalogue::kHalfLife);  // nothing is shown for Half-Life
    host.selected = {s[0]};
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    RunWorker();
    FireTimer();
    EXPECT_EQ(messages.shown.size(), 1u);
}

// Matching replies to their records, the ping, batches of datagrams and completion.

const std::string kDetails("\xFF\xFF\xFF\xFFm127.0.0.1:27015\0name\0map\0cstrike\0CS\0", 38);
const std::string kPlayers("\xFF\xFF\xFF\xFF\x44\0", 6);

TEST_F(EngineTest, AReplyIsTimedFromItsArrivalAndMatchedToTheFirstRecordStillWaitingAtItsAddress) {
    auto servers = AddMany(3);
    ServerRecord* twin = Add("10.0.0.1");  // an address twice in the list: answered in list order
    servers[0]->livesLeft = 2;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceUs(37900);
    network.Deliver(MakeEndpoint("10.0.0.1", 27961), StatusReply("wrong port"));  // never asked: dropped on
    network.Deliver(MakeEndpoint("10.0.0.99", 27960), StatusReply("stranger"));   // arrival and counted
    Reply(servers[0], "");                                                        // an empty datagram is no reply
    ReplyName(servers[0], "^1Lab");
    ReplyName(servers[0], "twin");
    engine->ReceiveWaiting(0);
    EXPECT_EQ(std::tuple(engine->unsolicitedDropped(), host.repliesPosts.load(), host.parses.size()),
              std::tuple(uint64_t(3), 1, size_t(0)));
    clock.AdvanceMs(400);  // the window gets to them later: the pings are those of their arrival
    EXPECT_EQ(engine->OnRepliesWaiting(), 2u);
    EXPECT_EQ(std::tuple(servers[0]->ping, servers[0]->livesLeft, servers[0]->replyCount, servers[0]->awaitingReply),
              std::tuple(37u, 5, 1u, 0u));  // whole milliseconds, cut
    EXPECT_EQ(std::pair(std::string(servers[0]->hostName), std::string(twin->hostName)),
              std::pair(std::string("^1Lab"), std::string("twin")));
    EXPECT_EQ(
        std::tuple(engine->completedCount(), host.parses.size(), host.parses[0].terminated, host.parses[0].keepRaw),
        std::tuple(2u, size_t(2), true, false));
    EXPECT_EQ(host.rowChanges, (std::vector<ServerRecord*>{servers[0], twin}));
    // Shown when the worker ended, then once for the batch.
    EXPECT_EQ(host.answers, (std::vector<FakeAnswered>{{0, 4, true}, {2, 4, true}}));
    network.failReceive = true;  // a failed receive takes nothing in; the next one works
    ReplyName(servers[1], "a");
    Receive();
    EXPECT_EQ(host.parses.size(), 2u);
    network.failReceive = false;
    Receive();
    EXPECT_STREQ(servers[1]->hostName, "a");
    Reply(servers[2], StatusReply("big") + std::string(6000, 'A'));  // cut to the buffer, still terminated
    Receive();
    EXPECT_EQ(std::tuple(host.parses.back().bytes.size(), host.parses.back().terminated),
              std::tuple(net::kReceiveBufferSize, true));
    EXPECT_FALSE(engine->Busy());  // the last expected reply closes the cycle without the timer
    EXPECT_FALSE(host.timerMs.has_value() || network.OpenNow() != 0);
    engine->OnCloseTimer();             // a tick already queued changes nothing
    ReplyName(servers[1], "too late");  // nothing is read after the close
    Receive();
    auto events = host.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "cycle-finished"), 1);
    EXPECT_STREQ(servers[1]->hostName, "a");
}

// A read's own time (under Wine it reports to the Wine server after taking the datagram) does not
// count in the ping, up to a millisecond: a slower read may have begun before its datagram came,
// and is timed from a millisecond before its end. A datagram read while another thread holds the
// lock is kept with its time and handed over on a later turn.
TEST_F(EngineTest, AReplyIsTimedFromTheStartOfAQuickReadAndKeptWhileTheLockIsTaken) {
    auto servers = AddMany(2);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceUs(20100);
    int reads = 0;
    network.onRead = [this, &reads] { clock.AdvanceUs(reads++ == 0 ? 900 : 3000); };
    ReplyName(servers[0], "first");
    std::mutex& lock = engine->recordLock();
    std::promise<void> taken, release;
    std::thread holder([&] {
        std::lock_guard guard(lock);
        taken.set_value();
        release.get_future().wait();
    });
    taken.get_future().wait();
    engine->ReceiveWaiting(0);  // read, but not handed over: the lock is not free
    EXPECT_EQ(std::pair(network.Queued(), host.repliesPosts.load()), std::pair(size_t(0), 0));
    release.set_value();
    holder.join();
    ReplyName(servers[1], "second");
    engine->ReceiveWaiting(0);
    EXPECT_EQ(std::pair(engine->OnRepliesWaiting(), host.repliesPosts.load()), std::pair(size_t(2), 1));
    EXPECT_EQ(std::pair(servers[0]->ping, servers[1]->ping), std::pair(20u, 23u));
}

// Counters of a machine without a high-resolution counter (milliseconds) and of a gigahertz one, ten
// days after boot: the ping is computed in 64 bits and cut to whole milliseconds.
class EngineCounterTest : public EngineTest, public ::testing::WithParamInterface<uint64_t> {
  protected:
    EngineCounterTest() : EngineTest(GetParam()) { clock.AdvanceMs(10ull * 24 * 3600 * 1000); }
};

TEST_P(EngineCounterTest, PingInWholeMillisecondsFromAnyCounter) {
    auto servers = AddMany(1);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceUs(1234900);
    ReplyName(servers[0], "far");
    Receive();
    EXPECT_EQ(servers[0]->ping, 1234u);
}

INSTANTIATE_TEST_SUITE_P(Counters, EngineCounterTest, ::testing::Values(1000, 1000000000));

// A flood from a queried server among datagrams of strangers: the strangers' are dropped on arrival,
// the queue keeps what fits its count and its bytes, the window is told once and then handles
// bounded batches, posting again while some remain.
TEST_F(EngineTest, AFloodIsBoundedAndHandledInBatchesAndAGameSpyRecordTakesItsFirstDatagramOnly) {
    SetKind(catalogue::kUnrealTournament);  // its servers may answer in several datagrams
    auto servers = AddMany(2);
    constexpr size_t kFitByBytes = net::kReplyQueueBytes / net::kReceiveBufferSize;
    // Datagram size, how many come, how many the queue keeps.
    const std::tuple<size_t, size_t, size_t> floods[] = {{24, net::kReplyQueueCount + 30, net::kReplyQueueCount},
                                                         {net::kReceiveBufferSize, kFitByBytes + 7, kFitByBytes}};
    for (auto [size, count, kept] : floods) {
        ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
        RunWorker();
        host.repliesPosts = 0;
        host.parses.clear();
        std::string datagram = "\\hostname\\first\\";
        datagram.resize(size, 'x');
        for (size_t i = 0; i < count; ++i) {
            Reply(servers[0], datagram);
            if (i % 100 == 0)
                network.Deliver(MakeEndpoint("10.9.0.1", 27960), datagram);
        }
        while (network.Queued() > 0)
            engine->ReceiveWaiting(0);
        EXPECT_EQ(std::tuple(engine->overflowDropped(), engine->unsolicitedDropped(), host.repliesPosts.load()),
                  std::tuple(uint64_t(count - kept), uint64_t((count + 99) / 100), 1))
            << size;
        EXPECT_EQ(engine->OnRepliesWaiting(), net::kRepliesPerDrain);
        size_t handled = net::kRepliesPerDrain;
        while (size_t n = engine->OnRepliesWaiting())
            handled += n;
        EXPECT_EQ(std::tuple(handled, host.repliesPosts.load(), host.parses.size(), servers[0]->replyCount),
                  std::tuple(kept, int((kept + net::kRepliesPerDrain - 1) / net::kRepliesPerDrain), size_t(1), 1u))
            << size;
        Reply(servers[1], "\\hostname\\second\\");  // the queue was empty again: told again
        Receive();
        EXPECT_EQ(host.repliesPosts.load(), int((kept + net::kRepliesPerDrain - 1) / net::kRepliesPerDrain) + 1);
        EXPECT_FALSE(engine->Busy());
    }
}

TEST_F(EngineTest, RepliesThatAllCameWhileTheWorkerRanCloseTheCycleWhenItEnds) {
    auto servers = AddMany(12);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    bool closedEarly = false;  // the eleven first are answered in the pause, the twelfth is sent after it
    clock.onSleep = [&](uint32_t) {
        for (int i = 0; i < 11; ++i)
            ReplyName(servers[i], "quick");
        Receive();
        Receive();
        closedEarly = !engine->Busy();
    };
    threads.RunWorker();
    EXPECT_FALSE(closedEarly);
    ReplyName(servers[11], "last");
    Receive();
    EXPECT_TRUE(engine->Busy() && network.OpenNow() == 1);  // every reply is in, but the worker needs the socket
    engine->OnWorkerFinished();
    EXPECT_FALSE(engine->Busy() || host.Saw("arm-timer") || network.SentCount() != 12u);
}

TEST_F(EngineTest, AHalfLifeServerIsCompleteWithBothRepliesOfThisCycle) {
    SetKind(catalogue::kHalfLife);
    auto servers = AddMany(2);
    servers[0]->pure = servers[0]->captureLimit = 1;  // markers of the last cycle
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    clock.AdvanceMs(20);
    Reply(servers[0], kDetails);
    Reply(servers[1], kPlayers);  // the players may come first
    Receive();
    EXPECT_EQ(
        std::tuple(servers[0]->awaitingReply, servers[1]->awaitingReply, engine->completedCount(), servers[0]->ping),
        std::tuple(1u, 1u, 0u, 20u));
    clock.AdvanceMs(5);
    Reply(servers[1], kDetails);
    Receive();
    EXPECT_EQ(std::tuple(servers[1]->awaitingReply, servers[1]->replyCount, servers[1]->ping, engine->completedCount()),
              std::tuple(0u, 2u, 25u, 1u));  // the ping of the last reply
    FireTimer();                             // only the details of the first: not complete, yet answered
    EXPECT_EQ(std::tuple(std::string(servers[0]->hostName), servers[0]->ping, servers[0]->livesLeft),
              std::tuple(std::string("hl server"), 20u, 5));
}

// Closing a cycle, silent and stale servers, failures of socket and thread.

TEST_F(EngineTest, TheCloseMarksSilentServersAndRestoresTheWindow) {
    auto servers = AddMany(3);
    servers[2]->isFavourite = 1;
    base::CopyText(servers[2]->hostName, "Fav");
    engine->OnCloseTimer();  // while idle: nothing
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    engine->OnCloseTimer();  // while the worker runs: nothing
    EXPECT_TRUE(engine->Busy() && threads.HasPendingWorker());
    clock.AdvanceMs(3);
    host.monitorActive = true;  // the grace time follows the monitor at the worker's end
    RunWorker();
    EXPECT_EQ(host.timerMs, std::optional<uint32_t>(net::kMonitorGraceMs));
    host.timerMs = net::kGraceMs;
    clock.AdvanceMs(12);
    ReplyName(servers[0], "up");
    Receive();
    host.rowChanges.clear();
    FireTimer();
    EXPECT_FALSE(engine->Busy() || refreshBusy || host.progressShown || network.OpenNow() != 0);
    EXPECT_EQ(std::pair(Toolbar(), engine->lastCycleMs()),
              std::pair(std::string("idle"), 1512u));  // from the worker's start
    // A favourite keeps its name.
    EXPECT_EQ(std::tuple(std::string(servers[0]->hostName), servers[0]->ping, std::string(servers[1]->hostName),
                         servers[1]->livesLeft, std::string(servers[2]->hostName), servers[2]->ping),
              std::tuple(std::string("up"), 12u, std::string("~ 10.0.0.2"), 4, std::string("Fav"), catalogue::kNoPing));
    EXPECT_EQ(host.rowChanges, (std::vector<ServerRecord*>{servers[1], servers[2]}));
    for (auto* r : servers)
        EXPECT_EQ(r->refreshPending + r->awaitingReply, 0u);
    auto events = host.Events();
    EXPECT_LT(std::find(events.begin(), events.end(), "cycle-finished"),
              std::find(events.begin(), events.end(), "hide-progress"));
}

TEST_F(EngineTest, ASilentServerGoesAtTheEndOfItsSixthSilentCycleButFavouritesStay) {
    auto* silent = Add("10.0.0.1");
    auto* favourite = Add("10.0.0.2");
    favourite->isFavourite = 1;
    auto* alive = Add("10.0.0.3");
    for (int cycle = 1; cycle <= 7; ++cycle) {
        ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
        RunWorker();
        ReplyName(alive, "alive");
        Receive();
        FireTimer();
        ASSERT_TRUE(cycle >= 6 || (profile.servers.count == 3 && silent->livesLeft == 5 - cycle)) << cycle;
    }
    EXPECT_EQ(host.removed, Strings{"10.0.0.1"});
    EXPECT_EQ(std::tuple(profile.servers.count, profile.servers.head, favourite->livesLeft, alive->livesLeft),
              std::tuple(2u, favourite, -2, 5));
}

TEST_F(EngineTest, TheStaleSweepCoversRecordsOutsideTheCycleAndClampsLives) {
    auto servers = AddMany(3);
    servers[0]->livesLeft = 9;   // as loaded from a damaged list file
    servers[1]->livesLeft = -3;  // not queried in this cycle, still stale
    servers[2]->isFavourite = 1;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshFavourites, profile));
    RunWorker();
    ReplyName(servers[2], "fav");
    Receive();
    EXPECT_EQ(std::tuple(engine->Busy(), servers[0]->livesLeft, host.removed),
              std::tuple(false, 5, Strings{"10.0.0.2"}));
}

TEST_F(EngineTest, WithoutASocketOrAThreadNothingIsSentAndEveryServerEndsUnanswered) {
    auto servers = AddMany(2);
    servers[0]->ping = 30;
    network.failOpen = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(std::pair(threads.started, host.timerMs), std::pair(0, std::optional<uint32_t>(net::kGraceMs)));
    FireTimer();
    EXPECT_FALSE(engine->Busy());
    EXPECT_EQ(std::tuple(std::string(servers[0]->hostName), servers[0]->ping, servers[1]->livesLeft),
              std::tuple(std::string("~ 10.0.0.1"), catalogue::kNoPing, 4));
    network.failOpen = false;
    threads.failStart = true;
    host.monitorActive = true;
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(std::pair(network.OpenNow(), host.timerMs), std::pair(0, std::optional<uint32_t>(net::kMonitorGraceMs)));
    FireTimer();
    EXPECT_EQ(std::pair(servers[1]->livesLeft, refreshBusy), std::pair(3, false));
    threads.failStart = false;
    threads.failWorkerStart = true;  // the receiver started alone is stopped again at once
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    EXPECT_EQ(std::tuple(network.OpenNow(), threads.started, threads.joined), std::tuple(0, 1, 1));
    FireTimer();
    EXPECT_EQ(servers[1]->livesLeft, 2);
}

// The Steam kinds: a reply may lead to a further datagram, sent by the worker under the pace.
TEST_F(EngineTest, EveryDatagramOfASourceQueryCountsInThePaceAndThePingIsThatOfTheInfoRequestAnswered) {
    SetKind(catalogue::kTeamFortress2);
    const net::Pacing other{net::PacingPreset::kCustom, 4, 30, 700, 2};
    // Pace, the servers' behaviour, the bursts (datagrams sent at one moment), the worker's sleeps,
    // every server's ping. Each server is sent three datagrams: info, info again with the challenge
    // (or players without it), players.
    const std::tuple<net::Pacing, std::string, std::vector<size_t>, std::vector<uint32_t>, uint32_t> rows[] = {
        {net::kClassicPacing, std::string(22, 'c'), std::vector<size_t>(6, 11), std::vector<uint32_t>(6, 200), 200},
        {net::kClassicPacing, std::string(22, 'o'), std::vector<size_t>(6, 11), std::vector<uint32_t>(6, 200), 200},
        // Waiting for the last two servers' replies: 2 ms is no pause, so the burst goes on.
        {other, "cccccc", {4, 4, 4, 2, 2, 2}, {30, 30, 30, 2, 30, 2}, 30}};
    for (const auto& [pacing, behaviours, bursts, sleeps, ping] : rows) {
        catalogue::clearServers(profile.servers);
        const std::vector<ServerRecord*> servers = AddMany(static_cast<int>(behaviours.size()));
        engine->SetPacing(pacing);
        Serve(behaviours);
        const size_t sentBefore = network.SentCount(), sleptBefore = clock.Sleeps().size();
        ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
        RunWorker();
        EXPECT_EQ(network.BurstsSince(sentBefore), bursts) << behaviours;
        const std::vector<uint32_t> slept = clock.Sleeps();
        EXPECT_EQ(std::vector<uint32_t>(slept.begin() + sleptBefore, slept.end()), sleeps) << behaviours;
        for (ServerRecord* r : servers)
            EXPECT_EQ(std::tuple(r->ping, r->playerCount, std::string(r->gameTypeDisplay)),
                      std::tuple(ping, 2, std::string("Control Points")));
        EXPECT_FALSE(engine->Busy());  // the last players reply closed the cycle
    }
}

TEST_F(EngineTest, HostileAndHalfAnsweringSourceServersEndAsTheirAnswersSayAndACompressedReplyIsNotedOnce) {
    SetKind(catalogue::kTeamFortress2);
    // Challenges, endless challenges, info without players, junk, compressed players (twice), silent.
    Serve("ceigzzs");
    const std::vector<ServerRecord*> servers = AddMany(7);
    ASSERT_TRUE(engine->StartCycle(net::kRefreshAll, profile));
    RunWorker();
    while (engine->Busy())
        FireTimer();
    const Strings targets = SentTargets();
    std::string shown;
    for (ServerRecord* r : servers) {
        const std::string to = std::string(r->addressText) + ":27960";
        shown += std::to_string(std::count(targets.begin(), targets.end(), to)) +
                 (r->ping < 9999 ? " answered " : " ") + r->hostName + "|";
    }
    EXPECT_EQ(shown,
              "3 answered Lab ^1One|4 ~ 10.0.0.2|3 answered Lab ^1One|1 ~ 10.0.0.4|3 answered Lab ^1One|"
              "3 answered Lab ^1One|1 ~ 10.0.0.7|");
    EXPECT_EQ(std::pair(engine->completedCount(), servers[0]->playerCount), std::pair(1u, 2));
    EXPECT_EQ(messages.shown, Strings{net::kCompressedReplyText});
    host.selected = {servers[0]};  // Server Information asks for the rules too and shows them
    ASSERT_TRUE(engine->StartCycle(net::kRefreshServerInfo, profile));
    RunWorker();
    EXPECT_NE(host.shownInformation.find("\\keywords\\cp,alltalk\\sv_gravity\\800"), std::string::npos);
}

}  // namespace
}  // namespace engine_test
