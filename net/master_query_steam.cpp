// The master query's Steam masters: one paged list query per filter of the game, on the master's
// socket, woken by its datagrams and by timer 4.
#include <cstdio>

#include "net/master_query.h"

namespace net {

namespace {

// Timer 4 never waits less: a query with something due at once is polled on the next round.
constexpr uint32_t kShortestWakeMs = 10;

}  // namespace

bool MasterHostSocket::SendTo(const Endpoint&, const void* data, size_t size) {
    return host_.SendToMaster(static_cast<const uint8_t*>(data), size);
}

int MasterHostSocket::ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) {
    const int n = host_.ReceiveFromMaster(static_cast<uint8_t*>(buffer), capacity);
    if (n >= 0 && from)
        *from = master_;
    return n;
}

// Asks the master being asked for the list of the current filter, on the socket connected to it.
bool MasterQuery::AskSteamFilter() {
    SteamMasterOptions options;
    options.master = {ParseDottedAddress(steamAddress_.c_str()).value_or(0),
                      static_cast<uint16_t>(masters_[masterIndex_].port)};
    options.filter = steamFilters_[filterIndex_];
    // What the earlier filters and masters listed counts against the profile's limit.
    options.maxServers = Full() ? 0 : MaxServers() - profile_->servers.count;
    options.pageTimeoutMs = MasterTimeoutMs();
    steamSocket_ = std::make_unique<MasterHostSocket>(host_, options.master);
    steamQuery_ = std::make_unique<SteamMasterQuery>(clock_, *steamSocket_, options);
    steamQuery_->Start();
    if (steamQuery_->status() == SteamMasterStatus::kSendFailed) {
        if (!steamAnswered_)
            return MasterFailed("Send error");
        SteamMasterStopped();
        return running();
    }
    reachedAny_ = true;
    ArmSteamTimer();
    return true;
}

void MasterQuery::ArmSteamTimer() {
    const int wake = steamQuery_->NextWakeMs();
    host_.SetTimer(kSteamPageTimer,
                   wake > static_cast<int>(kShortestWakeMs) ? static_cast<uint32_t>(wake) : kShortestWakeMs);
}

void MasterQuery::OnSteamTimer() {
    if (!socketOpen_)  // shut down
        return;
    if (steamQuery_) {
        PollSteam();
        return;
    }
    // The gap after the last filter's list has passed: the next filter on a socket of its own (the
    // master keeps the place in a list by the socket it is asked from).
    host_.KillTimer(kSteamPageTimer);
    if (int error = host_.OpenMasterSocket(false)) {
        char text[64];
        std::snprintf(text, sizeof text, "Socket Error: %d", error);
        socketOpen_ = false;
        Fail(text);
        return;
    }
    if (!host_.ConnectMasterSocket(steamAddress_.c_str(), static_cast<uint16_t>(masters_[masterIndex_].port))) {
        SteamMasterStopped();
        return;
    }
    AskSteamFilter();
}

void MasterQuery::PollSteam() {
    if (!steamQuery_)
        return;
    steamQuery_->Poll();
    Merge(steamQuery_->TakeEntries());
    ShowCount(profile_->servers.count);
    switch (steamQuery_->status()) {
        case SteamMasterStatus::kRunning:
            ArmSteamTimer();
            return;
        case SteamMasterStatus::kListEnd:
        case SteamMasterStatus::kMaxServers:
            steamAnswered_ = true;
            SteamFilterOver();
            return;
        case SteamMasterStatus::kMasterSilent:
        case SteamMasterStatus::kSendFailed:
            // Silent from its first request: as a master that never answered, the attempt goes on
            // (and may end in the give-up message). Silent after it began: it ends with what came.
            if (steamAnswered_ || steamQuery_->received() > 0)
                SteamMasterStopped();
            else
                NextMaster();
            return;
    }
}

// A filter's list is whole: the next filter once the gap has passed, or the next master.
void MasterQuery::SteamFilterOver() {
    steamQuery_.reset();
    steamSocket_.reset();
    if (++filterIndex_ >= steamFilters_.size() || Full()) {
        NextMaster();
        return;
    }
    host_.KillTimer(kSteamPageTimer);
    host_.SetTimer(kSteamPageTimer, SteamMasterOptions().pageGapMs);
}

void MasterQuery::SteamMasterStopped() {
    char text[96];
    std::snprintf(text, sizeof text, kSteamStoppedFormat, profile_->servers.count);
    note_ = text;
    NextMaster();
}

}  // namespace net
