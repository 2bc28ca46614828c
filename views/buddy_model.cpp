// Buddy pane logic.
#include "views/buddy_model.h"

#include <algorithm>

#include "base/text.h"

namespace views {

namespace {

void CopySighting(catalogue::BuddyRecord& buddy, catalogue::PlayerRecord& player) {
    buddy.player = &player;
    buddy.score = player.score;
    buddy.server = player.server;
    buddy.ping = player.ping;
    buddy.online = 1;
}

void GoOffline(catalogue::BuddyRecord& buddy) {
    buddy.online = 0;
    buddy.server = nullptr;
    buddy.player = nullptr;
}

}  // namespace

std::string BuddyGameText(const catalogue::ServerRecord& server) {
    // The catalogue's name of the matched game type. (gameTypeIndex is a 1-based position inside
    // the server's mod, not the game's own g_gametype number, so it cannot be named without the mod.)
    return std::string(base::FieldText(server.gameTypeDisplay));
}

int CompareBuddies(const catalogue::BuddyRecord& a, const catalogue::BuddyRecord& b, int column) {
    const bool aOnline = a.server != nullptr;
    const bool bOnline = b.server != nullptr;
    if (aOnline != bOnline)
        return aOnline ? -1 : 1;
    if (!aOnline)
        return 0;
    switch (column) {
        case 0:
            return base::CompareBytes(base::FieldText(a.name), base::FieldText(b.name));
        case 1:
            return base::CompareBytes(base::FieldText(a.server->hostName), base::FieldText(b.server->hostName));
        case 2: {
            uint32_t ga = a.server->gameTypeIndex;
            uint32_t gb = b.server->gameTypeIndex;
            return ga == gb ? 0 : (ga < gb ? -1 : 1);
        }
        default:
            return 0;
    }
}

BuddyModel::BuddyModel(catalogue::GameProfile& profile) : profile_(profile) {}

const BuddyRow* BuddyModel::Row(int index) const {
    if (index < 0 || index >= size())
        return nullptr;
    return &rows_[static_cast<size_t>(index)];
}

catalogue::BuddyRecord* BuddyModel::BuddyAt(int index) const {
    const BuddyRow* r = Row(index);
    return r ? r->buddy : nullptr;
}

int BuddyModel::RowOf(const catalogue::BuddyRecord* buddy) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].buddy == buddy)
            return static_cast<int>(i);
    }
    return -1;
}

bool BuddyModel::IsBuddy(std::string_view name) const {
    return profile_.buddies.FindByName(name) != nullptr;
}

void BuddyModel::ClearSightings() {
    profile_.onlineBuddies = 0;
    for (catalogue::BuddyRecord* b = profile_.buddies.head; b; b = b->next) {
        b->ping = 0;
        b->score = 0;
        GoOffline(*b);
    }
}

void BuddyModel::LoseSighting() {
    // The count holds sightings, so a buddy seen once and made a buddy from the player pane can be
    // taken off more often than counted; it stops at 0 instead of wrapping round.
    if (profile_.onlineBuddies > 0)
        --profile_.onlineBuddies;
}

void BuddyModel::WriteRow(BuddyRow& row) const {
    const catalogue::ServerRecord* server = row.buddy->server;
    row.icon = server ? kPaneImageBuddy : kPaneImageBuddyOffline;
    if (server) {
        row.server = std::string(base::FieldText(server->hostName));
        row.game = BuddyGameText(*server);
    } else {
        row.server.clear();
        row.game.clear();
    }
}

BuddyRow BuddyModel::MakeRow(catalogue::BuddyRecord* buddy) const {
    BuddyRow row;
    row.buddy = buddy;
    WriteRow(row);
    return row;
}

void BuddyModel::AddUpdate(BuddyUpdate& update, const catalogue::BuddyRecord* buddy) {
    int index = RowOf(buddy);
    if (index < 0)
        return;
    WriteRow(rows_[static_cast<size_t>(index)]);
    update.events.push_back({RowEvent::kUpdate, index});
}

BuddyUpdate BuddyModel::Reload() {
    ClearSightings();
    rows_.clear();
    for (catalogue::BuddyRecord* b = profile_.buddies.head; b; b = b->next)
        rows_.push_back(MakeRow(b));
    BuddyUpdate u;
    u.events.push_back({RowEvent::kRebuild, -1});
    return u;
}

void BuddyModel::Reset() {
    ClearSightings();
}

BuddyUpdate BuddyModel::Clear() {
    rows_.clear();
    profile_.onlineBuddies = 0;
    BuddyUpdate u;
    u.events.push_back({RowEvent::kRebuild, -1});
    return u;
}

BuddyUpdate BuddyModel::PlayerSeen(catalogue::PlayerRecord& player) {
    BuddyUpdate u;
    if (!player.server)
        return u;  // a player on no server cannot make a buddy online
    catalogue::BuddyRecord* buddy = profile_.buddies.FindByName(base::FieldText(player.name));
    if (!buddy)
        return u;
    CopySighting(*buddy, player);
    ++profile_.onlineBuddies;
    AddUpdate(u, buddy);
    return u;
}

