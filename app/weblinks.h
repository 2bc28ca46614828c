// The user's web links in vexar.ini: numbered menu texts and targets without gaps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/settings_store.h"

namespace app {

struct WebLink {
    std::string menuText;  // "-" at the start makes a separator
    std::string url;
    bool IsSeparator() const { return !menuText.empty() && menuText[0] == '-'; }
};

// Links 000, 001, ... up to the first number whose menu text or target is missing or empty.
std::vector<WebLink> ReadWebLinks(base::SettingsStore& store);
// The target of link n (command 40201 + n) as TargetToOpen gives it; empty when there is none.
std::string WebLinkTarget(base::SettingsStore& store, int n);

// What the shell may be handed of a target the program did not make itself (a web link or an
// endpoint in vexar.ini): an "http://" or "https://" address, a "www." one with "http://" put
// before it (views::WebAddressToOpen), or "mailto:" with a plain mail address and at most a
// "?subject=" without '&' or '%'. Anything else, such as a program, a path, a share or another
// scheme, gives "" and is never opened.
std::string TargetToOpen(std::string_view target);
// A mail address with nothing that a "mailto:" target would read as more: letters, digits and
// ".-_+" on both sides of one '@'.
bool IsPlainMailAddress(std::string_view address);

}  // namespace app
