// Messages held back until the handler that had them is over.
#include "app/win32/notices.h"

#include <utility>
#include <vector>

#include "app/win32/app_messages.h"
#include "app/win32/shell.h"

namespace app::win32 {

void TellLater(std::string text) {
    Shell& shell = TheShell();
    shell.waitingNotices.push_back(std::move(text));
    if (!shell.noticesPosted && shell.main)
        shell.noticesPosted = PostMessageA(shell.main, WM_APP_NOTICES, 0, 0) != FALSE;
}

void ShowWaitingNotices() {
    Shell& shell = TheShell();
    // Each message box runs a modal loop in which more may come: they wait for the next message.
    std::vector<std::string> notices = std::move(shell.waitingNotices);
    shell.waitingNotices.clear();
    shell.noticesPosted = false;
    for (const std::string& text : notices) {
        if (shell.sink)
            shell.sink->Tell(text, base::MessageIcon::kExclamation);
    }
}

}  // namespace app::win32
