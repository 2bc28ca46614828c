// In-process fixture for whole refreshes: the shell with its real network parts, and game servers on
// loopback (inside the test's own network namespace). With ModalLoopSink (the fixture's sink) a test
// has a message come up as a real box and refreshes run to their close inside its modal loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/win32/network/network_glue.h"
#include "catalogue/profiles.h"
#include "net/pacing.h"
#include "net/status_engine.h"
#include "testing/win32/loopback_servers.h"
#include "testing/win32/shell_fixture.h"

namespace testing_support {

class RefreshShellTest : public ShellTest {
  protected:
    // Starts the shell with the real network parts and a pace (Classic by default), and lists one
    // server on loopback per reply in the current profile ("" makes a silent server).
    void StartWithServers(std::initializer_list<std::string> replies, const net::Pacing& pacing = net::kClassicPacing);
    // The same with one profile of the game kind, its servers answering through their functions.
    void StartWithServers(uint32_t kind,
                          std::initializer_list<LoopbackServers::Answer> answers,
                          const net::Pacing& pacing = net::kClassicPacing);
    // WM_APP_REFRESH, as the commands send it.
    void Refresh(net::RefreshMode mode);
    // Pumps messages until no refresh or master query runs; false when one still runs after ms.
    bool Settled(DWORD ms = 8000);
    // The current profile's server list control.
    HWND ServerList();
    // The header text of a column of the current profile's player list.
    std::string PlayerColumnHeader(int column);
    // The record of the i-th server started, looked up by its address and port (nullptr: gone).
    catalogue::ServerRecord* Server(size_t i);

    LoopbackServers lab;
    app::win32::Network realNetwork;
    catalogue::GameProfile* profile = nullptr;
    std::vector<uint16_t> ports;
};

}  // namespace testing_support
