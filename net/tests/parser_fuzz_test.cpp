// Bounded fuzz runs of every network parser: status replies, player lines, master lists, version replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "net/master_list.h"
#include "net/status_parser.h"
#include "net/version_check.h"

namespace {

using catalogue::ServerRecord;
using Bytes = std::vector<uint8_t>;

constexpr int kIterations = 3000;

// A literal with its zero bytes.
template <size_t N>
std::string S(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// Random datagrams, and valid datagrams of every format with random edits: bytes changed, bytes that
// matter to the formats inserted, cuts, long runs, repeated pieces (many lines or entries).
class Fuzzer {
  public:
    explicit Fuzzer(uint32_t seed) : rng_(seed) {
        for (const std::string& s :
             {S("\xFF\xFF\xFF\xFFstatusResponse\n\\sv_hostname\\^1Lab\\gamename\\baseq3\\g_gametype\\4\\sv_maxclients"
                "\\16\\g_needpass\\0\\url\\^2http://x\n12 50 \"^2Alice\"\n0 0 \"Bot\"\n"),
              S("\xFF\xFF\xFF\xFF\x01statusResponse\n\\sv_hostname\\Allied\\protocol\\8\n50 \"Pvt\"\n"),
              S("\\hostname\\UT\\gamename\\ut\\gametype\\CTFGame\\numplayers\\2\\player_0\\A\\frags_0\\5\\ping_0\\40"
                "\\player_1\\B\\frags_1\\-2\\final\\\\queryid\\1.1"),
              S("\xFF\xFF\xFF\xFFm10.0.0.1:27015\0Name\0de_dust\0cstrike\0CS\0\4\x14\x2E"
                "dl\1\1http\0"),
              S("\xFF\xFF\xFF\xFF"
                "D\2\0P\0\5\0\0\0\0\0\x80\x3F\1P\0\5\0\0\0\0\0\x80\x3F"),
              S("\xFF\xFF\xFF\xFFgetserversResponse\\\x0A\0\0\1\x6D\x38\\\x0A\0\0\2\x6D\x38\\EOT\0\0\0"),
              S("\xFF\xFF\xFF\xFFgetserversResponse\n\\0a0000016d38\\0A0000026D38\\EOT"),
              S("\xFF\xFF\xFF\xFF"
                "f\n\1\0\0\0\x0A\0\0\1\x69\x87\x0A\0\0\2\x69\x87\0"),
              S("2.0a\r\n")})
            seeds_.emplace_back(s.begin(), s.end());
    }
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
    Bytes Next(size_t limit) {
        Bytes d;
        if (Pick(4) == 0) {  // mostly short, now and then as long as a receive buffer
            d.resize(Pick(8) == 0 ? Pick(limit + 1) : Pick(64));
            for (uint8_t& b : d)
                b = static_cast<uint8_t>(Pick(256));
            return d;
        }
        static const uint8_t kSpecial[] = {'\\', '\n', '"', ' ', '^', 0, 0xFF, 'm', 'D', '_', 0x80, 0xFE};
        d = seeds_[Pick(seeds_.size())];
        for (int edits = 1 + static_cast<int>(Pick(8)); edits > 0; --edits) {
            const size_t at = d.empty() ? 0 : Pick(d.size());
            switch (Pick(5)) {
                case 0:
                    if (!d.empty())
                        d[at] = static_cast<uint8_t>(Pick(256));
                    break;
                case 1:
                    d.insert(d.begin() + at, kSpecial[Pick(sizeof kSpecial)]);
                    break;
                case 2:
                    d.resize(at);
                    break;
                case 3:
                    d.insert(d.begin() + at, Pick(2) ? Pick(300) : Pick(4096),
                             Pick(2) ? kSpecial[Pick(sizeof kSpecial)] : 'A');
                    break;
                default:
                    if (!d.empty()) {
                        const Bytes piece(d.begin() + at,
                                          d.begin() + at + 1 + Pick(std::min<size_t>(d.size() - at, 64)));
                        for (size_t times = 1 + Pick(200); times > 0; --times)
                            d.insert(d.end(), piece.begin(), piece.end());
                    }
            }
        }
        d.resize(std::min(d.size(), limit));
        return d;
    }

  private:
    std::mt19937 rng_;
    std::vector<Bytes> seeds_;
};

template <size_t N>
bool Terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

TEST(ParserFuzz, EveryParserKeepsItsRecordsListsAndTextsSound) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    Fuzzer fuzz(20240611);
    net::RawReply raw;
    ServerRecord kept[catalogue::kGameKindCount];  // one record per kind through all replies, as a list keeps it
    catalogue::ServerList list;
    for (int i = 0; i < kIterations; ++i) {
        const Bytes datagram = fuzz.Next(net::kMasterBufferSize);
        // Each parser gets exactly its datagram in a heap block of that size: a read past it is caught.
        const Bytes d(datagram.begin(), datagram.begin() + std::min(datagram.size(), net::kStatusBufferSize));
        const auto kind = static_cast<uint32_t>(fuzz.Pick(catalogue::kGameKindCount));
        ServerRecord fresh;
        fresh.isFavourite = static_cast<uint32_t>(fuzz.Pick(2));
        for (ServerRecord* r : {&kept[kind], &fresh}) {
            base::CopyText(r->addressText, "10.0.0.1");
            const bool answered = net::parseReply(*r, d.data(), d.size(), kind, cat, fuzz.Pick(2) ? &raw : nullptr);
            ASSERT_TRUE(Terminated(r->hostName) && Terminated(r->mapName) && Terminated(r->infoText) &&
                        Terminated(r->gameName) && Terminated(r->modDisplay) && Terminated(r->webAddress) &&
                        Terminated(r->location) && Terminated(r->versionText) && Terminated(r->adminEmail) &&
                        Terminated(r->passwordText) && Terminated(r->gameTypeDisplay))
                << "iteration " << i;
            ASSERT_TRUE(r->StoredPlayerCount() >= 0 && r->StoredPlayerCount() <= catalogue::kMaxPlayerSlots);
            for (int p = 0; p < r->StoredPlayerCount(); ++p)
                ASSERT_TRUE(Terminated(r->PlayerAt(p)->name)) << "iteration " << i;
            ASSERT_LE(r->modIndex, cat.GameOf(kind)->mods.size());
            ASSERT_TRUE(answered ? r->hostName[0] != '\0' : r->ping == catalogue::kNoPing) << "iteration " << i;
            ASSERT_LE(raw.size, net::kStatusBufferSize);
        }
        const std::string_view text(reinterpret_cast<const char*>(d.data()), d.size());
        for (uint32_t lineKind : {catalogue::kQuake3, catalogue::kMedalOfHonour}) {
            const int lines = net::countPlayerLines(lineKind, text);
            catalogue::PlayerRecord slot;
            const int n = static_cast<int>(fuzz.Pick(static_cast<size_t>(lines) + 3));
            const bool ok = net::parsePlayerLine(lineKind, text, n, slot);
            ASSERT_TRUE(Terminated(slot.name) && lines >= 0);
            ASSERT_TRUE(!ok || (n >= 1 && n <= std::min(lines, catalogue::kMaxPlayerSlots))) << "iteration " << i;
        }
        char field[12];
        net::copyStripped(text, field);
        ASSERT_TRUE(Terminated(field));

        // Master lists: whole entries only, no address byte above 254, no address and port twice.
        const Bytes whole(datagram.begin(), datagram.end());
        const uint32_t listKind = i % 3 == 0   ? catalogue::kEliteForce
                                  : i % 3 == 1 ? catalogue::kQuake3
                                               : catalogue::kHalfLife;
        const net::MasterListReply r = net::ReadMasterReply(listKind, whole.data(), whole.size());
        const size_t entrySize = listKind == catalogue::kEliteForce ? 13 : listKind == catalogue::kHalfLife ? 6 : 7;
        ASSERT_LE((r.entries.size() + r.skipped) * entrySize, whole.size());
        for (const net::MasterEntry& e : r.entries)
            ASSERT_TRUE(e.octets[0] < 255 && e.octets[1] < 255 && e.octets[2] < 255 && e.octets[3] < 255);
        const uint32_t before = list.count;
        ASSERT_EQ(before + net::MergeMasterEntries(list, r.entries), list.count);

        // Version replies: the first 255 bytes up to a zero byte, judged against the own version.
        const Bytes segment(datagram.begin(), datagram.begin() + std::min<size_t>(datagram.size(), 600));
        const net::VersionVerdict v = net::JudgeVersionReply(segment.data(), segment.size(), "2.0a");
        const std::string version = net::VersionReplyText(segment.data(), segment.size());
        ASSERT_TRUE(version.size() <= 255 && version.find('\0') == std::string::npos) << "iteration " << i;
        ASSERT_EQ(v.offerDownload, !version.empty() && !base::EqualsNoCase(version, "2.0a"));
        ASSERT_TRUE(!v.offerDownload || v.question.compare(8, version.size(), version) == 0);
    }
    for (const ServerRecord* s = list.head; s; s = s->next)
        ASSERT_EQ(list.Find(s->addressText, s->port), s);
}

}  // namespace
