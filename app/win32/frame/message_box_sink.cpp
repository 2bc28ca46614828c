// Message boxes for the portable code's questions and messages.
#include "app/win32/frame/message_box_sink.h"

#include <string>

#include "base/app_title.h"

namespace app::win32 {

UINT IconFlags(base::MessageIcon icon) {
    switch (icon) {
        case base::MessageIcon::kQuestion:
            return MB_ICONQUESTION;
        case base::MessageIcon::kExclamation:
            return MB_ICONEXCLAMATION;
        case base::MessageIcon::kInformation:
            return MB_ICONINFORMATION;
        case base::MessageIcon::kNone:
            break;
    }
    return 0;
}

bool MessageBoxSink::AskYesNo(std::string_view text, base::MessageIcon icon) {
    std::string t(text);
    return MessageBoxA(owner_, t.c_str(), base::kAppTitle, MB_YESNO | IconFlags(icon)) == IDYES;
}

void MessageBoxSink::Tell(std::string_view text, base::MessageIcon icon) {
    std::string t(text);
    MessageBoxA(owner_, t.c_str(), base::kAppTitle, MB_OK | IconFlags(icon));
}

void MessageBoxSink::TellWithCaption(std::string_view text, std::string_view caption, base::MessageIcon icon) {
    std::string t(text);
    std::string c(caption);
    MessageBoxA(owner_, t.c_str(), c.c_str(), MB_OK | IconFlags(icon));
}

}  // namespace app::win32
