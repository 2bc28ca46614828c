// The web-links menu and the shell actions that open web pages and mail.
#pragma once

#include <windows.h>

#include <string>

namespace app::win32 {

struct Shell;

// Inserts the web links into a menu that holds the placeholder 40200, highest number on top, then
// deletes the placeholder.
void BuildWebLinksMenu(Shell& shell, HMENU menu);
// Opens link number command - 40201.
void OpenWebLink(Shell& shell, UINT command);
// ShellExecuteA "open" of a target, shown normally, when app::TargetToOpen takes it (a web or mail
// address); failures are not reported.
void OpenTarget(const std::string& target);
// Tests see the targets instead of the shell: every OpenTarget goes to opener (nullptr: the shell).
using TargetOpener = void (*)(const std::string& target);
void SetTargetOpener(TargetOpener opener);
void OpenWebSite(Shell& shell);
void OpenFeedbackMail(Shell& shell);

}  // namespace app::win32
