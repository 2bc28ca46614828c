// Benchmark: memory of server records and the time to save and load a list of 30,000 servers.
#include <chrono>
#include <cstdio>
#include <string>

#include "base/file_io.h"
#include "catalogue/list_files.h"
#include "catalogue/profiles.h"
#include "testing/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void Fill(catalogue::GameProfile& profile, int n) {
    for (int i = 0; i < n; ++i) {
        std::string address =
            "10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256);
        catalogue::findOrCreateServer(profile.servers, catalogue::MakeServerTemplate(address, 27960));
        catalogue::ServerRecord* r = profile.servers.tail;
        snprintf(r->hostName, sizeof r->hostName, "^1Server ^7number %d", i);
        snprintf(r->mapName, sizeof r->mapName, "q3dm%d", i % 20);
        r->ping = static_cast<uint32_t>(i % 300);
        r->modIndex = 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    int n = argc > 1 ? std::atoi(argv[1]) : 30000;
    std::printf("sizeof(ServerRecord) = %zu bytes (no player slots)\n", sizeof(catalogue::ServerRecord));
    std::printf("player slots, once allocated = %zu bytes (128 x %zu)\n", 128 * sizeof(catalogue::PlayerRecord),
                sizeof(catalogue::PlayerRecord));
    std::printf("%d servers without players: %.1f MB of records\n", n, n * sizeof(catalogue::ServerRecord) / 1048576.0);

    catalogue::Catalogue cat;
    cat.buildCatalogue();
    testing_support::TempFolder dir;
    std::string path = dir.File("GS001.vexar");
    catalogue::GameProfile profile;
    profile.kind = catalogue::kQuake3;

    auto t = Clock::now();
    Fill(profile, n);
    std::printf("create %d records via findOrCreateServer: %.1f ms\n", n, Ms(t));

    for (int round = 0; round < 3; ++round) {
        t = Clock::now();
        catalogue::saveServerList(profile, path);
        double save = Ms(t);
        catalogue::GameProfile loaded;
        loaded.kind = catalogue::kQuake3;
        t = Clock::now();
        catalogue::loadServerList(loaded, path, cat);
        double load = Ms(t);
        std::printf("round %d: save %.1f ms, load %.1f ms (%u records, file %lld bytes)\n", round, save, load,
                    loaded.servers.count, static_cast<long long>(base::FileSize(path)));
    }
    t = Clock::now();
    catalogue::clearServers(profile.servers);
    std::printf("free %d records: %.1f ms\n", n, Ms(t));
    return 0;
}
