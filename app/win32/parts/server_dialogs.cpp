// Add Server puts the server into the list and refreshes the marked servers.
#include "app/win32/parts/server_dialogs.h"

#include "app/win32/frame/app_messages.h"
#include "app/win32/settings/saves.h"
#include "net/status_engine.h"
#include "rcon/win32/add_server_dialog.h"
#include "rcon/win32/monitor_dialog.h"
#include "resources/resource.h"
#include "views/win32/pane_messages.h"

namespace app::win32 {

namespace {

using namespace views::win32;

constexpr catalogue::DefaultPorts kQuakePorts{27960, 27960, 0};

void AddServer(Shell& shell, const catalogue::GameProfile& current) {
    catalogue::DefaultPorts ports = shell.ctx->catalogue.defaultPortsOf(current.kind).value_or(kQuakePorts);
    const uint32_t fileNumber = current.fileNumber;
    rcon::AddedServer server;
    if (rcon::win32::RunAddServerDialog(shell.instance, shell.main, ports, server) != IDOK)
        return;
    // The dialog ran a modal loop: the profile is looked up again.
    catalogue::GameProfile* found =
        shell.ctx->profiles ? shell.ctx->profiles->ProfileWithFileNumber(fileNumber) : nullptr;
    if (!found)
        return;
    catalogue::GameProfile& profile = *found;
    std::pair<catalogue::ServerRecord*, bool> added;
    auto add = [&] { added = rcon::AddServerToList(profile.servers, server); };
    if (shell.network)
        shell.network->ChangeServerList(add);
    else
        add();
    HWND pane = PanesOf(shell, &profile).server;
    LPARAM record = reinterpret_cast<LPARAM>(added.first);
    SendToPane(pane, added.second ? PM_SERVER_CHANGED : PM_ADD_SERVER_ROW, 0, record);
    SendToPane(pane, PM_LOCATE_SERVER, 0, record);
    NoteStoredChange(shell, profile, catalogue::StoredFile::kServerList);
    PostMessageA(shell.main, WM_APP_REFRESH, static_cast<WPARAM>(net::kRefreshMarked), 0);
}

void MonitorServer(Shell& shell, catalogue::GameProfile& profile) {
    rcon::win32::MonitorRequest request{shell.main, WM_APP_REFRESH, PanesOf(shell, &profile).server,
                                        shell.monitorActive};
    rcon::win32::RunMonitorDialog(shell.instance, request);
}

}  // namespace

void ServerDialogs::Open(Shell& shell, UINT command) {
    catalogue::GameProfile* profile = CurrentProfile(shell);
    if (!profile)
        return;
    if (command == IDM_ADD_SERVER)
        AddServer(shell, *profile);
    else if (command == IDM_MONITOR_SERVER)
        MonitorServer(shell, *profile);
}

}  // namespace app::win32
