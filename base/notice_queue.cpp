// The queue of notices given from inside handlers.
#include "base/notice_queue.h"

#include "base/text.h"

namespace base {

bool NoticeQueue::Add(std::string_view text, MessageIcon icon, std::string_view address, uint32_t port) {
    std::string server(address);
    for (char& c : server)
        c = ToLowerAscii(c);
    if (!given_.emplace(std::string(text), std::move(server), port).second)
        return false;
    waiting_.push_back(Notice{std::string(text), icon});
    return true;
}

std::optional<Notice> NoticeQueue::Take() {
    if (waiting_.empty())
        return std::nullopt;
    Notice notice = std::move(waiting_.front());
    waiting_.pop_front();
    return notice;
}

}  // namespace base
