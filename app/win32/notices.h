// Messages for the user that come up inside a handler (a tab change, a timer, a network callback):
// they are shown once the handler is over, never in the middle of it.
#pragma once

#include <string>

namespace app::win32 {

// Queues the message and posts WM_APP_NOTICES to the main window (once for all that wait).
void TellLater(std::string text);
// WM_APP_NOTICES: shows every waiting message, in the order they came.
void ShowWaitingNotices();

}  // namespace app::win32
