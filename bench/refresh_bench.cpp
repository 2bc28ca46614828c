// Refresh benchmark: one full status refresh of a loopback farm of Quake-III style responders with
// known reply delays, measured for wall time, answers, ping error and pacing, side by side with
// quakestat on the same farm. Run by hand inside a loopback-only namespace:
//   unshare -n sh -c 'ip link set lo up && exec ./refresh_bench [servers ...] [--no-quakestat]'
#if defined(_WIN32)

#include <cstdio>

int main() {
    std::puts("refresh_bench runs natively only (POSIX sockets).");
    return 0;
}

#else

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/info_keys.h"
#include "base/text.h"
#include "catalogue/profiles.h"
#include "net/posix/posix_net.h"
#include "net/status_engine.h"
#include "testing/loopback_farm.h"
#include "testing/posix_engine_loop.h"

namespace {

using catalogue::ServerRecord;
using testing_support::LoopbackFarm;

constexpr uint32_t kMaxDelayMs = 150;

// Delay of server i: spread over 0..150 ms without following the list order.
uint32_t DelayMs(size_t i) {
    return static_cast<uint32_t>((i * 37) % (kMaxDelayMs + 1));
}
// One server in twenty never answers.
bool Silent(size_t i) {
    return i % 20 == 19;
}

std::string StatusReply(size_t i) {
    return "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\Farm " + std::to_string(i) +
           "\\mapname\\q3dm17\\sv_maxclients\\16\\gamename\\baseq3\\protocol\\68\\g_needpass\\0\n"
           "12 50 \"^1Player\"\n3 0 \"Bot\"\n";
}

// Socket wrapper that notes when each request left (worker thread).
class TimedSocket : public net::DatagramSocket {
  public:
    TimedSocket(std::unique_ptr<net::DatagramSocket> inner,
                net::Clock& clock,
                std::vector<uint64_t>& sends,
                std::mutex& mutex)
        : inner_(std::move(inner)), clock_(clock), sends_(sends), mutex_(mutex) {}
    bool SendTo(const net::Endpoint& to, const void* data, size_t size) override {
        const bool ok = inner_->SendTo(to, data, size);
        std::lock_guard guard(mutex_);
        sends_.push_back(clock_.Counter());
        return ok;
    }
    int ReceiveFrom(void* buffer, size_t capacity, net::Endpoint* from) override {
        return inner_->ReceiveFrom(buffer, capacity, from);
    }
    bool WaitReadable(int timeoutMs) override { return inner_->WaitReadable(timeoutMs); }

  private:
    std::unique_ptr<net::DatagramSocket> inner_;
    net::Clock& clock_;
    std::vector<uint64_t>& sends_;
    std::mutex& mutex_;
};

class TimedFactory : public net::DatagramSocketFactory {
  public:
    TimedFactory(net::PosixDatagramSocketFactory& inner, net::Clock& clock) : inner_(inner), clock_(clock) {}
    std::unique_ptr<net::DatagramSocket> Open() override {
        auto s = inner_.Open();
        if (!s)
            return nullptr;
        return std::make_unique<TimedSocket>(std::move(s), clock_, sends, mutex);
    }
    std::vector<uint64_t> sends;
    std::mutex mutex;

  private:
    net::PosixDatagramSocketFactory& inner_;
    net::Clock& clock_;
};

// The user interface reduced to what a refresh needs: the name from the reply, timer 2 and the
// worker's end through the loop.
class BenchHost : public net::StatusHost {
  public:
    BenchHost(catalogue::ServerList& list, testing_support::PosixEngineLoop& loop) : list_(list), loop_(loop) {}
    uint32_t MarkSelectedForRefresh() override { return 0; }
    uint32_t MarkFirstSelectedForRefresh() override { return 0; }
    void AnnounceFullRefresh() override {}
    void AnnounceQuery(ServerRecord&) override {}
    bool MonitorActive() override { return false; }
    void ClearRawReply() override {}
    void ParseReply(ServerRecord& r, const uint8_t* data, size_t size, bool) override {
        if (size > 0) {
            auto name = base::lookupKey(base::ReplyText(data, size), "sv_hostname");
            if (name) {
                base::CopyText(r.hostName, *name);
                return;
            }
        }
        catalogue::MarkUnanswered(r);
    }
    void RowChanged(ServerRecord&) override {}
    void RemoveStale(ServerRecord& r) override { catalogue::removeServer(list_, &r); }
    void CycleFinished() override {}
    bool RawReplyHasText() override { return false; }
    void ShowServerInformation() override {}
    void SetRefreshRunning(bool) override {}
    void ShowProgress(uint32_t, uint32_t) override {}
    void HideProgress() override {}
    void PostProgress(uint32_t) override {}
    void ArmCloseTimer(uint32_t periodMs) override { loop_.ArmTimer(periodMs); }
    void KillCloseTimer() override { loop_.KillTimer(); }
    void PostWorkerFinished() override { loop_.PostWorkerFinished(); }
    void ShowAnswered(uint32_t, uint32_t, bool) override {}
    void PostRepliesWaiting() override { loop_.PostRepliesWaiting(); }

