// The master server query: attempts, retries, list datagrams and the end of a query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "catalogue/profiles.h"
#include "net/master_list.h"

namespace net {

// Timer ids on the main window and their periods.
constexpr int kMasterAttemptTimer = 1;   // ends an attempt
constexpr int kHalfLifeResendTimer = 4;  // re-sends a lost Half-Life continuation request
constexpr uint32_t kFirstReplyWaitMs = 5000;
constexpr uint32_t kListQuietMs = 2000;
constexpr uint32_t kHalfLifeBatchWaitMs = 5000;
constexpr uint32_t kDefaultMasterTimeoutMs = 2000;  // re-send period when a profile has none
constexpr int kMasterAttempts = 3;
constexpr uint32_t kMasterLookupWaitMs = 10000;  // a host name that takes longer counts as unknown
constexpr char kMasterNotFoundFormat[] = "Could not find the master server \"%s\"!";

// The platform side of a master query (the main window on Windows; a fake in tests). Every call is
// made on the user-interface thread.
class MasterQueryHost {
  public:
    virtual ~MasterQueryHost() = default;

    // Creates the UDP socket and registers it for the master socket events. Returns 0, or the
    // socket error code when no socket could be made.
    virtual int OpenMasterSocket() = 0;
    // Connects the socket to the master: `address` is dotted IPv4 text (no name lookup).
    virtual bool ConnectMasterSocket(const char* address, uint16_t port) = 0;
    // Starts looking a master host name up without blocking; the answer must come back through
    // MasterQuery::OnMasterLookedUp. False when no lookup could be started.
    virtual bool LookUpMaster(const std::string& name) = 0;
    // Abandons a lookup under way (its answer, should it still come, must be dropped).
    virtual void CancelMasterLookup() = 0;
    virtual bool SendToMaster(const uint8_t* data, size_t size) = 0;
    // Receives one datagram of at most `capacity` bytes: its size, or -1 on error.
    virtual int ReceiveFromMaster(uint8_t* buffer, size_t capacity) = 0;
    virtual void CloseMasterSocket() = 0;

    // Starts (or restarts) a main-window timer with the given period; stops it.
    virtual void SetTimer(int id, uint32_t periodMs) = 0;
    virtual void KillTimer(int id) = 0;

    // The label on the server list pane: created with its first text (and repainted with the main
    // window), changed, destroyed.
    virtual void CreateLabel(std::string_view text) = 0;
    virtual void SetLabelText(std::string_view text) = 0;
    virtual void DestroyLabel() = 0;

    // Toolbar states: running = "Stop Server refresh" enabled and the refresh and master buttons
    // greyed; idle = the reverse.
    virtual void SetToolbarRunning(bool running) = 0;
    // Tells the server list pane and the player pane to delete their rows.
    virtual void ClearListRows() = 0;
    // WM_APP_REFILTER (redisplay), WM_APP_REFRESH with mode 0 (refresh all servers), and a new
    // WM_APP_MASTERQUERY for the next attempt.
    virtual void SendRefilter() = 0;
    virtual void SendRefreshAll() = 0;
    virtual void PostMasterQuery() = 0;
    // An attempt ended with servers in the profile's list: the list is to be stored.
    virtual void ServersGathered(const catalogue::GameProfile& profile) {}
};

// One per program. Call order from the main window:
//   WM_APP_MASTERQUERY                  -> Start(current profile)
//   WM_APP_MASTERSOCKET, FD_READ        -> OnSocketRead()   (other events are ignored)
//   WM_TIMER 1 or 4                     -> OnTimer(id)
//   closing the main window             -> Shutdown()
//
// An attempt: the busy flag is set, the panes lose their rows, the request of the profile's game
// kind goes to its master, and timer 1 ends the attempt 5000 ms later (2000 ms after the latest list
// datagram). At the end a non-empty server list starts a refresh of all servers; an empty one starts
// the next attempt, and after the third the user is told "I've tried 3 times to contact the
// master\nserver, I give up!!".
//
// A master named by a host name is looked up first, without blocking the window (timer 1 limits the
// lookup to 10 s); a name that does not resolve ends the query like a failed connect, with
// "Could not find the master server "<name>"!".
//
// When the socket cannot be made ("Socket Error: %d"), connected ("Could not connect!") or the
// request sent ("Send error"), the message is shown and the query winds down at once as at the end
// of an attempt: timers stopped, socket closed, busy flag cleared, label gone, toolbar idle. No
// further attempt follows (the same failure would only repeat the message), the attempts are counted
// afresh for the next query, and the panes are told to redisplay the list they cleared.
class MasterQuery {
  public:
    // `refreshBusy` is the program's one busy flag, shared with the status refresh.
    MasterQuery(bool& refreshBusy, MasterQueryHost& host, base::MessageSink& messages);

    // Starts an attempt on `profile`, which must stay alive and in place until the attempt ends (tab
    // changes are refused while the busy flag is set). Does nothing and returns false while the busy
    // flag is set; true when an attempt is under way after the call.
    bool Start(catalogue::GameProfile& profile);
    // The answer of LookUpMaster: the master's IPv4 address in network byte order, or nothing.
    void OnMasterLookedUp(std::optional<uint32_t> addressNetworkOrder);
    bool lookingUp() const { return lookingUp_; }
    // Reads one list datagram from the socket and handles it by the profile's game kind.
    void OnSocketRead();
    // Handles the same datagram without the socket (the bytes as received).
    void HandleDatagram(const uint8_t* data, size_t size);
    // Timer 1 ends the attempt; timer 4 re-sends the last Half-Life continuation request and waits the
    // profile's masterTimeoutMs (2000 ms when that is 0).
    void OnTimer(int id);
    // Closes the socket of a running attempt (the program is closing).
    void Shutdown();

    bool running() const { return profile_ != nullptr; }
    bool socketOpen() const { return socketOpen_; }
    int retriesLeft() const { return retriesLeft_; }
    const MasterRequest& lastRequest() const { return request_; }

  private:
    void WindDown();
    void EndAttempt();
    void Fail(std::string_view message);
    void ShowCount(uint32_t count);
    bool ConnectAndSend(const char* dottedAddress);
    void FailLookup();

    bool& refreshBusy_;
    MasterQueryHost& host_;
    base::MessageSink& messages_;
    catalogue::GameProfile* profile_ = nullptr;
    int retriesLeft_ = kMasterAttempts;
    bool firstDatagramSeen_ = false;
    bool socketOpen_ = false;
    bool labelShown_ = false;
    bool lookingUp_ = false;
    std::string masterHost_;
    MasterRequest request_;
    uint8_t buffer_[kMasterBufferSize] = {};
};

}  // namespace net
