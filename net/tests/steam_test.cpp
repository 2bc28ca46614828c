// Tests of the Steam master's requests, pages and paging, the Source query replies, split
// reassembly and the per-server exchange, and a bounded random-input run over all of them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "net/a2s_exchange.h"
#include "net/a2s_reply.h"
#include "net/a2s_split.h"
#include "net/status_parser.h"
#include "net/steam_master.h"
#include "testing/a2s_bytes.h"
#include "testing/fake_clock.h"
#include "testing/fake_datagram_socket.h"
#include "testing/wire_bytes.h"

namespace {

using testing_support::A2sGoldSrcInfo;
using testing_support::A2sPart;
using testing_support::A2sPlayer;
using testing_support::A2sPlayers;
using testing_support::A2sRules;
using testing_support::A2sSourceInfo;
using testing_support::Le;
using testing_support::S;
using testing_support::U;
using testing_support::Z;
using Status = net::SteamMasterStatus;
using O = net::SplitOutcome;
const std::string kFF = "\xFF\xFF\xFF\xFF", kPage = kFF + "\x66\x0A", kEnd(6, '\0');

// The master entry a.0.0.d:port.
std::string Entry(int a, int d, int port) {
    return {char(a), 0, 0, char(d), char(port >> 8), char(port & 0xFF)};
}

TEST(SteamMaster, RequestsAndPagesAtTheirEdges) {
    auto request = [](uint8_t region, const char* seed, const std::string& filter) {
        const std::vector<uint8_t> r = net::BuildSteamMasterRequest(region, seed, filter);
        return S(r.data(), r.size());
    };
    EXPECT_EQ(request(0xFF, "0.0.0.0:0", "\\appid\\440"), "1\xFF" + Z("0.0.0.0:0") + Z("\\appid\\440"));
    EXPECT_EQ(request(3, "1.2.3.4:5", std::string("\\a\\1\0\\b\\2", 9)), "1\x03" + Z("1.2.3.4:5") + Z("\\a\\1"));
    EXPECT_EQ(request(0, "", std::string(5000, 'f')).size(), 4 + net::kSteamFilterLimit);
    // Page, then "entries | skipped end last".
    const std::pair<std::string, std::string> pages[] = {
        {kPage + Entry(10, 1, 27015) + Entry(10, 2, 27016) + kEnd,
         "10.0.0.1:27015 10.0.0.2:27016 | 0 1 10.0.0.2:27016"},
        {kPage + Entry(10, 1, 1) + Entry(255, 2, 2) + "\x01\x02", "10.0.0.1:1 | 1 0 255.0.0.2:2"},
        {kPage + kEnd + Entry(10, 9, 9), " | 0 1 -"},
        {kPage + Entry(0, 0, 7), "0.0.0.0:7 | 0 0 0.0.0.0:7"},
        {kPage, " | 0 0 -"},
        {kFF + "\x66\x0B" + Entry(10, 1, 1), "invalid"}};
    for (const auto& [datagram, expected] : pages) {
        const net::SteamMasterPage p = net::ReadSteamMasterPage(U(datagram), datagram.size());
        std::string shown;
        for (const net::MasterEntry& e : p.entries)
            shown += (shown.empty() ? "" : " ") + net::SteamSeedOf(e);
        shown += " | " + std::to_string(p.skipped) + " " + std::to_string(p.listEnd) + " " +
                 (p.last ? net::SteamSeedOf(*p.last) : "-");
        EXPECT_EQ(p.valid ? shown : "invalid", expected);
    }
}

// A scripted master: pages of `perPage` of `list` entries from the seed; it drops the requests whose
// number is in `dropped`, answers only `answers` of them (-1: all) and with `repeat` always the first
// page. The first `unusable` entries have addresses no client may take (255.0.0.x).
struct MasterRun {
    const char* name;
    uint32_t maxServers;
    size_t list, perPage;
    std::set<int> dropped;
    int answers;
    bool repeat;
    Status status;
    uint32_t received;
    std::string seeds;  // the seeds of the requests as entry numbers, joined by ' '
    size_t unusable = 0;
};

TEST(SteamMaster, PagesArePacedRetriedAndEndWithWhatCame) {
    const MasterRun runs[] = {
        {"whole list", 999, 5, 2, {}, -1, false, Status::kListEnd, 5, "0 2 4"},
        {"a lost page is asked again", 999, 5, 2, {1}, -1, false, Status::kListEnd, 5, "0 2 2 4"},
        {"silent after a page", 999, 5, 2, {}, 1, false, Status::kMasterSilent, 2, "0 2 2 2"},
        {"most servers", 3, 9, 2, {}, -1, false, Status::kMaxServers, 3, "0 2"},
        {"repeating master", 999, 9, 2, {}, -1, true, Status::kMasterSilent, 2, "0 2 2 2"},
        {"silent from the start", 999, 5, 2, {}, 0, false, Status::kMasterSilent, 0, "0 0 0"},
        {"a page of unusable addresses", 999, 5, 2, {}, -1, false, Status::kListEnd, 3, "0 2 4", 2}};
    const net::Endpoint master{0x0100007F, 27011};
    for (const MasterRun& run : runs) {
        testing_support::FakeClock clock;
        testing_support::FakeDatagramSocketFactory net(&clock);
        auto socket = net.Open();
        net::SteamMasterOptions o;
        o.master = master;
        o.maxServers = run.maxServers;
        net::SteamMasterQuery query(clock, *socket, o);
        // Entry i (from 1) of the list is 10.0.0.i or 255.0.0.i; "entry 0" is the first seed.
        auto seedOf = [&run](size_t i) {
            return i ? net::SteamSeedOf({{uint8_t(i > run.unusable ? 10 : 255), 0, 0, uint8_t(i)}, 27015})
                     : std::string(net::kSteamFirstSeed);
        };
        net.Deliver({0x0200007F, 27011}, kPage + Entry(10, 99, 1));  // a stranger's page: never taken
        query.Start();
        std::string seeds;
        for (size_t step = 0, answered = 0; step < 3000 && !query.finished(); ++step) {
            const auto sent = net.Sent();
            if (sent.size() > answered) {
                const int n = static_cast<int>(answered++);
                size_t asked = 0;  // the page asked for starts after the entry the seed names
                while (asked < run.list && seedOf(asked) != sent.back().bytes.c_str() + 2)
                    ++asked;
                asked = asked < run.list ? asked : 0;
                seeds += (seeds.empty() ? "" : " ") + std::to_string(asked);
                const size_t from = run.repeat ? 0 : asked, to = std::min(run.list, from + run.perPage);
                std::string page = kPage;
                for (size_t i = from; i < to; ++i)
                    page += Entry(i < run.unusable ? 255 : 10, int(i + 1), 27015);
                if (!run.dropped.count(n) && (run.answers < 0 || n < run.answers))
                    net.Deliver(master, to == run.list ? page + kEnd : page);
            }
            clock.AdvanceMs(10);
            query.Poll();
        }
        const std::vector<net::MasterEntry> entries = query.TakeEntries();
        EXPECT_EQ(query.status(), run.status) << run.name;
        EXPECT_EQ(seeds, run.seeds) << run.name;
        ASSERT_EQ(entries.size(), run.received) << run.name;
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(net::SteamSeedOf(entries[i]), seedOf(i + 1 + run.unusable)) << run.name;
        const auto sent = net.Sent();
        for (size_t i = 1; i < sent.size(); ++i)
            EXPECT_GE(sent[i].counter - sent[i - 1].counter, uint64_t(o.pageGapMs) * 1000) << run.name;
        EXPECT_EQ(query.NextWakeMs(), -1);
        EXPECT_EQ(query.StatusText().find("stopped answering") != std::string::npos,
                  run.status == Status::kMasterSilent);
    }
}

// Replies of a Steam kind through parseReply, in turn into one record with its raw copy.
TEST(A2sReplies, InfoInBothFormsPlayersAndRulesFillTheRecordItsModGameTypeAndServerInformation) {
    catalogue::Catalogue cat;
    cat.buildCatalogue();
    const std::string edf = "\xB1" + Le(27016, 2) + Le(76561197960287930ull, 8) + Z("cp,alltalk") + Le(440, 8);
    const std::string hostile = A2sSourceInfo("\x20" + Z(" ALLTALK , Payload")).replace(6, 9, "x\\gamedir\n");
    const std::string rules =
        kFF + "E" + Le(3, 2) + Z("sv_gravity") + Z("80\\0") + Z("mp_timelimit") + Z("30") + "tail";
    // Replies (to Team Fortress 2, or to the Half-Life engine on Steam for the GoldSrc form), then the record as
    // "name|map|folder|version|players/max|pw|type os|mod web|hostPort|mod|game type|players marker[ first
    // player]" or "none", and a part of the raw copy.
    const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
        {{A2sSourceInfo(edf)},
         "Lab ^1One|ctf_2fort|tf|8.1|5/24|1|dw|0 |27016|Team Fortress 2|Control Points|0",
         "\\hostname\\Lab ^1One\\map\\ctf_2fort\\gamedir\\tf\\game\\Team Fortress\\appid\\440\\players\\5\\max_players"
         "\\24\\bots\\1\\password\\1\\secure\\1\\protocol\\17\\version\\8.1\\keywords\\cp,alltalk"},
        // A port cut off is not taken.
        {{A2sSourceInfo("\x80\x87")}, "Lab ^1One|ctf_2fort|tf|8.1|5/24|1|dw|0 |9|Team Fortress 2||0", ""},
        {{A2sSourceInfo("").substr(0, 47)}, "Lab ^1One|ctf_2fort|tf||5/24|0|..|0 |9|Team Fortress 2||0", ""},
        {{A2sSourceInfo("").substr(0, 46)}, "none", ""},
        {{A2sGoldSrcInfo(true)}, "Old|de_dust|cstrike||2/16|0|DL|1 http://mod|9|Counter-Strike 1.6||0", "\\bots\\0"},
        {{kFF + "J" + A2sSourceInfo("").substr(5)}, "none", ""},
        // Tags are matched whole, ignoring case and spaces; the server's backslashes make no keys.
        {{hostile},
         "x\\gamedir\n|ctf_2fort|tf|8.1|5/24|1|dw|0 |9|Team Fortress 2|Payload|0",
         "\\hostname\\x gamedir \\map"},
        // The players come in a reply of their own, the rules add to the copy, junk changes nothing.
        {{A2sSourceInfo(""), A2sPlayers(1, A2sPlayer(3, "^2Al", 9, 3725.9f)), rules, "junk"},
         "Lab ^1One|ctf_2fort|tf|8.1|1/24|1|dw|0 |9|Team Fortress 2||1 ^2Al 9 3725",
         "\\version\\8.1\\sv_gravity\\80 0\\mp_timelimit\\30"}};
    for (const auto& [replies, expected, copied] : rows) {
        catalogue::ServerRecord r;
        base::CopyText(r.addressText, "10.1.1.1");
        r.hostPort = 9;
        r.location[0] = 'x';
        net::RawReply raw;
        bool answered = false;
        const uint32_t kind = replies[0][4] == 'm' ? catalogue::kHalfLifeSteam : catalogue::kTeamFortress2;
        for (const std::string& reply : replies)
            answered = net::parseReply(r, U(reply), reply.size(), kind, cat, &raw);
        auto c = [](uint8_t b) { return b ? char(b) : '.'; };
        std::string shown = std::string(r.hostName) + "|" + r.mapName + "|" + r.gameName + "|" + r.versionText + "|" +
                            std::to_string(r.playerCount) + "/" + std::to_string(r.maxPlayers) + "|" + r.passwordText +
                            "|" + c(r.dedicated) + c(r.serverOs) + "|" + std::to_string(r.isMod) + " " + r.webAddress +
                            "|" + std::to_string(r.hostPort) + "|" + r.modDisplay + "|" + r.gameTypeDisplay + "|" +
                            std::to_string(r.captureLimit);
        if (const catalogue::PlayerRecord* p = r.captureLimit ? r.PlayerAt(0) : nullptr)
            shown +=
                " " + std::string(p->name) + " " + std::to_string(p->score) + " " + std::to_string(p->secondsConnected);
        EXPECT_EQ(answered ? shown : "none", expected);
        EXPECT_NE(std::string(raw.Text()).find(copied), std::string::npos) << raw.Text();
        EXPECT_TRUE(!answered || r.location[0] == '\0');  // what the reply does not describe is cleared
    }

