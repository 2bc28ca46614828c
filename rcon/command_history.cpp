// The history keeps the command box's order (sorted without regard to letter case) so that the box
// and the file never disagree; a line the byte bound cut is not a command the user typed.
#include "rcon/command_history.h"

#include <algorithm>

#include "base/text.h"

namespace rcon {

void CommandHistory::Load(std::string_view file) {
    entries_.clear();
    bool cut = file.size() > kHistoryFileBytes;
    std::string_view text = file.substr(0, kHistoryFileBytes);
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos && cut)
            break;
        end = std::min(end, text.size());
        Add(text.substr(at, end - at));
        at = end + 1;
    }
}

std::string CommandHistory::Save() const {
    std::string file;
    for (const std::string& entry : entries_)
        file.append(entry).append("\r\n");
    return file;
}

bool CommandHistory::Add(std::string_view command) {
    auto same = [command](const std::string& e) { return base::EqualsNoCase(e, command); };
    if (command.empty() || command.size() > kLongestCommand || entries_.size() >= kMostHistoryEntries ||
        std::any_of(entries_.begin(), entries_.end(), same))
        return false;
    auto before = [](const std::string& a, std::string_view b) { return base::CompareNoCase(a, b) < 0; };
    entries_.emplace(std::lower_bound(entries_.begin(), entries_.end(), command, before), command);
    return true;
}

}  // namespace rcon
