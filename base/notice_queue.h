// Notices that code inside a network, timer or engine handler must give the user: they wait here and
// are shown once the handler has returned, because a message box runs a modal loop.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

#include "base/message_sink.h"

namespace base {

struct Notice {
    std::string text;
    MessageIcon icon = MessageIcon::kNone;
};

// A notice is about one server (its address text, compared without regard to case, and port) or
// about none (empty address). The same text about the same server is queued at most once per round;
// a round is a refresh (NewRound when one starts).
class NoticeQueue {
  public:
    // False when nothing was queued: the notice was given in this round already.
    bool Add(std::string_view text, MessageIcon icon, std::string_view address = {}, uint32_t port = 0);
    // The oldest waiting notice, or nothing.
    std::optional<Notice> Take();
    bool empty() const { return waiting_.empty(); }
    // A refresh starts: every notice may be given once more (waiting ones still wait).
    void NewRound() { given_.clear(); }

  private:
    std::deque<Notice> waiting_;
    std::set<std::tuple<std::string, std::string, uint32_t>> given_;
};

}  // namespace base