    // Players: as many as announced and whole, names cut to their field, no ping, at most 128 kept.
    const std::string two =
        A2sPlayers(3, A2sPlayer(0, "Alice", 12, 65.5f) + A2sPlayer(4, std::string(60, 'n'), -3, -1.0f) +
                          A2sPlayer(7, "Cut", 1, 2).substr(0, 8));
    const auto players = net::ParseA2sPlayers(U(two), two.size());
    catalogue::ServerRecord r;
    net::ApplyA2sPlayers(r, *players);
    const catalogue::PlayerRecord& n = *r.PlayerAt(1);
    EXPECT_EQ(std::to_string(r.playerCount) + " " + n.name + " " + std::to_string(n.score) + " " +
                  std::to_string(n.number) + " " + std::to_string(n.ping + r.PlayerAt(0)->ping) + " " +
                  std::to_string(r.PlayerAt(0)->secondsConnected) + " " + std::to_string(n.secondsConnected),
              "2 " + std::string(49, 'n') + " -3 4 0 65 0");
    std::string crowd;
    for (int i = 0; i < 200; ++i)
        crowd += A2sPlayer(i, "p", i, 1);
    net::ApplyA2sPlayers(r, *net::ParseA2sPlayers(U(A2sPlayers(200, crowd)), A2sPlayers(200, crowd).size()));
    EXPECT_EQ(r.StoredPlayerCount(), catalogue::kMaxPlayerSlots);
    EXPECT_FALSE(net::ParseA2sPlayers(U(A2sSourceInfo("")), A2sSourceInfo("").size()));
}

