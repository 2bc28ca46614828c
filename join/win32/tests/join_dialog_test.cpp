// The Join dialog on real Win32 controls: boxes filled from the game's INI file and the record,
// saved names kept in step with the name box, the password rule, what closing stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app_title.h"
#include "base/settings_index.h"
#include "base/text.h"
#include "join/join_plan.h"
#include "join/win32/join_dialog.h"
#include "resources/resource.h"
#include "testing/fake_settings.h"
#include "testing/win32/dialog_script.h"

namespace {

using testing_support::PressButton;
using testing_support::RunDialogScript;

std::string Text(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> Entries(HWND dialog, int id) {
    std::vector<std::string> entries;
    LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = "";
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

void ChooseName(HWND dialog, int index) {
    SendDlgItemMessageA(dialog, IDC_JOIN_NAME, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_JOIN_NAME, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_JOIN_NAME)));
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

class JoinDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Ini("playernicks", "nick0", "Alpha");
        Ini("playernicks", "nick3", "Bravo");
        Ini("playernicks", "model3", "visor");
        Ini("playernicks", "LNI", "3");  // Bravo's slot, not its place in the box
        Ini("models", "model1", "sarge");
        Ini("models", "model2", "visor");
        base::CopyText(record.hostName, "^1Lab ^7Arena");
    }
    void Ini(const char* section, const char* key, const char* value) {
        settings.WriteIni("q3a.ini", section, key, value);
    }
    std::string IniValue(const char* section, const char* key) {
        return settings.ReadIni("q3a.ini", section, key, "<missing>", 256);
    }
    INT_PTR Run(uint32_t kind, const std::function<void(HWND)>& script) {
        join::PrepareJoinDetails(details, record, kind);
        join::win32::JoinDialogRequest request{settings,    "q3a.ini", kind,
                                               "Lab Arena", details,   catalogue::IsSteamGame(kind)};
        INT_PTR result = 0;
        RunDialogScript([&] { result = join::win32::RunJoinDialog(GetModuleHandleA(nullptr), nullptr, request); },
                        script);
        return result;
    }

    testing_support::FakeSettings settings;
    catalogue::ServerRecord record;
    join::JoinDetails details;
};

