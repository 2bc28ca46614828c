// The version check on Windows.
#include "app/win32/network/version_check_win32.h"

#include <utility>

#include "app/win32/commands/weblinks.h"
#include "app/win32/frame/banner_bar.h"
#include "app/win32/frame/shell.h"
#include "net/version_check.h"

namespace app::win32 {

void VersionCheck::Start(const std::string& serverAddress) {
    if (open())
        return;
    unsigned long address = inet_addr(serverAddress.c_str());
    if (address == INADDR_NONE || address == 0)
        return;
    net::win32::OwnedSocket owned(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!owned)
        return;
    const SOCKET s = owned.get();
    int size = net::kVersionReceiveBufferSize;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    WSAAsyncSelect(s, shell_.main, socketMessage_, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(net::kVersionServerPort);
    to.sin_addr.s_addr = address;
    socket_ = std::move(owned);
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)
        Close();
}

void VersionCheck::Close() {
    if (socket_) {
        shutdown(socket_.get(), SD_BOTH);
        socket_.Reset();
    }
}

void VersionCheck::OnSocketEvent(WPARAM socket, LPARAM event) {
    if (!socket_ || static_cast<SOCKET>(socket) != socket_.get())
        return;
    switch (WSAGETSELECTEVENT(event)) {
        case FD_CONNECT:
            if (WSAGETSELECTERROR(event))
                Close();
            else
                send(socket_.get(), net::kVersionRequest.data(), static_cast<int>(net::kVersionRequest.size()), 0);
            break;
        case FD_READ: {
            char reply[net::kVersionReplyLimit + 1] = {};
            int n = recv(socket_.get(), reply, static_cast<int>(net::kVersionReplyLimit), 0);
            // The conversation is over: close before asking, so that no further socket event arrives
            // while the question is open.
            Close();
            if (n <= 0)
                break;
            net::VersionVerdict verdict = net::JudgeVersionReply(reply, static_cast<size_t>(n), ReadProductVersion());
            if (verdict.offerDownload && shell_.sink->AskYesNo(verdict.question, base::MessageIcon::kNone))
                OpenWebSite(shell_);
            break;
        }
        case FD_CLOSE:
            Close();
            break;
        default:
            break;  // FD_WRITE: nothing to do
    }
}

}  // namespace app::win32
