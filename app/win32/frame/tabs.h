// Game tabs: one per profile with its three panes; switching, activation and loading the lists.
#pragma once

#include <windows.h>

#include "catalogue/profiles.h"

namespace app::win32 {

struct Shell;

// Creates the tab control with its image list and 8-point Arial font.
HWND CreateTabControl(Shell& shell);
// Creates the profile's three hidden panes and inserts its tab at the end.
void AddTabForProfile(Shell& shell, catalogue::GameProfile& profile);
// Removes a profile from the main window and frees it: when it is the current one, first selects
// and activates the tab after it (the one before it when it is the last); then destroys its panes,
// deletes its tab (the tabs after it move down one place) and unregisters it, which deletes its
// list files. The caller makes sure no refresh or master query works on it. The neighbour's offer
// of a master query (OfferMasterQuery) comes last, once the removal is whole: the caller must not
// take another action of its own while that question is open.
void RemoveTabForProfile(Shell& shell, catalogue::GameProfile& profile);
// Destroys the panes of every profile (at close).
void DestroyAllPanes(Shell& shell);
// WM_NOTIFY from the tab control. Returns the handler's result (TRUE refuses a change).
LRESULT OnTabNotify(Shell& shell, const NMHDR& header);
// Makes the profile current and shows it: Filter menu items, layout, panes, lists (ShowProfile);
// then OfferMasterQuery.
void ActivateProfile(Shell& shell, catalogue::GameProfile& profile);
void ShowProfile(Shell& shell, catalogue::GameProfile& profile);
// When the profile with this file number is current and has no servers: asks whether to fetch the
// master server list, and on Yes starts the query if that profile is still the current one.
void OfferMasterQuery(Shell& shell, uint32_t fileNumber);
// Selects tab `index` at start-up (an index beyond the tabs selects tab 0) and activates it.
void SelectStartupTab(Shell& shell, int index);
// Reads the profile's list files and offers every server to its list pane with a progress bar.
void LoadProfileLists(Shell& shell, catalogue::GameProfile& profile);
// Tells the panes to redisplay everything after a filter or sort option changed.
void RefilterPanes(Shell& shell);

}  // namespace app::win32
