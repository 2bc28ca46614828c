// Ordering of server rows and the sort markers of the server list's column headers.
#pragma once

#include <cstdint>

#include "catalogue/profiles.h"
#include "catalogue/records.h"
#include "views/display_options.h"

namespace views {

// Indices in the shared small image list of the server list panes.
constexpr int kImagePassword = 2;
constexpr int kImageAscending = 3;
constexpr int kImageDescending = 5;
constexpr int kImageFavourite = 6;
constexpr int kImageAutoRefresh = 7;  // also put on a header that was sorted before
constexpr int kImageSortedBefore = kImageAutoRefresh;

// A record as a sort compares it: with the ping it had when the sort began. The refresh worker writes
// ping while a refresh runs, and a sort must compare values that do not change under it.
struct SortKey {
    const catalogue::ServerRecord& record;
    uint32_t ping;
};

// Below 0: a goes above b. Column -1 (or any number outside 0-9): equal. Otherwise "before" is -1
// for an ascending column (sortDescending[column] 0) and +1 for a descending one. With
// FavouritesOnTop a favourite goes above a non-favourite in either direction and two favourites with
// the same flag value are equal; with VisitedOnTop (next) a visited record (joinCount > 0) goes above
// an unvisited one and two visited records with the same joinCount are equal. Then the column key:
// flag columns put the record with the flag first ("before"; the password column counts only '1');
// ping, game type index and player count compare as unsigned numbers; texts (host name with its
// colour codes, map, mod, address) compare byte by byte as unsigned values.
int CompareServers(const SortKey& a,
                   const SortKey& b,
                   int column,
                   const uint32_t (&sortDescending)[catalogue::kServerColumns],
                   const DisplayOptions& options);

// Header images to set after a sort change. formerColumn (-1: none) gets kImageSortedBefore; column
// (-1: none) gets image.
struct HeaderMarkers {
    int formerColumn = -1;
    int column = -1;
    int image = -1;
};

// LVN_COLUMNCLICK on column c: the same column flips its direction; another column keeps its own
// direction and the former sort column gets the "sorted before" image. The marker shows the
// direction the rows are now sorted in (ascending 3, descending 5). Stores c in sortColumn. A column
// outside 0-9 changes nothing and yields no markers. The caller sorts when the list has rows.
HeaderMarkers ServerColumnClick(catalogue::GameProfile& profile, int column);

// PM_RESTORE_SORT: the marker of the profile's sort column (none when it is -1 or out of range).
HeaderMarkers ServerSortMarker(const catalogue::GameProfile& profile);

}  // namespace views
