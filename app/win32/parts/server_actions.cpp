// Joins and config files on the current profile's game, owned by the main window.
#include "app/win32/parts/server_actions.h"

#include "app/win32/frame/shell.h"
#include "app/win32/settings/saves.h"
#include "base/text.h"
#include "join/win32/join_server.h"
#include "rcon/win32/remote_control.h"

namespace app::win32 {

namespace {

// A console's confirmed password, kept in its record when the profile and the server are still listed.
void KeepRconPassword(Shell& shell,
                      uint32_t profileFile,
                      const std::string& address,
                      uint32_t port,
                      const std::string& password,
                      uint32_t rconPort) {
    const catalogue::ProfileList* profiles = shell.ctx->profiles.get();
    if (!profiles)
        return;
    for (const auto& profile : profiles->profiles()) {
        if (profile->fileNumber != profileFile)
            continue;
        if (catalogue::ServerRecord* record = profile->servers.Find(address, port)) {
            base::CopyText(record->rconPassword, password);
            record->hostPort = rconPort;
            NoteStoredChange(shell, *profile, catalogue::StoredFile::kServerList);
        }
    }
}

join::win32::JoinContext ContextOf(Shell& shell, const catalogue::GameProfile& profile) {
    return {shell.instance, shell.main, *shell.ctx->settings, shell.ctx->catalogue, profile.servers};
}

}  // namespace

void ShellServerActions::Join(catalogue::ServerRecord& record, bool asSpectator) {
    Shell& shell = shell_;
    catalogue::GameProfile* profile = CurrentProfile(shell);
    if (!profile)
        return;
    // The join counts the visit and may keep the typed passwords; the dialog runs a modal loop, so the
    // profile is named by its file number afterwards.
    const uint32_t fileNumber = profile->fileNumber;
    join::win32::JoinServer(ContextOf(shell, *profile), profile->kind, record, asSpectator);
    NoteStoredChange(shell, fileNumber, catalogue::StoredFile::kServerList);
}

void ShellServerActions::EditPlayerConfig(catalogue::ServerRecord& record) {
    Shell& shell = shell_;
    if (catalogue::GameProfile* profile = CurrentProfile(shell))
        join::win32::EditPlayerConfig(ContextOf(shell, *profile), profile->kind, record);
}

void ShellServerActions::OpenRemoteControl(catalogue::ServerRecord& record) {
    Shell& shell = shell_;
    catalogue::GameProfile* profile = CurrentProfile(shell);
    if (!profile)
        return;
    rcon::win32::RemoteControlHost host{
        shell.instance,
        shell.main,
        *shell.ctx->settings,
        shell.ctx->catalogue,
        shell.ctx->installFolder,
        [&shell](uint32_t profileFile, const std::string& address, uint32_t port, const std::string& password,
                 uint32_t rconPort) { KeepRconPassword(shell, profileFile, address, port, password, rconPort); }};
    rcon::win32::OpenRemoteControl(host, profile->kind, profile->fileNumber, record);
}

int ShellServerActions::RemoteControlCount() const {
    return rcon::win32::RemoteControlCount();
}

void ShellServerActions::CloseRemoteControl() {
    rcon::win32::CloseRemoteControl();
}

}  // namespace app::win32
