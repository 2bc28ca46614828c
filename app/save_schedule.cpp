// The coalescing rule of the saves made while the program runs.
#include "app/save_schedule.h"

#include <algorithm>

namespace app {

namespace {

bool IsServerList(const SaveItem& item) {
    return item.file == catalogue::StoredFile::kServerList;
}

}  // namespace

void SaveSchedule::Changed(const SaveItem& item, uint64_t nowMs) {
    // A file that waits keeps its time: pushing it back on every change would put off the write for
    // as long as changes keep coming.
    auto spacing = notBefore_.find(item);
    uint64_t due = nowMs + delayMs_;
    if (spacing != notBefore_.end())
        due = std::max(due, spacing->second);
    due_.try_emplace(item, due);
}

void SaveSchedule::Written(const SaveItem& item, uint64_t startedMs, uint64_t endedMs, bool ok) {
    const uint64_t took = endedMs > startedMs ? endedMs - startedMs : 0;
    notBefore_[item] = endedMs + took * (kWriteTimeShare - 1);
    if (!ok) {
        // The file still holds less than the program: it waits, whatever changes meanwhile.
        due_[item] = std::max(endedMs + kRetryAfterFailureMs, notBefore_[item]);
    }
}

std::vector<SaveItem> SaveSchedule::TakeDue(uint64_t nowMs, bool serversHeld) {
    std::vector<SaveItem> taken;
    for (auto it = due_.begin(); it != due_.end();) {
        if (it->second <= nowMs && !(serversHeld && IsServerList(it->first))) {
            taken.push_back(it->first);
            it = due_.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

std::optional<uint64_t> SaveSchedule::NextWakeMs(uint64_t nowMs, bool serversHeld) const {
    std::optional<uint64_t> wake;
    for (const auto& [item, due] : due_) {
        uint64_t at = serversHeld && IsServerList(item) ? std::max(due, nowMs + kHeldRecheckMs) : due;
        uint64_t in = at > nowMs ? at - nowMs : 0;
        wake = wake ? std::min(*wake, in) : in;
    }
    return wake;
}

}  // namespace app
