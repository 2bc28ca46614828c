// Information-mode rows, URL values and the copied text of the Server Properties dialog.
#include "rcon/server_properties.h"

#include <algorithm>

#include "base/text.h"
#include "catalogue/catalogue.h"
#include "rcon/rcon_protocol.h"
#include "views/web_address.h"

namespace rcon {

namespace {

constexpr std::string_view kPlayerKeyPrefixes[] = {"player_", "frags_", "ping_",     "team_",  "mesh_",
                                                   "skin_",   "face_",  "ngsecret_", "deaths_"};
constexpr size_t kLongestText = 255;
constexpr size_t kCopyAllLimit = 8191;
constexpr size_t kLongestChangedProperty = 23;

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return base::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

size_t PairsStart(uint32_t kind) {
    if (catalogue::IsSteamGame(kind))
        return 0;  // the refresh keeps a Source query server's info and rules as pairs
    switch (kind) {
        case catalogue::kUnrealTournament:
        case catalogue::kRenegade:
            return 0;
        case catalogue::kMedalOfHonour:
            return 20;
        default:
            return 19;
    }
}

}  // namespace

std::vector<PropertyRow> InformationRows(uint32_t kind, std::string_view reply) {
    std::vector<PropertyRow> rows;
    size_t at = PairsStart(kind);
    if (kind == catalogue::kHalfLife || at >= reply.size() || reply[at] != '\\')
        return rows;
    std::string_view text = reply.substr(at, reply.find('\n', at) - at);
    while (!text.empty() && text[0] == '\\') {
        size_t keyEnd = text.find('\\', 1);
        std::string_view key = text.substr(1, keyEnd == std::string_view::npos ? std::string_view::npos : keyEnd - 1);
        std::string_view value;
        if (keyEnd != std::string_view::npos) {
            size_t valueEnd = text.find('\\', keyEnd + 1);
            value = text.substr(keyEnd + 1,
                                valueEnd == std::string_view::npos ? std::string_view::npos : valueEnd - keyEnd - 1);
            text = valueEnd == std::string_view::npos ? std::string_view() : text.substr(valueEnd);
        } else {
            text = std::string_view();
        }
        bool playerKey = false;
        for (std::string_view prefix : kPlayerKeyPrefixes)
            playerKey = playerKey || StartsNoCase(key, prefix);
        if (playerKey || key.size() > kLongestText)
            continue;
        rows.push_back({std::string(key), value.size() > kLongestText ? std::string() : std::string(value), false});
    }
    return rows;
}

namespace {

std::vector<std::string_view> Lines(std::string_view text, std::string_view breaks) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find_first_of(breaks, at);
        lines.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return lines;
}

std::string_view TrimRight(std::string_view text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void AddRow(std::vector<PropertyRow>& rows, std::string_view property, std::string_view value, bool readOnly) {
    if (property.empty() || property.size() > kLongestText)
        return;
    rows.push_back({std::string(property), value.size() > kLongestText ? std::string() : std::string(value), readOnly});
}

// DarkPlaces: 'name is "value" ["default"] description'; the value may hold double quotes of its own.
std::vector<PropertyRow> DarkPlacesCvarRows(std::string_view reply) {
    std::vector<PropertyRow> rows;
    for (std::string_view line : Lines(reply, "\n")) {
        size_t is = line.find(" is \"");
        if (is == std::string_view::npos || line.find(' ') != is)
            continue;
        std::string_view value = line.substr(is + 5);
        size_t end = value.find("\" [\"");
        AddRow(rows, line.substr(0, is), value.substr(0, end == std::string_view::npos ? value.rfind('"') : end),
               false);
    }
    return rows;
}

std::string_view Trim(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : TrimRight(text.substr(start));
}

// Source: "name : value : flags : description"; a command (value "cmd") has nothing to set.
std::vector<PropertyRow> SourceCvarRows(std::string_view reply) {
    std::vector<PropertyRow> rows;
    for (std::string_view line : Lines(reply, "\r\n")) {
        size_t colon = line.find(" : ");
        if (colon == std::string_view::npos || line[0] == ' ' || line[0] == '-')
            continue;
        std::string_view property = Trim(line.substr(0, colon)), value = line.substr(colon + 3);
        value = Trim(value.substr(0, value.find(" : ")));
        if (value != "cmd" && property.find(' ') == std::string_view::npos)
            AddRow(rows, property, value, false);
    }
    return rows;
}

}  // namespace

std::vector<PropertyRow> CvarRows(uint32_t kind, std::string_view reply) {
    if (catalogue::IsDarkPlaces(kind))
        return DarkPlacesCvarRows(reply);
    if (SpeaksSourceRcon(kind))
        return SourceCvarRows(reply);
    std::vector<PropertyRow> rows;
    std::vector<std::string_view> lines = Lines(reply, "\n");
    for (size_t number = 0; number < lines.size(); ++number) {
        std::string_view line = lines[number];
        if (line.empty())
            break;
        if (SpeaksHalfLifeRcon(kind)) {
            if (line[0] == '-' || (line[0] >= '0' && line[0] <= '9') || number < 2 || StartsNoCase(line, "cvarlist"))
                continue;
            size_t space = line.find(' ');
            std::string_view property = line.substr(0, space);
            size_t valueStart = space == std::string_view::npos ? line.size() : line.find_first_not_of(" :", space);
            std::string_view value =
                valueStart == std::string_view::npos ? std::string_view() : line.substr(valueStart);
            value = value.substr(0, value.find(','));
            if (!value.empty() && value[0] == '"') {
                value.remove_prefix(1);
                value = value.substr(0, value.find('"'));
            }
            AddRow(rows, property, value, false);
            continue;
        }
        size_t quote = line.find('"');
        std::string_view head = TrimRight(line.substr(0, quote));
        size_t nameStart = head.find_last_of(' ');
        nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
        std::string_view flags = head.substr(0, nameStart);
        std::string_view value;
        if (quote != std::string_view::npos) {
            value = line.substr(quote + 1);
            value = value.substr(0, value.find('"'));
        }
        AddRow(rows, head.substr(nameStart), value, flags.find('R') != std::string_view::npos);
    }
    return rows;
}

std::vector<std::string> MapListEntries(std::string_view text) {
    std::vector<std::string> maps;
    for (std::string_view line : Lines(text, "\r\n")) {
        if (line.find(".bsp") == std::string_view::npos || line.size() < 4)
            continue;
        line.remove_suffix(4);
        // Today's Source builds put "PENDING:" and spaces before each entry.
        if (line.substr(0, 8) == "PENDING:")
            line = line.substr(std::min(line.size(), line.find_first_not_of(' ', 8)));
        if (StartsNoCase(line, "(fs) "))
            line.remove_prefix(5);
        maps.emplace_back(line);
    }
    return maps;
}

std::vector<std::string> DarkPlacesMapEntries(std::string_view text) {
    std::vector<std::string> maps;
    for (size_t at = text.find_first_not_of(" \r\n"); at != std::string_view::npos;
         at = text.find_first_not_of(" \r\n", at)) {
        size_t end = std::min(text.find_first_of(" \r\n", at), text.size());
        std::string_view word = text.substr(at, end - at);
        at = end;
        if (word.size() <= 9 || word.substr(0, 5) != "maps/" || word.substr(word.size() - 4) != ".bsp")
            continue;
        maps.emplace_back(word.substr(5, word.size() - 9));
    }
    return maps;
}

std::string ChangeCvarCommand(std::string_view property, std::string_view value) {
    std::string command = std::string(property.substr(0, kLongestChangedProperty)) + " \"";
    for (char c : value) {
        if (c != '"' && static_cast<unsigned char>(c) >= ' ')
            command += c;
    }
    return command + "\"";
}

std::string UrlToOpen(std::string_view value) {
    return views::WebAddressToOpen(value.data(), value.size());
}

std::string CopyAllText(const std::vector<PropertyRow>& rows) {
    std::string text;
    for (const PropertyRow& row : rows)
        text += row.property + " " + row.value + "\r\n";
    return text.substr(0, kCopyAllLimit);
}

}  // namespace rcon
