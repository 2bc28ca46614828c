// The Steam master server: its page request, the reading of a page, and a list query that asks
// page after page at a pace the master accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "net/clock.h"
#include "net/datagram_socket.h"
#include "net/master_list.h"

namespace net {

// Region bytes of the request; 0xFF is the rest of the world, which the master takes for every region.
enum SteamRegion : uint8_t {
    kSteamRegionUsEast = 0x00,
    kSteamRegionUsWest = 0x01,
    kSteamRegionSouthAmerica = 0x02,
    kSteamRegionEurope = 0x03,
    kSteamRegionAsia = 0x04,
    kSteamRegionAustralia = 0x05,
    kSteamRegionMiddleEast = 0x06,
    kSteamRegionAfrica = 0x07,
    kSteamRegionWorld = 0xFF,
};

constexpr uint8_t kSteamMasterRequestType = 0x31;
constexpr char kSteamFirstSeed[] = "0.0.0.0:0";
// A filter longer than this is cut, so that a request always fits one datagram.
constexpr size_t kSteamFilterLimit = 1000;

// 0x31, the region, the seed address as zero-terminated "a.b.c.d:port" text, then the filter
// (such as "\appid\440\empty\1") zero-terminated. The filter ends at a zero byte it may hold.
std::vector<uint8_t> BuildSteamMasterRequest(uint8_t region, std::string_view seed, std::string_view filter);
// The seed text of an entry: "a.b.c.d:port".
std::string SteamSeedOf(const MasterEntry& entry);

// One page of the master's answer: FF FF FF FF 66 0A, then 6-byte entries (address, port high,
// port low). 0.0.0.0:0 ends the whole list and is not an entry. An entry with an address byte above
// 254 is counted in `skipped`, not taken; a trailing part shorter than an entry is not read.
struct SteamMasterPage {
    bool valid = false;  // the header was there
    std::vector<MasterEntry> entries;
    uint32_t skipped = 0;
    bool listEnd = false;
    // The page's last entry before the end marker, skipped ones included: the next request's seed.
    std::optional<MasterEntry> last;
};
SteamMasterPage ReadSteamMasterPage(const uint8_t* data, size_t size);

struct SteamMasterOptions {
    Endpoint master;
    uint8_t region = kSteamRegionWorld;
    std::string filter;
    uint32_t maxServers = 999;
    // The master answers only so many requests a minute: two page requests are at least this far
    // apart, and a page not answered within the time-out is asked for again, up to `pageAttempts`
    // times in all before the master counts as silent.
    uint32_t pageGapMs = 1000;
    uint32_t pageTimeoutMs = 3000;
    uint32_t pageAttempts = 3;
};

enum class SteamMasterStatus {
    kRunning,
    kListEnd,       // the master sent the end of its list
    kMaxServers,    // maxServers entries were received; no more were asked for
    kMasterSilent,  // a page went unanswered through all its attempts
    kSendFailed,    // a request could not be sent
};

// One list query on a socket of its own (the master sends a new socket its first page whatever seed
// it is given, so the socket must stay open from the first page to the last). Single-threaded: the
// owner calls Poll when the socket is readable and once NextWakeMs has passed.
//
// The first request carries the seed 0.0.0.0:0, every later one the last entry of the page before.
// A page whose last entry was already used as a seed (or that has none) and that does not end the
// list is taken for a late copy of an earlier one and ignored (so a master that repeats itself ends
// as silent); a page of nothing but unusable addresses still moves the seed on. Datagrams from
// other senders, and those that are no page, are ignored.
class SteamMasterQuery {
  public:
    SteamMasterQuery(Clock& clock, DatagramSocket& socket, SteamMasterOptions options);

    // Sends the first request.
    void Start();
    // Reads the datagrams waiting (at most kMaxReadsPerPoll), then sends whatever is due: the next
    // page once the gap since the last request has passed, or the same page again after its time-out.
    void Poll();
    // Milliseconds until Poll has something to do without a datagram; -1 once finished.
    int NextWakeMs();

    SteamMasterStatus status() const { return status_; }
    bool finished() const { return status_ != SteamMasterStatus::kRunning; }
    // The entries received since the last call, in list order, each address and port once.
    std::vector<MasterEntry> TakeEntries();
    uint32_t received() const { return static_cast<uint32_t>(seen_.size()); }
    uint32_t requestsSent() const { return requestsSent_; }
    // The label text for the status: "Received %u Servers" while it runs and at a normal end, and a
    // plain sentence when the master stopped answering or could not be asked.
    std::string StatusText() const;

    static constexpr int kMaxReadsPerPoll = 64;

  private:
    void Send();
    void TakePage(const SteamMasterPage& page);
    uint32_t Since(uint32_t tick) { return clock_.TickCount() - tick; }
    // A page is asked for again after its time-out, but never sooner than the gap allows.
    uint32_t RetryAfterMs() const {
        return options_.pageTimeoutMs > options_.pageGapMs ? options_.pageTimeoutMs : options_.pageGapMs;
    }

    Clock& clock_;
    DatagramSocket& socket_;
    SteamMasterOptions options_;
    SteamMasterStatus status_ = SteamMasterStatus::kRunning;
    std::string seed_ = kSteamFirstSeed;
    bool started_ = false;
    bool waiting_ = false;  // a request is out and its page has not come
    bool nextDue_ = false;  // a page came; the next request goes once the gap has passed
    uint32_t lastSendTick_ = 0;
    uint32_t attempts_ = 0;  // of the page asked for now
    uint32_t requestsSent_ = 0;
    std::unordered_set<uint64_t> seen_;
    std::unordered_set<uint64_t> seedsUsed_;  // entries sent as a seed
    std::vector<MasterEntry> fresh_;
    std::vector<uint8_t> buffer_;  // one datagram
};

}  // namespace net
