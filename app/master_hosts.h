// Master host names longer than a profile's stored address: kept in the program's INI file under
// [masters], one key per profile file number, so that they survive restarts while "gamesets.vexar"
// keeps its fixed layout.
#pragma once

#include "base/settings_store.h"
#include "catalogue/profiles.h"

namespace app {

// Gives each profile its long host name from the INI file. A name is taken only when its start
// matches the profile's stored address, so an entry left behind by an older profile of that number
// (or an address changed elsewhere) is never used.
void LoadMasterHosts(catalogue::ProfileList& profiles, base::SettingsStore& settings);
// Writes the profile's long host name, or clears its entry when the stored address is the whole name.
void StoreMasterHost(const catalogue::GameProfile& profile, base::SettingsStore& settings);

}  // namespace app
