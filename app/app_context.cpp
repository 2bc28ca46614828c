// Endpoints with their built-in defaults.
#include "app/app_context.h"

namespace app {

namespace {

std::string Endpoint(SettingsStore& store, const IniKey& key) {
    return store.ReadIni(key.file, key.section, key.key, key.defaultText, 255);
}

}  // namespace

Endpoints ReadEndpoints(SettingsStore& store) {
    Endpoints e;
    e.webSite = Endpoint(store, ini::kWebSite);
    e.feedbackMail = Endpoint(store, ini::kFeedbackMail);
    e.bannerSite = Endpoint(store, ini::kBannerSite);
    e.versionServer = Endpoint(store, ini::kVersionServer);
    return e;
}

}  // namespace app
