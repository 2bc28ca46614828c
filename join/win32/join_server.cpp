// The join itself: dialog, program check with a browse, counting, mIRC, ShellExecute.
#include "join/win32/join_server.h"

#include <shellapi.h>

#include <string>

#include "base/text.h"
#include "join/connect_template.h"
#include "join/join_plan.h"
#include "join/win32/irc_notify.h"
#include "join/win32/join_dialog.h"
#include "join/win32/program_files.h"
#include "views/colour_text.h"

namespace join::win32 {

JoinDetails& TheJoinDetails() {
    static JoinDetails details;
    return details;
}

void JoinServer(const JoinContext& context, uint32_t kind, catalogue::ServerRecord& record, bool joinAsSpectator) {
    JoinDetails& details = TheJoinDetails();
    PrepareJoinDetails(details, record, kind);
    const char* iniFile = context.catalogue.gameIniFileOf(kind);
    JoinDialogRequest request{context.settings, iniFile ? iniFile : "",  kind,
                              views::StripColourCodes(std::string_view(record.hostName, base::FieldLength(record.hostName))),
                              details};
    INT_PTR button = RunJoinDialog(context.instance, context.owner, request);
    StoreTypedPasswords(details, record);
    if (button != IDOK)
        return;

    LaunchSettings launch = ReadLaunchSettings(context.settings, context.catalogue, kind, record);
    if (!fileExists(launch.ProgramPath())) {
        std::string chosen;
        if (!browseForProgram(context.owner, launch.programFile, chosen))
            return;
        launch.folder = FolderOf(chosen);
        StoreProgramFolder(context.settings, launch, launch.folder);
    }
    ExpansionInput input{context.catalogue, kind, record, details, joinAsSpectator};
    std::string commandLine = ExpandConnectTemplate(true, input, launch.connectTemplate);
    ++record.joinCount;
    if (details.notifyIrc) {
        std::string text = IrcText(context.settings, input);
        NotifyIrc(context.owner, context.settings, text.c_str());
    }
    ShellExecuteA(context.owner, "open", launch.programFile.c_str(), commandLine.c_str(), launch.folder.c_str(),
                  SW_SHOWNORMAL);
}

void EditPlayerConfig(const JoinContext& context, uint32_t kind, const catalogue::ServerRecord& record) {
    for (const std::string& path : PlayerConfigPaths(context.settings, context.catalogue, kind, record)) {
        if (!fileExists(path))
            continue;
        std::string quoted = "\"" + path + "\"";
        ShellExecuteA(context.owner, "open", "wordpad", quoted.c_str(), nullptr, SW_SHOWNORMAL);
    }
}

}  // namespace join::win32
