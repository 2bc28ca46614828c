// What the server list starts on a record that belongs to other parts of the program: joining a
// game and editing the player configuration.
#pragma once

#include "views/win32/pane_host.h"

namespace app::win32 {

struct Shell;

class ShellServerActions : public views::win32::ServerActions {
  public:
    explicit ShellServerActions(Shell& shell) : shell_(shell) {}
    void Join(catalogue::ServerRecord& record, bool asSpectator) override;
    void EditPlayerConfig(catalogue::ServerRecord& record) override;
    void OpenRemoteControl(catalogue::ServerRecord& record) override;
    int RemoteControlCount() const override;
    void CloseRemoteControl() override;

  private:
    Shell& shell_;
};

}  // namespace app::win32
