// Player pane logic.
#include "views/player_rows.h"

#include <algorithm>

#include "base/text.h"
#include "catalogue/catalogue.h"

namespace views {

namespace {

std::string Decimal(int32_t value) {
    char buffer[16];
    size_t n = base::FormatText(buffer, sizeof buffer, "%d", value);
    return std::string(buffer, n);
}

}  // namespace

bool PlayersAreTimed(uint32_t kind) {
    return catalogue::IsSteamGame(kind);
}

bool LacksPlayerPings(uint32_t kind) {
    return kind == catalogue::kHalfLife || catalogue::IsSteamGame(kind);
}

std::string ConnectedTimeText(uint32_t seconds) {
    char buffer[24];
    const uint32_t minutes = seconds / 60;
    size_t n = minutes < 60
                   ? base::FormatText(buffer, sizeof buffer, "%u:%02u", minutes, seconds % 60)
                   : base::FormatText(buffer, sizeof buffer, "%u:%02u:%02u", minutes / 60, minutes % 60, seconds % 60);
    return std::string(buffer, n);
}

bool ShowsPlayer(const catalogue::PlayerRecord& player, bool noPings, bool showBots) {
    return player.ping != 0 || noPings || showBots;
}

int PlayerRowIcon(const catalogue::PlayerRecord& player, bool noPings, const catalogue::BuddyList& buddies) {
    if (buddies.FindByName(base::FieldText(player.name)))
        return kPaneImageBuddy;
    if (player.ping == 0 && !noPings)
        return kPaneImageBot;
    return kNoIcon;
}

int ComparePlayers(const catalogue::PlayerRecord& a, const catalogue::PlayerRecord& b, int column, bool timed) {
    switch (column) {
        case 0:
            return base::CompareBytes(base::FieldText(a.name), base::FieldText(b.name));
        case 1:
            return a.score == b.score ? 0 : (a.score < b.score ? -1 : 1);
        case 2: {
            uint32_t pa = timed ? a.secondsConnected : static_cast<uint32_t>(a.ping);
            uint32_t pb = timed ? b.secondsConnected : static_cast<uint32_t>(b.ping);
            return pa == pb ? 0 : (pa < pb ? -1 : 1);
        }
        default:
            return 0;
    }
}

int CurrentPlayerCount(const catalogue::ServerRecord& server, uint32_t kind) {
    if (LacksPlayerPings(kind) && server.captureLimit != 1)
        return 0;
    return server.StoredPlayerCount();
}

std::vector<catalogue::PlayerRecord*> ForwardServerPlayers(catalogue::ServerRecord& server,
                                                           uint32_t kind,
                                                           bool& tooManyPlayers) {
    tooManyPlayers = server.playerCount > catalogue::kMaxPlayerSlots;
    std::vector<catalogue::PlayerRecord*> players;
    const int n = CurrentPlayerCount(server, kind);
    players.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        catalogue::PlayerRecord* p = server.PlayerAt(i);
        p->server = &server;
        players.push_back(p);
    }
    return players;
}

PlayerPaneModel::PlayerPaneModel(catalogue::GameProfile& profile, const DisplayOptions& options)
    : profile_(profile), options_(options) {}

const PlayerRow* PlayerPaneModel::Row(int index) const {
    if (index < 0 || index >= size())
        return nullptr;
    return &rows_[static_cast<size_t>(index)];
}

catalogue::PlayerRecord* PlayerPaneModel::PlayerAt(int index) const {
    const PlayerRow* r = Row(index);
    return r ? r->player : nullptr;
}

