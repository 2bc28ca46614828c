// The master query's attempts: start, the masters of an attempt in turn, list datagrams and streams
// by game kind, timers and the end of an attempt.
#include "net/master_query.h"

#include <cstdio>
#include <cstring>

#include "catalogue/catalogue.h"
#include "net/datagram_socket.h"

namespace net {

namespace {

constexpr char kGiveUp[] = "I've tried 3 times to contact the master\nserver, I give up!!";
constexpr uint32_t kDefaultMaxServers = 999;
// What a closing TCP master may still hold is read in at most this many pieces.
constexpr int kReadsAtClose = 64;

}  // namespace

MasterQuery::MasterQuery(bool& refreshBusy, MasterQueryHost& host, base::MessageSink& messages, Clock& clock)
    : refreshBusy_(refreshBusy), host_(host), messages_(messages), clock_(clock) {}

bool MasterQuery::Start(catalogue::GameProfile& profile,
                        std::vector<catalogue::MasterServer> masters,
                        std::vector<std::string> steamFilters) {
    if (refreshBusy_)
        return false;
    refreshBusy_ = true;
    profile_ = &profile;
    // The note of the last attempt stood on the pane of its own profile, which may not be this one.
    if (noteShown_) {
        host_.DestroyLabel();
        noteShown_ = labelShown_ = false;
    }
    note_.clear();
    host_.SetToolbarRunning(true);
    host_.ClearListRows();

    --retriesLeft_;
    firstDatagramSeen_ = false;
    masters_ = masters.empty()
                   ? std::vector<catalogue::MasterServer>{{catalogue::MasterHostOf(profile), profile.masterPort}}
                   : std::move(masters);
    masterIndex_ = 0;
    reachedAny_ = false;
    firstFailure_.clear();
    stream_ = *GameSpyIdentityOf(profile.kind).gameName != '\0';
    steam_ = catalogue::IsSteamGame(profile.kind);
    steamFilters_ = steamFilters.empty() ? std::vector<std::string>{std::string()} : std::move(steamFilters);
    return BeginMaster();
}

// Opens the socket for the current master and looks its name up, or connects and asks at once.
bool MasterQuery::BeginMaster() {
    if (int error = host_.OpenMasterSocket(stream_)) {
        char text[64];
        std::snprintf(text, sizeof text, "Socket Error: %d", error);
        Fail(text);
        return false;
    }
    if (!labelShown_) {
        host_.CreateLabel("Contacting Master Server");
        labelShown_ = true;
    }
    socketOpen_ = true;
    ++masterRun_;
    gamespy_ = GameSpyListReader();
    filterIndex_ = 0;
    steamAnswered_ = false;

    masterHost_ = masters_[masterIndex_].host;
    // Only a name is looked up; an address (or nothing at all) goes to the socket as it stands.
    if (masterHost_.empty() || ParseDottedAddress(masterHost_.c_str()))
        return ConnectAndSend(masterHost_.c_str());
    char label[300];
    std::snprintf(label, sizeof label, "Looking up %s", masterHost_.c_str());
    host_.SetLabelText(label);
    if (!host_.LookUpMaster(masterHost_)) {
        FailLookup();
        return running();
    }
    lookingUp_ = true;
    host_.SetTimer(kMasterAttemptTimer, kMasterLookupWaitMs);
    return true;
}

void MasterQuery::OnMasterLookedUp(std::optional<uint32_t> addressNetworkOrder) {
    if (!running() || !lookingUp_)
        return;
    lookingUp_ = false;
    host_.KillTimer(kMasterAttemptTimer);
    if (!addressNetworkOrder) {
        FailLookup();
        return;
    }
    const auto* b = reinterpret_cast<const uint8_t*>(&*addressNetworkOrder);
    char dotted[16];
    std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    ConnectAndSend(dotted);
}

void MasterQuery::FailLookup() {
    char text[320];
    std::snprintf(text, sizeof text, kMasterNotFoundFormat, masterHost_.c_str());
    MasterFailed(text);
}

bool MasterQuery::ConnectAndSend(const char* dottedAddress) {
    if (!host_.ConnectMasterSocket(dottedAddress, static_cast<uint16_t>(masters_[masterIndex_].port)))
        return MasterFailed("Could not connect!");

    request_ = MasterRequest();
    char label[64];
    std::snprintf(label, sizeof label, "Master Query %d", kMasterAttempts - retriesLeft_);
    host_.SetLabelText(label);

    if (steam_) {
        steamAddress_ = dottedAddress;
        return AskSteamFilter();
    }
    // A GameSpy master speaks first: its greeting holds the challenge the request must answer.
    if (!stream_) {
        request_ = BuildMasterRequest(profile_->kind, profile_->protocol);
        if (!host_.SendToMaster(request_.bytes, request_.size))
            return MasterFailed("Send error");
        reachedAny_ = true;
    }
    host_.SetTimer(kMasterAttemptTimer, kFirstReplyWaitMs);
    return true;
}

// This master could not be reached: the next one is asked; after the last, the attempt ends as
// usual when any master was reached, and the query fails with the first failure when none was.
bool MasterQuery::MasterFailed(std::string message) {
    if (firstFailure_.empty())
        firstFailure_ = std::move(message);
    if (masterIndex_ + 1 < masters_.size() || reachedAny_)
        return NextMaster();
    Fail(firstFailure_);
    return false;
}

void MasterQuery::LeaveMaster() {
    if (lookingUp_) {
        lookingUp_ = false;
        host_.CancelMasterLookup();
    }
    host_.KillTimer(kMasterAttemptTimer);
    host_.KillTimer(kHalfLifeResendTimer);
    steamQuery_.reset();
    steamSocket_.reset();
    if (socketOpen_) {
        host_.CloseMasterSocket();
        socketOpen_ = false;
    }
}

// The current master's part is over: on to the next master, or the end of the attempt.
bool MasterQuery::NextMaster() {
    LeaveMaster();
    if (++masterIndex_ < masters_.size() && !Full())
        return BeginMaster();
    EndAttempt();
    return false;
}

void MasterQuery::OnSocketRead() {
    if (!running() || !socketOpen_ || lookingUp_)
        return;
    if (steam_) {
        PollSteam();
        return;
    }
    // The buffer is cleared before the first datagram of an attempt. The readers never look past the
    // datagram just received, so what an earlier, longer datagram left behind is never read.
    if (!firstDatagramSeen_) {
        firstDatagramSeen_ = true;
        std::memset(buffer_, 0, sizeof buffer_);
    }
    int size = host_.ReceiveFromMaster(buffer_, sizeof buffer_);
    if (size < 0 || (stream_ && size == 0))
        return;
    const size_t n = static_cast<size_t>(size) < sizeof buffer_ ? static_cast<size_t>(size) : sizeof buffer_;
    if (stream_)
        ReadStream(buffer_, n);
    else
        HandleDatagram(buffer_, n);
}

void MasterQuery::OnSocketConnected(int error) {
    if (!running() || !stream_ || !socketOpen_ || lookingUp_)
        return;
    if (error)
        MasterFailed("Could not connect!");
    else
        reachedAny_ = true;
}

void MasterQuery::OnSocketClosed() {
    if (!running() || !stream_ || !socketOpen_ || lookingUp_)
        return;
    // Reading may end this master's part, and the query with a message in whose box another query
    // can start: from then on nothing here is this master's.
    const uint32_t run = masterRun_;
    auto mine = [&] { return running() && run == masterRun_; };
    for (int i = 0; i < kReadsAtClose && mine() && gamespy_.state() != GameSpyListReader::State::kDone; ++i) {
        int size = host_.ReceiveFromMaster(buffer_, sizeof buffer_);
        if (size <= 0)
            break;
        ReadStream(buffer_, static_cast<size_t>(size));
    }
    if (mine() && socketOpen_)
        NextMaster();
}

// A piece of a GameSpy master's stream: the greeting is answered, list entries merged.
void MasterQuery::ReadStream(const uint8_t* data, size_t size) {
    ShowCount(profile_->servers.count);
    std::vector<MasterEntry> entries;
    const bool answer = gamespy_.Feed(data, size, entries);
    Merge(entries);
    using State = GameSpyListReader::State;
    if (answer) {
        const std::string text = GameSpyListRequest(GameSpyIdentityOf(profile_->kind), gamespy_.challenge());
        if (!host_.SendToMaster(reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
            MasterFailed("Send error");
            return;
        }
        reachedAny_ = true;
    }
    // An endless list ends where the profile's would be full.
    if (gamespy_.state() == State::kDone || gamespy_.state() == State::kGarbage || Full() ||
        gamespy_.taken() >= MaxServers()) {
        NextMaster();
        return;
    }
    host_.KillTimer(kMasterAttemptTimer);
    host_.SetTimer(kMasterAttemptTimer, answer ? kFirstReplyWaitMs : kListQuietMs);
}

void MasterQuery::HandleDatagram(const uint8_t* data, size_t size) {
    if (!running())
        return;
    catalogue::GameProfile& profile = *profile_;
    ShowCount(profile.servers.count);

    switch (catalogue::ProtocolKindOf(profile.kind)) {
        case catalogue::kEliteForce: {
            Merge(ReadHexList(data, size).entries);
            if (Full())
                NextMaster();
            else {
                // Any datagram, even one too short to hold a list, extends the attempt.
                host_.KillTimer(kMasterAttemptTimer);
                host_.SetTimer(kMasterAttemptTimer, kListQuietMs);
            }
            break;
        }
        case catalogue::kQuake3:
        case catalogue::kWolfenstein:
        case catalogue::kJediKnight2:
        case catalogue::kSoldierOfFortune2: {
            if (size <= kMasterHeaderLimit)
                break;
            Merge(ReadByteList(data, size).entries);
            if (Full())
                NextMaster();
            else {
                host_.KillTimer(kMasterAttemptTimer);
                host_.SetTimer(kMasterAttemptTimer, kListQuietMs);
            }
            break;
        }
        case catalogue::kHalfLife: {
            MasterListReply batch = ReadHalfLifeBatch(data, size);
            Merge(batch.entries);
            if (batch.HasNextBatch() && !Full()) {
                request_ = BuildHalfLifeRequest(batch.batchId);
                host_.SendToMaster(request_.bytes, request_.size);
                host_.SetTimer(kHalfLifeResendTimer, kHalfLifeBatchWaitMs);
            } else {
                ShowCount(profile.servers.count);
                host_.KillTimer(kHalfLifeResendTimer);
                NextMaster();
            }
            break;
        }
        default:
            break;
    }
}

void MasterQuery::Merge(const std::vector<MasterEntry>& entries) {
    // Unreal Tournament's masters list the query port, one above the game port.
    MergeMasterEntries(profile_->servers, entries, MaxServers(), stream_ ? 1 : 0);
}

uint32_t MasterQuery::MaxServers() const {
    return profile_->maxServers ? profile_->maxServers : kDefaultMaxServers;
}

bool MasterQuery::Full() const {
    return profile_->servers.count >= MaxServers();
}

uint32_t MasterQuery::MasterTimeoutMs() const {
    return profile_->masterTimeoutMs ? profile_->masterTimeoutMs : kDefaultMasterTimeoutMs;
}

void MasterQuery::OnTimer(int id) {
    if (!running())
        return;
    if (id == kMasterAttemptTimer && lookingUp_) {
        lookingUp_ = false;
        host_.CancelMasterLookup();
        FailLookup();
    } else if (id == kMasterAttemptTimer) {
        NextMaster();
    } else if (id == kSteamPageTimer && steam_) {
        OnSteamTimer();
    } else if (id == kHalfLifeResendTimer) {
        host_.SendToMaster(request_.bytes, request_.size);
        // A profile file with a zero period would make the timer fire as fast as the system allows
        // and flood the master; such a profile waits the default 2000 ms.
        host_.SetTimer(kHalfLifeResendTimer, MasterTimeoutMs());
    }
}

void MasterQuery::Shutdown() {
    steamQuery_.reset();
    if (lookingUp_) {
        lookingUp_ = false;
        host_.CancelMasterLookup();
    }
    if (socketOpen_) {
        host_.CloseMasterSocket();
        socketOpen_ = false;
    }
}

void MasterQuery::ShowCount(uint32_t count) {
    char label[64];
    std::snprintf(label, sizeof label, "Received %u Servers", count);
    host_.SetLabelText(label);
}

void MasterQuery::WindDown() {
    LeaveMaster();
    refreshBusy_ = false;
    if (labelShown_ && !note_.empty()) {
        host_.SetLabelText(note_);
        noteShown_ = true;
    } else if (labelShown_) {
        host_.DestroyLabel();
        labelShown_ = false;
    }
    host_.SetToolbarRunning(false);
}

void MasterQuery::EndAttempt() {
    catalogue::GameProfile& profile = *profile_;
    WindDown();
    profile_ = nullptr;
    if (profile.servers.count > 0) {
        // Success whether or not this attempt added anything: the list is refreshed.
        retriesLeft_ = kMasterAttempts;
        host_.ServersGathered(profile);
        host_.SendRefilter();
        host_.SendRefreshAll();
    } else if (retriesLeft_ <= 0) {
        // Counted afresh before the box: a query started inside its modal loop has three attempts.
        retriesLeft_ = kMasterAttempts;
        messages_.Tell(kGiveUp, base::MessageIcon::kExclamation);
    } else {
        host_.PostMasterQuery();
    }
}

// The message comes last: its box runs a modal loop in which the main window's timers and messages
// go on, so the query is over and its busy flag cleared before it shows.
void MasterQuery::Fail(std::string message) {
    WindDown();
    profile_ = nullptr;
    retriesLeft_ = kMasterAttempts;
    host_.SendRefilter();
    messages_.Tell(message, base::MessageIcon::kNone);
}

}  // namespace net
