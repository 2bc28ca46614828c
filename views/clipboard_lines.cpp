// Clipboard lines of the three panes.
#include "views/clipboard_lines.h"

#include <cstring>
#include <initializer_list>

#include "base/text.h"
#include "views/game_colours.h"

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

std::string PlainName(const char (&hostName)[150], ColourDialect d) {
    return StripColourCodes(base::FieldText(hostName), d);
}

std::string PingColour(int32_t ping) {
    return ping < kGoodPing ? "\0033 " : "\0034 ";
}

// "<plain name> (<address>:<port>) | <map>" or "Not online".
std::string ServerPartText(const catalogue::ServerRecord* server, ColourDialect d) {
    if (!server)
        return kNotOnline;
    std::string s = PlainName(server->hostName, d);
    s += " (";
    s += base::FieldText(server->addressText);
    Append(s, {":", Decimal(server->port), ") | "});
    s += base::FieldText(server->mapName);
    return s;
}

std::string ServerPartIrc(const catalogue::ServerRecord* server, ColourDialect d) {
    if (!server)
        return kNotOnline;
    std::string s = ColourTextToIrc(base::FieldText(server->hostName), d);
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

std::string LineText(std::string_view name,
                     const catalogue::ServerRecord* server,
                     int32_t score,
                     int32_t ping,
                     ColourDialect d) {
    std::string s;
    Append(s,
           {StripColourCodes(name, d), " | ", ServerPartText(server, d), " | ", Decimal(score), " | ", Decimal(ping), " ms"});
    return s;
}

std::string LineIrc(std::string_view name,
                    const catalogue::ServerRecord* server,
                    int32_t score,
                    int32_t ping,
                    bool spaceBeforeServer,
                    ColourDialect d) {
    std::string s = ColourTextToIrc(name, d);
    s += " ";
    s += kBlueBar;
    s += spaceBeforeServer ? kBlackSpace : kBlack;
    s += ServerPartIrc(server, d);
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

std::string PlayerLineText(const catalogue::PlayerRecord& p, ColourDialect d) {
    return LineText(base::FieldText(p.name), p.server, p.score, p.ping, d);
}

std::string PlayerLineIrc(const catalogue::PlayerRecord& p, ColourDialect d) {
    return LineIrc(base::FieldText(p.name), p.server, p.score, p.ping, false, d);
}

std::string BuddyLineText(const catalogue::BuddyRecord& b, ColourDialect d) {
    return LineText(base::FieldText(b.name), b.server, b.score, b.ping, d);
}

std::string BuddyLineIrc(const catalogue::BuddyRecord& b, ColourDialect d) {
    return LineIrc(base::FieldText(b.name), b.server, b.score, b.ping, true, d);
}

std::string ServerLineText(const catalogue::ServerRecord& r, ColourDialect d) {
    std::string s;
    Append(s, {PlainName(r.hostName, d), " | ", base::FieldText(r.addressText), ":", Decimal(r.port), " | ",
               base::FieldText(r.mapName), " | ", Decimal(r.playerCount), "/", Decimal(r.maxPlayers), " | ",
               Decimal(static_cast<int32_t>(r.ping)), " ms"});
    return s;
}

std::string ServerLineIrc(const catalogue::ServerRecord& r, ColourDialect d) {
    std::string s = ColourTextToIrc(base::FieldText(r.hostName), d);
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
