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
};

}  // namespace base
