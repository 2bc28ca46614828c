// Information-mode rows, URL values and the copied text of the Server Properties dialog.
#include "rcon/server_properties.h"

#include "base/text.h"
#include "catalogue/catalogue.h"

namespace rcon {

namespace {

constexpr std::string_view kPlayerKeyPrefixes[] = {"player_", "frags_", "ping_",     "team_",  "mesh_",
                                                   "skin_",   "face_",  "ngsecret_", "deaths_"};
constexpr size_t kLongestText = 255;
constexpr size_t kCopyAllLimit = 8191;

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return base::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

size_t PairsStart(uint32_t kind) {
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

bool OpensAsUrl(std::string_view value) {
    return StartsNoCase(value, "http://") || StartsNoCase(value, "https://") || StartsNoCase(value, "www.") ||
           StartsNoCase(value, "ftp://");
}

std::string CopyAllText(const std::vector<PropertyRow>& rows) {
    std::string text;
    for (const PropertyRow& row : rows)
        text += row.property + " " + row.value + "\r\n";
    return text.substr(0, kCopyAllLimit);
}

}  // namespace rcon
