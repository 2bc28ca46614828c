// Which server web addresses are handed to the shell, and how.
#include <gtest/gtest.h>

#include <cstring>

#include "views/web_address.h"

namespace {

TEST(WebAddress, OnlyWebPagesAreOpenedAndWwwGetsHttp) {
    struct Case {
        const char* address;
        const char* opened;
    } cases[] = {
        {"http://lab.example/", "http://lab.example/"},
        {"HTTPS://lab.example/x", "HTTPS://lab.example/x"},
        {"www.clan.org", "http://www.clan.org"},
        {"WWW.Clan.org/forum", "http://WWW.Clan.org/forum"},
        {"http://", ""},
        {"www.", ""},
        {"", ""},
        {"clan.org", ""},
        {"file:///c:/x.bat", ""},
        {"C:\\windows\\system32\\calc.exe", ""},
        {"\\\\host\\share\\x.exe", ""},
        {"mailto:a@b", ""},
        {"http://a b", ""},
        {"www.a.org\t-x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(views::WebAddressToOpen(c.address, std::strlen(c.address) + 1), c.opened) << c.address;
}

TEST(WebAddress, AFieldWithoutTerminatorIsReadToItsSizeOnly) {
    char field[8];
    std::memcpy(field, "www.abcdXXXX", sizeof field);
    EXPECT_EQ(views::WebAddressToOpen(field, sizeof field), "http://www.abcd");
    EXPECT_EQ(views::WebAddressToOpen(nullptr, 4), "");
}

}  // namespace
