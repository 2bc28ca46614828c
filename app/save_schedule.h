// When the lists are written while the program runs: a change asks for its file to be written soon,
// and changes close together make one write.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "catalogue/profiles.h"

namespace app {

// One file: "gamesets.vexar" (file number 0), or the server list or buddy list of the profile with
// that file number.
struct SaveItem {
    catalogue::StoredFile file = catalogue::StoredFile::kProfiles;
    uint32_t fileNumber = 0;
    auto operator<=>(const SaveItem&) const = default;
};

constexpr uint64_t kSaveDelayMs = 2000;
constexpr uint64_t kHeldRecheckMs = 1000;
constexpr uint64_t kRetryAfterFailureMs = 30000;
// A file's writes take at most this share of the time: after a write of d ms, the next one waits
// (kWriteTimeShare - 1) * d ms more.
constexpr uint64_t kWriteTimeShare = 20;

// The coalescing rule. A change that a file does not hold yet makes the file due one delay later;
// the changes made until then ride along, and a later change never puts the write off. So a file is
// written at most once per delay however often it changes, and a kill loses at most the changes of
// the last delay. A file that takes long to write (a server list of 30,000 servers) is spaced out
// further, so that its writes never take more than 1/kWriteTimeShare of the program's time. A server
// list is never taken while a master query or refresh holds the records (serversHeld): it stays due
// and is taken once they are free. A write that failed is tried again kRetryAfterFailureMs later.
// Times are milliseconds of a monotonic clock.
class SaveSchedule {
  public:
    explicit SaveSchedule(uint64_t delayMs = kSaveDelayMs) : delayMs_(delayMs) {}

    // The file must be written: due one delay from now (or once its spacing allows), unless it
    // waits already.
    void Changed(const SaveItem& item, uint64_t nowMs);
    // A taken item was written from startedMs to endedMs, or failed to be (it waits again then).
    void Written(const SaveItem& item, uint64_t startedMs, uint64_t endedMs, bool ok);
    // Takes the items due at nowMs off the schedule ("gamesets.vexar" first); server lists stay
    // while they are held.
    std::vector<SaveItem> TakeDue(uint64_t nowMs, bool serversHeld);
    // Forgets everything that waits (the close and the session's end write every file themselves).
    void Clear() { due_.clear(); }
    // Milliseconds from nowMs until something may be due: the earliest due time, held server lists
    // looked at again every kHeldRecheckMs; nothing when nothing waits.
    std::optional<uint64_t> NextWakeMs(uint64_t nowMs, bool serversHeld) const;

  private:
    uint64_t delayMs_;
    std::map<SaveItem, uint64_t> due_;        // when each waiting file is due
    std::map<SaveItem, uint64_t> notBefore_;  // the earliest next write of a file, after its last one
};

}  // namespace app
