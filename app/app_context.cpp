// Endpoints with their built-in defaults.
#include "app/app_context.h"

#include "app/weblinks.h"
#include "views/web_address.h"

namespace app {

namespace {

std::string WebEndpoint(base::SettingsStore& store, const base::IniKey& key) {
    std::string address = base::ReadIniText(store, key);
    return views::WebAddressToOpen(address.data(), address.size());
}

}  // namespace

Endpoints ReadEndpoints(base::SettingsStore& store) {
    // What goes to the shell is checked as it is read: a web site only as a web address, the mail
    // address only as a plain one (the subject is added to it); anything else is left empty.
    Endpoints e;
    e.webSite = WebEndpoint(store, base::ini::kWebSite);
    e.feedbackMail = base::ReadIniText(store, base::ini::kFeedbackMail);
    if (!IsPlainMailAddress(e.feedbackMail))
        e.feedbackMail.clear();
    e.bannerSite = WebEndpoint(store, base::ini::kBannerSite);
    e.versionServer = base::ReadIniText(store, base::ini::kVersionServer);
    return e;
}

}  // namespace app
