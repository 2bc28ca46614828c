// In-process fixture for Win32 tests of the main window: a temporary install folder, a clean
// registry key, a scripted message sink, and recorders for network calls and pane messages.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/win32/frame/shell.h"
#include "testing/temp_folder.h"
#include "testing/win32/message_recorder.h"
#include "testing/win32/modal_loop.h"

namespace testing_support {

// Records what the main window hands to the network parts.
class RecordingNetwork : public app::win32::ShellNetwork {
  public:
    void StartMasterQuery() override { calls.push_back("master"); }
    void StartRefresh(WPARAM mode) override { calls.push_back("refresh " + std::to_string(mode)); }
    void StartVersionCheck() override { calls.push_back("version"); }
    void OnTimer(UINT_PTR id) override { calls.push_back("timer " + std::to_string(id)); }
    void RequestStop() override { calls.push_back("stop"); }
    void CloseSockets() override { calls.push_back("close sockets"); }
    std::vector<std::string> calls;
};

class RecordingDialogs : public app::win32::ShellDialogs {
  public:
    void Open(app::win32::Shell&, UINT command) override { opened.push_back(command); }
    std::vector<UINT> opened;
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes a shell of its own and opens its main window. Registry and INI values for the start can be
    // written before.
    void StartShell();
    // Closes the main window and ends the shell.
    void CloseShell();
    void Pump();
    void WriteIni(const char* section, const char* key, const char* value);
    void SetClientSize(int width, int height);
    RECT ChildRect(HWND child);  // in the parent's client coordinates

    TempFolder folder;
    // Records every message; a test can have one come up as a real box with a script inside it.
    ModalLoopSink sink;
    RecordingNetwork network;
    // The parts the next shell gets: the recorders unless a test names real ones.
    app::win32::ShellNetwork* attachedNetwork = &network;
    RecordingDialogs dialogs;
    app::win32::ShellDialogs* attachedDialogs = &dialogs;
    app::AppContext ctx;
    std::optional<app::win32::Shell> shell;
    HWND main = nullptr;
};

}  // namespace testing_support
