// Tests of the text helpers, C-rule number parsing and the crash-safe file writer (the byte reader, the
// fixed-width fields and the other file helpers are checked through the replies and files that use them).
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "base/file_io.h"
#include "base/text.h"
#include "testing/temp_folder.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(CompareText, CaseFoldingCoversOnlyAsciiLetters) {
    // (Byte order is the server titles' sort, tested with it.)
    EXPECT_TRUE(base::EqualsNoCase("CPMAZ", "cpmaz") && !base::EqualsNoCase("\xC4", "\xE4"));
    EXPECT_LT(base::CompareNoCase("abc", "ABD"), 0);
}

TEST(ParseDecimal, FollowsAtoiRules) {
    // clang-format off
    const std::pair<const char*, int32_t> cases[] = {
        {"16", 16}, {"  -42xyz", -42}, {"+7", 7}, {"\t\n\r 5", 5}, {"abc", 0}, {"", 0}, {"\x01", 0}, {"- 3", 0},
        {"2147483647", INT32_MAX}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
    // clang-format on
    for (auto [text, value] : cases)
        EXPECT_EQ(base::ParseDecimal(text), value) << text;
}

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

}  // namespace
