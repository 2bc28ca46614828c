// Long master host names in the INI file.
#include "app/master_hosts.h"

#include <cstring>
#include <string>

#include "base/settings_index.h"

namespace app {

void LoadMasterHosts(catalogue::ProfileList& profiles, base::SettingsStore& settings) {
    for (const auto& p : profiles.profiles()) {
        std::string name = base::ReadIniText(settings, base::ini::kMasterHost, static_cast<int>(p->fileNumber));
        const size_t stored = strnlen(p->masterAddress, sizeof p->masterAddress);
        if (name.size() > stored && stored == sizeof p->masterAddress - 1 &&
            name.compare(0, stored, p->masterAddress, stored) == 0)
            p->masterHostName = name;
    }
}

void StoreMasterHost(const catalogue::GameProfile& profile, base::SettingsStore& settings) {
    base::WriteIniText(settings, base::ini::kMasterHost, static_cast<int>(profile.fileNumber), profile.masterHostName);
}

}  // namespace app
