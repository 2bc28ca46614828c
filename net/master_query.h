// The master server query: attempts, retries, list datagrams and the end of a query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "catalogue/profiles.h"
#include "net/clock.h"
#include "net/gamespy_master.h"
#include "net/master_list.h"
#include "net/steam_master.h"

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
// Steam masters: timer 4 wakes the list query (the next page, a page asked again, the next filter),
// and the label says so when a master stopped answering after it had begun its list.
constexpr int kSteamPageTimer = kHalfLifeResendTimer;
constexpr char kSteamStoppedFormat[] = "The master stopped answering after %u servers";

// The platform side of a master query (the main window on Windows; a fake in tests). Every call is
// made on the user-interface thread.
class MasterQueryHost {
  public:
    virtual ~MasterQueryHost() = default;

    // Creates the socket (UDP, or TCP for a `stream` master) and registers it for the master socket
    // events. Returns 0, or the socket error code when no socket could be made. Only one master
    // socket exists at a time: events of an earlier one must not reach the query.
    virtual int OpenMasterSocket(bool stream) = 0;
    // Connects the socket to the master: `address` is dotted IPv4 text (no name lookup). A TCP
    // connect that is still under way counts as done; its outcome comes through OnSocketConnected.
    virtual bool ConnectMasterSocket(const char* address, uint16_t port) = 0;
    // Starts looking a master host name up without blocking; the answer must come back through
    // MasterQuery::OnMasterLookedUp. False when no lookup could be started.
    virtual bool LookUpMaster(const std::string& name) = 0;
    // Abandons a lookup under way (its answer, should it still come, must be dropped).
    virtual void CancelMasterLookup() = 0;
    virtual bool SendToMaster(const uint8_t* data, size_t size) = 0;
    // Receives one datagram (or what the stream holds) of at most `capacity` bytes: its size, or -1
    // on error and when nothing is waiting.
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

// The master socket of a host seen as a datagram socket, for the Steam master's list query: it is
// connected, so what it receives comes from `master`; it never waits.
class MasterHostSocket : public DatagramSocket {
  public:
    MasterHostSocket(MasterQueryHost& host, Endpoint master) : host_(host), master_(master) {}
    bool SendTo(const Endpoint&, const void* data, size_t size) override;
    int ReceiveFrom(void* buffer, size_t capacity, Endpoint* from) override;
    bool WaitReadable(int) override { return false; }

  private:
    MasterQueryHost& host_;
    Endpoint master_;
};

// One per program. Call order from the main window:
//   WM_APP_MASTERQUERY                  -> Start(current profile)
//   WM_APP_MASTERSOCKET, FD_READ        -> OnSocketRead()
//   WM_APP_MASTERSOCKET, FD_CONNECT     -> OnSocketConnected(error)   (TCP masters)
//   WM_APP_MASTERSOCKET, FD_CLOSE       -> OnSocketClosed()           (TCP masters)
//   WM_TIMER 1 or 4                     -> OnTimer(id)
//   closing the main window             -> Shutdown()
//
// An attempt: the busy flag is set, the panes lose their rows, and the masters are asked one after
// the other, their lists merged into the profile's (an address listed by several is listed once).
// Each gets the request of the profile's game kind, and timer 1 ends its part 5000 ms later (2000
// ms after the latest list datagram). Unreal Tournament's masters speak GameSpy over TCP: the
// greeting's challenge is answered with its validation and the list request, and the "\ip\" list
// is read until "\final\", until the master closes, or until it is quiet as above. Every list stops
// at the profile's maxServers (999 when a damaged profile says 0). At the end a non-empty server
// list starts a refresh of all servers; an empty one starts the next attempt, and after the third
// the user is told "I've tried 3 times to contact the master\nserver, I give up!!".
//
// The Steam games' masters are asked once for each of the game's filters, in turn, each on a socket
// of its own, page by page (net/steam_master.h: paced, a page that does not come asked again at the
// profile's masterTimeoutMs, up to three times). The first request of the next filter waits the gap
// between pages too, and the profile's list stops at maxServers across filters and masters. A master that never
// answers counts as silent (the attempt goes on as after a time-out); one that stops answering after
// it began its list ends its part with what came: its other filters are not asked, and once the
// attempt has ended the label stays, saying "The master stopped answering after N servers", until
// the next query.
//
// A master named by a host name is looked up first, without blocking the window (timer 1 limits the
// lookup to 10 s); a name that does not resolve ends the query like a failed connect, with
// "Could not find the master server "<name>"!".
//
// A master that cannot be found, connected ("Could not connect!") or sent to ("Send error") gives
// way to the next. When none of an attempt's masters could be reached, or no socket could be made
// ("Socket Error: %d"), the query winds down at once as at the end of an attempt (timers stopped,
// socket closed, busy flag cleared, label gone, toolbar idle) and then tells the first failure: the
// message box runs a modal loop in which the main window's timers go on, so nothing of the query may
// still be armed or held while it shows. No further attempt follows, the attempts are counted afresh
// for the next query, and the panes are told to redisplay the list they cleared.
class MasterQuery {
  public:
    // `refreshBusy` is the program's one busy flag, shared with the status refresh.
    MasterQuery(bool& refreshBusy, MasterQueryHost& host, base::MessageSink& messages, Clock& clock);

