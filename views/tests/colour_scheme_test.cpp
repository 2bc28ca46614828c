// The ".vxc" scheme file: golden bytes both ways, carried slots, short files, the extension rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/temp_folder.h"
#include "views/colour_scheme.h"

namespace {

using views::SchemeBuffer;

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::string bytes = testing_support::ReadBytes(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    testing_support::WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

TEST(ColourSchemeFile,
     TextHalfFirstThenBackgroundsSlots12To15CarriedFromTheLastLoadAndShortOrMissingFilesKeepTheBuffer) {
    testing_support::TempFolder folder;
    views::SchemeColours colours;
    for (int i = 0; i < 12; ++i)
        colours[i] = 0x00A0B000u + static_cast<uint32_t>(i);  // entry i holds ..i
    SchemeBuffer buffer;
    views::SchemeToBuffer(colours, buffer);
    std::string saved = folder.File("plain.vxc");
    ASSERT_TRUE(views::WriteSchemeFile(saved, buffer));
    std::vector<uint8_t> expected(64, 0);  // nothing loaded yet: slots 12-15 are zero
    const int entryOfSlot[12] = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};
    for (int slot = 0; slot < 12; ++slot) {
        expected[4 * slot] = static_cast<uint8_t>(entryOfSlot[slot]);
        expected[4 * slot + 1] = 0xB0;
        expected[4 * slot + 2] = 0xA0;
    }
    EXPECT_EQ(FileBytes(saved), expected);

    // A file with its own slots 12-15: loading maps the halves back and keeps those bytes.
    std::vector<uint8_t> shipped(64);
    for (int i = 0; i < 64; ++i)
        shipped[i] = static_cast<uint8_t>(0xC0 + i);
    WriteBytes(folder.File("shipped.vxc"), shipped);
    ASSERT_TRUE(views::ReadSchemeFile(folder.File("shipped.vxc"), buffer));
    views::BufferToScheme(buffer, colours);
    // Slots 0, 5, 6 and 11.
    EXPECT_EQ(std::tuple(colours[6], colours[11], colours[0], colours[5]),
              std::tuple(0xC3C2C1C0u, 0xD7D6D5D4u, 0xDBDAD9D8u, 0xEFEEEDECu));
    views::SchemeToBuffer(colours, buffer);
    ASSERT_TRUE(views::WriteSchemeFile(saved, buffer));
    EXPECT_EQ(FileBytes(saved), shipped);

    // Short or missing files keep what the buffer held.
    for (uint8_t& b : buffer.bytes)
        b = 0x11;
    WriteBytes(folder.File("short.vxc"), {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(views::ReadSchemeFile(folder.File("short.vxc"), buffer));
    EXPECT_EQ(std::vector<uint8_t>(buffer.bytes, buffer.bytes + 8),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0x11, 0x11}));
    EXPECT_FALSE(views::ReadSchemeFile(folder.File("missing.vxc"), buffer));
    EXPECT_EQ(buffer.bytes[0], 1);
    // A save that cannot be written says so and leaves nothing behind.
    EXPECT_FALSE(views::WriteSchemeFile(folder.File("no-such-folder/x.vxc"), buffer));
}

TEST(ColourSchemeFile, ExtensionIsAddedUnlessThePathEndsInVxc) {
    const std::pair<const char*, const char*> cases[] = {{"C:\\s\\green", "C:\\s\\green.vxc"},
                                                         {"C:\\s\\green.VXC", "C:\\s\\green.VXC"},
                                                         {"a.vxc", "a.vxc.vxc"},
                                                         {"b.txt", "b.txt.vxc"},
                                                         {"green.Vxc", "green.Vxc"}};
    for (auto [typed, saved] : cases)
        EXPECT_EQ(views::WithSchemeExtension(typed), saved) << typed;
}

TEST(ColourSchemeDefaults, SelectionBarIsDarkGreenUnlikeANewProfile) {
    views::SchemeColours colours = {};
    views::SetDefaultScheme(colours, 0x00D4D0C8);
    EXPECT_EQ(std::pair(colours[5], colours[11]), std::pair(0x00008000u, 0x00D4D0C8u));
    catalogue::GameProfile profile;
    catalogue::ApplyProfileDefaults(profile, 0x00D4D0C8);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(profile.colours[i], i == 5 ? 0x00FF9797u : colours[i]) << i;
}

}  // namespace
