// Tests of the server and buddy lists: insertion order, lookup by address, the cursor rule.
#include <gtest/gtest.h>

#include "catalogue/records.h"

namespace {

using namespace catalogue;

std::unique_ptr<ServerRecord> Server(const char* address, uint32_t port) {
    auto r = std::make_unique<ServerRecord>();
    snprintf(r->addressText, sizeof r->addressText, "%s", address);
    r->port = port;
    return r;
}

TEST(ServerList, AppendKeepsInsertionOrderAndFirstAppendSetsHeadTailCursor) {
    ServerList list;
    EXPECT_EQ(appendServer(list, Server("1.1.1.1", 1)), 1u);
    EXPECT_EQ(list.head, list.tail);
    EXPECT_EQ(list.cursor, list.head);
    appendServer(list, Server("2.2.2.2", 2));
    appendServer(list, Server("3.3.3.3", 3));
    EXPECT_EQ(list.count, 3u);
    EXPECT_STREQ(list.head->addressText, "1.1.1.1");
    EXPECT_STREQ(list.head->next->addressText, "2.2.2.2");
    EXPECT_STREQ(list.tail->addressText, "3.3.3.3");
    EXPECT_EQ(list.tail->prev, list.head->next);
    EXPECT_EQ(list.cursor, list.head);
}

TEST(ServerList, RemovingTheCursorRecordMovesTheCursorToTheHead) {
    ServerList list;
    appendServer(list, Server("1.1.1.1", 1));
    appendServer(list, Server("2.2.2.2", 2));
    appendServer(list, Server("3.3.3.3", 3));
    list.cursor = list.tail;
    removeServer(list, list.tail);
    EXPECT_EQ(list.cursor, list.head);
    EXPECT_STREQ(list.tail->addressText, "2.2.2.2");
    EXPECT_EQ(list.tail->next, nullptr);

    list.cursor = list.tail;
    removeServer(list, list.head);  // the cursor stays where it was
    EXPECT_EQ(list.cursor, list.tail);
    EXPECT_EQ(list.head, list.tail);
    EXPECT_EQ(list.head->prev, nullptr);
    removeServer(list, list.head);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.cursor, nullptr);
}

TEST(FindOrCreateServer, NewAddressIsAppendedAsANeverAnsweredServer) {
    ServerList list;
    ServerTemplate t = MakeServerTemplate("10.0.0.7", 27960);
    t.isFavourite = 1;
    t.spareWords[1] = 77;
    EXPECT_EQ(findOrCreateServer(list, t), nullptr);
    ASSERT_EQ(list.count, 1u);
    const ServerRecord& r = *list.head;
    EXPECT_STREQ(r.hostName, "~ New Server!");
    EXPECT_EQ(r.ping, kNoPing);
    EXPECT_EQ(r.refreshPending, 1u);
    EXPECT_EQ(r.livesLeft, 5);
    EXPECT_EQ(r.port, 27960u);
    EXPECT_EQ(r.hostPort, 27960u);
    EXPECT_EQ(r.addressOctets[0], 10u);
    EXPECT_EQ(r.addressOctets[3], 7u);
    EXPECT_EQ(r.spareWords[1], 77u);
    EXPECT_EQ(r.isFavourite, 1u);
    EXPECT_EQ(r.playerCount, 0);
    EXPECT_FALSE(r.HasPlayerSlots());
    EXPECT_EQ(r.modIndex, 0u);
    EXPECT_EQ(r.serverPassword[0], '\0');
}

TEST(FindOrCreateServer, SameAddressAndPortIsFoundIgnoringCaseOtherPortIsNew) {
    ServerList list;
    findOrCreateServer(list, MakeServerTemplate("Lab.Example", 27960));
    ServerRecord* first = list.head;
    first->ping = 42;
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("lab.example", 27960)), first);
    EXPECT_EQ(list.count, 1u);
    EXPECT_EQ(first->ping, 42u);  // the existing record stays unchanged
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("lab.example", 27961)), nullptr);
    EXPECT_EQ(list.count, 2u);
}

