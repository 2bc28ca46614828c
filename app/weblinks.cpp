// Reading the web links from vexar.ini.
#include "app/weblinks.h"

#include "base/settings_index.h"
#include "base/text.h"

namespace app {

namespace {

std::string Read(base::SettingsStore& store, const char* format, int n) {
    char key[32];
    base::FormatText(key, sizeof key, format, n);
    return store.ReadIni(base::kIniFile, base::ini::kWebLinksSection, key, "", 255);
}

}  // namespace

std::vector<WebLink> ReadWebLinks(base::SettingsStore& store) {
    std::vector<WebLink> links;
    for (int n = 0; n < 99; ++n) {
        WebLink link;
        link.menuText = Read(store, base::ini::kWebLinkNameFormat, n);
        if (link.menuText.empty())
            break;
        link.url = Read(store, base::ini::kWebLinkUrlFormat, n);
        if (link.url.empty())
            break;
        links.push_back(std::move(link));
    }
    return links;
}

std::string WebLinkTarget(base::SettingsStore& store, int n) {
    return Read(store, base::ini::kWebLinkUrlFormat, n);
}

}  // namespace app
