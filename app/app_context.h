// The program-wide state of the browser that is not tied to windows.
#pragma once

#include <memory>
#include <string>

#include "app/display_options.h"
#include "app/layout.h"
#include "base/settings_store.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"

namespace app {

// Addresses the program talks to or opens, each overridable in vexar.ini (section "endpoints") so
// that tests and labs never reach the public ones. The web sites are web addresses and the mail
// address a plain one, or empty (nothing is opened) when vexar.ini gives anything else.
struct Endpoints {
    std::string webSite;        // menu 40039, toolbar 40039, the logo, the version offer
    std::string feedbackMail;   // toolbar 40014 (mailto with the subject "Vexar!")
    std::string bannerSite;     // the banner strip
    std::string versionServer;  // dotted IPv4 address of the version server (TCP port 2048)
};
Endpoints ReadEndpoints(base::SettingsStore& store);

struct AppContext {
    std::string installFolder;
    std::unique_ptr<base::SettingsStore> settings;
    catalogue::Catalogue catalogue;
    std::unique_ptr<catalogue::ProfileList> profiles;
    DisplayOptions display;
    Endpoints endpoints;
    bool useTray = false;
    bool autoRefreshMinimised = false;
    int windowState = 0;  // 0 normal, 1 minimised, 2 maximised
    // Serialises master queries, status refreshes and tab changes.
    bool refreshBusy = false;
    Splitters splitters = MakeSplitters(200, 300, 300);

    catalogue::GameProfile* current() const { return profiles ? profiles->current() : nullptr; }
};

}  // namespace app
