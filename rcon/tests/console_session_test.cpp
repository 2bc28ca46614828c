// One console's state machine on a fake network: scripts of what happens to it (opening, prompts
// answered, replies, timer ticks, commands), each step with the datagrams it sends and its effects.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "rcon/console_session.h"
#include "testing/captures.h"
#include "testing/fake_clock.h"
#include "testing/fake_datagram_socket.h"
#include "testing/fake_stream_socket.h"

namespace {

using namespace catalogue;
using testing_support::MakeEndpoint;

const std::string kFF = "\xFF\xFF\xFF\xFF";
const net::Endpoint kServer = MakeEndpoint("127.0.0.1", 27960);

std::string Readable(std::string text) {
    for (size_t at; (at = text.find(kFF)) != std::string::npos;)
        text.replace(at, 4, "~");
    if (text.rfind("~srcon HMAC-MD4 TIME ", 0) == 0)
        text = "~srcon" + text.substr(38);  // the signature left out (checked on its own)
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, "/");
    return text;
}

std::string Describe(const rcon::ConsoleSession& s, const rcon::ConsoleEffect& effect) {
    if (auto* log = std::get_if<rcon::LogAppended>(&effect))
        return "log(" + Readable(log->text) + ")";
    if (std::holds_alternative<rcon::PlayersChanged>(effect)) {
        std::string out = "players(";
        for (const rcon::RconPlayer& p : s.Players())
            out += std::to_string(p.number) + (s.Players().size() > 4 ? "," : "=" + p.name + ",");
        return out + ")";
    }
    if (auto* keep = std::get_if<rcon::KeepPassword>(&effect))
        return "keep(" + keep->password + ":" + std::to_string(keep->port) + ")";
    if (auto* ask = std::get_if<rcon::AskPassword>(&effect))
        return "ask(" + ask->password + ":" + std::to_string(ask->port) + ")";
    if (auto* reason = std::get_if<rcon::AskKickReason>(&effect))
        return "reason(" + std::to_string(reason->number) + ":" + reason->name + ")";
    if (auto* tell = std::get_if<rcon::TellUser>(&effect))
        return "tell(" + tell->message.substr(0, 12) + ")";
    if (auto* props = std::get_if<rcon::ShowProperties>(&effect))
        return "props(" + std::to_string(props->rows.size()) + ")";
    if (auto* maps = std::get_if<rcon::ShowMaps>(&effect))
        return "maps(" + std::to_string(maps->maps.size()) + ")";
    return std::holds_alternative<rcon::CloseConsole>(effect) ? "close" : "cleared";
}

struct Step {
    std::string event;  // see Run
    std::string sent;   // datagrams sent by it, "|" between
    std::string effects;
};

struct Script {
    const char* name;
    uint32_t kind;
    const char* saved;  // the record's password
    std::vector<Step> steps;
};

const std::map<std::string, uint32_t> kTools = {{"props", rcon::kServerProperties},
                                                {"maps", rcon::kChangeMap},
                                                {"refresh", rcon::kRefreshStatus},
                                                {"info", rcon::kServerInfoCommand},
                                                {"clear", rcon::kClearLogCommand}};

