// A pane host for Win32 tests of one pane or dialog alone: real image lists and windows, fake
// settings and messages, and recorders of everything a pane asks of the program.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/profiles.h"
#include "testing/fake_settings.h"
#include "testing/win32/modal_loop.h"
#include "views/win32/pane_host.h"
#include "views/win32/pane_images.h"

namespace testing_support {

// Records what the server list pane asks of the join and remote-control parts.
class RecordingActions : public views::win32::ServerActions {
  public:
    void Join(catalogue::ServerRecord& record, bool asSpectator) override {
        joins.push_back({&record, asSpectator});
        ++record.joinCount;
    }
    void EditPlayerConfig(catalogue::ServerRecord& record) override { edited.push_back(&record); }
    void OpenRemoteControl(catalogue::ServerRecord& record) override { consoles.push_back(&record); }
    int RemoteControlCount() const override { return openConsoles; }
    void CloseRemoteControl() override { ++closed; }

    std::vector<std::pair<catalogue::ServerRecord*, bool>> joins;
    std::vector<catalogue::ServerRecord*> edited;
    std::vector<catalogue::ServerRecord*> consoles;
    int openConsoles = 0;
    int closed = 0;
};

class FakePaneHost : public views::win32::PaneHost {
  public:
    // A visible top-level window that owns the panes and dialogs, and the built catalogue.
    FakePaneHost();
    ~FakePaneHost() override;

    HINSTANCE Instance() override { return GetModuleHandleA(nullptr); }
    HWND Owner() override { return owner; }
    const views::win32::IconList& GameIcons() override { return images.games; }
    const views::win32::IconList& ServerIcons() override { return images.servers; }
    const views::win32::IconList& ListIcons() override { return images.lists; }
    base::SettingsStore& Settings() override { return settings; }
    base::MessageSink& Sink() override { return sink; }
    void TellLater(std::string_view text, const catalogue::ServerRecord* server) override {
        toldLater.emplace_back(std::string(text), server);
    }
    const catalogue::Catalogue& Catalogue() override { return catalogue; }
    const views::DisplayOptions& Display() override { return display; }
    bool RefreshBusy() override { return refreshBusy; }
    void MarkForRefresh(catalogue::ServerRecord& record) override {
        record.refreshPending = 1;
        record.awaitingReply = 0;
    }
    std::mutex* RecordLock() override { return &recordLock; }
    views::win32::ServerActions* Actions() override { return &actions; }
    views::win32::PaneSet PanesOf(const catalogue::GameProfile& profile) override { return panes[&profile]; }
    void ServerSelectionChanged(const views::win32::ServerSelection& s) override { selection = s; }
    void PrepareCommandMenu(HMENU, const views::win32::ServerSelection& s) override { menuSelection = s; }
    void CheckCommand(UINT command, bool checked) override { checkedCommands[command] = checked; }
    void RunCommand(UINT command) override { commands.push_back(command); }

    // Creates the three panes of a profile (shown) and remembers them.
    views::win32::PaneSet CreatePanesOf(catalogue::GameProfile& profile);

    HWND owner = nullptr;
    views::win32::PaneImages images;
    FakeSettings settings;
    ModalLoopSink sink;  // its boxes are owned by owner
    catalogue::Catalogue catalogue;
    views::DisplayOptions display;
    bool refreshBusy = false;
    std::mutex recordLock;
    RecordingActions actions;
    std::map<const catalogue::GameProfile*, views::win32::PaneSet> panes;
    views::win32::ServerSelection selection;      // the last the server list pane gave
    views::win32::ServerSelection menuSelection;  // the last its context menu was prepared for
    std::map<UINT, bool> checkedCommands;
    std::vector<UINT> commands;
    std::vector<std::pair<std::string, const catalogue::ServerRecord*>> toldLater;
};

}  // namespace testing_support
