// Driving modal dialogs in-process: a script run once the dialog is up, and message boxes answered
// as they appear.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Calls open(), which runs a modal dialog; once a dialog of this thread is visible, runs
// script(dialog) from inside its message loop. A script that returns with the dialog still open
// (a failed assertion) has it cancelled.
void RunDialogScript(const std::function<void()>& open, const std::function<void(HWND)>& script);

// Sends BN_CLICKED of a button to its dialog, as a click does.
void PressButton(HWND dialog, int id);

// While it exists, every message box of this thread with that caption is answered with button;
// the texts are kept in order.
class MessageBoxAnswers {
  public:
    MessageBoxAnswers(const char* caption, int button);
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    std::vector<std::string> texts;

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::string caption_;
    std::vector<HWND> answered_;
    int button_;
    UINT_PTR timer_;
};

}  // namespace testing_support
