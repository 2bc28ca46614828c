// A game's remote-console command history: the command box's entries and the file that keeps them
// ("user_" + the game's command file name, one command a line, each ending in CR LF).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rcon {

// Bounds of a history: commands of at most kLongestCommand characters (what the command box sends),
// at most kMostHistoryEntries of them, read from at most the first kHistoryFileBytes of a file.
constexpr size_t kLongestCommand = 254;
constexpr size_t kMostHistoryEntries = 1000;
constexpr size_t kHistoryFileBytes = kMostHistoryEntries * (kLongestCommand + 2);

class CommandHistory {
  public:
    // Reads a file's text: every line that is a command (empty lines skipped, a line longer than a
    // command, or cut off by the byte bound, left out), repeats in any letter case taken once.
    void Load(std::string_view file);
    // The file's text: every entry and CR LF.
    std::string Save() const;
    // Adds a typed command unless it is empty, too long, already there in any letter case, or the
    // history is full; true when it was added.
    bool Add(std::string_view command);
    void Clear() { entries_.clear(); }
    // In the order of the sorted command box (letter case ignored).
    const std::vector<std::string>& Entries() const { return entries_; }

  private:
    std::vector<std::string> entries_;
};

}  // namespace rcon