TEST(FindOrCreateServer, LookupStaysCorrectAfterRemovalsAndClear) {
    ServerList list;
    for (int i = 0; i < 50; ++i)
        findOrCreateServer(list, MakeServerTemplate("10.0.0." + std::to_string(i), 27960));
    removeServer(list, list.Find("10.0.0.17", 27960));
    EXPECT_EQ(list.Find("10.0.0.17", 27960), nullptr);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("10.0.0.17", 27960)), nullptr);
    EXPECT_EQ(list.count, 50u);
    EXPECT_STREQ(list.tail->addressText, "10.0.0.17");
    clearServers(list);
    EXPECT_EQ(list.Find("10.0.0.3", 27960), nullptr);
    EXPECT_EQ(list.count, 0u);
}

TEST(ServerList, DuplicateAddressesFromAFileTakeOverTheLookupInTurn) {
    ServerList list;
    appendServer(list, Server("1.1.1.1", 1));
    appendServer(list, Server("1.1.1.1", 1));
    appendServer(list, Server("1.1.1.1", 1));
    ServerRecord* first = list.head;
    ServerRecord* second = first->next;
    ServerRecord* third = second->next;
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, second);  // not the indexed one: the lookup is unchanged
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, first);
    EXPECT_EQ(list.Find("1.1.1.1", 1), third);
    removeServer(list, third);
    EXPECT_EQ(list.Find("1.1.1.1", 1), nullptr);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("1.1.1.1", 1)), nullptr);
    EXPECT_EQ(list.count, 1u);
}

TEST(ServerRecord, PlayerSlotsAreAllocatedOnDemandAndStayPut) {
    ServerRecord r;
    EXPECT_EQ(r.PlayerAt(0), nullptr);
    r.playerCount = 3;
    EXPECT_EQ(r.StoredPlayerCount(), 0);  // no slots: nothing to read
    PlayerRecord* slots = r.players();
    ASSERT_NE(slots, nullptr);
    EXPECT_EQ(r.players(), slots);
    EXPECT_EQ(r.PlayerAt(127), slots + 127);
    EXPECT_EQ(r.PlayerAt(128), nullptr);
    EXPECT_EQ(r.StoredPlayerCount(), 3);
    r.playerCount = 500;
    EXPECT_EQ(r.StoredPlayerCount(), 128);
    r.playerCount = -4;
    EXPECT_EQ(r.StoredPlayerCount(), 0);
}

TEST(MarkUnanswered, ClearsStatusAndNamesTheServerByAddressUnlessAFavouriteWithAName) {
    ServerRecord r;
    snprintf(r.addressText, sizeof r.addressText, "1.2.3.4");
    snprintf(r.hostName, sizeof r.hostName, "^1Lab");
    snprintf(r.mapName, sizeof r.mapName, "q3dm17");
    snprintf(r.gameName, sizeof r.gameName, "baseq3");
    r.ping = 50;
    r.maxPlayers = 16;
    r.playerCount = 3;
    MarkUnanswered(r);
    EXPECT_STREQ(r.hostName, "~ 1.2.3.4");
    EXPECT_EQ(r.ping, kNoPing);
    EXPECT_EQ(r.mapName[0], '\0');
    EXPECT_EQ(r.gameName[0], '\0');
    EXPECT_EQ(r.maxPlayers, 0);
    EXPECT_EQ(r.playerCount, 0);
    EXPECT_EQ(r.livesLeft, 4);

    ServerRecord fav;
    fav.isFavourite = 1;
    snprintf(fav.hostName, sizeof fav.hostName, "^1Lab");
    fav.maxPlayers = 16;
    MarkUnanswered(fav);
    EXPECT_STREQ(fav.hostName, "^1Lab");
    EXPECT_EQ(fav.maxPlayers, 16);
    EXPECT_EQ(fav.ping, kNoPing);
}

TEST(BuddyList, FindByNameIgnoresCaseButNotColourCodes) {
    BuddyList list;
    auto b = std::make_unique<BuddyRecord>();
    snprintf(b->name, sizeof b->name, "^1Bob");
    appendBuddy(list, std::move(b));
    EXPECT_NE(list.FindByName("^1bob"), nullptr);
    EXPECT_EQ(list.FindByName("Bob"), nullptr);
    list.cursor = list.head;
    removeBuddy(list, list.head);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.cursor, nullptr);
}

}  // namespace