// RunScript's events: "open", "type X", "run X", "tool NAME" (of kTools), "auto", "kick N", "tick MS" (time passes, then a
// tick), "reply X" (a datagram from the server, "~" for FF FF FF FF), "stranger X" (from another
// address), "capture FILE" (a captured reply's datagrams), "password PW [PORT]", "cancel",
// "reason X". Source RCON (its connection's events are in `sent`): "connected", "unreachable", "accept",
// "deny", "answer ID X" (FakeStreamLine), "hangup", "garbage".
void RunScript(const Script& script) {
    testing_support::FakeClock clock;
    testing_support::FakeDatagramSocketFactory network(&clock);
    auto line = std::make_shared<testing_support::FakeStreamLine>();
    rcon::ConsoleSetup setup{script.kind, kServer, script.saved, [] { return int64_t(1700000000) * 1000000; }};
    rcon::ConsoleSession session =
        rcon::SpeaksSourceRcon(script.kind)
            ? rcon::ConsoleSession(setup, std::make_unique<testing_support::FakeStreamSocket>(line), clock)
            : rcon::ConsoleSession(setup, network.Open(), clock);
    size_t sentBefore = 0;
    for (const Step& step : script.steps) {
        SCOPED_TRACE(std::string(script.name) + ": " + step.event);
        std::string verb = step.event.substr(0, step.event.find(' '));
        std::string arg = step.event.size() > verb.size() ? step.event.substr(verb.size() + 1) : "";
        std::string datagram = arg;
        for (size_t at; (at = datagram.find('~')) != std::string::npos;)
            datagram.replace(at, 1, kFF);
        const std::map<std::string, std::function<void()>> events = {
            {"open", [&] { session.Open(); }},
            {"type", [&] { session.Type(arg); }},
            {"run", [&] { session.Run(arg); }},
            {"tool", [&] { session.RunTool(kTools.at(arg)); }},
            {"auto", [&] { session.AutoStatus(); }},
            {"kick", [&] { session.Kick(std::stoi(arg)); }},
            {"tick", [&] { clock.AdvanceMs(std::stoul(arg)), session.Tick(); }},
            {"reply", [&] { network.Deliver(kServer, datagram), session.OnReadable(); }},
            {"stranger", [&] { network.Deliver(MakeEndpoint("127.0.0.2", 27960), datagram), session.OnReadable(); }},
            {"capture",
             [&] {
                 std::string bytes = testing_support::ReadCapture(arg.c_str());
                 for (size_t at = 0; at < bytes.size();) {
                     size_t next = bytes.find(kFF, at + 4);
                     network.Deliver(kServer, bytes.substr(at, next - at));
                     at = next == std::string::npos ? bytes.size() : next;
                 }
                 session.OnReadable();
             }},
            {"password",
             [&] {
                 size_t space = arg.find(' ');
                 uint32_t port = space == std::string::npos ? kServer.port : std::stoul(arg.substr(space + 1));
                 session.AnswerPassword(rcon::PasswordAnswer{arg.substr(0, space), port, true});
             }},
            {"cancel", [&] { session.AnswerPassword(std::nullopt); }},
            {"reason", [&] { session.AnswerKickReason(3, arg); }},
            {"connected", [&] { session.OnConnected(0); }},
            {"unreachable", [&] { session.OnConnected(10061); }},
            {"accept", [&] { line->Verdict(true), session.OnReadable(); }},
            {"deny", [&] { line->Verdict(false), session.OnReadable(); }},
            {"answer", [&] { line->Answer(std::stoi(arg), arg.substr(arg.find(' ') + 1)), session.OnReadable(); }},
            {"hangup", [&] { line->ended = true, session.OnReadable(); }},
            {"garbage", [&] { line->incoming = std::string("\x01\0\0\0", 4), session.OnReadable(); }}};
        ASSERT_TRUE(events.count(verb)) << "unknown event";
        events.at(verb)();
        std::vector<testing_support::SentDatagram> sent = network.Sent();
        std::string sentText;
        for (size_t i = sentBefore; i < sent.size(); ++i)
            sentText += (i > sentBefore ? "|" : "") + Readable(sent[i].bytes);
        sentBefore = sent.size();
        sentText += line->events;
        line->events.clear();
        std::string effects;
        for (const rcon::ConsoleEffect& e : session.TakeEffects())
            effects += (effects.empty() ? "" : " ") + Describe(session, e);
        EXPECT_EQ(sentText, step.sent);
        EXPECT_EQ(effects, step.effects);
    }
}

const std::string kTable = "~print\nmap: x\ncl score ping name address rate\n-- ----- ---- ---- ------- -----\n";

