// Clipboard lines of the three panes.
#include "views/clipboard_lines.h"

#include <cstring>
#include <initializer_list>

#include "base/text.h"
#include "views/colour_text.h"

namespace views {

namespace {

// mIRC controls: 0x02 bold on/off, 0x03 colour (12 blue, 1 black, 3 green, 4 red).
constexpr char kBold[] = "\002";
constexpr char kBlueBar[] = "\00312|";
constexpr char kBlack[] = "\0031";
constexpr char kBlackSpace[] = "\0031 ";
constexpr int kGoodPing = 100;

std::string Decimal(int64_t value) {
    return std::to_string(value);
}

void Append(std::string& out, std::initializer_list<std::string_view> parts) {
    for (std::string_view p : parts)
        out += p;
}

std::string PlainName(const char (&hostName)[150]) {
    // The host name without codes, as in a zero-filled buffer of the field's size.
    char plain[sizeof hostName] = {};
    StripColourCodes(hostName, plain, base::FieldLength(hostName));
    return std::string(plain);
}

std::string PingColour(int32_t ping) {
    return ping < kGoodPing ? "\0033 " : "\0034 ";
}

// "<plain name> (<address>:<port>) | <map>" or "Not online".
std::string ServerPartText(const catalogue::ServerRecord* server) {
    if (!server)
        return kNotOnline;
    std::string s = PlainName(server->hostName);
    s += " (";
    s += base::FieldText(server->addressText);
    Append(s, {":", Decimal(server->port), ") | "});
    s += base::FieldText(server->mapName);
    return s;
}

std::string ServerPartIrc(const catalogue::ServerRecord* server) {
    if (!server)
        return kNotOnline;
    std::string s = ColourTextToIrc(base::FieldText(server->hostName));
    s += " (";
    s += kBold;
    s += base::FieldText(server->addressText);
    Append(s, {":", Decimal(server->port)});
    s += kBold;
    s += ") ";
    s += kBlueBar;
    s += kBlackSpace;
    s += base::FieldText(server->mapName);
    return s;
}

std::string LineText(std::string_view name, const catalogue::ServerRecord* server, int32_t score, int32_t ping) {
    std::string s;
    Append(s,
           {StripColourCodes(name), " | ", ServerPartText(server), " | ", Decimal(score), " | ", Decimal(ping), " ms"});
    return s;
}

std::string LineIrc(std::string_view name,
                    const catalogue::ServerRecord* server,
                    int32_t score,
                    int32_t ping,
                    bool spaceBeforeServer) {
    std::string s = ColourTextToIrc(name);
    s += " ";
    s += kBlueBar;
    s += spaceBeforeServer ? kBlackSpace : kBlack;
    s += ServerPartIrc(server);
    s += " ";
    s += kBlueBar;
    s += kBlackSpace;
    s += Decimal(score);
    s += " ";
    s += kBlueBar;
    s += PingColour(ping);
    s += Decimal(ping);
    s += " ms";
    return s;
}

}  // namespace

std::string PlayerLineText(const catalogue::PlayerRecord& p) {
    return LineText(base::FieldText(p.name), p.server, p.score, p.ping);
}

std::string PlayerLineIrc(const catalogue::PlayerRecord& p) {
    return LineIrc(base::FieldText(p.name), p.server, p.score, p.ping, false);
}

std::string BuddyLineText(const catalogue::BuddyRecord& b) {
    return LineText(base::FieldText(b.name), b.server, b.score, b.ping);
}

std::string BuddyLineIrc(const catalogue::BuddyRecord& b) {
    return LineIrc(base::FieldText(b.name), b.server, b.score, b.ping, true);
}

std::string ServerLineText(const catalogue::ServerRecord& r) {
    std::string s;
    Append(s, {PlainName(r.hostName), " | ", base::FieldText(r.addressText), ":", Decimal(r.port), " | ",
               base::FieldText(r.mapName), " | ", Decimal(r.playerCount), "/", Decimal(r.maxPlayers), " | ",
               Decimal(static_cast<int32_t>(r.ping)), " ms"});
    return s;
}

std::string ServerLineIrc(const catalogue::ServerRecord& r) {
    std::string s = ColourTextToIrc(base::FieldText(r.hostName));
    s += " ";
    s += kBlueBar;
    s += kBold;
    s += kBlackSpace;
    s += base::FieldText(r.addressText);
    Append(s, {":", Decimal(r.port), " "});
    s += kBold;
    s += kBlueBar;
    s += kBlackSpace;
    s += base::FieldText(r.mapName);
    s += " ";
    s += kBlueBar;
    s += kBlackSpace;
    Append(s, {Decimal(r.playerCount), "/", Decimal(r.maxPlayers), " "});
    s += kBlueBar;
    s += PingColour(static_cast<int32_t>(r.ping));
    s += Decimal(static_cast<int32_t>(r.ping));
    s += " ms";
    return s;
}

}  // namespace views
