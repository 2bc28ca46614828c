// Bounded fuzz runs of the status and master parsers: random and mutated datagrams, fixed seeds.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_list.h"
#include "net/status_parser.h"

namespace {

using catalogue::ServerRecord;
using Bytes = std::vector<uint8_t>;

constexpr int kIterations = 3000;

Bytes FromText(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// Valid datagrams of every format, the starting points of the mutations.
std::vector<Bytes> Seeds() {
    std::vector<Bytes> seeds;
    seeds.push_back(FromText(
        "\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\^1Lab\\gamename\\baseq3\\g_gametype\\4\\mapname\\q3dm17"
        "\\sv_maxclients\\16\\g_needpass\\0\\url\\^2http://x\n12 50 \"^2Alice\"\n0 0 \"Bot\"\n"));
    seeds.push_back(FromText("\xFF\xFF\xFF\xFF\x01statusResponse\n\\sv_hostname\\Allied\\protocol\\8\n50 \"Pvt\"\n"));
    seeds.push_back(FromText(
        "\\hostname\\UT\\gamename\\ut\\gametype\\CTFGame\\numplayers\\2\\maxplayers\\16\\player_0\\A\\frags_0\\5"
        "\\ping_0\\40\\player_1\\B\\frags_1\\-2\\ping_1\\90\\final\\\\queryid\\1.1"));
    static const char kDetails[] = "\xFF\xFF\xFF\xFFm10.0.0.1:27015\0Name\0de_dust\0cstrike\0CS";
    Bytes details(kDetails, kDetails + sizeof kDetails);  // with the last string's terminator
    details.insert(details.end(), {4, 20, 46, 'd', 'l', 1, 1});
    details.insert(details.end(), {'h', 't', 't', 'p', 0});
    seeds.push_back(details);
    Bytes players = FromText(
        "\xFF\xFF\xFF\xFF"
        "D");
    players.push_back(2);
    for (int i = 0; i < 2; ++i)
        players.insert(players.end(), {uint8_t(i), 'P', 0, 5, 0, 0, 0, 0, 0, 0x80, 0x3F});
    seeds.push_back(players);
    std::string list = "\xFF\xFF\xFF\xFFgetserversResponse";
    list += std::string{'\\', 10, 0, 0, 1, 0x6D, 0x38, '\\', 10, 0, 0, 2, 0x6D, 0x38};
    list += std::string("\\EOT\0\0\0", 7);
    seeds.push_back(FromText(list));
    seeds.push_back(FromText("\xFF\xFF\xFF\xFFgetserversResponse\n\\0a0000016d38\\0A0000026D38\\EOT"));
    seeds.push_back(
        FromText(std::string("\xFF\xFF\xFF\xFF"
                             "f\n\x01\x00\x00\x00\x0A\x00\x00\x01\x69\x87\x0A\x00\x00\x02"
                             "\x69\x87\x00",
                             23)));
    return seeds;
}

class Fuzzer {
  public:
    explicit Fuzzer(uint32_t seed) : rng_(seed), seeds_(Seeds()) {}

    Bytes Next() {
        switch (Pick(4)) {
            case 0:
                return Random();
            default:
                return Mutate(seeds_[Pick(seeds_.size())]);
        }
    }
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  private:
    Bytes Random() {
        // Mostly short datagrams, now and then one as long as the receive buffer.
        size_t size = Pick(8) == 0 ? Pick(4097) : Pick(64);
        Bytes d(size);
        for (uint8_t& b : d)
            b = static_cast<uint8_t>(Pick(256));
        return d;
    }
    Bytes Mutate(Bytes d) {
        static const uint8_t kSpecial[] = {'\\', '\n', '"', ' ', '^', 0, 0xFF, 'm', 'D', '_', 0x80, 0xFE};
        int edits = 1 + static_cast<int>(Pick(8));
        for (int i = 0; i < edits; ++i) {
            size_t at = d.empty() ? 0 : Pick(d.size());
            switch (Pick(6)) {
                case 0:  // change a byte
                    if (!d.empty())
                        d[at] = static_cast<uint8_t>(Pick(256));
                    break;
                case 1:  // insert a byte that matters to the formats
                    d.insert(d.begin() + at, kSpecial[Pick(sizeof kSpecial)]);
                    break;
                case 2:  // cut the datagram short
                    d.resize(at);
                    break;
                case 3: {  // a long run: names of thousands of bytes, many lines
                    size_t run = Pick(2) ? Pick(300) : Pick(4096);
                    d.insert(d.begin() + at, run,
                             static_cast<uint8_t>(Pick(2) ? kSpecial[Pick(sizeof kSpecial)] : 'A'));
                    break;
                }
                case 4: {  // repeat a piece (many player lines or entries)
                    if (d.empty())
                        break;
                    size_t len = 1 + Pick(std::min<size_t>(d.size() - at, 64));
                    Bytes piece(d.begin() + at, d.begin() + at + len);
                    int times = 1 + static_cast<int>(Pick(200));
                    for (int t = 0; t < times; ++t)
                        d.insert(d.end(), piece.begin(), piece.end());
                    break;
                }
                default:  // set a byte to a value between 128 and 255
                    if (!d.empty())
                        d[at] = static_cast<uint8_t>(128 + Pick(128));
                    break;
            }
        }
        if (d.size() > net::kMasterBufferSize)
            d.resize(net::kMasterBufferSize);
        return d;
    }

    std::mt19937 rng_;
    std::vector<Bytes> seeds_;
};

template <size_t N>
bool Terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

void CheckRecord(const ServerRecord& r, const catalogue::Catalogue& cat, uint32_t kind) {
    ASSERT_TRUE(Terminated(r.addressText));
    ASSERT_TRUE(Terminated(r.hostName));
    ASSERT_TRUE(Terminated(r.mapName));
    ASSERT_TRUE(Terminated(r.infoText));
    ASSERT_TRUE(Terminated(r.gameName));
    ASSERT_TRUE(Terminated(r.modDisplay));
    ASSERT_TRUE(Terminated(r.webAddress));
    ASSERT_TRUE(Terminated(r.location));
    ASSERT_TRUE(Terminated(r.versionText));
    ASSERT_TRUE(Terminated(r.adminEmail));
    ASSERT_TRUE(Terminated(r.passwordText));
    ASSERT_TRUE(Terminated(r.gameTypeDisplay));
    ASSERT_LE(r.StoredPlayerCount(), catalogue::kMaxPlayerSlots);
    ASSERT_GE(r.StoredPlayerCount(), 0);
    for (int i = 0; i < r.StoredPlayerCount(); ++i)
        ASSERT_TRUE(Terminated(r.PlayerAt(i)->name));
    const catalogue::GameDefinition* game = cat.GameOf(kind);
    ASSERT_NE(game, nullptr);
    ASSERT_LE(r.modIndex, game->mods.size());
}

TEST(ParserFuzzTest, StatusRepliesOfEveryKind) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    Fuzzer fuzz(20240611);
    net::RawReply raw;
    // One record per kind through all replies, as a profile's list keeps it.
    ServerRecord kept[catalogue::kGameKindCount];
    for (ServerRecord& r : kept)
        base::CopyText(r.addressText, "10.0.0.1");
    for (int i = 0; i < kIterations; ++i) {
        Bytes d = fuzz.Next();
        if (d.size() > net::kStatusBufferSize)
            d.resize(net::kStatusBufferSize);
        uint32_t kind = static_cast<uint32_t>(fuzz.Pick(catalogue::kGameKindCount));
        ServerRecord fresh;
        base::CopyText(fresh.addressText, "10.0.0.2");
        fresh.isFavourite = static_cast<uint32_t>(fuzz.Pick(2));
        for (ServerRecord* r : {&kept[kind], &fresh}) {
            bool answered = net::parseReply(*r, d.data(), d.size(), kind, cat, fuzz.Pick(2) ? &raw : nullptr);
            ASSERT_NO_FATAL_FAILURE(CheckRecord(*r, cat, kind)) << "iteration " << i;
            if (answered)
                ASSERT_NE(r->hostName[0], '\0');
            else
                ASSERT_EQ(r->ping, catalogue::kNoPing);
            ASSERT_LE(raw.size, net::kStatusBufferSize);
        }
    }
}

TEST(ParserFuzzTest, PlayerLinesByNumber) {
    Fuzzer fuzz(77);
    for (int i = 0; i < kIterations; ++i) {
        Bytes d = fuzz.Next();
        std::string_view text(reinterpret_cast<const char*>(d.data()), d.size());
        for (uint32_t kind : {catalogue::kQuake3, catalogue::kMedalOfHonour}) {
            int lines = net::countPlayerLines(kind, text);
            ASSERT_GE(lines, 0);
            catalogue::PlayerRecord slot;
            int n = static_cast<int>(fuzz.Pick(static_cast<size_t>(lines) + 3));
            bool ok = net::parsePlayerLine(kind, text, n, slot);
            ASSERT_TRUE(Terminated(slot.name));
            if (ok) {
                ASSERT_GE(n, 1);
                ASSERT_LE(n, std::min(lines, catalogue::kMaxPlayerSlots));
            }
        }
        char field[12];
        net::copyStripped(text, field);
        ASSERT_TRUE(Terminated(field));
    }
}

TEST(ParserFuzzTest, MasterListsOfEveryKind) {
    Fuzzer fuzz(4242);
    catalogue::ServerList list;
    size_t offered = 0;
    for (int i = 0; i < kIterations; ++i) {
        Bytes d = fuzz.Next();
        for (uint32_t kind : {catalogue::kEliteForce, catalogue::kQuake3, catalogue::kHalfLife}) {
            net::MasterListReply r = net::ReadMasterReply(kind, d.data(), d.size());
            size_t entrySize = kind == catalogue::kEliteForce ? 13 : kind == catalogue::kHalfLife ? 6 : 7;
            ASSERT_LE((r.entries.size() + r.skipped) * entrySize, d.size());
            for (const net::MasterEntry& e : r.entries) {
                for (uint8_t o : e.octets)
                    ASSERT_LE(o, 254);
            }
            offered += r.entries.size();
            net::MergeMasterEntries(list, r.entries);
        }
    }
    ASSERT_LE(list.count, offered);
    for (const catalogue::ServerRecord* s = list.head; s; s = s->next) {
        ASSERT_TRUE(Terminated(s->addressText));
        ASSERT_EQ(list.Find(s->addressText, s->port), s);  // no address and port twice
    }
}

}  // namespace
