// The user-interface side of the status engine for tests: records every call and imitates the
// server list pane's marking, parsing and removal closely enough to drive whole cycles.
#pragma once

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/records.h"
#include "base/info_keys.h"
#include "catalogue/catalogue.h"
#include "net/status_engine_host.h"
#include "net/status_parser.h"

namespace testing_support {

class FakeStatusHost : public net::StatusHost {
  public:
    explicit FakeStatusHost(catalogue::ServerList& list) : list_(list) {}

    // Selection: the "selected rows" of the server list pane.
    std::vector<catalogue::ServerRecord*> selected;
    bool monitorActive = false;

    uint32_t MarkSelectedForRefresh() override {
        Log("mark-selected");
        for (auto* r : selected)
            Mark(*r, true);
        return static_cast<uint32_t>(selected.size());
    }
    uint32_t MarkFirstSelectedForRefresh() override {
        Log("mark-first");
        if (!selected.empty())
            Mark(*selected.front(), true);
        return static_cast<uint32_t>(selected.size());
    }
    void AnnounceFullRefresh() override { Log("full-refresh"); }
    void AnnounceQuery(catalogue::ServerRecord& r) override {
        Log("announce");
        announced.push_back(&r);
    }
    bool MonitorActive() override { return monitorActive; }
    void ClearRawReply() override {
        Log("clear-raw");
        rawReply.clear();
    }

    // Parsing as the pane does it, reduced to what the engine depends on: Half-Life replies set the
    // two arrival markers, text replies take sv_hostname/hostname, and a reply without a name or an
    // empty buffer applies the no-reply rule. The Steam kinds' replies are parsed as the pane does.
    uint32_t kind = 1;
    void ParseReply(catalogue::ServerRecord& r, const uint8_t* data, size_t size, bool keepRaw) override {
        parses.push_back({&r, std::string(reinterpret_cast<const char*>(data), size), keepRaw, data[size] == 0});
        if (catalogue::IsSteamGame(kind)) {
            static const catalogue::Catalogue games = [] {
                catalogue::Catalogue c;
                c.buildCatalogue();
                return c;
            }();
            net::RawReply raw;
            raw.CopyFrom(reinterpret_cast<const uint8_t*>(rawReply.data()), rawReply.size());
            net::parseReply(r, data, size, kind, games, keepRaw ? &raw : nullptr);
            if (keepRaw)
                rawReply.assign(raw.Text());
            return;
        }
        if (size > 0 && kind == 2) {
            if (size > 4 && data[4] == 'm') {
                r.pure = 1;
                base::CopyText(r.hostName, "hl server");
                if (keepRaw)
                    rawReply.assign(reinterpret_cast<const char*>(data), size);
            } else if (size > 4 && data[4] == 'D') {
                r.captureLimit = 1;
            }
        } else if (size > 0) {
            std::string_view text = base::ReplyText(data, size);
            auto name = base::lookupKey(text, "sv_hostname");
            if (!name)
                name = base::lookupKey(text, "hostname");
            r.hostName[0] = '\0';
            if (name) {
                base::CopyText(r.hostName, *name);
                if (keepRaw)
                    rawReply.assign(text);
            }
        }
        if (!(r.hostName[0] && size > 0))
            catalogue::MarkUnanswered(r);
    }
    void RowChanged(catalogue::ServerRecord& r) override { rowChanges.push_back(&r); }

    void RemoveStale(catalogue::ServerRecord& r) override {
        removed.push_back(r.addressText);
        catalogue::removeServer(list_, &r);
    }
    void CycleFinished() override { Log("cycle-finished"); }
    bool RawReplyHasText() override { return !rawReply.empty(); }
    void ShowServerInformation() override {
        Log("server-information");
        shownInformation = rawReply;
    }

    void SetRefreshRunning(bool running) override { refreshRunning = running; }

    void ShowProgress(uint32_t range, uint32_t step) override {
        Log("show-progress");
        progressRange = range;
        progressStep = step;
        progressShown = true;
    }
    void HideProgress() override {
        Log("hide-progress");
        progressShown = false;
    }
    void PostProgress(uint32_t position) override {
        std::lock_guard guard(mutex_);
        progressPositions.push_back(position);
    }
    void ShowAnswered(uint32_t answered, uint32_t queried, bool sent) override {
        answers.push_back({answered, queried, sent});
    }
    void PostRepliesWaiting() override {
        repliesPosts += 1;
        if (onRepliesWaiting)
            onRepliesWaiting();
    }

    void ArmCloseTimer(uint32_t periodMs) override {
        Log("arm-timer");
        timerMs = periodMs;
        if (onArmTimer)
            onArmTimer(periodMs);
    }
    void KillCloseTimer() override {
        timerMs.reset();
        if (onKillTimer)
            onKillTimer();
    }
    void PostWorkerFinished() override {
        workerFinishedPosts += 1;
        if (onWorkerFinished)
            onWorkerFinished();
    }

    std::vector<std::string> Events() {
        std::lock_guard guard(mutex_);
        return events;
    }
    std::vector<uint32_t> ProgressPositions() {
        std::lock_guard guard(mutex_);
        return progressPositions;
    }
    bool Saw(const std::string& event) {
        std::lock_guard guard(mutex_);
        for (auto& e : events)
            if (e == event)
                return true;
        return false;
    }

    struct Parse {
        catalogue::ServerRecord* record;
        std::string bytes;
        bool keepRaw;
        bool terminated;  // a zero byte followed the reply
    };
    std::vector<Parse> parses;
    std::vector<catalogue::ServerRecord*> rowChanges;
    std::vector<catalogue::ServerRecord*> announced;
    std::vector<std::string> removed;
    std::optional<bool> refreshRunning;
    std::optional<uint32_t> timerMs;
    std::string rawReply;
    std::string shownInformation;
    uint32_t progressRange = 0;
    uint32_t progressStep = 0;
    bool progressShown = false;
    struct Answered {
        uint32_t answered, queried;
        bool sent;
        bool operator==(const Answered&) const = default;
    };
    std::vector<Answered> answers;
    std::atomic<int> workerFinishedPosts{0};
    std::atomic<int> repliesPosts{0};
    std::function<void()> onWorkerFinished;  // called on the worker thread
    std::function<void()> onRepliesWaiting;  // called on the receiving thread
    std::function<void(uint32_t)> onArmTimer;
    std::function<void()> onKillTimer;

  private:
    void Log(const char* event) {
        std::lock_guard guard(mutex_);
        events.emplace_back(event);
    }
    void Mark(catalogue::ServerRecord& r, bool toPanes) {
        r.refreshPending = 1;
        r.awaitingReply = 0;
        if (toPanes)
            announced.push_back(&r);
    }

    catalogue::ServerList& list_;
    std::mutex mutex_;
    std::vector<std::string> events;
    std::vector<uint32_t> progressPositions;
};

}  // namespace testing_support
