// Starting a native fixture: a free port found by binding one, the program started by its path in
// the build tree, and connects tried until one is taken.
#include "testing/win32/native_fixture.h"

#include <winsock2.h>

#include <windows.h>

#include "net/win32/socket_owner.h"

#include "testing/win32/modal_loop.h"

namespace testing_support {

uint16_t StartNativeTcpFixture(const std::string& name, const std::string& arguments) {
    sockaddr_in at = {AF_INET, 0, {}};
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof at;
    {
        net::win32::OwnedSocket probe(::socket(AF_INET, SOCK_STREAM, 0));
        bind(probe.get(), reinterpret_cast<sockaddr*>(&at), sizeof at);
        getsockname(probe.get(), reinterpret_cast<sockaddr*>(&at), &size);
    }
    const uint16_t port = ntohs(at.sin_port);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line = self;
    line = "\"" + line.substr(0, line.rfind('\\')) + "\\..\\native\\testing\\fixtures\\" + name + "\" --port " +
           std::to_string(port) + " " + arguments;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!port ||
        !CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool ready = PumpUntil(
        [&] {
            net::win32::OwnedSocket s(::socket(AF_INET, SOCK_STREAM, 0));
            return connect(s.get(), reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
        },
        15000);  // a cold Wine takes its time to start a Unix program
    return ready ? port : 0;
}

}  // namespace testing_support
