// Server, player and buddy records and their lists.
#include "catalogue/records.h"

#include <cstdio>

#include "base/text.h"

namespace catalogue {

namespace {

std::string IndexKey(std::string_view addressText, uint32_t port) {
    std::string key;
    key.reserve(addressText.size() + 8);
    for (char c : addressText)
        key += base::ToLowerAscii(c);
    key += ':';
    key += std::to_string(port);
    return key;
}

template <typename Record, typename List>
void LinkAtTail(List& list, Record* record) {
    record->next = nullptr;
    record->prev = list.tail;
    if (list.tail)
        list.tail->next = record;
    else
        list.head = list.cursor = record;
    list.tail = record;
    ++list.count;
}

template <typename Record, typename List>
void Unlink(List& list, Record* record) {
    if (record->prev)
        record->prev->next = record->next;
    else
        list.head = record->next;
    if (record->next)
        record->next->prev = record->prev;
    else
        list.tail = record->prev;
    if (list.cursor == record)
        list.cursor = list.head;
    --list.count;
}

}  // namespace

void ServerRecord::MakePlayerSlots(int count) {
    count = count < kMaxPlayerSlots ? count : kMaxPlayerSlots;
    while (playerSlotCount() < count)
        playerBlocks_[slotBlocks_++] = std::make_unique<PlayerRecord[]>(kPlayerSlotBlock);
}

PlayerRecord& ServerRecord::PlayerSlot(int i) {
    MakePlayerSlots(i + 1);
    return *SlotAt(i);
}

const PlayerRecord* ServerRecord::PlayerAt(int i) const {
    return (i >= 0 && i < playerSlotCount()) ? SlotAt(i) : nullptr;
}

PlayerRecord* ServerRecord::PlayerAt(int i) {
    return (i >= 0 && i < playerSlotCount()) ? SlotAt(i) : nullptr;
}

int ServerRecord::StoredPlayerCount() const {
    if (playerCount <= 0)
        return 0;
    return playerCount < playerSlotCount() ? playerCount : playerSlotCount();
}

ServerList::~ServerList() {
    clearServers(*this);
}

ServerRecord* ServerList::Find(std::string_view addressText, uint32_t port) const {
    auto it = index_.find(IndexKey(addressText, port));
    return it == index_.end() ? nullptr : it->second;
}

BuddyList::~BuddyList() {
    clearBuddies(*this);
}

BuddyRecord* BuddyList::FindByName(std::string_view name) const {
    for (BuddyRecord* b = head; b; b = b->next) {
        if (base::EqualsNoCase(b->name, name))
            return b;
    }
    return nullptr;
}

uint32_t appendServer(ServerList& list, std::unique_ptr<ServerRecord> record) {
    ServerRecord* r = record.release();
    LinkAtTail(list, r);
    // The first record of an address stays the one found by lookups.
    if (!list.index_.emplace(IndexKey(r->addressText, r->port), r).second)
        ++list.unindexed_;
    return list.count;
}

void removeServer(ServerList& list, ServerRecord* record) {
    std::string key = IndexKey(record->addressText, record->port);
    auto it = list.index_.find(key);
    if (it != list.index_.end() && it->second == record) {
        list.index_.erase(it);
        // Another record with the same address takes its place in the index.
        for (ServerRecord* r = list.unindexed_ ? list.head : nullptr; r; r = r->next) {
            if (r != record && r->port == record->port && base::EqualsNoCase(r->addressText, record->addressText)) {
                list.index_.emplace(std::move(key), r);
                --list.unindexed_;
                break;
            }
        }
    } else if (list.unindexed_) {
        --list.unindexed_;
    }
    Unlink(list, record);
    delete record;
}

void clearServers(ServerList& list) {
    ServerRecord* r = list.head;
    while (r) {
        ServerRecord* next = r->next;
        delete r;
        r = next;
    }
    list.index_.clear();
    list.unindexed_ = 0;
    list.head = list.tail = list.cursor = nullptr;
    list.count = 0;
}

void resetServerList(ServerList& list) {
    list.index_.clear();
    list.unindexed_ = 0;
    list.head = list.tail = list.cursor = nullptr;
    list.count = 0;
}

ServerRecord* findOrCreateServer(ServerList& list, const ServerTemplate& tmpl) {
    if (ServerRecord* found = list.Find(tmpl.addressText, tmpl.port))
        return found;
    auto r = std::make_unique<ServerRecord>();
    base::CopyText(r->addressText, tmpl.addressText);
    r->port = tmpl.port;
    r->hostPort = tmpl.hostPort;
    for (int i = 0; i < 4; ++i)
        r->addressOctets[i] = tmpl.addressOctets[i];
    r->spareWords[0] = tmpl.spareWords[0];
    r->spareWords[1] = tmpl.spareWords[1];
    r->isFavourite = tmpl.isFavourite;
    r->ping = kNoPing;
    r->refreshPending = 1;
    r->livesLeft = kFreshLives;
    base::CopyText(r->hostName, "~ New Server!");
    appendServer(list, std::move(r));
    return nullptr;
}

uint32_t appendBuddy(BuddyList& list, std::unique_ptr<BuddyRecord> buddy) {
    LinkAtTail(list, buddy.release());
    return list.count;
}

void removeBuddy(BuddyList& list, BuddyRecord* buddy) {
    Unlink(list, buddy);
    delete buddy;
}

void clearBuddies(BuddyList& list) {
    BuddyRecord* b = list.head;
    while (b) {
        BuddyRecord* next = b->next;
        delete b;
        b = next;
    }
    resetBuddyList(list);
}

void resetBuddyList(BuddyList& list) {
    list.head = list.tail = list.cursor = nullptr;
    list.count = 0;
}

ServerTemplate MakeServerTemplate(std::string_view addressText, uint32_t port) {
    ServerTemplate t;
    base::CopyText(t.addressText, addressText);
    t.port = port;
    t.hostPort = port;
    std::string_view rest = t.addressText;
    for (int i = 0; i < 4 && !rest.empty(); ++i) {
        t.addressOctets[i] = static_cast<uint32_t>(base::ParseDecimal(rest));
        size_t dot = rest.find('.');
        if (dot == std::string_view::npos)
            break;
        rest.remove_prefix(dot + 1);
    }
    return t;
}

void MarkUnanswered(ServerRecord& record) {
    if (!(record.isFavourite && record.hostName[0])) {
        base::FormatText(record.hostName, sizeof record.hostName, "~ %s", record.addressText);
        record.maxPlayers = 0;
        record.gameName[0] = '\0';
    }
    record.ping = kNoPing;
    record.mapName[0] = '\0';
    record.infoText[0] = '\0';
    record.playerCount = 0;
    record.livesLeft -= 1;
}

}  // namespace catalogue
