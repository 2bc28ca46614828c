// Tests of the server list: insertion order, the cursor rule and lookup by address.
#include <gtest/gtest.h>

#include "base/text.h"
#include "catalogue/records.h"

namespace {

using namespace catalogue;

ServerRecord* Append(ServerList& list, const char* address) {
    auto r = std::make_unique<ServerRecord>();
    base::CopyText(r->addressText, address);
    r->port = 1;
    ServerRecord* raw = r.get();
    EXPECT_EQ(appendServer(list, std::move(r)), list.count);
    return raw;
}

TEST(ServerList, KeepsInsertionOrderAndMovesACursorOnARemovedRecordToTheHead) {
    ServerList list;
    ServerRecord* a = Append(list, "1.1.1.1");
    EXPECT_TRUE(list.head == a && list.tail == a && list.cursor == a);
    ServerRecord* b = Append(list, "2.2.2.2");
    ServerRecord* c = Append(list, "3.3.3.3");
    EXPECT_TRUE(a->next == b && b->next == c && c->prev == b && b->prev == a && list.tail == c);
    EXPECT_EQ(list.cursor, a);
    list.cursor = c;
    removeServer(list, c);
    EXPECT_TRUE(list.cursor == a && list.tail == b && b->next == nullptr);
    removeServer(list, a);  // not the cursor: it stays
    EXPECT_TRUE(list.cursor == b && list.head == b && b->prev == nullptr && list.count == 1);
    list.cursor = b;
    removeServer(list, b);
    EXPECT_TRUE(list.head == nullptr && list.tail == nullptr && list.cursor == nullptr && list.count == 0);
}

TEST(ServerList, LookupIgnoresAddressCaseAndFollowsRemovalsDuplicatesAndClear) {
    ServerList list;
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("Lab.Example", 27960)), nullptr);
    ServerRecord* lab = list.head;
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("lab.example", 27960)), lab);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("lab.example", 27961)), nullptr);  // another port
    EXPECT_EQ(list.count, 2u);
    clearServers(list);
    EXPECT_EQ(list.Find("lab.example", 27960), nullptr);

    // The same address three times, as a hand-edited file may hold it: the first is found, and when
    // it goes the next one takes its place.
    ServerRecord* first = Append(list, "1.1.1.1");
    ServerRecord* second = Append(list, "1.1.1.1");
    ServerRecord* third = Append(list, "1.1.1.1");
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, second);
    EXPECT_EQ(list.Find("1.1.1.1", 1), first);
    removeServer(list, first);
    EXPECT_EQ(list.Find("1.1.1.1", 1), third);
    removeServer(list, third);
    EXPECT_EQ(findOrCreateServer(list, MakeServerTemplate("1.1.1.1", 1)), nullptr);
    EXPECT_EQ(list.count, 1u);
}

}  // namespace
