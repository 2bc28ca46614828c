// The shell's state for the run, its accessors and the panes' host.
#include "app/win32/shell.h"

#include "app/win32/app_messages.h"
#include "app/win32/commands.h"
#include "app/win32/filter_menu.h"
#include "base/text.h"
#include "app/win32/saves.h"
#include "resources/resource.h"

namespace app::win32 {

namespace {
Shell g_shell;
}

Shell& TheShell() {
    return g_shell;
}

void ResetShell() {
    g_shell.~Shell();
    new (&g_shell) Shell();
}

catalogue::GameProfile* CurrentProfile() {
    return g_shell.ctx ? g_shell.ctx->current() : nullptr;
}

views::win32::PaneSet PanesOf(const catalogue::GameProfile* profile) {
    auto found = profile ? g_shell.panes.find(profile) : g_shell.panes.end();
    return found != g_shell.panes.end() ? found->second : views::win32::PaneSet{};
}

void TellLater(std::string_view text, const catalogue::ServerRecord* server, base::MessageIcon icon) {
    const bool queued = server ? g_shell.notices.Add(text, icon, base::FieldText(server->addressText), server->port)
                               : g_shell.notices.Add(text, icon);
    if (!queued || g_shell.noticesPosted || !g_shell.main)
        return;
    g_shell.noticesPosted = PostMessageA(g_shell.main, WM_APP_NOTICES, 0, 0) != FALSE;
}

void LaterSink::Tell(std::string_view text, base::MessageIcon icon) {
    TellLater(text, nullptr, icon);
}

void ShowWaitingNotices() {
    g_shell.noticesPosted = false;
    if (g_shell.showingNotice || !g_shell.sink)
        return;
    g_shell.showingNotice = true;
    while (std::optional<base::Notice> notice = g_shell.notices.Take())
        g_shell.sink->Tell(notice->text, notice->icon);
    g_shell.showingNotice = false;
}

void ShowCommandStates() {
    if (g_shell.main)
        ApplyCommandStates(GetMenu(g_shell.main), g_shell.commands);
    ApplyToolbarStates(g_shell.toolbar, g_shell.commands);
}

void SetRefreshCommandsRunning(bool running) {
    g_shell.commands.refreshing = running;
    ShowCommandStates();
}

HINSTANCE ShellPaneHost::Instance() {
    return g_shell.instance;
}

HWND ShellPaneHost::Owner() {
    return g_shell.main;
}

const views::win32::IconList& ShellPaneHost::GameIcons() {
    return g_shell.images.games;
}

const views::win32::IconList& ShellPaneHost::ServerIcons() {
    return g_shell.images.servers;
}

const views::win32::IconList& ShellPaneHost::ListIcons() {
    return g_shell.images.lists;
}

base::SettingsStore& ShellPaneHost::Settings() {
    return *g_shell.ctx->settings;
}

base::MessageSink& ShellPaneHost::Sink() {
    return *g_shell.sink;
}

void ShellPaneHost::TellLater(std::string_view text, const catalogue::ServerRecord* server) {
    app::win32::TellLater(text, server, base::MessageIcon::kNone);
}

void ShellPaneHost::MarkForRefresh(catalogue::ServerRecord& record) {
    if (g_shell.network) {
        g_shell.network->MarkForRefresh(record);
    } else {
        record.refreshPending = 1;
        record.awaitingReply = 0;
    }
}

std::mutex* ShellPaneHost::RecordLock() {
    return g_shell.network ? g_shell.network->RecordLock() : nullptr;
}

const catalogue::Catalogue& ShellPaneHost::Catalogue() {
    return g_shell.ctx->catalogue;
}

const views::DisplayOptions& ShellPaneHost::Display() {
    return g_shell.ctx->display;
}

bool ShellPaneHost::RefreshBusy() {
    return g_shell.ctx->refreshBusy;
}

views::win32::ServerActions* ShellPaneHost::Actions() {
    return g_shell.serverActions;
}

views::win32::PaneSet ShellPaneHost::PanesOf(const catalogue::GameProfile& profile) {
    return app::win32::PanesOf(&profile);
}

namespace {

CommandState WithSelection(CommandState state, const views::win32::ServerSelection& s) {
    state.serverSelected = s.selected;
    state.remoteControl = s.remoteControl;
    state.webSite = s.webSite;
    return state;
}

}  // namespace

void ShellPaneHost::ServerSelectionChanged(const views::win32::ServerSelection& selection) {
    g_shell.commands = WithSelection(g_shell.commands, selection);
    ShowCommandStates();
}

void ShellPaneHost::PrepareCommandMenu(HMENU popup, const views::win32::ServerSelection& selection) {
    ApplyCommandStates(popup, WithSelection(g_shell.commands, selection));
}

void ShellPaneHost::CheckCommand(UINT command, bool checked) {
    if (HMENU menu = g_shell.main ? GetMenu(g_shell.main) : nullptr)
        CheckItem(menu, command, checked);
}

void ShellPaneHost::RunCommand(UINT command) {
    if (g_shell.main)
        OnCommand(g_shell.main, command, 0);
}

void ShellPaneHost::StoredListChanged(const catalogue::GameProfile& profile, catalogue::StoredFile file) {
    NoteStoredChange(profile, file);
}

}  // namespace app::win32
