// The Steam master's page request and page reader, and the paging list query.
#include "net/steam_master.h"

#include <cstdio>
#include <cstring>

namespace net {

namespace {

constexpr uint8_t kPageHeader[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0x66, 0x0A};
constexpr size_t kEntrySize = 6;
constexpr size_t kMaxPage = 65536;

uint64_t KeyOf(const MasterEntry& e) {
    return uint64_t(e.octets[0]) << 40 | uint64_t(e.octets[1]) << 32 | uint64_t(e.octets[2]) << 24 |
           uint64_t(e.octets[3]) << 16 | e.port;
}

}  // namespace

std::vector<uint8_t> BuildSteamMasterRequest(uint8_t region, std::string_view seed, std::string_view filter) {
    auto upToZero = [](std::string_view text, size_t limit) {
        text = text.substr(0, text.find('\0'));
        return text.substr(0, limit);
    };
    seed = upToZero(seed, 32);
    filter = upToZero(filter, kSteamFilterLimit);
    std::vector<uint8_t> out;
    out.reserve(4 + seed.size() + filter.size());
    out.push_back(kSteamMasterRequestType);
    out.push_back(region);
    out.insert(out.end(), seed.begin(), seed.end());
    out.push_back(0);
    out.insert(out.end(), filter.begin(), filter.end());
    out.push_back(0);
    return out;
}

std::string SteamSeedOf(const MasterEntry& e) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", e.octets[0], e.octets[1], e.octets[2], e.octets[3], e.port);
    return text;
}

SteamMasterPage ReadSteamMasterPage(const uint8_t* data, size_t size) {
    SteamMasterPage page;
    if (!data || size < sizeof kPageHeader || std::memcmp(data, kPageHeader, sizeof kPageHeader) != 0)
        return page;
    page.valid = true;
    for (size_t at = sizeof kPageHeader; at + kEntrySize <= size; at += kEntrySize) {
        MasterEntry e;
        std::memcpy(e.octets, data + at, 4);
        e.port = static_cast<uint16_t>(data[at + 4] << 8 | data[at + 5]);
        if (KeyOf(e) == 0) {
            page.listEnd = true;
            break;
        }
        page.last = e;
        if (e.octets[0] > 254 || e.octets[1] > 254 || e.octets[2] > 254 || e.octets[3] > 254)
            ++page.skipped;
        else
            page.entries.push_back(e);
    }
    return page;
}

SteamMasterQuery::SteamMasterQuery(Clock& clock, DatagramSocket& socket, SteamMasterOptions options)
    : clock_(clock), socket_(socket), options_(std::move(options)), buffer_(kMaxPage) {
    if (options_.pageAttempts == 0)
        options_.pageAttempts = 1;
}

void SteamMasterQuery::Start() {
    if (started_)
        return;
    started_ = true;
    Send();
}

void SteamMasterQuery::Send() {
    const std::vector<uint8_t> request = BuildSteamMasterRequest(options_.region, seed_, options_.filter);
    ++attempts_;
    ++requestsSent_;
    lastSendTick_ = clock_.TickCount();
    waiting_ = true;
    nextDue_ = false;
    if (!socket_.SendTo(options_.master, request.data(), request.size()))
        status_ = SteamMasterStatus::kSendFailed;
}

void SteamMasterQuery::Poll() {
    if (!started_ || finished())
        return;
    for (int i = 0; i < kMaxReadsPerPoll && !finished(); ++i) {
        Endpoint from;
        const int n = socket_.ReceiveFrom(buffer_.data(), buffer_.size(), &from);
        if (n < 0)
            break;
        if (!(from == options_.master) || !waiting_)
            continue;
        const SteamMasterPage page = ReadSteamMasterPage(buffer_.data(), static_cast<size_t>(n));
        if (page.valid)
            TakePage(page);
    }
    if (finished())
        return;
    if (nextDue_ && Since(lastSendTick_) >= options_.pageGapMs) {
        attempts_ = 0;
        Send();
    } else if (waiting_ && Since(lastSendTick_) >= RetryAfterMs()) {
        if (attempts_ >= options_.pageAttempts)
            status_ = SteamMasterStatus::kMasterSilent;
        else
            Send();
    }
}

void SteamMasterQuery::TakePage(const SteamMasterPage& page) {
    for (const MasterEntry& e : page.entries) {
        if (received() >= options_.maxServers)
            break;
        if (seen_.insert(KeyOf(e)).second)
            fresh_.push_back(e);
    }
    if (page.listEnd) {
        status_ = SteamMasterStatus::kListEnd;
    } else if (received() >= options_.maxServers) {
        status_ = SteamMasterStatus::kMaxServers;
    } else if (page.last && seedsUsed_.insert(KeyOf(*page.last)).second) {
        // Judged by its last entry, not by whether it brought anything new: a page of addresses no
        // client may take still leads on to the next one. A page ending where an earlier one ended
        // is a late copy: the wait for the page asked for goes on (and a master that only repeats
        // itself runs out of attempts).
        seed_ = SteamSeedOf(*page.last);
        waiting_ = false;
        nextDue_ = true;
    }
    if (finished())
        waiting_ = false;
}

int SteamMasterQuery::NextWakeMs() {
    if (finished())
        return -1;
    const uint32_t due = nextDue_ ? options_.pageGapMs : waiting_ ? RetryAfterMs() : 0;
    const uint32_t since = Since(lastSendTick_);
    return since >= due ? 0 : static_cast<int>(due - since);
}

std::vector<MasterEntry> SteamMasterQuery::TakeEntries() {
    std::vector<MasterEntry> out;
    out.swap(fresh_);
    return out;
}

std::string SteamMasterQuery::StatusText() const {
    char text[96];
    switch (status_) {
        case SteamMasterStatus::kMasterSilent:
            std::snprintf(text, sizeof text, "The master server stopped answering after %u servers", received());
            break;
        case SteamMasterStatus::kSendFailed:
            std::snprintf(text, sizeof text, "Send error");
            break;
        default:
            std::snprintf(text, sizeof text, "Received %u Servers", received());
            break;
    }
    return text;
}

}  // namespace net