bool PlayerPaneModel::ShowServer(catalogue::ServerRecord& server, int sortColumn) {
    rows_.clear();
    if (profile_.kind == catalogue::kRenegade)
        return false;
    const bool tooMany = server.playerCount > catalogue::kMaxPlayerSlots;
    const bool noPings = LacksPlayerPings(profile_.kind);
    const bool timed = PlayersAreTimed(profile_.kind);
    const int n = CurrentPlayerCount(server, profile_.kind);
    for (int i = 0; i < n; ++i) {
        catalogue::PlayerRecord* p = server.PlayerAt(i);
        if (!ShowsPlayer(*p, noPings, options_.ShowBots != 0))
            continue;
        std::string_view name = base::FieldText(p->name);
        // One row per distinct name (at most 128 rows, so a linear look is cheap).
        bool duplicate = std::any_of(rows_.begin(), rows_.end(),
                                     [name](const PlayerRow& r) { return base::EqualsNoCase(r.name, name); });
        if (duplicate)
            continue;
        PlayerRow row;
        row.player = p;
        row.server = &server;
        row.icon = PlayerRowIcon(*p, noPings, profile_.buddies);
        row.name = std::string(name);
        row.score = Decimal(p->score);
        row.ping = timed ? ConnectedTimeText(p->secondsConnected) : Decimal(p->ping);
        rows_.push_back(std::move(row));
    }
    profile_.shownMaxPlayers = static_cast<uint32_t>(server.maxPlayers);
    Sort(sortColumn);
    return tooMany;
}

std::vector<int> PlayerPaneModel::ServerRemoved(const catalogue::ServerRecord* server) {
    // Rows remember the server they were shown for, so they go even when the players were never
    // forwarded (their own server reference still empty).
    std::vector<int> removed;
    for (int i = size() - 1; i >= 0; --i) {
        const PlayerRow& r = rows_[static_cast<size_t>(i)];
        if (r.server == server || (r.player && r.player->server == server)) {
            removed.push_back(i);
            rows_.erase(rows_.begin() + i);
        }
    }
    return removed;
}

void PlayerPaneModel::Clear() {
    rows_.clear();
}

int PlayerPaneModel::MarkBuddy(std::string_view name, bool remove) {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (base::EqualsNoCase(rows_[i].name, name)) {
            rows_[i].icon = remove ? kNoIcon : kPaneImageBuddy;
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<catalogue::PlayerRecord*> PlayerPaneModel::AddSelectedToBuddies(const std::vector<int>& selectedRows) {
    std::vector<catalogue::PlayerRecord*> players;
    for (int index : selectedRows) {
        if (index < 0 || index >= size())
            continue;
        PlayerRow& r = rows_[static_cast<size_t>(index)];
        if (!r.player)
            continue;
        r.icon = kPaneImageBuddy;
        players.push_back(r.player);
    }
    return players;
}

bool PlayerPaneModel::Sort(int sortColumn) {
    if (rows_.empty())
        return false;
    const bool timed = PlayersAreTimed(profile_.kind);
    std::stable_sort(rows_.begin(), rows_.end(), [sortColumn, timed](const PlayerRow& a, const PlayerRow& b) {
        return ComparePlayers(*a.player, *b.player, sortColumn, timed) < 0;
    });
    return true;
}

std::string PlayerPaneModel::CountText() const {
    char buffer[64];
    size_t n = base::FormatText(buffer, sizeof buffer, "%d/%d Players visible", size(),
                                static_cast<int>(profile_.shownMaxPlayers));
    return std::string(buffer, n);
}

CellPaint PlayerPaneModel::PaintCell(int index, int column, bool selected) const {
    CellPaint p = PaneCellColours(profile_.colours, index, selected);
    p.dialect = ColourDialectOf(profile_.kind);
    const PlayerRow* r = Row(index);
    if (!r)
        return p;
    switch (column) {
        case 0:
            p.kind = CellKind::kIconAndColourText;
            p.icon = r->icon;
            p.text = r->player ? r->player->name : r->name.c_str();
            p.indent = 0;
            break;
        case 1:
        case 2:
            p.kind = CellKind::kText;
            p.text = column == 1 ? r->score.c_str() : r->ping.c_str();
            p.indent = kCellTextIndent;
            break;
        default:
            break;
    }
    return p;
}

const char* PlayerPaneModel::CellText(int row, int column) const {
    const PlayerRow* r = Row(row);
    return r ? ThreeColumnText(column, r->name.c_str(), r->score.c_str(), r->ping.c_str()) : "";
}

int PlayerPaneModel::RowImage(int row) const {
    const PlayerRow* r = Row(row);
    return r ? r->icon : kNoIcon;
}

}  // namespace views
