// A profile's list files read on its first activation, with a file that cannot be read whole kept.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"

namespace catalogue {

// Opens a file for reading; nullptr when it cannot be opened. Tests hand in sources that fail
// part-way.
using OpenForReading = std::function<std::unique_ptr<base::ByteSource>(const std::string& path)>;
std::unique_ptr<base::ByteSource> OpenFileForReading(const std::string& path);

// How many names a file that could not be read whole may be moved to: "<path>.unread", then
// "<path>.unread2" up to "<path>.unread9".
constexpr int kKeptAsideNames = 9;
std::string KeptAsideName(const std::string& path, int n);

// Reads the profile's server list, then its buddy list, and sets listsLoaded. A missing file is
// created empty; one that cannot be opened is skipped. When reading a file fails before its end, the
// whole records read before stay in the list and the file is moved aside to the first free kept-aside
// name, so that the next save writes a new file rather than the shorter list over the user's; when it
// cannot be moved, the profile keeps it as it is for the run (keepServerListFile, keepBuddyListFile).
// Returns one message for the user per such file, naming it.
std::vector<std::string> loadProfileLists(const ProfileList& profiles,
                                          GameProfile& profile,
                                          const Catalogue& catalogue,
                                          const OpenForReading& open = OpenFileForReading);

}  // namespace catalogue
