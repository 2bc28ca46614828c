// The stored lists when the disk lets them down: a save that fails or is killed after any number of
// bytes leaves every file whole, and a list file that cannot be read to its end is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/file_io.h"
#include "base/text.h"
#include "catalogue/list_files.h"
#include "catalogue/list_loading.h"
#include "catalogue/profiles.h"
#include "testing/temp_folder.h"

namespace {

using namespace catalogue;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

void AddServer(GameProfile& p, const std::string& address) {
    findOrCreateServer(p.servers, MakeServerTemplate(address, 27960));
}

void AddBuddy(GameProfile& p, const char* name) {
    auto b = std::make_unique<BuddyRecord>();
    base::CopyText(b->name, name);
    appendBuddy(p.buddies, std::move(b));
}

#ifndef _WIN32
// The files of a save: "gamesets.vexar" and both lists of each profile.
std::vector<std::string> SavedFiles(const ProfileList& profiles) {
    std::vector<std::string> files{profiles.ProfilesPath()};
    for (const auto& p : profiles.profiles()) {
        files.push_back(profiles.ServerListPath(*p));
        files.push_back(profiles.BuddyListPath(*p));
    }
    return files;
}

std::vector<std::string> Contents(const std::vector<std::string>& files) {
    std::vector<std::string> bytes;
    for (const std::string& f : files)
        bytes.push_back(ReadBytes(f));
    return bytes;
}

// The save with files that may not grow past `limit` bytes: a write past it fails, or kills the
// process (then the save runs in a child). Returns whether the save succeeded, or was not killed.
bool SaveWithLimit(ProfileList& profiles, rlim_t limit, bool killed) {
    rlimit unlimited;
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limited{limit, unlimited.rlim_max};
    if (!killed) {
        auto previous = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool ok = profiles.saveProfiles();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        signal(SIGXFSZ, previous);
        return ok;
    }
    pid_t child = fork();
    if (child == 0) {
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
        signal(SIGXFSZ, SIG_DFL);
        setrlimit(RLIMIT_FSIZE, &limited);
        profiles.saveProfiles();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return !(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
}

// Every file holds its old bytes or its new ones, whatever byte of the save the disk stopped at.
TEST(StoredLists, ASaveThatFailsOrIsKilledAfterAnyNumberOfBytesLeavesEveryFileWhole) {
    TempFolder dir(std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                             : std::filesystem::temp_directory_path().string());
    ProfileList profiles(dir.path(), 0xC0C0C0);
    GameProfile* p = profiles.registerProfile(std::make_unique<GameProfile>(), true, true);
    AddBuddy(*p, "Alice");
    ASSERT_TRUE(profiles.saveProfiles());
    const std::vector<std::string> files = SavedFiles(profiles);
    const std::vector<std::string> before = Contents(files);
    // Every file changes: "gamesets.vexar" in place, the lists grow.
    base::CopyText(p->title, "Renamed");
    AddServer(*p, "10.0.0.1");
    AddBuddy(*p, "Carol");
    ASSERT_TRUE(profiles.saveProfiles());
    const std::vector<std::string> after = Contents(files);
    size_t largest = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        ASSERT_NE(before[i], after[i]) << files[i];
        largest = std::max(largest, after[i].size());
    }

    // A kill is tried at the edges of the files' sizes and every 97 bytes between: killed inside a
    // write, every limit up to the next file's size does the same.
    std::vector<std::pair<size_t, bool>> runs;
    for (size_t limit = 0; limit <= largest; ++limit) {
        bool edge = limit % 97 == 0 || limit == largest;
        for (const std::string& bytes : after)
            edge = edge || limit + 1 == bytes.size() || limit == bytes.size();
        runs.emplace_back(limit, false);
        if (edge)
            runs.emplace_back(limit, true);
    }
    for (auto [limit, killed] : runs) {
        for (size_t i = 0; i < files.size(); ++i)
            WriteBytes(files[i], before[i]);
        EXPECT_EQ(SaveWithLimit(profiles, limit, killed), limit >= largest) << limit << (killed ? " killed" : "");
        for (size_t i = 0; i < files.size(); ++i) {
            const std::string now = ReadBytes(files[i]);
            ASSERT_TRUE(now == before[i] || now == after[i]) << files[i] << " at " << limit << ": " << now.size();
            // A file that fits was written before the disk gave out on a larger one.
            if (!killed) {
                EXPECT_EQ(now == after[i], after[i].size() <= limit) << files[i] << " at " << limit;
                EXPECT_FALSE(base::FileExists(files[i] + ".tmp")) << files[i] << " at " << limit;
            }
        }
    }
}
#endif

// Hands out the first `good` bytes of a file, then fails.
class FailingSource : public base::ByteSource {
  public:
    FailingSource(std::string bytes, size_t good) : bytes_(std::move(bytes)), good_(good) {}
    size_t Read(void* out, size_t n) override {
        size_t take = std::min(n, good_ > at_ ? good_ - at_ : 0);
        std::memcpy(out, bytes_.data() + at_, take);
        at_ += take;
        failed_ = take < n && at_ < bytes_.size();
        return take;
    }
    bool Failed() const override { return failed_; }

  private:
    std::string bytes_;
    size_t good_;
    size_t at_ = 0;
    bool failed_ = false;
};

TEST(StoredLists, AListFileThatCannotBeReadToItsEndIsKeptAndNeverWrittenOver) {
    struct Case {
        const char* what;
        size_t goodBytes;     // of three server records
        int takenAsideNames;  // kept-aside names that exist already
        uint32_t loaded;
        const char* keptAs;  // where the original ends up ("" = nowhere: the read was whole)
    };
    // clang-format off
    const Case cases[] = {
        {"a failed read in the second record", 1640 + 700, 0, 1, "GS001.vexar.unread"},
        {"the next free name", 2 * 1640 + 1, 2, 2, "GS001.vexar.unread3"},
        {"no free name: left in place", 1640, kKeptAsideNames, 1, "GS001.vexar"},
        {"a read to the end", 3 * 1640, 0, 3, ""},
    };
    // clang-format on
    Catalogue cat;
    cat.buildCatalogue();
    for (const Case& c : cases) {
        TempFolder dir;
        ProfileList profiles(dir.path(), 0xC0C0C0);
        GameProfile* p = profiles.registerProfile(std::make_unique<GameProfile>(), true, true);
        const std::string path = profiles.ServerListPath(*p);
        std::string original;
        for (int i = 0; i < 3; ++i)
            original += std::string(kServerRecordImageSize, static_cast<char>('a' + i));
        WriteBytes(path, original);
        WriteBytes(profiles.BuddyListPath(*p), std::string(50, 'B'));
        for (int n = 1; n <= c.takenAsideNames; ++n)
            WriteBytes(KeptAsideName(path, n), "taken");
        auto open = [&](const std::string& file) -> std::unique_ptr<base::ByteSource> {
            if (file == path)
                return std::make_unique<FailingSource>(ReadBytes(file), c.goodBytes);
            return OpenFileForReading(file);
        };
        std::vector<std::string> messages = loadProfileLists(profiles, *p, cat, open);
        EXPECT_EQ(std::pair(p->servers.count, p->buddies.count), std::pair(c.loaded, 1u)) << c.what;
        EXPECT_TRUE(p->listsLoaded) << c.what;
        if (!*c.keptAs) {
            EXPECT_TRUE(messages.empty()) << c.what;
            continue;
        }
        // Told once, naming the file and where it is kept.
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find(dir.File(c.keptAs)), std::string::npos) << messages[0];
        // The saves of the run, at the exit or on the way, never write the shorter list over it.
        AddServer(*p, "10.9.9.9");
        ASSERT_TRUE(profiles.saveServerListOf(*p));
        ASSERT_TRUE(profiles.saveProfiles());
        EXPECT_EQ(ReadBytes(dir.File(c.keptAs)), original) << c.what;
        if (std::string(c.keptAs) != "GS001.vexar") {
            EXPECT_EQ(base::FileSize(path), int64_t(c.loaded + 1) * kServerRecordImageSize) << c.what;
        }
    }
}

}  // namespace
