// How portable code asks the user a question or tells them something (a message box on Windows).
#pragma once

#include <string_view>

namespace base {

enum class MessageIcon { kNone, kQuestion, kExclamation, kInformation };

// Every message carries the program's caption; the implementation chooses the owner window.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Yes/No question; true for Yes.
    virtual bool AskYesNo(std::string_view text, MessageIcon icon) = 0;
    // Message with an OK button.
    virtual void Tell(std::string_view text, MessageIcon icon) = 0;
    // The same with a caption of its own instead of the program's.
    virtual void TellWithCaption(std::string_view text, std::string_view caption, MessageIcon icon) {
        Tell(text, icon);
    }
};

}  // namespace base
