// The stored lists when the disk lets them down: a save that fails or is killed after any number of
// bytes leaves every file whole, and a list file that cannot be read to its end is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
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
// The save with files that may not grow past `limit` bytes: a write past it fails, or kills the
// process (then the save runs in a child). Returns whether the save succeeded, or was not killed.
bool SaveWithLimit(ProfileList& profiles, rlim_t limit, bool killed) {
    rlimit unlimited;
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limited{limit, unlimited.rlim_max}, none{0, 0};
    pid_t child = killed ? fork() : 0;
    if (child == 0) {
        auto previous = signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        setrlimit(RLIMIT_CORE, killed ? &none : &unlimited);
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool ok = profiles.saveProfiles();
        if (killed)
            _exit(0);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        signal(SIGXFSZ, previous);
        return ok;
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
    const std::string files[] = {profiles.ProfilesPath(), profiles.ServerListPath(*p), profiles.BuddyListPath(*p)};
    std::string before[3], after[3];
    AddBuddy(*p, "Alice");
    for (std::string* bytes : {before, after}) {
        if (bytes == after) {  // every file changes: "gamesets.vexar" in place, the lists grow
            base::CopyText(p->title, "Renamed");
            AddServer(*p, "10.0.0.1");
            AddBuddy(*p, "Carol");
        }
        ASSERT_TRUE(profiles.saveProfiles());
        for (int i = 0; i < 3; ++i)
            bytes[i] = ReadBytes(files[i]);
    }
    const size_t largest = kServerRecordImageSize;
    for (size_t limit = 0; limit <= largest; ++limit) {
        // Killed inside a write, every limit up to the next file's size does the same: a kill is
        // tried every 97 bytes and at each file's last byte.
        const bool edges = limit % 97 == 0 || limit + 1 == after[0].size() || limit + 1 >= largest;
        for (bool killed : {false, true}) {
            if (killed && !edges)
                continue;
            for (int i = 0; i < 3; ++i)
                WriteBytes(files[i], before[i]);
            EXPECT_EQ(SaveWithLimit(profiles, limit, killed), limit >= largest) << limit << " " << killed;
            for (int i = 0; i < 3; ++i) {
                const std::string now = ReadBytes(files[i]);
                ASSERT_TRUE(now == before[i] || now == after[i]) << files[i] << " at " << limit << " " << killed;
                // After a failure the files that fit are written all the same, and nothing is left over.
                EXPECT_TRUE(killed || (now == after[i]) == (after[i].size() <= limit)) << files[i] << " at " << limit;
                EXPECT_TRUE(killed || !base::FileExists(files[i] + ".tmp")) << files[i] << " at " << limit;
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
        size_t take = std::min(n, good_ - std::min(good_, at_));
        std::memcpy(out, bytes_.data() + at_, take);
        at_ += take;
        failed_ = take < n && at_ < bytes_.size();
        return take;
    }
    bool Failed() const override { return failed_; }

  private:
    std::string bytes_;
    size_t good_, at_ = 0;
    bool failed_ = false;
};

TEST(StoredLists, AListFileThatCannotBeReadToItsEndIsKeptAndNeverWrittenOver) {
    // Bytes read of three records, kept-aside names taken already, records loaded, where the original
    // is then ("" = nowhere: the read was whole).
    struct Case {
        size_t goodBytes;
        int takenNames;
        uint32_t loaded;
        const char* keptAs;
    };
    const Case cases[] = {{1640 + 700, 0, 1, "GS001.vexar.unread"},
                          {2 * 1640 + 1, 2, 2, "GS001.vexar.unread3"},
                          {1640, kKeptAsideNames, 1, "GS001.vexar"},  // no free name: left where it is
                          {3 * 1640, 0, 3, ""}};
    Catalogue cat;
    cat.buildCatalogue();
    for (const Case& c : cases) {
        TempFolder dir;
        ProfileList profiles(dir.path(), 0xC0C0C0);
        GameProfile* p = profiles.registerProfile(std::make_unique<GameProfile>(), true, true);
        const std::string path = profiles.ServerListPath(*p);
        const std::string original = std::string(1640, 'a') + std::string(1640, 'b') + std::string(1640, 'c');
        WriteBytes(path, original);
        WriteBytes(profiles.BuddyListPath(*p), std::string(50, 'B'));
        for (int n = 1; n <= c.takenNames; ++n)
            WriteBytes(KeptAsideName(path, n), "taken");
        auto open = [&](const std::string& file) -> std::unique_ptr<base::ByteSource> {
            if (file == path)
                return std::make_unique<FailingSource>(ReadBytes(file), c.goodBytes);
            return OpenFileForReading(file);
        };
        std::vector<std::string> messages = loadProfileLists(profiles, *p, cat, open);
        EXPECT_EQ(std::tuple(p->servers.count, p->buddies.count, p->listsLoaded), std::tuple(c.loaded, 1u, 1u))
            << c.goodBytes;
        if (!*c.keptAs) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        // Told once, naming the file and where it is kept; the saves of the run, on the way or at
        // the exit, never write the shorter list over it.
        ASSERT_EQ(messages.size(), 1u) << c.goodBytes;
        EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find(dir.File(c.keptAs)), std::string::npos) << messages[0];
        AddServer(*p, "10.9.9.9");
        ASSERT_TRUE(profiles.saveServerListOf(*p) && profiles.saveProfiles());
        EXPECT_EQ(ReadBytes(dir.File(c.keptAs)), original) << c.goodBytes;
        EXPECT_TRUE(dir.File(c.keptAs) == path || base::FileSize(path) == (c.loaded + 1) * 1640) << c.goodBytes;
    }
}

}  // namespace