const Script kScripts[] = {
    {"a saved password is confirmed first; the table of many datagrams is read whole",
     kQuake3,
     "saved",
     {{"open", "", "ask(saved:27960)"},
      {"auto", "", ""},  // the timer neither sends nor asks again behind the prompt
      {"tick 6000", "", ""},
      {"password pw", "~rcon pw status", "keep(pw:27960)"},
      {"stranger " + kTable + " 1 0 0 Stranger ^7bot 1\n", "", ""},
      {"capture openarena_rcon_status18.bin", "", ""},
      {"tick 300", "", "players(0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,)"},
      {"kick 12", "~rcon pw clientkick 12", ""},
      {"capture openarena_rcon_kick.bin", "", ""},
      {"tick 300", "", "players(0,1,2,3,4,5,6,7,8,9,10,11,13,14,15,16,17,)"},
      {"type g_gametype", "~rcon pw g_gametype", "log(g_gametype//)"},
      {"reply ~print\n\"g_gametype\" is:\"0\"\n", "", "log(\"g_gametype\" is:\"0\"/)"}}},
    {"a rejected password asks once; nothing goes out until it is confirmed again",
     kQuake3,
     "",
     {{"open", "", "ask(:27960)"},
      {"password wrong", "~rcon wrong status", "keep(wrong:27960)"},
      {"reply ~print\nBad rconpassword.\n", "", "tell(You're Remot) ask(:27960)"},
      {"auto", "", ""},
      {"tick 10000", "", ""},
      {"reply ~print\nBad rconpassword.\n", "", ""},  // an answer to an earlier command
      {"password secret", "~rcon secret status", "keep(secret:27960)"},
      {"reply " + kTable + " 3 9 50 Bad rconpassword ^7bot 1\n", "", ""},  // a player of that name
      {"tick 300", "", "players(3=Bad rconpassword,)"},
      {"reply ~print\nNo rconpassword set on the server.\n", "", "tell(No remote co) ask(:27960)"},
      {"cancel", "", "close"},
      {"auto", "", ""}}},
    {"Half-Life asks the challenge again when it is lost and keeps quoted names whole",
     kHalfLife,
     "pw",
     {{"open", "", "ask(pw:27960)"},
      {"password pw", "~challenge rcon", "keep(pw:27960)"},
      {"auto", "", ""},
      {"tick 2900", "", ""},
      {"tick 100", "~challenge rcon", ""},
      {"reply ~", "", ""},
      {"reply \xFF\xFF\xFF", "", ""},  // too short for any reply
      {"reply ~print\nsomething else\n", "", ""},
      {"reply ~challenge rcon 42\n", "~rcon 42 pw status", ""},
      {"reply ~lhostname: Lab\nmap     : de_dust\n\n\n\n\n\n# 1 \"Agent 47\" 18 STEAM_0:1 3 01:00 40 0 127.0.0.1:1\n",
       "", "players(18=\"Agent 47\",)"},
      {"kick 18", "~rcon 42 pw kick # 18", ""},
      {"reply ~lKicked \"Agent 47\"\n", "~rcon 42 pw status", ""},
      {"password other 27015", "", ""}}},  // no prompt is open: ignored
    {"DarkPlaces falls back to the secure form when the plain one gets no answer",
     kNexuiz,
     "secret",
     {{"open", "", "ask(secret:27960)"},
      {"password secret", "~rcon secret status 1", "keep(secret:27960)"},
      {"type fraglimit 20", "", "log(fraglimit 20//)"},  // waits for the form
      {"tick 1500", "~srcon1700000000.000000 status 1", ""},
      {"capture nexuiz_rcon_status.bin", "~srcon1700000000.000000 fraglimit 20",
       "players(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,)"},
      {"reply ~n", "", ""},
      {"kick 3", "~srcon1700000000.000000 kick # 3", ""},
      {"capture nexuiz_rcon_kick.bin", "", "players(1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,)"},
      {"tool maps", "~srcon1700000000.000000 ls maps/*.bsp", ""},
      {"capture nexuiz_rcon_lsmaps.bin", "", "maps(39)"}}},
    {"DarkPlaces keeps the plain form it was answered in, and says so when neither is answered",
     kXonotic,
     "pw",
     {{"open", "", "ask(pw:27960)"},
      {"password pw", "~rcon pw status 1", "keep(pw:27960)"},
      {"reply ~nhost:     Lab\nmap:      downer\n", "", "players()"},
      {"type say hi", "~rcon pw say hi", "log(say hi//)"},
      {"reply ~n<Lab> hi\n", "", "log(<Lab> hi/)"}}},
    {"a DarkPlaces server that answers neither form",
     kNexuiz,
     "pw",
     {{"open", "", "ask(pw:27960)"},
      {"password pw", "~rcon pw status 1", "keep(pw:27960)"},
      {"tick 1500", "~srcon1700000000.000000 status 1", ""},
      {"tick 1500", "", "log(No answer from the server (DarkPlaces servers do not answer a wrong password)./)"}}},
    {"Soldier of Fortune II asks a kick's reason; Medal of Honor has no map list",
     kSoldierOfFortune2,
     "pw",
     {{"open", "", "ask(pw:27960)"},
      {"password pw", "~rcon pw status", "keep(pw:27960)"},
      {"reply ~print\nmap: mp_shop\nnum score ping name\n--- ----- ---- ----\n  3     1   50 Sam\n", "", ""},
      {"reply ~print\n", "", "players(3=Sam,)"},
      {"kick 3", "", "reason(3:Sam)"},
      {"reason camping", "~rcon pw clientkick 3 \"camping\"", ""},
      {"tool props", "~rcon pw cvarlist", ""},
      {"reply ~print\nS     sv_hostname \"Lab\"\n", "", ""},
      {"reply ~print\n\n1 total cvars\n", "", "props(1)"},
      {"run sv_hostname \"My Lab\"", "~rcon pw sv_hostname \"My Lab\"", ""},
      {"tool clear", "", "cleared"}}},
    {"Source: connect, password and status in turn; a reply of several packets; a kick asks for the list again",
     kTeamFortress2,
     "pw",
     {{"open", "", "ask(pw:27960)"},
      {"password pw", "connect(27960)", "keep(pw:27960)"},
      {"auto", "", ""},  // the status asked for is still due
      {"connected", "auth(pw)", ""},
      {"accept", "exec(status)|mark", ""},
      {"answer 2 map     : ctf_2fort\n# userid name uniqueid connected ping loss state adr\n"
       "#      2 \"Alice\" [U:1:2] 05:12 50 0 active 127.0.0.1:1\n#      3 \"Bob\" [U:1:3] 01:02 60 0 active "
       "127.0.0.1:2\n",
       "", "players(2=Alice,3=Bob,)"},
      {"kick 3", "exec(kickid 3)|mark", ""},
      {"answer 4 Kicked Bob\n", "exec(status)|mark", "log(Kicked Bob/)"},
      {"type say hi", "exec(say hi)|mark", "log(say hi//)"},
      {"tool maps", "exec(maps *)|mark", ""},
      {"answer 8 hi\n", "", "log(hi/)"},  // the status before it is over too
      {"answer 10 -------------\nPENDING:   (fs) ctf_2fort.bsp\nPENDING:   (fs) cp_well.bsp\n", "", "maps(2)"}}},
    {"Source: a refused password is told and asked again; the next connection carries the new one",
     kCounterStrikeSource,
     "",
     {{"open", "", "ask(:27960)"},
      {"password wrong 27015", "connect(27015)", "keep(wrong:27015)"},
      {"connected", "auth(wrong)", ""},
      {"deny", "close", "log(The server refused the remote control password./) tell(You're Remot) ask(:27015)"},
      {"auto", "", ""},
      {"password right 27015", "connect(27015)", "keep(right:27015)"},
      {"connected", "auth(right)", ""},
      {"accept", "exec(status)|mark", ""}}},
    {"Source: a failed or slow connect, a silent server, a hang-up and garbage each end the connection",
     kGarrysMod,
     "pw",
     {{"open", "", "ask(pw:27960)"},
      {"password pw", "connect(27960)", "keep(pw:27960)"},
      {"unreachable", "close", "log(Could not connect to the server's remote control port./)"},
      {"tool refresh", "connect(27960)", ""},
      {"tick 4900", "", ""},
      {"tick 100", "close", "log(No connection to the server's remote control port within 5 seconds./)"},
      {"tool props", "connect(27960)", ""},
      {"connected", "auth(pw)", ""},
      {"tick 9900", "", ""},
      {"accept", "exec(cvarlist)|mark", ""},
      {"tick 9900", "", ""},
      {"answer 2 sv_gravity : 800 : , \"sv\" : World gravity.\n", "", "props(1)"},
      {"tick 20000", "", ""},  // nothing due: the connection stays
      {"type status", "exec(status)|mark", "log(status//)"},
      {"tick 10000", "close", "log(No answer from the server for 10 seconds: the connection was closed./)"},
      {"type echo", "connect(27960)", "log(echo//)"},
      {"connected", "auth(pw)", ""},
      {"hangup", "close", "log(The server closed the remote control connection./)"},
      {"auto", "connect(27960)", ""},
      {"connected", "auth(pw)", ""},
      {"garbage", "close", "log(The server's answer was not Source RCON: the connection was closed./)"}}}};

