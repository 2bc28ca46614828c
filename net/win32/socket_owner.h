// The owner of a Winsock socket: closed when it goes or is reset.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include "base/win32/handles.h"

namespace net::win32 {

inline void CloseSocket(SOCKET s) {
    closesocket(s);
}
inline SOCKET NoSocket() {
    return INVALID_SOCKET;
}
using OwnedSocket = base::win32::Owned<SOCKET, CloseSocket, NoSocket>;

}  // namespace net::win32