  private:
    catalogue::ServerList& list_;
    testing_support::PosixEngineLoop& loop_;
};

class NullSink : public base::MessageSink {
  public:
    bool AskYesNo(std::string_view, base::MessageIcon) override { return false; }
    void Tell(std::string_view, base::MessageIcon) override {}
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t k = static_cast<size_t>(std::ceil(p * double(v.size()))) - (p > 0 ? 1 : 0);
    return v[std::min(k, v.size() - 1)];
}

struct EngineResult {
    double wallMs = 0;
    size_t answered = 0;
    size_t answeredSilent = 0;
    std::vector<double> pingError;
    std::vector<double> farmLateMs;     // how late the farm's reply left
    std::vector<double> engineErrorMs;  // ping error left once the farm's lateness is taken out
    std::vector<uint64_t> sends;
    uint64_t frequency = 1;
    uint64_t readableCalls = 0;
    uint64_t readableCounts = 0;
    size_t datagrams = 0;
};

EngineResult RunEngine(LoopbackFarm& farm) {
    EngineResult result;
    catalogue::GameProfile profile;
    profile.kind = 1;
    for (auto& s : farm.servers()) {
        auto r = std::make_unique<ServerRecord>();
        base::CopyText(r->addressText, "127.0.0.1");
        r->port = s->endpoint.port;
        catalogue::appendServer(profile.servers, std::move(r));
    }
    net::PosixClock clock;
    net::PosixDatagramSocketFactory posixSockets;
    TimedFactory sockets(posixSockets, clock);
    net::PosixResolver resolver;
    net::PosixThreadStarter threads;
    testing_support::PosixEngineLoop loop(posixSockets, clock);
    BenchHost host(profile.servers, loop);
    NullSink sink;
    bool busy = false;
    net::StatusEngine engine(net::StatusEngineDeps{host, clock, sockets, resolver, threads, sink, busy});

    const uint64_t start = clock.Counter();
    if (!engine.StartCycle(net::kRefreshAll, profile)) {
        std::fprintf(stderr, "refresh refused\n");
        return result;
    }
    if (!loop.RunUntilIdle(engine, 600000))
        std::fprintf(stderr, "refresh did not end within 10 minutes\n");
    result.wallMs = double(clock.Counter() - start) * 1000.0 / double(clock.Frequency());

    size_t i = 0;
    for (ServerRecord* r = profile.servers.head; r; r = r->next, ++i) {
        if (r->ping == catalogue::kNoPing || r->hostName[0] == '~')
            continue;
        if (Silent(i)) {
            ++result.answeredSilent;
            continue;
        }
        ++result.answered;
        result.pingError.push_back(double(r->ping) - double(DelayMs(i)));
        const double late = double(farm.servers()[i]->lastLateNs.load()) / 1e6;
        result.farmLateMs.push_back(late);
        result.engineErrorMs.push_back(double(r->ping) - double(DelayMs(i)) - late);
    }
    result.sends = sockets.sends;
    result.frequency = clock.Frequency();
    result.readableCalls = loop.readableCalls;
    result.readableCounts = loop.readableCounts;
    return result;
}

void ReportPacing(const EngineResult& r) {
    // Bursts: requests less than 50 ms apart belong to one burst.
    const double toMs = 1000.0 / double(r.frequency);
    std::vector<size_t> sizes;
    std::vector<double> starts, lengths;
    for (size_t i = 0; i < r.sends.size(); ++i) {
        if (i == 0 || double(r.sends[i] - r.sends[i - 1]) * toMs > 50.0) {
            sizes.push_back(0);
            starts.push_back(double(r.sends[i]) * toMs);
            lengths.push_back(0);
        }
        ++sizes.back();
        lengths.back() = double(r.sends[i]) * toMs - starts.back();
    }
    size_t elevens = 0;
    for (size_t k = 0; k + 1 < sizes.size(); ++k)
        elevens += sizes[k] == 11 ? 1 : 0;
    std::vector<double> gaps;
    for (size_t k = 1; k < starts.size(); ++k)
        gaps.push_back(starts[k] - starts[k - 1]);
    const double span = r.sends.empty() ? 0 : double(r.sends.back() - r.sends.front()) * toMs;
    std::printf("  pacing: %zu requests in %zu bursts; %zu of %zu full bursts hold exactly 11 (last burst %zu)\n",
                r.sends.size(), sizes.size(), elevens, sizes.empty() ? 0 : sizes.size() - 1,
                sizes.empty() ? 0 : sizes.back());
    std::printf("          burst start to start: median %.2f ms, min %.2f, max %.2f; burst length p99 %.3f ms\n",
                Percentile(gaps, 0.5), Percentile(gaps, 0.0), Percentile(gaps, 1.0), Percentile(lengths, 0.99));
    std::printf("          send rate %.1f requests/s (11 per 200 ms would be 55.0)\n",
                span > 0 ? double(r.sends.size() - 1) * 1000.0 / span : 0.0);
}

struct QuakestatResult {
    bool ran = false;
    double wallMs = 0;
    size_t answered = 0;
    size_t lines = 0;
    std::string sample;
};

QuakestatResult RunQuakestat(LoopbackFarm& farm, const std::string& folder) {
    QuakestatResult q;
    const std::string list = folder + "/list.txt";
    const std::string out = folder + "/quakestat.out";
    {
        std::ofstream f(list);
        for (auto& s : farm.servers())
            f << "127.0.0.1:" << s->endpoint.port << "\n";
    }
    const std::string command = "quakestat -default q3s -raw , -P -R -f " + list + " > " + out + " 2>/dev/null";
    const uint64_t start = LoopbackFarm::NowNs();
    const int status = std::system(command.c_str());
    q.wallMs = double(LoopbackFarm::NowNs() - start) / 1e6;
    q.ran = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) != 127;
    std::ifstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        // Server lines start with the type; player and rule lines do not. A server that did not
        // answer shows DOWN or TIMEOUT in its third field.
        if (line.rfind("Q3S,", 0) != 0)
            continue;
        ++q.lines;
        if (q.sample.empty())
            q.sample = line;
        if (line.find(",DOWN") == std::string::npos && line.find(",TIMEOUT") == std::string::npos &&
            line.find(",ERROR") == std::string::npos)
            ++q.answered;
    }
    return q;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<size_t> counts;
    bool quakestat = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-quakestat") == 0)
            quakestat = false;
        else
            counts.push_back(std::strtoul(argv[i], nullptr, 10));
    }
    if (counts.empty())
        counts = {1000, 3000};

    rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    char folderTemplate[] = "/tmp/refresh_bench.XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (!folder) {
        std::perror("mkdtemp");
        return 1;
    }

    for (size_t n : counts) {
        LoopbackFarm farm;
        if (!farm.Open(n)) {
            std::fprintf(stderr, "cannot open %zu sockets\n", n);
            return 1;
        }
        size_t live = 0;
        for (size_t i = 0; i < n; ++i) {
            auto& s = *farm.servers()[i];
            s.delayUs = DelayMs(i) * 1000;
            s.silent = Silent(i);
            s.reply = StatusReply(i);
            live += s.silent ? 0 : 1;
        }
        // 55 requests a second need one responder thread; a second one would only compete for the CPU.
        farm.Start(1);

        std::printf("== %zu servers on 127.0.0.1 (%zu answer after 0-%u ms, %zu never answer)\n", n, live, kMaxDelayMs,
                    n - live);
        EngineResult e = RunEngine(farm);
        std::vector<double> absError;
        for (double d : e.pingError)
            absError.push_back(std::fabs(d));
        std::printf("engine:    wall %.0f ms, answered %zu of %zu live (%.1f%%), silent ones answered %zu\n", e.wallMs,
                    e.answered, live, 100.0 * double(e.answered) / double(live ? live : 1), e.answeredSilent);
        std::printf(
            "  ping error (measured - known delay): median %+.0f ms, p99 %+.0f ms, min %+.0f, max %+.0f; "
            "|error| p99 %.0f ms\n",
            Percentile(e.pingError, 0.5), Percentile(e.pingError, 0.99), Percentile(e.pingError, 0.0),
            Percentile(e.pingError, 1.0), Percentile(absError, 0.99));
        std::printf(
            "  of which the farm's replies left late by: median %.2f ms, p99 %.2f ms, max %.2f ms; "
            "engine's own part (ping - delay - lateness, ping cut to whole ms): p99 %+.2f ms, max %+.2f ms\n",
            Percentile(e.farmLateMs, 0.5), Percentile(e.farmLateMs, 0.99), Percentile(e.farmLateMs, 1.0),
            Percentile(e.engineErrorMs, 0.99), Percentile(e.engineErrorMs, 1.0));
        ReportPacing(e);
        std::printf(
            "  receiving: %llu notifications, %.1f us each on average (%.1f ms in all)\n",
            (unsigned long long)e.readableCalls,
            e.readableCalls ? double(e.readableCounts) * 1e6 / double(e.frequency) / double(e.readableCalls) : 0.0,
            double(e.readableCounts) * 1e3 / double(e.frequency));

        if (quakestat) {
            farm.ResetStats();
            QuakestatResult q = RunQuakestat(farm, folder);
            if (!q.ran)
                std::printf("quakestat: not available\n");
            else
                std::printf("quakestat: wall %.0f ms, answered %zu of %zu live (%zu server lines)\n", q.wallMs,
                            q.answered, live, q.lines);
        }
        farm.Stop();
        std::fflush(stdout);
    }
    std::string cleanup = std::string("rm -rf ") + folder;
    (void)!std::system(cleanup.c_str());
    return 0;
}

#endif
