// Fixture of the pane tests.
#include "views/win32/tests/pane_test_support.h"

#include <memory>

namespace views_test {

void PaneTest::Start() {
    if (!fake)
        fake = std::make_unique<testing_support::FakePaneHost>();
    ownProfile = std::make_unique<catalogue::GameProfile>();
    profile = ownProfile.get();
    profile->kind = catalogue::kQuake3;
    base::CopyText(profile->title, "Quake 3 Arena");
    catalogue::ApplyProfileDefaults(*profile, GetSysColor(COLOR_BTNFACE));
    PaneSet panes = fake->CreatePanesOf(*profile);
    serverPane = panes.server;
    playerPane = panes.player;
    buddyPane = panes.buddy;
    serverList = panes.serverList;
    playerList = panes.playerList;
    buddyList = panes.buddyList;
    ASSERT_TRUE(serverList && playerList && buddyList);
}

void PaneTest::TearDown() {
    // The panes let go of the records before the lists are freed.
    fake.reset();
    if (profile) {
        catalogue::clearServers(profile->servers);
        catalogue::clearBuddies(profile->buddies);
    }
    ownProfile.reset();
}

catalogue::ServerRecord* PaneTest::NewServer(const char* address, uint32_t port) {
    catalogue::findOrCreateServer(profile->servers, catalogue::MakeServerTemplate(address, port));
    catalogue::ServerRecord* r = profile->servers.tail;
    base::CopyText(r->hostName, "Server");
    r->ping = 50;
    r->maxPlayers = 16;
    r->playerCount = 1;
    r->refreshPending = 0;
    base::CopyText(r->passwordText, "0");
    return r;
}

catalogue::ServerRecord* PaneTest::AddRow(const char* address, const char* hostName, uint32_t ping) {
    catalogue::ServerRecord* r = NewServer(address);
    base::CopyText(r->hostName, hostName);
    r->ping = ping;
    Send(serverPane, PM_ADD_SERVER_ROW, 0, r);
    return r;
}

void PaneTest::SetPlayers(catalogue::ServerRecord* server, std::initializer_list<PlayerSpec> players) {
    int i = 0;
    for (const PlayerSpec& p : players) {
        catalogue::PlayerRecord& slot = server->PlayerSlot(i++);
        base::CopyText(slot.name, p.name);
        slot.score = p.score;
        slot.ping = p.ping;
        slot.server = server;
    }
    server->playerCount = i;
}

void PaneTest::AddBuddyRecord(const char* name) {
    auto b = std::make_unique<catalogue::BuddyRecord>();
    base::CopyText(b->name, name);
    catalogue::appendBuddy(profile->buddies, std::move(b));
}

LRESULT PaneTest::Notify(HWND pane, HWND list, UINT code) {
    const int first = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    NMITEMACTIVATE n{.hdr = {list, UINT_PTR(GetDlgCtrlID(list)), code}, .iItem = first};
    return SendMessageA(pane, WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

void PaneTest::Click(HWND pane, HWND list, int row, bool twice) {
    SelectRows(list, {row});
    Notify(pane, list, twice ? NM_DBLCLK : NM_CLICK);
}

void PaneTest::ColumnClick(HWND pane, HWND list, int column) {
    NMLISTVIEW n{.hdr = {list, UINT_PTR(GetDlgCtrlID(list)), UINT(LVN_COLUMNCLICK)}, .iItem = -1, .iSubItem = column};
    SendMessageA(pane, WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

void PaneTest::KeyDown(HWND pane, HWND list, WORD key) {
    NMLVKEYDOWN n{.hdr = {list, UINT_PTR(GetDlgCtrlID(list)), UINT(LVN_KEYDOWN)}, .wVKey = key};
    SendMessageA(pane, WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

int RowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string CellText(HWND list, int row, int column) {
    char text[512] = "";
    LVITEMA item{.iSubItem = column, .pszText = text, .cchTextMax = sizeof text};
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> ColumnTexts(HWND list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < RowCount(list); ++row)
        texts.push_back(CellText(list, row, column));
    return texts;
}

int RowImage(HWND list, int row) {
    LVITEMA item{.mask = LVIF_IMAGE, .iItem = row, .iImage = -99};
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

int HeaderImage(HWND list, int column) {
    HDITEMA item{.mask = HDI_FORMAT | HDI_IMAGE};  // what the header shows: its own item
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMA, column,
                 reinterpret_cast<LPARAM>(&item));
    return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
    LVITEMA clear{.stateMask = LVIS_SELECTED}, select{.state = LVIS_SELECTED, .stateMask = LVIS_SELECTED};
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int row : rows)
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&select));
}

std::vector<int> Selected(HWND list) {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace views_test
