// Message sink that shows message boxes with the program's caption.
#pragma once

#include <windows.h>

#include "base/message_sink.h"

namespace app::win32 {

class MessageBoxSink : public base::MessageSink {
  public:
    // The boxes belong to the window that `owner` holds when they show (none while it holds null).
    explicit MessageBoxSink(const HWND& owner) : owner_(owner) {}

    bool AskYesNo(std::string_view text, base::MessageIcon icon) override;
    void Tell(std::string_view text, base::MessageIcon icon) override;
    void TellWithCaption(std::string_view text, std::string_view caption, base::MessageIcon icon) override;

  private:
    const HWND& owner_;
};

UINT IconFlags(base::MessageIcon icon);

}  // namespace app::win32
