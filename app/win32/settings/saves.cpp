// The saves made while the program runs: the schedule, its timer and the writes.
#include "app/win32/settings/saves.h"

#include <algorithm>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"

namespace app::win32 {

namespace {

using catalogue::StoredFile;

uint64_t Now() {
    return GetTickCount64();
}

// A master query or refresh holds the current profile's records: the refresh's worker walks them, and
// the master's list links records in as it arrives.
bool ServersHeld(Shell& shell) {
    return shell.ctx->refreshBusy;
}

void ArmSaveTimer(Shell& shell) {
    std::optional<uint64_t> wake = shell.saves.NextWakeMs(Now(), ServersHeld(shell));
    if (!wake) {
        KillTimer(shell.main, kTimerSaves);
        return;
    }
    SetTimer(shell.main, kTimerSaves, static_cast<UINT>(std::clamp<uint64_t>(*wake, USER_TIMER_MINIMUM, 60000)),
             nullptr);
}

// True when the file was written, or when there is nothing to write: a profile removed meanwhile
// (its files are gone and stay gone), one whose lists were never read in this run, a file kept.
bool Write(Shell& shell, const SaveItem& item) {
    catalogue::ProfileList& profiles = *shell.ctx->profiles;
    if (item.file == StoredFile::kProfiles)
        return profiles.saveProfilesFile();
    const catalogue::GameProfile* p = profiles.ProfileWithFileNumber(item.fileNumber);
    if (!p || (p->servers.count == 0 && p->buddies.count == 0 && !p->listsLoaded))
        return true;
    return item.file == StoredFile::kServerList ? profiles.saveServerListOf(*p) : profiles.saveBuddyListOf(*p);
}

}  // namespace

void NoteStoredChange(Shell& shell, const catalogue::GameProfile& profile, StoredFile file) {
    NoteStoredChange(shell, file == StoredFile::kProfiles ? 0 : profile.fileNumber, file);
}

void NoteStoredChange(Shell& shell, uint32_t fileNumber, StoredFile file) {
    if (!shell.main || !shell.ctx->profiles || shell.savesStopped)
        return;
    shell.saves.Changed({file, file == StoredFile::kProfiles ? 0 : fileNumber}, Now());
    ArmSaveTimer(shell);
}

void OnSaveTimer(Shell& shell) {
    KillTimer(shell.main, kTimerSaves);
    if (shell.savesStopped || !shell.ctx->profiles)
        return;
    for (const SaveItem& item : shell.saves.TakeDue(Now(), ServersHeld(shell))) {
        const uint64_t started = Now();
        const bool ok = Write(shell, item);
        shell.saves.Written(item, started, Now(), ok);
    }
    ArmSaveTimer(shell);
}

void StopSaves(Shell& shell) {
    shell.savesStopped = true;
    shell.saves.Clear();
    if (shell.main)
        KillTimer(shell.main, kTimerSaves);
}

}  // namespace app::win32
