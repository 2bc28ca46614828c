// Reading the web links from vexar.ini.
#include "app/weblinks.h"

#include <algorithm>

#include "base/settings_index.h"
#include "base/text.h"
#include "views/web_address.h"

namespace app {

std::vector<WebLink> ReadWebLinks(base::SettingsStore& store) {
    std::vector<WebLink> links;
    for (int n = 0; n < 99; ++n) {
        WebLink link;
        link.menuText = base::ReadIniText(store, base::ini::kWebLinkName, n);
        if (link.menuText.empty())
            break;
        link.url = base::ReadIniText(store, base::ini::kWebLinkUrl, n);
        if (link.url.empty())
            break;
        links.push_back(std::move(link));
    }
    return links;
}

std::string WebLinkTarget(base::SettingsStore& store, int n) {
    return TargetToOpen(base::ReadIniText(store, base::ini::kWebLinkUrl, n));
}

bool IsPlainMailAddress(std::string_view address) {
    size_t at = address.find('@');
    if (at == 0 || at == std::string_view::npos || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string_view::npos)
        return false;
    for (char c : address) {
        bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        if (!letter && !(c >= '0' && c <= '9') && c != '@' && c != '.' && c != '-' && c != '_' && c != '+')
            return false;
    }
    return true;
}

std::string TargetToOpen(std::string_view target) {
    std::string web = views::WebAddressToOpen(target.data(), target.size());
    if (!web.empty())
        return web;
    constexpr std::string_view kMailto = "mailto:", kSubject = "?subject=";
    if (target.size() <= kMailto.size() || !base::EqualsNoCase(target.substr(0, kMailto.size()), kMailto))
        return "";
    std::string_view address = target.substr(kMailto.size());
    std::string_view subject = address.substr(std::min(address.find('?'), address.size()));
    address.remove_suffix(subject.size());
    // A '&' would add headers (or attachments, to some mail programs) and '%' could encode them.
    if (!subject.empty() && (subject.substr(0, kSubject.size()) != kSubject ||
                             subject.find_first_of("&%", kSubject.size()) != std::string_view::npos))
        return "";
    for (char c : subject) {
        if (static_cast<unsigned char>(c) <= ' ' || c == '\x7F')
            return "";
    }
    return IsPlainMailAddress(address) ? std::string(target) : "";
}

}  // namespace app