TEST(A2sSplit, PartsInAnyOrderWithinBounds) {
    const std::string whole = kFF + "E" + std::string(30, 'r');
    const std::string a = whole.substr(0, 12), b = whole.substr(12, 12), c = whole.substr(24);
    const std::string huge(net::kMaxAssembledSize / 2 + 1, 'x');
    // GoldSrc numbering or not, the parts, and what each leads to: Not split, Malformed, Pending,
    // Complete (the whole reply again), compressed (Z).
    const std::tuple<bool, std::vector<std::string>, std::string> rows[] = {
        {false,
         {A2sPart(true, 7, 3, 2, c), A2sPart(true, 7, 3, 0, a), A2sPart(true, 7, 3, 0, a), A2sPart(true, 7, 3, 1, b)},
         "PPPC"},
        {false, {A2sPart(true, 7, 2, 1, b + c, false), A2sPart(true, 7, 2, 0, a, false)}, "PC"},
        {true, {A2sPart(false, 9, 3, 1, b), A2sPart(false, 9, 3, 2, c), A2sPart(false, 9, 3, 0, a)}, "PPC"},
        // Another reply's part starts over; the earlier reply is never completed from its parts.
        {false,
         {A2sPart(true, 1, 2, 0, a), A2sPart(true, 2, 3, 0, a), A2sPart(true, 1, 2, 1, b + c),
          A2sPart(true, 2, 3, 1, b)},
         "PPPP"},
        {false,
         {A2sPart(true, 0x80000001u, 2, 0, a), whole, A2sPart(true, 3, 2, 2, a), A2sPart(true, 3, 0, 0, a)},
         "ZNMM"},
        {false,
         {A2sPart(true, 3, 33, 0, a), "\xFE\xFF\xFF\xFF\x01", A2sPart(true, 5, 2, 0, kFF + huge),
          A2sPart(true, 5, 2, 1, huge)},
         "MMPM"},
        {true, {A2sPart(false, 3, 2, 0, "notFF"), A2sPart(false, 3, 2, 1, b)}, "PM"}};
    for (const auto& [goldSrc, parts, outcomes] : rows) {
        net::SplitAssembler s(goldSrc ? net::A2sSplitForm::kGoldSrc : net::A2sSplitForm::kSource);
        std::string shown;
        for (const std::string& part : parts) {
            shown += "NMPCZ"[static_cast<int>(s.Take(U(part), part.size()))];
            if (shown.back() == 'C' && S(s.Assembled().data(), s.Assembled().size()) != whole)
                shown += "(wrong)";
        }
        EXPECT_EQ(shown, outcomes);
    }
}

