// Server list operations at 30,000 servers: filter, add rows, sort by every column, row lookups
// during a refresh, stale removal, and a Find Player search. Prints the times.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "views/find_player.h"
#include "views/server_filter.h"
#include "views/server_list.h"
#include "views/server_rows.h"

namespace {

constexpr int kServers = 30000;

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void Fill(catalogue::GameProfile& profile, std::mt19937& rng) {
    static const char* kMaps[] = {"q3dm17", "q3tourney2", "oa_dm1", "q3ctf1", "pro-q3dm6"};
    static const char* kTypes[] = {"FFA", "Duel", "Team DM", "CTF"};
    for (int i = 0; i < kServers; ++i) {
        char address[20];
        base::FormatText(address, sizeof address, "10.%d.%d.%d", i / 65536, (i / 256) % 256, i % 256);
        catalogue::findOrCreateServer(profile.servers, catalogue::MakeServerTemplate(address, 27960));
        catalogue::ServerRecord* r = profile.servers.tail;
        base::FormatText(r->hostName, sizeof r->hostName, "^%d%s server %d ^7#%u", i % 10, i % 3 ? "Fast" : "slow", i,
                         static_cast<unsigned>(rng()));
        base::CopyText(r->mapName, kMaps[rng() % 5]);
        r->gameTypeIndex = 1 + rng() % 4;
        base::CopyText(r->gameTypeDisplay, kTypes[r->gameTypeIndex - 1]);
        r->modIndex = 1;
        base::CopyText(r->modDisplay, "BaseQ3");
        r->ping = rng() % 10 == 0 ? catalogue::kNoPing : 20 + rng() % 400;
        r->maxPlayers = 16;
        r->playerCount = static_cast<int32_t>(rng() % 17);
        r->isFavourite = rng() % 50 == 0;
        r->joinCount = rng() % 20 == 0 ? 1 + rng() % 3 : 0;
        base::CopyText(r->passwordText, rng() % 8 == 0 ? "1" : "0");
        for (int p = 0; p < r->playerCount; ++p) {
            catalogue::PlayerRecord& pl = r->PlayerSlot(p);
            base::FormatText(pl.name, sizeof pl.name, "^%uPlayer%u", static_cast<unsigned>(rng() % 10),
                             static_cast<unsigned>(rng() % 100000));
            pl.ping = static_cast<int32_t>(rng() % 300);
        }
    }
}

}  // namespace

int main() {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    catalogue::GameProfile profile;
    profile.kind = catalogue::kQuake3;
    std::mt19937 rng(1234);
    auto t = Clock::now();
    Fill(profile, rng);
    std::printf("generate %d servers: %.1f ms\n", kServers, Ms(t));

    views::DisplayOptions options;
    options.HideEmpty = 1;
    t = Clock::now();
    int passing = 0;
    for (catalogue::ServerRecord* r = profile.servers.head; r; r = r->next)
        passing += views::PassesServerFilter(*r, r->ping, options, cat, profile.kind);
    std::printf("filter (hide empty, no reply): %.2f ms, %d pass\n", Ms(t), passing);

    options.HideEmpty = 0;
    options.ShowNoReply = 1;
    std::mutex recordLock;  // as the program's panes have it: every ping read takes the refresh's lock
    views::ServerListModel model(profile, options, cat, [&recordLock] { return &recordLock; });
    t = Clock::now();
    for (catalogue::ServerRecord* r = profile.servers.head; r; r = r->next)
        model.ServerChanged(*r);
    std::printf("add %d rows (PM_SERVER_CHANGED each): %.1f ms\n", model.rows().size(), Ms(t));

    for (int column = 0; column < views::kServerColumnCount; ++column) {
        t = Clock::now();
        model.ColumnClick(column);
        double first = Ms(t);
        t = Clock::now();
        model.ColumnClick(column);  // the same column again: descending
        std::printf("sort column %d: %.1f ms ascending, %.1f ms descending\n", column, first, Ms(t));
    }
    options.FavouritesOnTop = options.VisitedOnTop = 1;
    t = Clock::now();
    model.Sort();
    std::printf("sort with favourites and visited on top: %.1f ms\n", Ms(t));

    // A refresh: every server answers once, in random order, and its row is rewritten.
    std::vector<catalogue::ServerRecord*> order;
    for (catalogue::ServerRecord* r = profile.servers.head; r; r = r->next)
        order.push_back(r);
    std::shuffle(order.begin(), order.end(), rng);
    t = Clock::now();
    for (catalogue::ServerRecord* r : order) {
        r->ping = 30 + rng() % 300;
        model.ServerChanged(*r);
    }
    std::printf("refresh: %d replies with row updates: %.1f ms\n", kServers, Ms(t));

    // Row bookkeeping alone: 5,000 rows looked up and deleted in random order.
    {
        views::ServerRows rows;
        for (catalogue::ServerRecord* r : order)
            rows.Append(r);
        t = Clock::now();
        for (int i = 0; i < 5000; ++i)
            rows.Erase(rows.RowOf(order[static_cast<size_t>(i) * 5]));
        std::printf("row lookup and deletion, 5000 of %d rows: %.1f ms\n", kServers, Ms(t));
        t = Clock::now();
        while (!rows.empty())
            rows.Erase(0);  // "remove selected servers" with every row selected
        std::printf("deleting the first row until none is left (%d rows): %.1f ms\n", kServers - 5000, Ms(t));
    }

    // Stale removal: 5,000 records, each looked up and removed (as PM_REMOVE_SERVER does), the
    // records freed through the server list.
    t = Clock::now();
    int removed = 0;
    for (int i = 0; i < 5000; ++i) {
        int row = model.RowOf(order[static_cast<size_t>(i)]);
        if (row >= 0 && model.EraseRowAndServer(row) >= 0)
            ++removed;
    }
    std::printf("stale removal of %d servers: %.1f ms\n", removed, Ms(t));

    t = Clock::now();
    auto results = views::FindPlayers(profile.servers, "*layer12", true, profile.buddies, profile.kind);
    std::printf("find player over %u servers: %.1f ms, %zu rows\n", profile.servers.count, Ms(t), results.size());
    return 0;
}
