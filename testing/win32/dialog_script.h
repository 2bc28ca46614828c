// Driving modal dialogs and message boxes in-process: a script runs inside the dialog's own
// message loop, and scripts nest (a button of a dialog may open another dialog or a message box).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

using DialogScript = std::function<void(HWND)>;

// Calls open(), which must bring up a modal dialog or message box of this thread, and runs
// script on it from inside its message loop. Whatever a failed script leaves open is cancelled;
// a dialog that never came up fails the test.
void RunDialogScript(const std::function<void()>& open, const DialogScript& script);

// Marks a dialog or message box whose script another helper runs (ModalLoopSink's boxes): the search
// of RunDialogScript passes it over while it is marked.
void MarkScripted(HWND window, bool scripted);

// Sends BN_CLICKED of a button to its dialog, as a click does.
void PressButton(HWND dialog, int id);
// Presses a button that opens a dialog or message box, and runs script on that.
void PressInto(HWND dialog, int id, const DialogScript& script);

// The text and the caption of a message box, as "text|caption".
std::string MessageBoxText(HWND box);
// A script that expects a message box with that text and caption and closes it with button.
DialogScript AnswerMessage(const std::string& text, const char* caption, int button);
// A script that sets the text of a dialog's edit and presses a button.
DialogScript TypeAndPress(int edit, const std::string& text, int button);

}  // namespace testing_support
