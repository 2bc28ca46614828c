// Status tables: Half-Life's quoted names, Source's rows laid out by their header, DarkPlaces' extended rows, the
// header-led table of today's Quake III engines and the fixed columns of the older ones.
#include "rcon/status_table.h"

#include <algorithm>
#include <optional>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "rcon/rcon_protocol.h"

namespace rcon {

namespace {

std::string_view From(std::string_view text, size_t pos) {
    return pos < text.size() ? text.substr(pos) : std::string_view();
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Words separated by runs of spaces; with quotedWords, a word that starts with a double quote runs
// to the next one (or the end) and keeps both.
std::vector<std::string_view> Words(std::string_view line, bool quotedWords = false) {
    std::vector<std::string_view> words;
    for (size_t at = line.find_first_not_of(' '); at != std::string_view::npos; at = line.find_first_not_of(' ', at)) {
        size_t end = line.find(' ', at);
        if (quotedWords && line[at] == '"') {
            size_t close = line.find('"', at + 1);
            end = close == std::string_view::npos ? std::string_view::npos : close + 1;
        }
        end = std::min(end, line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::string_view TrimRight(std::string_view text) {
    size_t end = text.find_last_not_of(" \r");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// Half-Life's "#" rows; field 1 (the slot) is skipped.
std::vector<RconPlayer> HalfLifeRows(std::string_view reply) {
    std::vector<RconPlayer> players;
    std::vector<std::string_view> lines = Lines(reply);
    for (size_t number = 7; number < lines.size(); ++number) {
        std::string_view line = lines[number];
        if (line.empty() || line[0] != '#')
            continue;
        std::vector<std::string_view> fields = Words(From(line, 2), true);
        auto field = [&fields](size_t n) { return n <= fields.size() ? std::string(fields[n - 1]) : std::string(); };
        RconPlayer p{field(2), field(5), std::string(TrimRight(field(7))), base::ParseDecimal(field(3))};
        if (!p.ping.empty())
            players.push_back(std::move(p));
    }
    return players;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Source's "#" rows. The columns after the name come from the header line ("# userid name uniqueid
// connected ping loss state adr"; some games add "rate"); without one, that order is assumed. A
// row whose user id is not a number, or that has no quoted name, is not a player row.
std::vector<RconPlayer> SourceRows(std::string_view reply) {
    std::vector<std::string_view> columns = {"uniqueid", "connected", "ping", "loss", "state", "adr"};
    std::vector<RconPlayer> players;
    for (std::string_view line : Lines(reply)) {
        line = TrimRight(line);
        if (line.empty() || line[0] != '#')
            continue;
        std::vector<std::string_view> words = Words(From(line, 1));
        if (words.size() > 2 && words[0] == "userid" && words[1] == "name") {
            columns.assign(words.begin() + 2, words.end());
            continue;
        }
        // Before the name: the user id (CS:GO prints the slot after it).
        size_t open = line.find('"'), close = line.rfind('"');
        std::vector<std::string_view> ids = Words(line.substr(1, open == std::string_view::npos ? 0 : open - 1));
        if (open == close || ids.empty() || ids.size() > 2 || !std::all_of(ids.begin(), ids.end(), AllDigits) ||
            ids[0].size() > 9)
            continue;
        std::vector<std::string_view> rest = Words(From(line, close + 1));
        auto ping = std::find(columns.begin(), columns.end(), "ping");
        size_t at = static_cast<size_t>(ping - columns.begin());
        // A bot's row stops after its unique id and state: nothing stands at the ping's place, or no number.
        std::string pingText = ping != columns.end() && rest.size() == columns.size() && AllDigits(rest[at])
                                   ? std::string(rest[at])
                                   : std::string();
        players.push_back({std::string(line.substr(open + 1, close - open - 1)), std::string(), pingText,
                           base::ParseDecimal(ids[0])});
    }
    return players;
}

// The line after a header line that starts with `header` once its colour code is removed.
std::optional<size_t> RowsAfterHeader(const std::vector<std::string_view>& lines, std::string_view header) {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.size() >= 2 && line[0] == '^')
            line.remove_prefix(2);
        if (line.substr(0, header.size()) == header)
            return i + 1;
    }
    return std::nullopt;
}

// "^3botclient   0    0  0:00:33    2  #1   ^7[BOT]Mystery": address, loss, ping, time, frags,
// number, name.
std::optional<std::vector<RconPlayer>> DarkPlacesRows(std::string_view reply) {
    std::vector<std::string_view> lines = Lines(reply);
    std::optional<size_t> first = RowsAfterHeader(lines, "IP ");
    if (!first || lines[*first - 1].find("%pl ping") == std::string_view::npos)
        return std::nullopt;
    std::vector<RconPlayer> players;
    for (size_t i = *first; i < lines.size() && !lines[i].empty(); ++i) {
        std::string_view line = lines[i];
        std::vector<std::string_view> w = Words(line);
        if (w.size() < 7 || w[5].size() < 2 || w[5][0] != '#')
            continue;
        std::string_view name = TrimRight(From(line, size_t(w[5].data() + w[5].size() - line.data())));
        name = From(name, name.find_first_not_of(' '));
        if (name.substr(0, 2) == "^7")
            name.remove_prefix(2);
        players.push_back({std::string(name), std::string(w[4]), std::string(w[2]), base::ParseDecimal(From(w[5], 1))});
    }
    return players;
}

// Today's Quake III engines pad a name to its visible width, so a name with colour codes pushes the
// later columns to the right: the name is what stands between the ping and the last two fields.
std::optional<std::vector<RconPlayer>> ModernQuakeRows(std::string_view reply) {
    std::vector<std::string_view> lines = Lines(reply);
    std::optional<size_t> dashes = RowsAfterHeader(lines, "cl score ping name");
    if (!dashes || *dashes >= lines.size() || lines[*dashes].substr(0, 2) != "--")
        return std::nullopt;
    std::vector<RconPlayer> players;
    for (size_t i = *dashes + 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        std::vector<std::string_view> w = Words(line);
        if (w.size() < 6)
            continue;
        size_t nameStart = static_cast<size_t>(w[2].data() + w[2].size() - line.data()) + 1;
        size_t nameEnd = static_cast<size_t>(w[w.size() - 2].data() - line.data());
        std::string_view name = TrimRight(line.substr(nameStart, nameEnd - nameStart));
        players.push_back({std::string(name), std::string(w[1]), std::string(w[2]), base::ParseDecimal(w[0])});
    }
    return players;
}

std::string Cut(std::string_view line, size_t at, size_t length) {
    return std::string(From(line, at).substr(0, length));
}

std::vector<RconPlayer> FixedColumnRows(std::string_view reply) {
    std::vector<RconPlayer> players;
    std::vector<std::string_view> lines = Lines(reply);
    for (size_t number = 3; number < lines.size(); ++number) {
        std::string_view line = lines[number];
        RconPlayer p{Cut(line, 15, 14), Cut(line, 5, 4), Cut(line, 11, 3), base::ParseDecimal(Cut(line, 1, 2))};
        if (!p.ping.empty())
            players.push_back(std::move(p));
    }
    return players;
}

}  // namespace

bool IsStatusReply(std::string_view reply) {
    for (std::string_view line : Lines(reply)) {
        size_t colon = line.find_first_not_of(' ', 3);
        if (line.substr(0, 3) == "map" && colon != std::string_view::npos && line[colon] == ':')
            return true;
    }
    return false;
}

std::vector<RconPlayer> ParseStatusReply(uint32_t kind, std::string_view reply) {
    if (SpeaksHalfLifeRcon(kind))
        return HalfLifeRows(reply);
    if (SpeaksSourceRcon(kind))
        return SourceRows(reply);
    if (catalogue::IsDarkPlaces(kind)) {
        if (auto rows = DarkPlacesRows(reply))
            return *rows;
    }
    if (auto rows = ModernQuakeRows(reply))
        return *rows;
    return FixedColumnRows(reply);
}

}  // namespace rcon