BuddyUpdate BuddyModel::ServerRemoved(const catalogue::ServerRecord* server) {
    // Every buddy on the server goes offline, also one without a row (after PM_CLEAR), so that no
    // buddy keeps a reference to a freed record.
    BuddyUpdate u;
    if (!server)
        return u;
    for (catalogue::BuddyRecord* b = profile_.buddies.head; b; b = b->next) {
        if (b->server != server)
            continue;
        GoOffline(*b);
        LoseSighting();
        AddUpdate(u, b);
    }
    return u;
}

BuddyUpdate BuddyModel::AddFromPlayer(catalogue::PlayerRecord& player, int sortColumn) {
    BuddyUpdate u;
    if (catalogue::BuddyRecord* existing = profile_.buddies.FindByName(base::FieldText(player.name))) {
        CopySighting(*existing, player);
        AddUpdate(u, existing);
    } else {
        auto buddy = std::make_unique<catalogue::BuddyRecord>();
        base::CopyText(buddy->name, base::FieldText(player.name));
        CopySighting(*buddy, player);
        buddy->online = player.server ? 1 : 0;
        catalogue::BuddyRecord* added = buddy.get();
        catalogue::appendBuddy(profile_.buddies, std::move(buddy));
        ++profile_.onlineBuddies;
        rows_.push_back(MakeRow(added));
        u.events.push_back({RowEvent::kInsert, size() - 1});
    }
    BuddyUpdate sorted = Sort(sortColumn);
    u.events.insert(u.events.end(), sorted.events.begin(), sorted.events.end());
    return u;
}

BuddyUpdate BuddyModel::AddByName(std::string_view name) {
    BuddyUpdate u;
    auto buddy = std::make_unique<catalogue::BuddyRecord>();
    base::CopyText(buddy->name, name);
    // The name as it would be stored decides whether it is already there.
    if (profile_.buddies.FindByName(base::FieldText(buddy->name)))
        return u;
    catalogue::BuddyRecord* added = buddy.get();
    catalogue::appendBuddy(profile_.buddies, std::move(buddy));
    rows_.push_back(MakeRow(added));
    u.events.push_back({RowEvent::kInsert, size() - 1});
    return u;
}

BuddyUpdate BuddyModel::RemoveRows(std::vector<int> selectedRows) {
    BuddyUpdate u;
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    int removedSoFar = 0;
    for (int selected : selectedRows) {
        if (selected < 0 || selected >= size() + removedSoFar)
            continue;
        // The first selected row, again and again: each deletion moves the later rows up.
        const int index = selected - removedSoFar;
        catalogue::BuddyRecord* buddy = rows_[static_cast<size_t>(index)].buddy;
        u.unmarkedNames.emplace_back(base::FieldText(buddy->name));
        if (buddy->server)
            LoseSighting();
        rows_.erase(rows_.begin() + index);
        catalogue::removeBuddy(profile_.buddies, buddy);
        u.events.push_back({RowEvent::kDelete, index});
        ++removedSoFar;
    }
    return u;
}

BuddyUpdate BuddyModel::Sort(int sortColumn) {
    BuddyUpdate u;
    if (rows_.empty())
        return u;
    std::stable_sort(rows_.begin(), rows_.end(), [sortColumn](const BuddyRow& a, const BuddyRow& b) {
        return CompareBuddies(*a.buddy, *b.buddy, sortColumn) < 0;
    });
    u.events.push_back({RowEvent::kReorder, -1});
    return u;
}

std::string BuddyModel::CountText() const {
    char buffer[64];
    size_t n = base::FormatText(buffer, sizeof buffer, "%d/%d Buddies online", static_cast<int>(profile_.onlineBuddies),
                                static_cast<int>(profile_.buddies.count));
    return std::string(buffer, n);
}

catalogue::ServerRecord* BuddyModel::ServerToLocate(int index) const {
    const catalogue::BuddyRecord* b = BuddyAt(index);
    return b ? b->server : nullptr;
}

CellPaint BuddyModel::PaintCell(int index, int column, bool selected) const {
    CellPaint p = PaneCellColours(profile_.colours, index, selected);
    p.dialect = ColourDialectOf(profile_.kind);
    const BuddyRow* r = Row(index);
    if (!r)
        return p;
    switch (column) {
        case 0:
            p.kind = CellKind::kIconAndColourText;
            p.icon = r->icon;
            p.text = r->buddy->name;
            break;
        case 1:
            if (r->buddy->server) {
                p.kind = CellKind::kColourText;
                p.text = r->server.c_str();
                p.indent = kBuddyServerIndent;
            }
            break;
        case 2:
            p.kind = CellKind::kText;
            p.text = r->game.c_str();
            p.indent = kCellTextIndent;
            break;
        default:
            break;
    }
    return p;
}

const char* BuddyModel::CellText(int row, int column) const {
    const BuddyRow* r = Row(row);
    return r ? ThreeColumnText(column, r->buddy->name, r->server.c_str(), r->game.c_str()) : "";
}

int BuddyModel::RowImage(int row) const {
    const BuddyRow* r = Row(row);
    return r ? r->icon : kNoIcon;
}

}  // namespace views
