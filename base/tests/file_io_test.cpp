// Tests of the crash-safe file writer and the file helpers.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "testing/temp_folder.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(AtomicFileWriter, OnlyACommitReplacesTheFileAndFailuresLeaveItUntouched) {
    TempFolder dir;
    const std::string path = dir.File("list.vexar");
    WriteBytes(path, "old contents");
    {
        base::AtomicFileWriter abandoned(path);
        abandoned.Write("half of the ne", 14);
    }
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_FALSE(base::FileExists(path + ".tmp"));
    base::AtomicFileWriter w(path);
    ASSERT_TRUE(w.Write("new", 3));
    EXPECT_EQ(ReadBytes(path), "old contents");
    ASSERT_TRUE(w.Commit());
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_FALSE(base::FileExists(path + ".tmp"));

    WriteBytes(path, "old contents");
    std::filesystem::create_directory(path + ".tmp");  // the temporary cannot be created
    base::AtomicFileWriter blocked(path);
    EXPECT_FALSE(blocked.Write("new", 3));
    EXPECT_FALSE(blocked.Commit());
    EXPECT_EQ(ReadBytes(path), "old contents");
#ifndef _WIN32
    std::filesystem::remove(path + ".tmp");
    std::filesystem::create_symlink("/dev/full", path + ".tmp");  // a full disk
    base::AtomicFileWriter full(path);
    full.Write(std::string(65536, 'x').data(), 65536);
    EXPECT_FALSE(full.Commit());
    EXPECT_EQ(ReadBytes(path), "old contents");
#endif
}

TEST(FileHelpers, RenameNeverReplacesAndTouchNeverTruncates) {
    TempFolder dir;
    WriteBytes(dir.File("a"), "A");
    WriteBytes(dir.File("b"), "B");
    EXPECT_FALSE(base::RenameNoReplace(dir.File("a"), dir.File("b")));
    EXPECT_TRUE(base::RenameNoReplace(dir.File("a"), dir.File("c")));
    EXPECT_EQ(ReadBytes(dir.File("c")), "A");
    EXPECT_TRUE(base::TouchFile(dir.File("x")));
    EXPECT_EQ(base::FileSize(dir.File("x")), 0);
    WriteBytes(dir.File("x"), "abc");
    EXPECT_TRUE(base::TouchFile(dir.File("x")));
    EXPECT_EQ(ReadBytes(dir.File("x")), "abc");
    EXPECT_EQ(base::JoinPath("d", "x"), std::string("d") + base::kPathSeparator + "x");
}

}  // namespace