    // Starts an attempt on `profile`, which must stay alive and in place until the attempt ends (tab
    // changes are refused while the busy flag is set). Does nothing and returns false while the busy
    // flag is set; true when an attempt is under way after the call.
    // `masters` are asked in order; none means the profile's own master. `steamFilters` are the
    // Steam master filters of the profile's game (a Steam game without any asks with an empty one).
    bool Start(catalogue::GameProfile& profile,
               std::vector<catalogue::MasterServer> masters = {},
               std::vector<std::string> steamFilters = {});
    // The answer of LookUpMaster: the master's IPv4 address in network byte order, or nothing.
    void OnMasterLookedUp(std::optional<uint32_t> addressNetworkOrder);
    bool lookingUp() const { return lookingUp_; }
    // Reads one list datagram from the socket and handles it by the profile's game kind.
    void OnSocketRead();
    // Handles the same datagram without the socket (the bytes as received).
    void HandleDatagram(const uint8_t* data, size_t size);
    // A TCP master's connect finished (0) or failed (the socket error).
    void OnSocketConnected(int error);
    // A TCP master closed the connection: what it still holds is read, and its part is over.
    void OnSocketClosed();
    // Timer 1 ends the attempt; timer 4 re-sends the last Half-Life continuation request and waits the
    // profile's masterTimeoutMs (2000 ms when that is 0), or wakes a Steam master's list query.
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
    void Fail(std::string message);
    void ShowCount(uint32_t count);
    bool BeginMaster();
    bool ConnectAndSend(const char* dottedAddress);
    bool MasterFailed(std::string message);
    // Cancels the lookup, the attempt's timers and the socket of the master being asked.
    void LeaveMaster();
    bool NextMaster();
    void FailLookup();
    void ReadStream(const uint8_t* data, size_t size);
    void Merge(const std::vector<MasterEntry>& entries);
    uint32_t MaxServers() const;
    bool Full() const;
    uint32_t MasterTimeoutMs() const;
    // Steam masters (master_query_steam.cpp).
    bool AskSteamFilter();
    void PollSteam();
    void OnSteamTimer();
    void SteamFilterOver();
    void SteamMasterStopped();
    void ArmSteamTimer();

    bool& refreshBusy_;
    MasterQueryHost& host_;
    base::MessageSink& messages_;
    Clock& clock_;
    catalogue::GameProfile* profile_ = nullptr;
    int retriesLeft_ = kMasterAttempts;
    bool firstDatagramSeen_ = false;
    bool socketOpen_ = false;
    bool labelShown_ = false;
    bool noteShown_ = false;  // the label outlives the attempt with `note_`
    bool lookingUp_ = false;
    bool stream_ = false;       // this kind's masters speak GameSpy over TCP
    bool reachedAny_ = false;   // a master of this attempt was connected and asked
    std::string firstFailure_;  // what the first master that could not be reached gave
    std::string note_;          // what the label says at the end of the attempt
    std::vector<catalogue::MasterServer> masters_;
    size_t masterIndex_ = 0;
    uint32_t masterRun_ = 0;  // counts the masters asked, so that a handler can tell its own is over
    GameSpyListReader gamespy_;
    bool steam_ = false;  // this kind's masters speak the Steam master protocol
    std::vector<std::string> steamFilters_;
    size_t filterIndex_ = 0;
    bool steamAnswered_ = false;  // the master being asked sent a page in this attempt
    std::string steamAddress_;    // its dotted address
    std::unique_ptr<MasterHostSocket> steamSocket_;
    std::unique_ptr<SteamMasterQuery> steamQuery_;  // none while the next filter waits its turn
    std::string masterHost_;
    MasterRequest request_;
    uint8_t buffer_[kMasterBufferSize] = {};
};

}  // namespace net
