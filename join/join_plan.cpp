// Joining without windows: details, passwords, launch settings, mIRC text, config files.
#include "join/join_plan.h"

#include "base/settings_index.h"
#include "base/text.h"

namespace join {

namespace {

// Every byte other than letters, digits and "-._~" as %XX.
std::string PercentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        out += plain ? std::string(1, static_cast<char>(c)) : std::string{'%', kHex[c >> 4], kHex[c & 15]};
    }
    return out;
}

bool StartsPassworded(const char* passwordText) {
    return passwordText[0] == 'T' || passwordText[0] == '1';
}

}  // namespace

void PrepareJoinDetails(JoinDetails& details, const catalogue::ServerRecord& record, uint32_t kind) {
    details.passwordRequired = 0;
    details.savePassword = 0;
    details.saveRconPassword = 0;
    base::CopyText(details.rconPassword, base::FieldText(record.rconPassword));
    if (StartsPassworded(record.passwordText) || kind == catalogue::kWolfenstein) {
        details.passwordRequired = 1;
        base::CopyText(details.serverPassword, base::FieldText(record.serverPassword));
    } else {
        details.serverPassword[0] = '\0';
    }
}

void StoreTypedPasswords(const JoinDetails& details, catalogue::ServerRecord& record) {
    if (details.savePassword)
        base::CopyText(record.serverPassword, base::FieldText(details.serverPassword));
    if (details.saveRconPassword)
        base::CopyText(record.rconPassword, base::FieldText(details.rconPassword));
}

std::string LaunchSettings::ProgramPath() const {
    return folder + "\\" + programFile;
}

std::string ModSectionOf(const catalogue::Catalogue& catalogue, uint32_t kind, const catalogue::ServerRecord& record) {
    const catalogue::GameDefinition* game = catalogue.GameOf(kind);
    if (!game)
        return std::string();
    const catalogue::ModDefinition* mod = catalogue.ModAt(kind, record.modIndex);
    if (!mod && !game->mods.empty())
        mod = &game->mods.back();
    if (!mod)
        return game->title;
    return kind < catalogue::kClassicGameKindCount ? mod->displayName : game->title + " - " + mod->displayName;
}

LaunchSettings ReadLaunchSettings(base::SettingsStore& settings,
                                  const catalogue::Catalogue& catalogue,
                                  uint32_t kind,
                                  const catalogue::ServerRecord& record) {
    catalogue::LaunchData defaults = catalogue.launchDataFor(kind, record).value_or(catalogue::LaunchData{});
    LaunchSettings launch;
    launch.section = ModSectionOf(catalogue, kind, record);
    const std::string& section = launch.section;
    launch.folder = base::ReadIniText(settings, base::ini::kModPath, section, defaults.folder);
    launch.programFile = base::ReadIniText(settings, base::ini::kModExe, section, defaults.programFile);
    launch.connectTemplate = base::ReadIniText(settings, base::ini::kModConnect, section, defaults.connectTemplate);
    launch.viaSteam =
        catalogue::IsSteamGame(kind) && base::ReadIniText(settings, base::ini::kModViaSteam, section, "0") == "1";
    return launch;
}

void StoreViaSteam(base::SettingsStore& settings, const std::string& section, bool viaSteam) {
    base::WriteIniText(settings, base::ini::kModViaSteam, section, viaSteam ? "1" : "0");
}

LaunchCommand PlanLaunch(const LaunchSettings& launch, const ExpansionInput& input) {
    if (!launch.viaSteam)
        return {launch.programFile, ExpandConnectTemplate(true, input, launch.connectTemplate), launch.folder};
    // The Steam client reads the address as a URL, which its handler gets in quotes: the password,
    // and the server's address as a list file holds it, are percent-encoded, so that a '/', a blank
    // or a quote in them can neither cut the address nor add arguments to the client's.
    std::string address = "steam://connect/" + PercentEncoded(base::FieldText(input.record.addressText)) + ":" +
                          std::to_string(input.record.port);
    const std::string_view password = base::FieldText(input.details.serverPassword);
    if (!password.empty())
        address.append(1, '/').append(PercentEncoded(password));
    return {address, std::string(), std::string()};
}

std::string FolderOf(const std::string& programPath) {
    size_t slash = programPath.rfind('\\');
    return slash == std::string::npos ? std::string() : programPath.substr(0, slash);
}

void StoreFoundProgram(base::SettingsStore& settings, LaunchSettings& launch, const std::string& programPath) {
    launch.folder = FolderOf(programPath);
    launch.programFile = programPath.substr(programPath.rfind('\\') + 1);
    base::WriteIniText(settings, base::ini::kModPath, launch.section, launch.folder);
    base::WriteIniText(settings, base::ini::kModExe, launch.section, launch.programFile);
}

std::string IrcText(base::SettingsStore& settings, const ExpansionInput& input) {
    const char* iniFile = input.catalogue.gameIniFileOf(input.kind);
    std::string text = base::ReadIniText(settings, base::ini::kIrcTemplate, iniFile, kJoinIrcTemplate);
    return ExpandConnectTemplate(false, input, text);
}

std::vector<std::string> PlayerConfigPaths(base::SettingsStore& settings,
                                           const catalogue::Catalogue& catalogue,
                                           uint32_t kind,
                                           const catalogue::ServerRecord& record) {
    LaunchSettings launch = ReadLaunchSettings(settings, catalogue, kind, record);
    const char* files = catalogue.configFilesFor(kind, record);
    std::vector<std::string> paths;
    std::string_view list = files ? files : "";
    while (!list.empty()) {
        size_t end = list.find(';');
        std::string_view entry = list.substr(0, end);
        if (!entry.empty())
            paths.push_back(launch.folder + "\\" + std::string(entry));
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
    return paths;
}

}  // namespace join
