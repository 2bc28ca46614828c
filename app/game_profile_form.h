// The Game Profile form: turning what the user typed and chose into a new, unregistered profile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"

namespace app {

// Longest texts the form's edits take; the profile's fields hold exactly these.
constexpr size_t kProfileTitleLimit = 49;
constexpr size_t kMasterAddressLimit = sizeof(catalogue::GameProfile::masterAddress) - 1;
// A master host name may be longer than the profile image holds; the rest is kept in the INI file.
constexpr size_t kMasterHostLimit = 255;
constexpr size_t kGameFolderLimit = sizeof(catalogue::GameProfile::gameFolder) - 1;
constexpr size_t kPortLimit = 5;

// The form's fields as they stand when OK is pressed: four texts, the chosen game's kind and the
// chosen version's protocol number.
struct GameProfileFields {
    std::string title;
    std::string masterAddress;
    std::string port;
    std::string gameFolder;
    uint32_t kind = 0;
    uint32_t protocol = 0;
};

// A port typed into the form: decimal digits, white space around them allowed, 0 to 65535. Any
// other text is unreadable and gives 0.
uint32_t ParsePortText(std::string_view text);

// The profile the fields describe, or nullptr when the title is empty. Texts are cut to their
// fields (title 49, master address 19, folder 255 characters), a longer master host name (up to
// 255) is kept whole in masterHostName; the icon is the game's; the master
// query takes 10 servers per query, up to 999 servers, and re-sends every 2000 ms. Lists, file
// number, columns and colours are left for the registration.
std::unique_ptr<catalogue::GameProfile> MakeProfileFromFields(const GameProfileFields& fields,
                                                              const catalogue::Catalogue& catalogue);

}  // namespace app
