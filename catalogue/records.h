// Server, player and buddy records and the per-profile lists that own them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace catalogue {

constexpr int kMaxPlayerSlots = 128;
constexpr uint32_t kNoPing = 9999;
constexpr int32_t kFreshLives = 5;

struct ServerRecord;

struct PlayerRecord {
    char name[50] = {};             // with colour codes; at most 49 characters
    uint16_t secondsConnected = 0;  // Steam kinds: time on the server (A2S_PLAYER), at most 65535
    int32_t ping = 0;               // 0 = bot (or a Half-Life player)
    int32_t number = 0;             // player_N of GameSpy replies, index byte of Half-Life replies
    int32_t score = 0;
    ServerRecord* server = nullptr;  // set by the player pane when it forwards the player
    int32_t viewMark = 0;
};

// IPv4 socket address the last request went to: family, port and address in network byte order.
struct QueryAddress {
    uint16_t family = 0;
    uint16_t portNetworkOrder = 0;
    uint32_t addressNetworkOrder = 0;
};

// One game server. The text fields are fixed-width and always terminated inside their field. The
// stretch from hostName to autoRefresh is the status block stored in the server-list file.
struct ServerRecord {
    ServerRecord() = default;
    ServerRecord(const ServerRecord&) = delete;
    ServerRecord& operator=(const ServerRecord&) = delete;

    char addressText[20] = {};
    uint32_t port = 0;
    uint32_t hostPort = 0;
    QueryAddress queryAddress;
    uint64_t sendTime = 0;
    uint32_t awaitingReply = 0;
    uint32_t refreshPending = 0;
    uint32_t replyCount = 0;
    uint32_t ping = kNoPing;
    uint32_t addressOctets[4] = {};
    uint32_t spareWords[2] = {};

    // Status block.
    char hostName[150] = {};
    char mapName[50] = {};
    char infoText[256] = {};
    char gameName[50] = {};
    char modDisplay[50] = {};
    char webAddress[272] = {};
    int32_t livesLeft = kFreshLives;
    char location[100] = {};
    uint32_t joinCount = 0;
    uint32_t isFavourite = 0;
    uint8_t reserved1[8] = {};
    char versionText[256] = {};
    int32_t maxRate = 0;
    int32_t timeLimit = 0;
    int32_t captureLimit = 0;  // Half-Life: players reply arrived; GameSpy: player entries parsed
    int32_t fragLimit = 0;
    int32_t allowDownload = 0;
    int32_t allowVote = 0;
    int32_t pure = 0;  // Half-Life: details reply arrived; GameSpy parsing sets 1
    int32_t gameSpeed = 0;
    int32_t gravity = 0;
    uint8_t reserved2[4] = {};
    char adminEmail[256] = {};
    int32_t maxPlayers = 0;
    int32_t privateSlots = 0;
    int32_t playerCount = 0;
    char passwordText[12] = {};
    uint32_t gameTypeIndex = 0;
    uint32_t modIndex = 0;
    uint32_t protocolVersion = 0;
    uint8_t dedicated = 0;
    uint8_t serverOs = 0;
    uint8_t isMod = 0;
    uint8_t reserved3 = 0;
    uint32_t autoRefresh = 0;

    char serverPassword[30] = {};
    char rconPassword[30] = {};
    char gameTypeDisplay[50] = {};

    ServerRecord* next = nullptr;
    ServerRecord* prev = nullptr;

    // The player slots, up to 128. They are made in blocks of 16 as replies need them, so a list of
    // 30,000 servers holds room only for the players each server has had; once made a slot stays
    // at the same address until the record is freed, because list rows refer to them.
    static constexpr int kPlayerSlotBlock = 16;
    // Slot i (0 to 127), made with every slot before it when it does not exist yet.
    PlayerRecord& PlayerSlot(int i);
    // Makes slots 0 to count - 1 (at most 128).
    void MakePlayerSlots(int count);
    int playerSlotCount() const { return slotBlocks_ * kPlayerSlotBlock; }
    bool HasPlayerSlots() const { return slotBlocks_ > 0; }
    // Player i (0-based) if its slot exists; nullptr otherwise. Never allocates.
    const PlayerRecord* PlayerAt(int i) const;
    PlayerRecord* PlayerAt(int i);
    // Players that may be read: playerCount bounded by the slots made (at most 128).
    int StoredPlayerCount() const;