TEST_F(JoinDialogTest, OpensOnTheLastNameWithItsModelAndTheRecordsPasswords) {
    const base::RegistryValue& ln = base::reg::kOldNicknames;
    settings.registry[testing_support::FakeSettings::Key(ln.keyPath, ln.name)].text = std::string("Old\0", 4);
    base::CopyText(record.rconPassword, "rc");
    Run(catalogue::kQuake3, [&](HWND dialog) {
        char caption[64] = "";
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ(caption, "Join: Lab Arena");
        EXPECT_EQ(Entries(dialog, IDC_JOIN_NAME), (std::vector<std::string>{"Alpha", "Old", "Bravo"}));
        EXPECT_EQ(Entries(dialog, IDC_JOIN_MODEL), (std::vector<std::string>{"sarge", "visor"}));
        EXPECT_EQ(std::pair(Text(dialog, IDC_JOIN_NAME), Text(dialog, IDC_JOIN_MODEL)),
                  std::pair(std::string("Bravo"), std::string("visor")));
        ChooseName(dialog, 1);
        EXPECT_EQ(Text(dialog, IDC_JOIN_MODEL), "");  // "munro" is not offered
        EXPECT_EQ(IniValue("playernicks", "LNI"), "1");
        EXPECT_EQ(Text(dialog, IDC_JOIN_IRC_TEMPLATE), join::kDialogIrcTemplate);
        EXPECT_FALSE(Enabled(dialog, IDC_JOIN_PASSWORD));
        EXPECT_EQ(Text(dialog, IDC_JOIN_RCON_PASSWORD), "rc");
        // The boxes take as much as the record keeps.
        for (int box : {IDC_JOIN_PASSWORD, IDC_JOIN_RCON_PASSWORD})
            EXPECT_EQ(SendDlgItemMessageA(dialog, box, EM_GETLIMITTEXT, 0, 0),
                      LRESULT(sizeof record.serverPassword - 1));
        EXPECT_TRUE(Enabled(dialog, IDC_JOIN_MODEL));
        EXPECT_TRUE(SendDlgItemMessageA(dialog, IDC_JOIN_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(IniValue("playernicks", "nick1"), "Old");  // migrated into the first free slot
    EXPECT_FALSE(settings.ReadBytes(ln.keyPath, ln.name, 255));
}

TEST_F(JoinDialogTest, SaveAddsOnlyNewNamesDeleteRemovesExactlyThatNameAndTheLastChoiceIsASlot) {
    Run(catalogue::kQuake3, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_JOIN_NAME, "Charlie");
        SendDlgItemMessageA(dialog, IDC_JOIN_MODEL, CB_SETCURSEL, 0, 0);
        PressButton(dialog, IDC_JOIN_SAVE_NAME);
        ChooseName(dialog, 2);
        EXPECT_EQ(IniValue("playernicks", "LNI"), "1");  // Charlie took the free slot 1
        SetDlgItemTextA(dialog, IDC_JOIN_NAME, "ALPHA");
        PressButton(dialog, IDC_JOIN_SAVE_NAME);
        SetDlgItemTextA(dialog, IDC_JOIN_NAME, "bravo");
        PressButton(dialog, IDC_JOIN_DELETE_NAME);
        for (const char* name : {"Charliex", "Char"}) {
            SetDlgItemTextA(dialog, IDC_JOIN_NAME, name);
            PressButton(dialog, IDC_JOIN_SAVE_NAME);
        }
        PressButton(dialog, IDC_JOIN_DELETE_NAME);  // "Char", not the first entry that begins so
        EXPECT_EQ(Entries(dialog, IDC_JOIN_NAME), (std::vector<std::string>{"Alpha", "Charlie", "Charliex"}));
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(IniValue("playernicks", "nick1"), "Charlie");
    EXPECT_EQ(IniValue("playernicks", "model1"), "sarge");
    EXPECT_EQ(IniValue("playernicks", "nick0"), "ALPHA");
    EXPECT_EQ(IniValue("playernicks", "nick2"), "Charliex");
    EXPECT_EQ(IniValue("playernicks", "nick3"), "");  // Bravo's slot, taken by "Char" and freed again
}

TEST_F(JoinDialogTest, AnEmptyPasswordKeepsTheDialogOpenUnlessTheGameAlwaysAsks) {
    base::CopyText(record.passwordText, "True");
    INT_PTR result = Run(catalogue::kQuake3, [&](HWND dialog) {
        EXPECT_TRUE(Enabled(dialog, IDC_JOIN_PASSWORD));
        testing_support::PressInto(
            dialog, IDOK, testing_support::AnswerMessage("A password must be entered!", base::kAppTitle, IDOK));
        EXPECT_TRUE(IsWindowVisible(dialog));
        SetDlgItemTextA(dialog, IDC_JOIN_PASSWORD, "letmein");
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_STREQ(details.serverPassword, "letmein");
    EXPECT_STREQ(details.playerName, "Bravo");
    EXPECT_STREQ(details.model, "visor");

    base::CopyText(record.passwordText, "0");
    result = Run(catalogue::kWolfenstein, [&](HWND dialog) {
        EXPECT_TRUE(Enabled(dialog, IDC_JOIN_PASSWORD));
        EXPECT_FALSE(Enabled(dialog, IDC_JOIN_MODEL));
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(JoinDialogTest, CloseStoresTheTemplateTheNotifyChoiceAndTheTickedPasswords) {
    base::CopyText(record.passwordText, "1");
    base::CopyText(record.serverPassword, "old");
    INT_PTR result = Run(catalogue::kQuake3, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_JOIN_PASSWORD, "typed");
        SetDlgItemTextA(dialog, IDC_JOIN_RCON_PASSWORD, "not kept");
        CheckDlgButton(dialog, IDC_JOIN_SAVE_PASSWORD, BST_CHECKED);
        CheckDlgButton(dialog, IDC_JOIN_NOTIFY_IRC, BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_JOIN_IRC_TEMPLATE, "/me [$server]");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_JOIN_VIA_STEAM)));  // for the Steam games only
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    join::StoreTypedPasswords(details, record);
    EXPECT_STREQ(record.serverPassword, "typed");
    EXPECT_STREQ(record.rconPassword, "");
    EXPECT_EQ(IniValue("DDE", "IRC"), "/me [$server]");
    EXPECT_EQ(settings.ReadDword(base::reg::kJoinOption.keyPath, base::reg::kJoinOption.name), 1u);
}

}  // namespace
