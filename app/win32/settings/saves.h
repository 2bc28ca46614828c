// The lists saved while the program runs: changes noted by the panes, dialogs and network parts are
// written on timer kTimerSaves by the rule of app::SaveSchedule.
#pragma once

#include <windows.h>

#include "catalogue/profiles.h"

namespace app::win32 {

struct Shell;

// A stored file of a profile (its server or buddy list) or the profiles file changed. Nothing is
// written here, so a change may be noted on any path: the timer writes it later, once no master
// query or refresh holds the records.
void NoteStoredChange(Shell& shell, const catalogue::GameProfile& profile, catalogue::StoredFile file);
void NoteStoredChange(Shell& shell, uint32_t fileNumber, catalogue::StoredFile file);
// kTimerSaves: writes what is due and arms the timer for what waits.
void OnSaveTimer(Shell& shell);
// The close and the session's end write every file themselves: the timer stops and what waited is
// dropped; later changes are not noted any more.
void StopSaves(Shell& shell);

}  // namespace app::win32