    // True when the password flag says the server needs one ('1' or 'T').
    bool NeedsPassword() const { return passwordText[0] == '1' || passwordText[0] == 'T'; }

  private:
    // Slot i of the slots made (the caller has checked i).
    PlayerRecord* SlotAt(int i) const { return &playerBlocks_[i / kPlayerSlotBlock][i % kPlayerSlotBlock]; }

    std::unique_ptr<PlayerRecord[]> playerBlocks_[kMaxPlayerSlots / kPlayerSlotBlock];
    int slotBlocks_ = 0;
};

struct BuddyRecord {
    char name[50] = {};
    uint8_t reserved[2] = {};
    int32_t ping = 0;
    int32_t score = 0;
    PlayerRecord* player = nullptr;
    ServerRecord* server = nullptr;  // set while the buddy is online
    uint32_t online = 0;
    BuddyRecord* next = nullptr;
    BuddyRecord* prev = nullptr;
};

// What a master reply or the Add Server dialog knows of a server before it is in a list.
struct ServerTemplate {
    char addressText[20] = {};
    uint32_t port = 0;
    uint32_t hostPort = 0;
    uint32_t addressOctets[4] = {};
    uint32_t spareWords[2] = {};
    uint32_t isFavourite = 0;
};

// A profile's servers in insertion order. The list owns its records. Lookup by address and port is
// indexed (case-insensitive address), so adding 30,000 servers from a master list stays linear;
// a record's addressText and port must not change while it is in a list.
struct ServerList {
    ServerList() = default;
    ~ServerList();
    ServerList(const ServerList&) = delete;
    ServerList& operator=(const ServerList&) = delete;

    ServerRecord* head = nullptr;
    ServerRecord* tail = nullptr;
    ServerRecord* cursor = nullptr;
    uint32_t count = 0;

    ServerRecord* Find(std::string_view addressText, uint32_t port) const;

  private:
    friend uint32_t appendServer(ServerList&, std::unique_ptr<ServerRecord>);
    friend void removeServer(ServerList&, ServerRecord*);
    friend void clearServers(ServerList&);
    friend void resetServerList(ServerList&);
    std::unordered_map<std::string, ServerRecord*> index_;
    // Records whose address and port another record already has (only a hand-edited file makes
    // them); while there are none, a removal needs no search for a record to take over the index.
    uint32_t unindexed_ = 0;
};

struct BuddyList {
    BuddyList() = default;
    ~BuddyList();
    BuddyList(const BuddyList&) = delete;
    BuddyList& operator=(const BuddyList&) = delete;

    BuddyRecord* head = nullptr;
    BuddyRecord* tail = nullptr;
    BuddyRecord* cursor = nullptr;
    uint32_t count = 0;

    // First buddy whose name equals name ignoring case (colour codes included), or nullptr.
    BuddyRecord* FindByName(std::string_view name) const;
};

// Links the record at the tail (the list takes ownership); returns the new count.
uint32_t appendServer(ServerList& list, std::unique_ptr<ServerRecord> record);
// Unlinks and frees the record; a cursor on it moves to the head.
void removeServer(ServerList& list, ServerRecord* record);
void clearServers(ServerList& list);
// Sets the four members to none/0 without freeing anything (the records must be owned elsewhere
// or already gone).
void resetServerList(ServerList& list);

// Returns the record with the template's address (compared ignoring case) and port; nullptr after
// creating and appending a new one, initialised as a server never answered and marked for refresh.
ServerRecord* findOrCreateServer(ServerList& list, const ServerTemplate& tmpl);

uint32_t appendBuddy(BuddyList& list, std::unique_ptr<BuddyRecord> buddy);
void removeBuddy(BuddyList& list, BuddyRecord* buddy);
void clearBuddies(BuddyList& list);
void resetBuddyList(BuddyList& list);

// Fills a template from a dotted IPv4 text and port (octets parsed as far as they go).
ServerTemplate MakeServerTemplate(std::string_view addressText, uint32_t port);

// Applies the no-reply rule: ping 9999, map, info and player count cleared, one life fewer; unless
// the server is a favourite with a name, the name becomes "~ " + address, no slots, no game name.
void MarkUnanswered(ServerRecord& record);

}  // namespace catalogue
