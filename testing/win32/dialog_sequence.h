// Answering modal dialogs, message boxes and popup menus that come up one after another (not from
// one another's buttons) while a piece of code runs: each new one gets the next script.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "testing/win32/dialog_script.h"
#include "testing/win32/modal_loop.h"

namespace testing_support {

// Runs open(), answering the dialogs that come up meanwhile in turn with the scripts; a dialog
// beyond the scripts fails the test and is cancelled, and so is one a script leaves open. Returns
// how many scripts ran.
size_t RunDialogSequence(const std::function<void()>& open, std::vector<DialogScript> scripts);

// Runs open(), choosing the item at that position of the first popup menu that comes up (by the
// keyboard, as a user would); false when no menu came up.
bool ChooseMenuItem(const std::function<void()>& open, int position);

}  // namespace testing_support