TEST(A2sExchange, ChallengesSplitRepliesAndWhatIsTimed) {
    const std::string info = A2sSourceInfo(""), players = A2sPlayers(1, A2sPlayer(0, "Al", 1, 2));
    const std::string rules = kFF + "E" + Le(1, 2) + Z("k") + Z("v"), challenge = kFF + "A" + Le(0x11223344, 4);
    const std::string query = kFF + Z("TSource Engine Query"), withChallenge = query + Le(0x11223344, 4);
    const std::string askPlayers = kFF + "U" + Le(0xFFFFFFFF, 4), askAgain = kFF + "U" + Le(0x11223344, 4);
    // What is wanted, the datagrams from the server, then each step as
    // "sent[* = starts the ping] reply type[! = answers info][ done]".
    const std::tuple<net::A2sWants, std::vector<std::string>, std::vector<std::string>> rows[] = {
        {{true, false}, {info, players}, {askPlayers + " I!", " D done"}},
        {{true, true},
         {challenge, info, challenge, A2sPart(true, 4, 2, 1, players.substr(9)),
          A2sPart(true, 4, 2, 0, players.substr(0, 9)), rules},
         {withChallenge + "* ", askAgain + " I!", askAgain + " ", " ", kFF + "V" + Le(0x11223344, 4) + " D",
          " E done"}},
        // A second info form, a cut reply and a stranger's bytes answer nothing asked for.
        {{true, false},
         {info, info, kFF + "D", "junk", players, players},
         {askPlayers + " I!", " ", " ", " ", " D done", " "}},
        // Challenges are followed three times per request, then ignored; a compressed reply is refused.
        {{false, false},
         {challenge, challenge, challenge, challenge, A2sPart(true, 0x80000002u, 2, 0, info), info},
         {withChallenge + "* ", withChallenge + "* ", withChallenge + "* ", " ", " ", " I! done"}},
        // A Half-Life server (protocol 48) numbers its split replies the GoldSrc way.
        {{true, false},
         {kFF + "I0" + info.substr(6), A2sPart(false, 4, 2, 1, players.substr(9)),
          A2sPart(false, 4, 2, 0, players.substr(0, 9))},
         {askPlayers + " I!", " ", " D done"}}};
    for (const auto& [wants, in, steps] : rows) {
        net::A2sExchange x(net::A2sSplitForm::kSource, wants);
        const net::A2sRequest first = x.Start();
        EXPECT_EQ(S(first.bytes, first.size), query);
        for (size_t i = 0; i < in.size(); ++i) {
            const net::A2sStep s = x.Take(U(in[i]), in[i].size());
            const std::string shown = (s.send ? S(s.send->bytes, s.send->size) : "") + (s.sendStartsPing ? "* " : " ") +
                                      (s.reply ? std::string(1, char(s.replyType)) : "") + (s.answersInfo ? "!" : "") +
                                      (s.complete ? " done" : "");
            EXPECT_EQ(shown, steps[i]) << "datagram " << i;
        }
        EXPECT_TRUE(x.complete());
        EXPECT_EQ(x.CompressedRefused(), !wants.players && !wants.rules);
    }
}

