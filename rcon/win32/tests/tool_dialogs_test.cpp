// The remote-control tool dialogs on real Win32: the kick reason, the map choice, the password rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app_title.h"
#include "rcon/win32/add_server_dialog.h"
#include "rcon/win32/change_map_dialog.h"
#include "rcon/win32/password_dialog.h"
#include "resources/resource.h"
#include "testing/win32/dialog_script.h"

namespace {

using testing_support::AnswerMessage;
using testing_support::PressButton;
using testing_support::PressInto;
using testing_support::RunDialogScript;

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

TEST(ToolDialogs, KickReasonDefaultsAndMapNeedsAChoice) {
    for (const char* typed : {"", "camping"}) {
        std::string reason;
        INT_PTR result = 0;
        RunDialogScript([&] { result = rcon::win32::RunKickPlayer(Instance(), nullptr, "^1Sarge", reason); },
                        [&](HWND dialog) {
                            SetDlgItemTextA(dialog, IDC_KICK_REASON, typed);
                            PressButton(dialog, IDOK);
                        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(reason, *typed ? typed : "You were kicked by Vexar! v2.0 RCon tool.");
    }
    std::vector<std::string> sent;
    RunDialogScript(
        [&] {
            rcon::win32::RunChangeMap(Instance(), nullptr, {"q3dm17", "oa_dm1"},
                                      [&](const std::string& c) { sent.push_back(c); });
        },
        [&](HWND dialog) {
            PressInto(dialog, IDOK, AnswerMessage("Highlight the required map!", base::kAppTitle, IDOK));
            SendDlgItemMessageA(dialog, IDC_MAP_LIST, LB_SETCURSEL, 0, 0);  // sorted: first
            PressButton(dialog, IDOK);
        });
    EXPECT_EQ(sent, (std::vector<std::string>{"map oa_dm1"}));
}

TEST(ToolDialogs, PasswordAndPortAreCheckedBeforeTheyAreTaken) {
    rcon::win32::PasswordRequest request{"", 0, 27015, true, true};
    INT_PTR result = 0;
    RunDialogScript([&] { result = rcon::win32::RunPasswordDialog(Instance(), nullptr, request); },
                    [&](HWND dialog) {
                        char port[16] = "";
                        GetDlgItemTextA(dialog, IDC_RCON_PORT, port, sizeof port);
                        EXPECT_STREQ(port, "27015");  // the game's default when none is known
                        PressInto(dialog, IDOK, AnswerMessage("A password must be entered!", base::kAppTitle, IDOK));
                        SetDlgItemTextA(dialog, IDC_RCON_PASSWORD, "secret");
                        SetDlgItemTextA(dialog, IDC_RCON_PORT, "0");
                        PressInto(dialog, IDOK,
                                  AnswerMessage("Please enter valid Server Ports!!", base::kAppTitle, IDOK));
                        SetDlgItemTextA(dialog, IDC_RCON_PORT, "27016");
                        CheckDlgButton(dialog, IDC_RCON_SAVE, BST_UNCHECKED);
                        PressButton(dialog, IDOK);
                    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(request.password + ":" + std::to_string(request.port), "secret:27016");
    EXPECT_FALSE(request.save);
}

TEST(ToolDialogs, AnAddressTypedKeyByKeyGivesItsPortToThePortBox) {
    rcon::AddedServer server;
    INT_PTR result = 0;
    RunDialogScript(
        [&] {
            result = rcon::win32::RunAddServerDialog(Instance(), nullptr, {27960, 27960, 0}, server);
        },
        [&](HWND dialog) {
            SetFocus(GetDlgItem(dialog, IDC_ADD_ADDRESS));
            for (char c : std::string("1.2.3.4:27961"))
                SendMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 0);
            PressButton(dialog, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(rcon::DottedAddress(server.octets) + ":" + std::to_string(server.port), "1.2.3.4:27961");
}

}  // namespace
