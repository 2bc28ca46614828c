// Endpoints with their built-in defaults.
#include "app/app_context.h"

namespace app {

namespace {

std::string Endpoint(base::SettingsStore& store, const base::IniKey& key) {
    return store.ReadIni(key.file, key.section, key.key, key.defaultText, 255);
}

}  // namespace

Endpoints ReadEndpoints(base::SettingsStore& store) {
    Endpoints e;
    e.webSite = Endpoint(store, base::ini::kWebSite);
    e.feedbackMail = Endpoint(store, base::ini::kFeedbackMail);
    e.bannerSite = Endpoint(store, base::ini::kBannerSite);
    e.versionServer = Endpoint(store, base::ini::kVersionServer);
    return e;
}

}  // namespace app
