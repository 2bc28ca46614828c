// What the status refresh engine asks of the user interface, and how it starts its threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "catalogue/records.h"

namespace net {

// The user-interface side of a refresh. Every member runs on the user-interface thread, called from
// the engine's handlers, except those marked "worker thread" or "receiving thread": they are called
// from the engine's own threads and must only post to the user-interface thread (the Win32 layer
// posts window messages). None may run a modal loop (message box, dialog) before it returns: what it
// must show waits until the engine's handler has finished (see StatusEngine, "Modal loops").
class StatusHost {
  public:
    virtual ~StatusHost() = default;

    // Selection (start of a cycle).
    // Mode 1: mark every selected row refreshPending (clearing awaitingReply) and announce each to the
    // buddy and player panes; returns the number of selected rows (server list pane WM_USER+10).
    virtual uint32_t MarkSelectedForRefresh() = 0;
    // Mode 6: the same for the first selected row only; returns the number of selected rows
    // (WM_USER+12).
    virtual uint32_t MarkFirstSelectedForRefresh() = 0;
    // Mode 0: a full refresh starts; the buddy pane forgets where buddies were seen (WM_USER+15).
    virtual void AnnounceFullRefresh() = 0;
    // Modes 3 and 5: this record will be queried (buddy pane WM_USER+20).
    virtual void AnnounceQuery(catalogue::ServerRecord& record) = 0;
    // True while the server monitor dialog is monitoring.
    virtual bool MonitorActive() = 0;
    // Mode 6: empty the raw-reply buffer the parser copies into when keepRaw is set.
    virtual void ClearRawReply() = 0;

    // Replies.
    // Parse a reply into the record (server list pane WM_USER+110 with wParam keepRaw). `data` points
    // at a zero-filled buffer of kReceiveBufferSize + 1 bytes holding `size` reply bytes, so the
    // reply is always followed by a zero byte. size 0 is "no reply": the no-reply rule applies. For
    // the Steam kinds each whole reply (info, players, rules) comes by itself, once put together
    // from its split parts: it may then be longer, and is followed by one zero byte.
    virtual void ParseReply(catalogue::ServerRecord& record, const uint8_t* data, size_t size, bool keepRaw) = 0;
    // The record's row changed (WM_USER+500).
    virtual void RowChanged(catalogue::ServerRecord& record) = 0;

    // Closing.
    // Remove a stale record from the view and free it from the list (WM_USER+650). Called only at
    // cycle close, after the worker has ended; the record must not be used afterwards.
    virtual void RemoveStale(catalogue::ServerRecord& record) = 0;
    // The cycle finished: WM_USER+45 and WM_USER+90 to the server list pane, WM_USER+45 to the buddy
    // and player panes, then update the windows.
    virtual void CycleFinished() = 0;
    // Mode 6 end: true when the raw-reply buffer holds text; then show the server information on it
    // (Server Properties dialog) once the handler has returned, on the reply as it is now.
    virtual bool RawReplyHasText() = 0;
    virtual void ShowServerInformation() = 0;

    // A refresh starts (true) or is over (false): the commands that start one are greyed while it
    // runs, and Stop is offered instead.
    virtual void SetRefreshRunning(bool running) = 0;

    // Progress. Shown on the user-interface thread before the worker starts: the static text
    // kRefreshingServersText and a progress bar over the server list pane, range 0..range, step
    // `step`. Hidden (destroyed) when the cycle closes.
    virtual void ShowProgress(uint32_t range, uint32_t step) = 0;
    virtual void HideProgress() = 0;
    // Worker thread: the worker is querying the record at list position `position` (1 = head). The
    // user-interface thread must then show kRefreshingServerFormat with StatusEngine::
    // TakeWalkPosition(), the position reached by then. Only queried records are announced, and only
    // one announcement is outstanding at a time (a thread's queue of posted messages is limited).
    virtual void PostProgress(uint32_t position) = 0;
    // `answered` of the `queried` servers have answered: the bar (and the taskbar button, where the
    // system has one) show it; once the worker has sent everything (`sent`), the text shows
    // kAnsweredFormat with both numbers. Called after each batch of replies and when the worker ends.
    virtual void ShowAnswered(uint32_t answered, uint32_t queried, bool sent) = 0;

    // Receiving thread, or the user-interface thread after a drain that left replies behind: replies
    // wait in the engine's queue, and the user-interface thread must then call
    // StatusEngine::OnRepliesWaiting() (the Win32 layer posts a message, or sets a timer when asked
    // from its own thread so that input and painting come first). The engine asks once when its
    // queue stops being empty and again only after such a drain, so the user-interface thread is
    // never flooded with these.
    virtual void PostRepliesWaiting() = 0;

    // Timer 2 of the main window: arm it with a period, or kill it. On expiry the user-interface
    // thread calls StatusEngine::OnCloseTimer().
    virtual void ArmCloseTimer(uint32_t periodMs) = 0;
    virtual void KillCloseTimer() = 0;
    // Worker thread: the worker has sent everything and is about to end. The user-interface thread
    // must then call StatusEngine::OnWorkerFinished() (the Win32 layer posts a message to do so).
    virtual void PostWorkerFinished() = 0;
};

// A started thread; Join waits until its body has returned.
class WorkerThread {
  public:
    virtual ~WorkerThread() = default;
    virtual void Join() = 0;
};

// What a thread of the engine does: the worker sends and paces the requests; the receiver waits on
// the status socket and takes each datagram in as it arrives (a platform may run it at a higher
// priority, so that arrival times are taken promptly).
enum class ThreadRole { kWorker, kReceiver };

// Starts threads (std::thread natively, CreateThread on Windows). nullptr when none can be started.
class ThreadStarter {
  public:
    virtual ~ThreadStarter() = default;
    virtual std::unique_ptr<WorkerThread> Start(ThreadRole role, std::function<void()> body) = 0;
};

}  // namespace net
