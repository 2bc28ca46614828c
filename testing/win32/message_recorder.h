// Recording of the messages a window receives, for tests of message sequences.
#pragma once

#include <windows.h>

#include <vector>

namespace testing_support {

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Subclasses a window and records every message it receives from then on (the window still
// handles them).
void RecordMessages(HWND window);
std::vector<RecordedMessage>& RecordedFor(HWND window);
// The recorded private messages (WM_USER and above) of a window.
std::vector<RecordedMessage> PrivateMessages(HWND window);

}  // namespace testing_support
