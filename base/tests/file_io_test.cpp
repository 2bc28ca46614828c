// Tests of the crash-safe file writer and the file helpers.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "testing/temp_folder.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(AtomicFileWriter, CommitReplacesTheFileAndLeavesNoTemporary) {
    TempFolder dir;
    std::string path = dir.File("list.vexar");
    WriteBytes(path, "old contents");
    base::AtomicFileWriter w(path);
    ASSERT_TRUE(w.Write("new", 3));
    EXPECT_EQ(ReadBytes(path), "old contents");  // nothing visible before the commit
    ASSERT_TRUE(w.Commit());
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_FALSE(base::FileExists(path + ".tmp"));
}

TEST(AtomicFileWriter, WriterAbandonedMidwayLeavesTheOldFile) {
    TempFolder dir;
    std::string path = dir.File("list.vexar");
    WriteBytes(path, "old contents");
    {
        base::AtomicFileWriter w(path);
        w.Write("half of the ne", 14);
    }
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_FALSE(base::FileExists(path + ".tmp"));
}

TEST(AtomicFileWriter, UnwritableTemporaryFailsWithoutTouchingTheTarget) {
    TempFolder dir;
    std::string path = dir.File("list.vexar");
    WriteBytes(path, "old contents");
    std::filesystem::create_directory(path + ".tmp");  // the temporary cannot be created
    base::AtomicFileWriter w(path);
    EXPECT_FALSE(w.Write("new", 3));
    EXPECT_FALSE(w.Commit());
    EXPECT_EQ(ReadBytes(path), "old contents");
}

#ifndef _WIN32
TEST(AtomicFileWriter, FullDiskFailsWithoutTouchingTheTarget) {
    TempFolder dir;
    std::string path = dir.File("list.vexar");
    WriteBytes(path, "old contents");
    std::filesystem::create_symlink("/dev/full", path + ".tmp");
    base::AtomicFileWriter w(path);
    std::string big(64 * 1024, 'x');
    w.Write(big.data(), big.size());
    EXPECT_FALSE(w.Commit());
    EXPECT_EQ(ReadBytes(path), "old contents");
}
#endif

TEST(FileHelpers, RenameNoReplaceKeepsAnExistingTarget) {
    TempFolder dir;
    WriteBytes(dir.File("a"), "A");
    WriteBytes(dir.File("b"), "B");
    EXPECT_FALSE(base::RenameNoReplace(dir.File("a"), dir.File("b")));
    EXPECT_EQ(ReadBytes(dir.File("a")), "A");
    EXPECT_EQ(ReadBytes(dir.File("b")), "B");
    EXPECT_TRUE(base::RenameNoReplace(dir.File("a"), dir.File("c")));
    EXPECT_FALSE(base::FileExists(dir.File("a")));
    EXPECT_EQ(ReadBytes(dir.File("c")), "A");
}

TEST(FileHelpers, TouchCreatesButNeverTruncates) {
    TempFolder dir;
    EXPECT_EQ(base::FileSize(dir.File("x")), -1);
    EXPECT_TRUE(base::TouchFile(dir.File("x")));
    EXPECT_EQ(base::FileSize(dir.File("x")), 0);
    WriteBytes(dir.File("x"), "abc");
    EXPECT_TRUE(base::TouchFile(dir.File("x")));
    EXPECT_EQ(ReadBytes(dir.File("x")), "abc");
}

}  // namespace
