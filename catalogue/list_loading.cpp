// Reading a profile's two list files, and what is done with a file that cannot be read to its end.
#include "catalogue/list_loading.h"

#include "catalogue/list_files.h"

namespace catalogue {

namespace {

constexpr char kCouldNotRead[] = "Vexar! could not read all of ";
constexpr char kKeptAs[] = ".\nWhat could be read is shown, and the file is kept as ";
constexpr char kLeftAsItIs[] =
    ".\nWhat could be read is shown; the file is left as it is and is not written until Vexar! is started again.";

// After a failed read: the file goes aside under a free name, or stays where it is, never written.
std::string KeepUnreadFile(const std::string& path, bool& keepInPlace) {
    for (int n = 1; n <= kKeptAsideNames; ++n) {
        std::string aside = KeptAsideName(path, n);
        if (base::RenameNoReplace(path, aside))
            return kCouldNotRead + path + kKeptAs + aside + ".";
    }
    keepInPlace = true;
    return kCouldNotRead + path + kLeftAsItIs;
}

}  // namespace

std::unique_ptr<base::ByteSource> OpenFileForReading(const std::string& path) {
    auto reader = std::make_unique<base::FileReader>(path);
    if (!reader->IsOpen())
        return nullptr;
    return reader;
}

std::string KeptAsideName(const std::string& path, int n) {
    return n <= 1 ? path + ".unread" : path + ".unread" + std::to_string(n);
}

std::vector<std::string> loadProfileLists(const ProfileList& profiles,
                                          GameProfile& profile,
                                          const Catalogue& catalogue,
                                          const OpenForReading& open) {
    std::vector<std::string> messages;
    const std::string serverPath = profiles.ServerListPath(profile);
    base::TouchFile(serverPath);
    ListRead servers = ListRead::kWhole;
    if (std::unique_ptr<base::ByteSource> in = open(serverPath)) {
        servers = readServerRecords(*in, profile, catalogue);
        profile.listsLoaded = 1;
    }
    // The reader is closed before the file is moved.
    if (servers == ListRead::kReadError)
        messages.push_back(KeepUnreadFile(serverPath, profile.keepServerListFile));

    const std::string buddyPath = profiles.BuddyListPath(profile);
    base::TouchFile(buddyPath);
    ListRead buddies = ListRead::kWhole;
    if (std::unique_ptr<base::ByteSource> in = open(buddyPath))
        buddies = readBuddyRecords(*in, profile);
    if (buddies == ListRead::kReadError)
        messages.push_back(KeepUnreadFile(buddyPath, profile.keepBuddyListFile));
    return messages;
}

}  // namespace catalogue
