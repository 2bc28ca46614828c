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
#include "views/game_colours.h"

namespace join::win32 {

JoinDetails& TheJoinDetails() {
    static JoinDetails details;
    return details;
}

namespace {

// The record of that address and port if it is still listed.
catalogue::ServerRecord* StillListed(const JoinContext& context, const std::string& address, uint32_t port) {
    return context.servers.Find(address, port);
}

}  // namespace

void JoinServer(const JoinContext& context, uint32_t kind, catalogue::ServerRecord& chosen, bool joinAsSpectator) {
    const std::string address(base::FieldText(chosen.addressText));
    const uint32_t port = chosen.port;
    JoinDetails& details = TheJoinDetails();
    PrepareJoinDetails(details, chosen, kind);
    const char* iniFile = context.catalogue.gameIniFileOf(kind);
    const LaunchSettings before = ReadLaunchSettings(context.settings, context.catalogue, kind, chosen);
    JoinDialogRequest request{context.settings,
                              iniFile ? iniFile : "",
                              kind,
                              views::StripColourCodes(base::FieldText(chosen.hostName), views::ColourDialectOf(kind)),
                              details,
                              catalogue::IsSteamGame(kind),
                              before.viaSteam};
    INT_PTR button = RunJoinDialog(context.instance, context.owner, request);
    // The choice is the mod's, kept like the dialog's other choices whichever button closed it.
    if (request.offerViaSteam && request.viaSteam != before.viaSteam)
        StoreViaSteam(context.settings, before.section, request.viaSteam);
    catalogue::ServerRecord* listed = StillListed(context, address, port);
    if (!listed)
        return;
    StoreTypedPasswords(details, *listed);
    if (button != IDOK)
        return;

    LaunchSettings launch = ReadLaunchSettings(context.settings, context.catalogue, kind, *listed);
    // Through the Steam client there is no program of ours to find: Steam starts the game.
    if (!launch.viaSteam && !fileExists(launch.ProgramPath())) {
        std::string program;
        if (!browseForProgram(context.owner, launch.programFile, program))
            return;
        StoreFoundProgram(context.settings, launch, program);
        listed = StillListed(context, address, port);
        if (!listed)
            return;
    }
    ExpansionInput input{context.catalogue, kind, *listed, details, joinAsSpectator};
    const LaunchCommand command = PlanLaunch(launch, input);
    ++listed->joinCount;
    if (details.notifyIrc) {
        std::string text = IrcText(context.settings, input);
        NotifyIrc(context.owner, context.settings, text.c_str());
    }
    ShellExecuteA(context.owner, "open", command.file.c_str(),
                  command.parameters.empty() ? nullptr : command.parameters.c_str(),
                  command.folder.empty() ? nullptr : command.folder.c_str(), SW_SHOWNORMAL);
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
