// Find Player logic.
#include "views/find_player.h"

#include "base/settings_index.h"
#include "base/text.h"
#include "views/colour_text.h"
#include "views/player_rows.h"

namespace views {

namespace {

std::string ReadFindKey(base::SettingsStore& store, int index) {
    return base::ReadIniText(store, base::ini::kFindEntry, index);
}

}  // namespace

bool FindMatches(std::string_view search, std::string_view name) {
    if (!search.empty() && search[0] == '*') {
        std::string_view rest = search.substr(1);
        if (name.find(rest) != std::string_view::npos)
            return true;
        std::string lower(rest);
        for (char& c : lower)
            c = base::ToLowerAscii(c);
        return name.find(lower) != std::string_view::npos;
    }
    return name.size() >= search.size() && base::EqualsNoCase(name.substr(0, search.size()), search);
}

std::string LimitSearchText(std::string_view text) {
    return std::string(text.substr(0, kFindTextLimit));
}

FoundPlayer LocateResult(const catalogue::ServerList& servers, const FindResult& result, uint32_t kind) {
    FoundPlayer found;
    found.server = servers.Find(result.address, result.port);
    if (found.server && result.slot >= 0 && result.slot < CurrentPlayerCount(*found.server, kind)) {
        catalogue::PlayerRecord* p = found.server->PlayerAt(result.slot);
        if (p && base::FieldText(p->name) == result.storedName)
            found.player = p;
    }
    return found;
}

std::vector<FindResult> FindPlayers(const catalogue::ServerList& servers,
                                    std::string_view search,
                                    bool ignoreColours,
                                    const catalogue::BuddyList& buddies,
                                    uint32_t kind) {
    const ColourDialect dialect = ColourDialectOf(kind);
    std::vector<FindResult> results;
    for (catalogue::ServerRecord* server = servers.head; server; server = server->next) {
        const int n = CurrentPlayerCount(*server, kind);
        for (int i = 0; i < n; ++i) {
            catalogue::PlayerRecord* player = server->PlayerAt(i);
            std::string_view raw = base::FieldText(player->name);
            std::string compared = ignoreColours ? StripColourCodes(raw, dialect) : std::string(raw);
            if (!FindMatches(search, compared))
                continue;
            FindResult r;
            r.address = std::string(base::FieldText(server->addressText));
            r.port = server->port;
            r.slot = i;
            r.storedName = std::string(raw);
            r.name = std::move(compared);
            r.serverName = ignoreColours ? StripColourCodes(base::FieldText(server->hostName), dialect)
                                         : std::string(base::FieldText(server->hostName));
            r.gameType = std::string(base::FieldText(server->gameTypeDisplay));
            r.icon = buddies.FindByName(raw) ? kPaneImageBuddy : kNoIcon;
            r.dialect = dialect;
            results.push_back(std::move(r));
        }
    }
    return results;
}

CellPaint PaintFindCell(const SchemeColours& colours, const FindResult& result, int row, int column, bool selected) {
    CellPaint p = PaneCellColours(colours, row, selected);
    p.dialect = result.dialect;
    switch (column) {
        case 0:
            p.kind = CellKind::kIconAndColourText;
            p.icon = result.icon;
            p.text = result.name.c_str();
            break;
        case 1:
            p.kind = CellKind::kColourText;
            p.text = result.serverName.c_str();
            p.indent = kBuddyServerIndent;
            break;
        case 2:
            p.kind = CellKind::kText;
            p.text = result.gameType.c_str();
            p.indent = kCellTextIndent;
            break;
        default:
            break;
    }
    return p;
}

const FindResult* FindRows::At(int row) const {
    return row >= 0 && row < RowCount() ? &results_[static_cast<size_t>(row)] : nullptr;
}

const char* FindRows::CellText(int row, int column) const {
    const FindResult* r = At(row);
    return r ? ThreeColumnText(column, r->name.c_str(), r->serverName.c_str(), r->gameType.c_str()) : "";
}

int FindRows::RowImage(int row) const {
    const FindResult* r = At(row);
    return r ? r->icon : kNoIcon;
}

const void* FindRows::RowItem(int row) const {
    return At(row);
}

CellPaint FindRows::PaintCell(int row, int column, bool selected) const {
    const FindResult* r = At(row);
    return r ? PaintFindCell(colours_, *r, row, column, selected) : PaneCellColours(colours_, row, selected);
}

std::vector<std::string> LoadFindHistory(base::SettingsStore& store) {
    std::vector<std::string> history;
    for (int i = 0; i < kFindHistoryKeys; ++i) {
        std::string text = ReadFindKey(store, i);
        if (text.empty())
            break;
        history.push_back(std::move(text));
    }
    return history;
}

bool RecordFindText(base::SettingsStore& store, std::string_view text) {
    int firstFree = -1;
    for (int i = 0; i < kFindHistoryKeys; ++i) {
        std::string stored = ReadFindKey(store, i);
        if (base::EqualsNoCase(stored, text))
            return false;
        if (stored.empty() && firstFree < 0)
            firstFree = i;
    }
    if (firstFree < 0)
        return false;
    base::WriteIniText(store, base::ini::kFindEntry, firstFree, std::string(text));
    return true;
}

bool ChoiceStartsSearch(std::string_view choice, std::string_view current) {
    return !choice.empty() && !base::EqualsNoCase(choice, current);
}

bool ReadIgnoreColours(base::SettingsStore& store) {
    return base::EqualsNoCase(base::ReadIniText(store, base::ini::kIgnoreColours), "True");
}

void WriteIgnoreColours(base::SettingsStore& store, bool ignore) {
    base::WriteIniText(store, base::ini::kIgnoreColours, ignore ? "True" : "False");
}

FindButtons FindButtonStates(const FindResult* selected,
                             const FoundPlayer& found,
                             const catalogue::BuddyList& buddies,
                             FindButtons current) {
    if (!selected || !found.server)
        return FindButtons{};
    FindButtons b = current;
    b.join = true;
    b.addBuddy = found.player && !buddies.FindByName(selected->storedName);
    if (!found.server->isFavourite)
        b.addFavourite = true;
    return b;
}

catalogue::PlayerRecord* PrepareAddBuddy(FindResult& result, const FoundPlayer& found) {
    if (!found.player)
        return nullptr;
    result.icon = kPaneImageBuddy;
    found.player->server = found.server;
    return found.player;
}

ListPlacement FindListPlacement(int clientWidth, int clientHeight) {
    return {11, 112, clientWidth - 22, clientHeight - 122};
}

}  // namespace views
