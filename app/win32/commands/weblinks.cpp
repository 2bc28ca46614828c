// Web links menu and shell "open" actions.
#include "app/win32/commands/weblinks.h"

#include <shellapi.h>

#include "app/weblinks.h"
#include "app/win32/frame/shell.h"
#include "resources/resource.h"

namespace app::win32 {

void BuildWebLinksMenu(Shell& shell, HMENU menu) {
    std::vector<WebLink> links = ReadWebLinks(*shell.ctx->settings);
    for (size_t n = 0; n < links.size(); ++n) {
        UINT before = IDM_WEBLINKS_PLACEHOLDER + static_cast<UINT>(n);
        UINT id = IDM_WEBLINK_FIRST + static_cast<UINT>(n);
        // Separators carry their id too, so that the next link can be inserted before them.
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | (links[n].IsSeparator() ? 0 : MIIM_STRING);
        item.fType = links[n].IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
        // A link to what the shell must not open (a program, a path) stays in the menu, greyed.
        item.fState = links[n].IsSeparator() || !TargetToOpen(links[n].url).empty() ? MFS_ENABLED : MFS_GRAYED;
        item.wID = id;
        item.dwTypeData = const_cast<char*>(links[n].menuText.c_str());
        BOOL ok = InsertMenuItemA(menu, before, FALSE, &item);
        if (!ok)
            shell.sink->Tell("Couldn't add Weblink!", base::MessageIcon::kNone);
    }
    DeleteMenu(menu, IDM_WEBLINKS_PLACEHOLDER, MF_BYCOMMAND);
}

namespace {
TargetOpener g_opener = nullptr;
}

void SetTargetOpener(TargetOpener opener) {
    g_opener = opener;
}

void OpenTarget(const std::string& target) {
    // Every target is checked here too, so that nothing but a web or mail address ever reaches
    // the shell, whoever built it.
    std::string checked = TargetToOpen(target);
    if (checked.empty())
        return;
    if (g_opener)
        g_opener(checked);
    else
        ShellExecuteA(nullptr, "open", checked.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenWebLink(Shell& shell, UINT command) {
    OpenTarget(WebLinkTarget(*shell.ctx->settings, static_cast<int>(command - IDM_WEBLINK_FIRST)));
}

void OpenWebSite(Shell& shell) {
    OpenTarget(shell.ctx->endpoints.webSite);
}

void OpenFeedbackMail(Shell& shell) {
    const std::string& mail = shell.ctx->endpoints.feedbackMail;
    if (!mail.empty())
        OpenTarget("mailto:" + mail + "?subject=Vexar!");
}

}  // namespace app::win32