TEST(ConsoleSession, Scripts) {
    for (const Script& script : kScripts)
        RunScript(script);
}

TEST(ConsoleSession, MedalOfHonourHasNoMapListAndAKickReplyBelongsToItsConsole) {
    testing_support::FakeClock clock;
    testing_support::FakeDatagramSocketFactory netA(&clock), netB(&clock);
    rcon::ConsoleSession a({kMedalOfHonour, kServer, "pw"}, netA.Open(), clock);
    rcon::ConsoleSession b({kMedalOfHonour, kServer, "pw"}, netB.Open(), clock);
    const std::string table = kFF +
                              "\x01print\nmap: m\nnum score ping name\n--- ----- ---- ----\n  1     1   50 Ann\n"
                              "  2     1   50 Bob\n";
    for (auto [s, net] : {std::pair{&a, &netA}, std::pair{&b, &netB}}) {
        s->Open();
        s->AnswerPassword(rcon::PasswordAnswer{"pw", kServer.port, false});
        net->Deliver(kServer, table);
        s->OnReadable();
        ASSERT_EQ(s->Players().size(), 2u);
        s->TakeEffects();
    }
    // Both kick, then the first console's reply comes: it removes its own player, not the other's.
    a.Kick(2);
    b.Kick(1);
    netA.Deliver(kServer, kFF + "\x01print\nBob was kicked\n");
    a.OnReadable();
    ASSERT_EQ(a.Players().size(), 1u);
    EXPECT_EQ(a.Players()[0].name, "Ann");
    EXPECT_EQ(b.Players().size(), 2u);
    a.RunTool(rcon::kChangeMap);
    std::vector<rcon::ConsoleEffect> effects = a.TakeEffects();
    ASSERT_FALSE(effects.empty());
    EXPECT_EQ(std::get<rcon::TellUser>(effects.back()).message, rcon::kNoMapListMessage);
}

TEST(ConsoleSession, TheLogKeepsTheNewestTextWithinItsBound) {
    testing_support::FakeClock clock;
    testing_support::FakeDatagramSocketFactory network(&clock);
    rcon::ConsoleSession s({kQuake3, kServer, "pw"}, network.Open(), clock);
    s.Open();
    s.AnswerPassword(rcon::PasswordAnswer{"pw", kServer.port, true});
    s.Type("say");  // nothing pending: every datagram goes to the log
    s.TakeEffects();
    std::string shown = s.Log();  // the log control, as the window keeps it from the effects
    for (int i = 0; i < 400; ++i) {
        network.Deliver(kServer, kFF + "print\nline " + std::to_string(i) + std::string(990, '.') + "\n");
        s.OnReadable();
        for (const rcon::ConsoleEffect& e : s.TakeEffects()) {
            const auto& log = std::get<rcon::LogAppended>(e);
            shown = shown.substr(log.cutFront) + log.text;
        }
        ASSERT_LE(s.Log().size(), rcon::kLogLimit);
    }
    EXPECT_EQ(shown, s.Log());
    EXPECT_EQ(s.Log().substr(0, 5) + s.Log().substr(s.Log().size() - 1000, 8), "line line 399");
}

}  // namespace
