// Tests of the byte reader, fixed-width text helpers, C-rule number parsing and the crash-safe file writer
// (the other file helpers are checked through the list files that use them).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <utility>

#include "base/byte_reader.h"
#include "base/file_io.h"
#include "base/text.h"
#include "testing/temp_folder.h"

namespace {

using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(ByteReader, ReadsFieldsAndFailsStickilyAtTheEnd) {
    const uint8_t data[] = {0x01, 0x34, 0x12, 0x00, 0x00, 0xAB, 0xCD, 'h', 'i', 0, 'x'};
    base::ByteReader r(data, sizeof data);
    EXPECT_EQ(r.U8(), 0x01);
    EXPECT_EQ(r.U32LE(), 0x1234u);
    EXPECT_EQ(r.U16BE(), 0xABCD);
    char text[8];
    r.CString(text, sizeof text);
    EXPECT_STREQ(text, "hi");
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.U32LE(), uint32_t('x'));  // one byte left, the rest zero-filled
    EXPECT_TRUE(r.Failed());
    const char open[] = {'a', 'b', 'c', 'd', 'e', 'f'};  // no terminator: cut to the field and flagged
    base::ByteReader s(open, sizeof open);
    s.CString(text, 4);
    EXPECT_STREQ(text, "abc");
    EXPECT_TRUE(s.Failed());
}

TEST(FixedText, StoreZeroPadsLoadTerminatesCopyAndFormatCut) {
    uint8_t field[6];
    std::memset(field, 0xEE, sizeof field);
    base::StoreText(field, sizeof field, "abcdefgh");
    EXPECT_EQ(std::memcmp(field, "abcde\0", 6), 0);
    base::StoreText(field, sizeof field, "ab");
    EXPECT_EQ(std::memcmp(field, "ab\0\0\0\0", 6), 0);
    const uint8_t full[4] = {'w', 'x', 'y', 'z'};
    char out[5];
    base::LoadText(full, 4, out);
    EXPECT_STREQ(out, "wxy");
    EXPECT_EQ(base::CopyText(out, "abcdefg"), 4u);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(base::FormatText(out, sizeof out, "%d-%d", 123, 456), 4u);
    EXPECT_STREQ(out, "123-");
}

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
