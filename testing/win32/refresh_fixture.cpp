// In-process fixture for whole refreshes against servers on loopback.
#include "testing/win32/refresh_fixture.h"

#include <commctrl.h>

#include <cstdio>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "testing/win32/modal_loop.h"

namespace testing_support {

void RefreshShellTest::StartWithServers(std::initializer_list<std::string> replies, const net::Pacing& pacing) {
    attachedNetwork = &realNetwork;
    StartShell();
    net::WritePacing(*ctx.settings, pacing);
    profile = app::win32::CurrentProfile(*shell);
    for (const std::string& reply : replies) {
        ports.push_back(lab.Add(reply));
        catalogue::findOrCreateServer(profile->servers, catalogue::MakeServerTemplate("127.0.0.1", ports.back()));
    }
}

void RefreshShellTest::StartWithServers(uint32_t kind,
                                        std::initializer_list<LoopbackServers::Answer> answers,
                                        const net::Pacing& pacing) {
    catalogue::ProfileList list(folder.path(), 0xC0C0C0);
    auto game = std::make_unique<catalogue::GameProfile>();
    snprintf(game->title, sizeof game->title, "Game %u", kind);
    game->kind = kind;
    list.registerProfile(std::move(game), true, true);
    list.saveProfiles();
    StartWithServers({}, pacing);
    for (const LoopbackServers::Answer& answer : answers) {
        ports.push_back(lab.Add(answer));
        catalogue::findOrCreateServer(profile->servers, catalogue::MakeServerTemplate("127.0.0.1", ports.back()));
    }
}

void RefreshShellTest::Refresh(net::RefreshMode mode) {
    SendMessageA(main, app::win32::WM_APP_REFRESH, mode, 0);
}

bool RefreshShellTest::Settled(DWORD ms) {
    return PumpUntil([&] { return !ctx.refreshBusy; }, ms);
}

HWND RefreshShellTest::ServerList() {
    return app::win32::PanesOf(*shell, profile).serverList;
}

std::string RefreshShellTest::PlayerColumnHeader(int column) {
    char header[64] = {};
    LVCOLUMNA c = {};
    c.mask = LVCF_TEXT;
    c.pszText = header;
    c.cchTextMax = sizeof header;
    SendMessageA(app::win32::PanesOf(*shell, profile).playerList, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
    return header;
}

catalogue::ServerRecord* RefreshShellTest::Server(size_t i) {
    return i < ports.size() ? profile->servers.Find("127.0.0.1", ports[i]) : nullptr;
}

}  // namespace testing_support
