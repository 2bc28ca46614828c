// Tests of the byte reader, fixed-width text helpers and C-rule number parsing.
#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_reader.h"
#include "base/text.h"

namespace {

TEST(ByteReader, ReadsFieldsAndStopsAtTheEndWithStickyError) {
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
    EXPECT_EQ(r.U8(), 0);
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(ByteReader, UnterminatedStringIsCutAndFlagged) {
    const char data[] = {'a', 'b', 'c', 'd', 'e', 'f'};
    base::ByteReader r(data, sizeof data);
    char text[4];
    r.CString(text, sizeof text);
    EXPECT_STREQ(text, "abc");
    EXPECT_TRUE(r.Failed());
}

TEST(FixedText, StoreZeroPadsAndLoadAlwaysTerminates) {
    uint8_t field[6];
    std::memset(field, 0xEE, sizeof field);
    base::StoreText(field, sizeof field, "abcdefgh");
    EXPECT_EQ(std::memcmp(field, "abcde\0", 6), 0);
    base::StoreText(field, sizeof field, "ab");
    EXPECT_EQ(std::memcmp(field, "ab\0\0\0\0", 6), 0);

    const uint8_t full[4] = {'w', 'x', 'y', 'z'};
    char out[4];
    base::LoadText(full, sizeof out, out);
    EXPECT_STREQ(out, "wxy");
}

TEST(FixedText, CopyAndFormatCutToTheField) {
    char field[5];
    EXPECT_EQ(base::CopyText(field, "abcdefg"), 4u);
    EXPECT_STREQ(field, "abcd");
    EXPECT_EQ(base::FormatText(field, sizeof field, "%d-%d", 123, 456), 4u);
    EXPECT_STREQ(field, "123-");
}

TEST(CompareText, CaseFoldingCoversOnlyAsciiLetters) {
    EXPECT_TRUE(base::EqualsNoCase("CPMA", "cpma"));
    EXPECT_FALSE(base::EqualsNoCase("cpma", "cpm"));
    EXPECT_FALSE(base::EqualsNoCase("\xC4", "\xE4"));  // no folding beyond A-Z
    EXPECT_LT(base::CompareNoCase("abc", "ABD"), 0);
    EXPECT_LT(base::CompareBytes("Zed", "^1a"), 0);  // 'Z' 0x5A < '^' 0x5E
    EXPECT_LT(base::CompareBytes("^1a", "abc"), 0);
    EXPECT_GT(base::CompareBytes("\xE9", "z"), 0);  // unsigned bytes
    EXPECT_LT(base::CompareBytes("ab", "abc"), 0);
}

TEST(ParseDecimal, FollowsAtoiRules) {
    EXPECT_EQ(base::ParseDecimal("16"), 16);
    EXPECT_EQ(base::ParseDecimal("  -42xyz"), -42);
    EXPECT_EQ(base::ParseDecimal("+7"), 7);
    EXPECT_EQ(base::ParseDecimal("abc"), 0);
    EXPECT_EQ(base::ParseDecimal(""), 0);
    EXPECT_EQ(base::ParseDecimal("\x01"), 0);
    EXPECT_EQ(base::ParseDecimal("99999999999"), INT32_MAX);
    EXPECT_EQ(base::ParseDecimal("-99999999999"), INT32_MIN);
}

}  // namespace
