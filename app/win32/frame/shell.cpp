// The shell's state for the run, its accessors and the panes' host.
#include "app/win32/frame/shell.h"

#include "app/win32/commands/commands.h"
#include "app/win32/commands/filter_menu.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/settings/saves.h"
#include "base/text.h"
#include "resources/resource.h"

namespace app::win32 {

Shell::Shell(HINSTANCE instance, AppContext& ctx, ShellParts parts)
    : instance(instance),
      ctx(&ctx),
      sink(parts.sink ? parts.sink : &boxes),
      network(parts.network),
      dialogs(parts.dialogs) {}

Shell* ShellOf(HWND window) {
    return window ? reinterpret_cast<Shell*>(GetWindowLongPtrA(window, GWLP_USERDATA)) : nullptr;
}

void KeepShellIn(HWND window, LPARAM createStruct) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

catalogue::GameProfile* CurrentProfile(Shell& shell) {
    return shell.ctx->current();
}

views::win32::PaneSet PanesOf(Shell& shell, const catalogue::GameProfile* profile) {
    auto found = profile ? shell.panes.find(profile) : shell.panes.end();
    return found != shell.panes.end() ? found->second : views::win32::PaneSet{};
}

void TellLater(Shell& shell, std::string_view text, const catalogue::ServerRecord* server, base::MessageIcon icon) {
    const bool queued = server ? shell.notices.Add(text, icon, base::FieldText(server->addressText), server->port)
                               : shell.notices.Add(text, icon);
    if (!queued || shell.noticesPosted || !shell.main)
        return;
    shell.noticesPosted = PostMessageA(shell.main, WM_APP_NOTICES, 0, 0) != FALSE;
}

void LaterSink::Tell(std::string_view text, base::MessageIcon icon) {
    TellLater(shell_, text, nullptr, icon);
}

void ShowWaitingNotices(Shell& shell) {
    shell.noticesPosted = false;
    if (shell.showingNotice)
        return;
    shell.showingNotice = true;
    while (std::optional<base::Notice> notice = shell.notices.Take())
        shell.sink->Tell(notice->text, notice->icon);
    shell.showingNotice = false;
}

void ShowCommandStates(Shell& shell) {
    if (shell.main)
        ApplyCommandStates(GetMenu(shell.main), shell.commands);
    ApplyToolbarStates(shell.toolbar, shell.commands);
}

void SetRefreshCommandsRunning(Shell& shell, bool running) {
    shell.commands.refreshing = running;
    ShowCommandStates(shell);
}

HINSTANCE ShellPaneHost::Instance() {
    return shell_.instance;
}

HWND ShellPaneHost::Owner() {
    return shell_.main;
}

const views::win32::IconList& ShellPaneHost::GameIcons() {
    return shell_.images.games;
}

const views::win32::IconList& ShellPaneHost::ServerIcons() {
    return shell_.images.servers;
}

const views::win32::IconList& ShellPaneHost::ListIcons() {
    return shell_.images.lists;
}

base::SettingsStore& ShellPaneHost::Settings() {
    return *shell_.ctx->settings;
}

base::MessageSink& ShellPaneHost::Sink() {
    return *shell_.sink;
}

void ShellPaneHost::TellLater(std::string_view text, const catalogue::ServerRecord* server) {
    app::win32::TellLater(shell_, text, server, base::MessageIcon::kNone);
}

void ShellPaneHost::MarkForRefresh(catalogue::ServerRecord& record) {
    if (shell_.network) {
        shell_.network->MarkForRefresh(record);
    } else {
        record.refreshPending = 1;
        record.awaitingReply = 0;
    }
}

std::mutex* ShellPaneHost::RecordLock() {
    return shell_.network ? shell_.network->RecordLock() : nullptr;
}

const catalogue::Catalogue& ShellPaneHost::Catalogue() {
    return shell_.ctx->catalogue;
}

const views::DisplayOptions& ShellPaneHost::Display() {
    return shell_.ctx->display;
}

bool ShellPaneHost::RefreshBusy() {
    return shell_.ctx->refreshBusy;
}

views::win32::ServerActions* ShellPaneHost::Actions() {
    return &shell_.serverActions;
}

views::win32::PaneSet ShellPaneHost::PanesOf(const catalogue::GameProfile& profile) {
    return app::win32::PanesOf(shell_, &profile);
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
    shell_.commands = WithSelection(shell_.commands, selection);
    ShowCommandStates(shell_);
}

void ShellPaneHost::PrepareCommandMenu(HMENU popup, const views::win32::ServerSelection& selection) {
    ApplyCommandStates(popup, WithSelection(shell_.commands, selection));
}

void ShellPaneHost::CheckCommand(UINT command, bool checked) {
    if (HMENU menu = shell_.main ? GetMenu(shell_.main) : nullptr)
        CheckItem(menu, command, checked);
}

void ShellPaneHost::RunCommand(UINT command) {
    if (shell_.main)
        OnCommand(shell_, command, 0);
}

void ShellPaneHost::StoredListChanged(const catalogue::GameProfile& profile, catalogue::StoredFile file) {
    NoteStoredChange(shell_, profile, file);
}

}  // namespace app::win32
