// The master query's attempts: start, list datagrams by game kind, timers and the end of an attempt.
#include "net/master_query.h"

#include <cstdio>
#include <cstring>

#include "catalogue/catalogue.h"
#include "net/datagram_socket.h"

namespace net {

namespace {

constexpr char kGiveUp[] = "I've tried 3 times to contact the master\nserver, I give up!!";

}  // namespace

MasterQuery::MasterQuery(bool& refreshBusy, MasterQueryHost& host, base::MessageSink& messages)
    : refreshBusy_(refreshBusy), host_(host), messages_(messages) {}

bool MasterQuery::Start(catalogue::GameProfile& profile) {
    if (refreshBusy_)
        return false;
    refreshBusy_ = true;
    profile_ = &profile;
    host_.SetToolbarRunning(true);
    host_.ClearListRows();

    --retriesLeft_;
    firstDatagramSeen_ = false;

    if (int error = host_.OpenMasterSocket()) {
        char text[64];
        std::snprintf(text, sizeof text, "Socket Error: %d", error);
        Fail(text);
        return false;
    }
    host_.CreateLabel("Contacting Master Server");
    labelShown_ = true;
    socketOpen_ = true;

    masterHost_ = catalogue::MasterHostOf(profile);
    // Only a name is looked up; an address (or nothing at all) goes to the socket as it stands.
    if (masterHost_.empty() || ParseDottedAddress(masterHost_.c_str()))
        return ConnectAndSend(masterHost_.c_str());
    char label[300];
    std::snprintf(label, sizeof label, "Looking up %s", masterHost_.c_str());
    host_.SetLabelText(label);
    if (!host_.LookUpMaster(masterHost_)) {
        FailLookup();
        return false;
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
    Fail(text);
}

bool MasterQuery::ConnectAndSend(const char* dottedAddress) {
    catalogue::GameProfile& profile = *profile_;
    if (!host_.ConnectMasterSocket(dottedAddress, static_cast<uint16_t>(profile.masterPort))) {
        Fail("Could not connect!");
        return false;
    }

    request_ = MasterRequest();
    char label[64];
    std::snprintf(label, sizeof label, "Master Query %d", kMasterAttempts - retriesLeft_);
    host_.SetLabelText(label);

    request_ = BuildMasterRequest(profile.kind, profile.protocol);
    if (!host_.SendToMaster(request_.bytes, request_.size)) {
        Fail("Send error");
        return false;
    }
    host_.SetTimer(kMasterAttemptTimer, kFirstReplyWaitMs);
    return true;
}

void MasterQuery::OnSocketRead() {
    if (!running() || !socketOpen_)
        return;
    // The buffer is cleared before the first datagram of an attempt. The readers never look past the
    // datagram just received, so what an earlier, longer datagram left behind is never read.
    if (!firstDatagramSeen_) {
        firstDatagramSeen_ = true;
        std::memset(buffer_, 0, sizeof buffer_);
    }
    int size = host_.ReceiveFromMaster(buffer_, sizeof buffer_);
    if (size < 0)
        return;
    HandleDatagram(buffer_, static_cast<size_t>(size) < sizeof buffer_ ? static_cast<size_t>(size) : sizeof buffer_);
}

void MasterQuery::HandleDatagram(const uint8_t* data, size_t size) {
    if (!running())
        return;
    catalogue::GameProfile& profile = *profile_;
    ShowCount(profile.servers.count);

    switch (catalogue::ProtocolKindOf(profile.kind)) {
        case catalogue::kEliteForce: {
            MergeMasterEntries(profile.servers, ReadHexList(data, size).entries);
            // Any datagram, even one too short to hold a list, extends the attempt.
            host_.KillTimer(kMasterAttemptTimer);
            host_.SetTimer(kMasterAttemptTimer, kListQuietMs);
            break;
        }
        case catalogue::kQuake3:
        case catalogue::kWolfenstein:
        case catalogue::kJediKnight2:
        case catalogue::kSoldierOfFortune2: {
            if (size <= kMasterHeaderLimit)
                break;
            MergeMasterEntries(profile.servers, ReadByteList(data, size).entries);
            host_.KillTimer(kMasterAttemptTimer);
            host_.SetTimer(kMasterAttemptTimer, kListQuietMs);
            break;
        }
        case catalogue::kHalfLife: {
            MasterListReply batch = ReadHalfLifeBatch(data, size);
            MergeMasterEntries(profile.servers, batch.entries);
            if (batch.HasNextBatch() && profile.servers.count < profile.maxServers) {
                request_ = BuildHalfLifeRequest(batch.batchId);
                host_.SendToMaster(request_.bytes, request_.size);
                host_.SetTimer(kHalfLifeResendTimer, kHalfLifeBatchWaitMs);
            } else {
                ShowCount(profile.servers.count);
                host_.KillTimer(kHalfLifeResendTimer);
                EndAttempt();
            }
            break;
        }
        default:
            break;
    }
}

void MasterQuery::OnTimer(int id) {
    if (!running())
        return;
    if (id == kMasterAttemptTimer && lookingUp_) {
        lookingUp_ = false;
        host_.CancelMasterLookup();
        FailLookup();
    } else if (id == kMasterAttemptTimer) {
        EndAttempt();
    } else if (id == kHalfLifeResendTimer) {
        host_.SendToMaster(request_.bytes, request_.size);
        // A profile file with a zero period would make the timer fire as fast as the system allows
        // and flood the master; such a profile waits the default 2000 ms.
        uint32_t period = profile_->masterTimeoutMs ? profile_->masterTimeoutMs : kDefaultMasterTimeoutMs;
        host_.SetTimer(kHalfLifeResendTimer, period);
    }
}

void MasterQuery::Shutdown() {
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
    if (lookingUp_) {
        lookingUp_ = false;
        host_.CancelMasterLookup();
    }
    host_.KillTimer(kMasterAttemptTimer);
    host_.KillTimer(kHalfLifeResendTimer);
    if (socketOpen_) {
        host_.CloseMasterSocket();
        socketOpen_ = false;
    }
    refreshBusy_ = false;
    if (labelShown_) {
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
        messages_.Tell(kGiveUp, base::MessageIcon::kExclamation);
        retriesLeft_ = kMasterAttempts;
    } else {
        host_.PostMasterQuery();
    }
}

void MasterQuery::Fail(std::string_view message) {
    messages_.Tell(message, base::MessageIcon::kNone);
    WindDown();
    profile_ = nullptr;
    retriesLeft_ = kMasterAttempts;
    host_.SendRefilter();
}

}  // namespace net