// Random and half-random datagrams: no reader looks past its datagram (heap blocks of their exact
// size under the sanitizers), counts stay bounded, and the assembler never hands out more than its
// bound or a reply without its header.
TEST(SteamFuzz, HostileDatagramsAreIgnoredSafely) {
    std::mt19937 rng(20250117);
    const std::string heads[] = {kPage, kFF + "I", kFF + "m", kFF + "D", kFF + "E", kFF + "A"};
    net::SplitAssembler split[] = {net::SplitAssembler(net::A2sSplitForm::kSource),
                                   net::SplitAssembler(net::A2sSplitForm::kGoldSrc)};
    net::A2sExchange exchange(net::A2sSplitForm::kSource, {true, true});
    exchange.Start();
    catalogue::ServerRecord record;
    for (int i = 0; i < 10000; ++i) {
        std::string d = rng() % 4 ? heads[rng() % 6] : "\xFE\xFF\xFF\xFF" + Le(rng() % 3, 4) + char(rng() % 4);
        for (size_t k = 0, n = rng() % 3 ? rng() % 80 : rng() % 3000; k < n; ++k)
            d += static_cast<char>(rng() % 4 == 0 ? 0 : rng() % 7 == 0 ? 0xFF : rng());
        const std::vector<uint8_t> exact(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(rng() % (d.size() + 1)));
        const uint8_t* p = exact.data();
        const net::SteamMasterPage page = net::ReadSteamMasterPage(p, exact.size());
        ASSERT_LE((page.entries.size() + page.skipped) * 6 + 6, std::max<size_t>(exact.size(), 6));
        if (auto info = net::ParseA2sInfo(p, exact.size()))
            net::ApplyA2sInfo(record, *info);
        if (auto players = net::ParseA2sPlayers(p, exact.size()))
            net::ApplyA2sPlayers(record, *players);
        if (auto rules = net::ParseA2sRules(p, exact.size())) {
            ASSERT_LE(rules->size(), net::kMaxA2sRules);
        }
        ASSERT_LE(record.StoredPlayerCount(), catalogue::kMaxPlayerSlots);
        for (net::SplitAssembler& s : split) {
            if (s.Take(p, exact.size()) == O::kComplete) {
                ASSERT_TRUE(s.Assembled().size() <= net::kMaxAssembledSize && S(s.Assembled().data(), 4) == kFF);
            }
        }
        const net::A2sStep step = exchange.Take(p, exact.size());
        ASSERT_TRUE(!step.reply || net::A2sReplyTypeOf(step.reply, step.replySize) == step.replyType);
        if (exchange.complete())
            exchange.Start();
    }
}

}  // namespace
