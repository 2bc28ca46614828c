// The user's web links in vexar.ini: numbered menu texts and targets without gaps.
#pragma once

#include <string>
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
// The target of link n (command 40201 + n); empty when there is none.
std::string WebLinkTarget(base::SettingsStore& store, int n);

}  // namespace app
