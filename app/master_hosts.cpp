// Long master host names in the INI file.
#include "app/master_hosts.h"

#include <cstring>
#include <string>

#include "base/settings_index.h"
#include "base/text.h"

namespace app {

namespace {

constexpr size_t kHostBuffer = 256;

std::string KeyOf(const catalogue::GameProfile& profile) {
    char key[16];
    base::FormatText(key, sizeof key, base::ini::kMasterHostKeyFormat, profile.fileNumber);
    return key;
}

}  // namespace

void LoadMasterHosts(catalogue::ProfileList& profiles, base::SettingsStore& settings) {
    for (const auto& p : profiles.profiles()) {
        std::string name = settings.ReadIni(base::kIniFile, base::ini::kMasterHostsSection, KeyOf(*p).c_str(), "",
                                            kHostBuffer);
        const size_t stored = strnlen(p->masterAddress, sizeof p->masterAddress);
        if (name.size() > stored && stored == sizeof p->masterAddress - 1 &&
            name.compare(0, stored, p->masterAddress, stored) == 0)
            p->masterHostName = name;
    }
}

void StoreMasterHost(const catalogue::GameProfile& profile, base::SettingsStore& settings) {
    settings.WriteIni(base::kIniFile, base::ini::kMasterHostsSection, KeyOf(profile).c_str(),
                      profile.masterHostName.c_str());
}

}  // namespace app
