// Winsock and window side of the master query.
#include "app/win32/network/master_query_host.h"

#include <cstring>
#include <string>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "app/win32/settings/saves.h"
#include "net/status_engine.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

namespace {

constexpr int kMasterReceiveBuffer = 4 << 20;
// The label: 360 pixels left of the pane's right edge, 150 x 16, widened for a longer text up to 350.
constexpr int kLabelLeftOfEdge = 360;
constexpr int kLabelWidth = 150;
constexpr int kLabelWidest = 350;
constexpr int kLabelHeight = 16;

}  // namespace

MasterQueryHost::MasterQueryHost(Shell& shell, UINT socketMessage, UINT lookupMessage)
    : shell_(shell), main_(shell.main), socketMessage_(socketMessage), lookupMessage_(lookupMessage) {}

MasterQueryHost::~MasterQueryHost() {
    CancelMasterLookup();
    CloseMasterSocket();
    DestroyLabel();
}

int MasterQueryHost::OpenMasterSocket(bool stream) {
    CloseMasterSocket();
    socket_.Reset(stream ? ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (!socket_)
        return WSAGetLastError();
    // A master sends a long list back to back, faster than the window takes each datagram in: the
    // socket holds them meanwhile (where the system grants less, the list is only shorter).
    int buffer = kMasterReceiveBuffer;
    setsockopt(socket_.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
    WSAAsyncSelect(socket_.get(), main_, socketMessage_, FD_READ | FD_CONNECT | FD_CLOSE);
    return 0;
}

bool MasterQueryHost::ConnectMasterSocket(const char* address, uint16_t port) {
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = inet_addr(address);
    if (to.sin_addr.s_addr == INADDR_NONE)
        return false;
    // A connected UDP socket only receives from the master; the socket is non-blocking, so a
    // connect still "in progress" counts as done.
    if (connect(socket_.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR)
        return WSAGetLastError() == WSAEWOULDBLOCK;
    return true;
}

bool MasterQueryHost::LookUpMaster(const std::string& name) {
    CancelMasterLookup();
    lookup_ = WSAAsyncGetHostByName(main_, lookupMessage_, name.c_str(), hostBuffer_, sizeof hostBuffer_);
    return lookup_ != nullptr;
}

void MasterQueryHost::CancelMasterLookup() {
    if (lookup_) {
        WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
    }
}

bool MasterQueryHost::LookupAnswer(WPARAM task, LPARAM result, std::optional<uint32_t>* address) {
    if (!lookup_ || reinterpret_cast<HANDLE>(task) != lookup_)
        return false;
    lookup_ = nullptr;
    address->reset();
    const auto* host = reinterpret_cast<const hostent*>(hostBuffer_);
    if (WSAGETASYNCERROR(result) == 0 && host->h_addrtype == AF_INET && host->h_length == 4 && host->h_addr_list &&
        host->h_addr_list[0]) {
        uint32_t value;
        std::memcpy(&value, host->h_addr_list[0], sizeof value);
        *address = value;
    }
    return true;
}

bool MasterQueryHost::SendToMaster(const uint8_t* data, size_t size) {
    return send(socket_.get(), reinterpret_cast<const char*>(data), static_cast<int>(size), 0) != SOCKET_ERROR;
}

int MasterQueryHost::ReceiveFromMaster(uint8_t* buffer, size_t capacity) {
    if (!socket_)
        return -1;
    int n = recv(socket_.get(), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
    if (n == SOCKET_ERROR)
        return WSAGetLastError() == WSAEMSGSIZE ? static_cast<int>(capacity) : -1;
    return n;
}

void MasterQueryHost::CloseMasterSocket() {
    if (socket_) {
        shutdown(socket_.get(), SD_SEND);
        socket_.Reset();
    }
}

void MasterQueryHost::SetTimer(int id, uint32_t periodMs) {
    ::SetTimer(main_, static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void MasterQueryHost::KillTimer(int id) {
    ::KillTimer(main_, static_cast<UINT_PTR>(id));
}

void MasterQueryHost::CreateLabel(std::string_view text) {
    DestroyLabel();
    HWND pane = PanesOf(shell_, CurrentProfile(shell_)).server;
    if (!pane)
        return;
    RECT client;
    GetClientRect(pane, &client);
    std::string t(text);
    label_ = CreateWindowExA(0, "STATIC", t.c_str(), WS_CHILD | WS_VISIBLE, client.right - kLabelLeftOfEdge, 5,
                             kLabelWidth, kLabelHeight, pane, nullptr, shell_.instance, nullptr);
    UpdateWindow(label_);
    InvalidateRect(main_, nullptr, FALSE);
    UpdateWindow(main_);
}

void MasterQueryHost::SetLabelText(std::string_view text) {
    if (!LabelAlive())
        return;
    std::string t(text);
    // A text wider than the label (the note a query may leave) widens it, up to 350 pixels. It grows
    // leftwards, over the empty middle of the strip (the count of visible servers is on its right),
    // and is laid out before the text changes, so that the whole of it is painted afresh.
    HDC dc = GetDC(label_);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &extent);
    ReleaseDC(label_, dc);
    const int width =
        extent.cx + 4 > kLabelWidth ? (extent.cx + 4 < kLabelWidest ? extent.cx + 4 : kLabelWidest) : kLabelWidth;
    RECT at;
    GetWindowRect(label_, &at);
    MapWindowPoints(nullptr, GetParent(label_), reinterpret_cast<POINT*>(&at), 2);
    const int left = at.right - width > 0 ? at.right - width : 0;
    SetWindowPos(label_, nullptr, left, at.top, width, kLabelHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    SetWindowTextA(label_, t.c_str());
}

void MasterQueryHost::DestroyLabel() {
    if (LabelAlive())
        DestroyWindow(label_);
    label_ = nullptr;
}

// The note a query leaves outlives the query, and its pane may go first (a game profile removed):
// the label went with it.
bool MasterQueryHost::LabelAlive() {
    if (label_ && !IsWindow(label_))
        label_ = nullptr;
    return label_ != nullptr;
}

void MasterQueryHost::SetToolbarRunning(bool running) {
    SetRefreshCommandsRunning(shell_, running);
}

void MasterQueryHost::ClearListRows() {
    views::win32::PaneSet p = PanesOf(shell_, CurrentProfile(shell_));
    SendToPane(p.server, views::win32::PM_CLEAR);
    SendToPane(p.player, views::win32::PM_CLEAR);
}

void MasterQueryHost::SendRefilter() {
    SendMessageA(main_, WM_APP_REFILTER, 0, 0);
}

void MasterQueryHost::SendRefreshAll() {
    SendMessageA(main_, WM_APP_REFRESH, net::kRefreshAll, 0);
}

void MasterQueryHost::PostMasterQuery() {
    PostMessageA(main_, WM_APP_MASTERQUERY, 0, 0);
}

void MasterQueryHost::ServersGathered(const catalogue::GameProfile& profile) {
    NoteStoredChange(shell_, profile, catalogue::StoredFile::kServerList);
}

}  // namespace app::win32
