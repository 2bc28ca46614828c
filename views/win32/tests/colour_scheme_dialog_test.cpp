// The Game Colour Scheme dialog on real Win32: drawn buttons, Defaults, Cancel, apply to all.
#include <gtest/gtest.h>

#include <cstring>

#include "base/app_title.h"
#include "resources/resource.h"
#include "testing/temp_folder.h"
#include "testing/win32/dialog_script.h"
#include "testing/win32/fake_pane_host.h"
#include "views/win32/colour_scheme_dialog.h"

namespace {

using testing_support::PressButton;
using testing_support::PressInto;

// The colour at the centre of a dialog control, as drawn on the screen.
COLORREF DrawnColour(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    UpdateWindow(button);
    RECT rect;
    GetClientRect(button, &rect);
    HDC dc = GetDC(button);
    COLORREF colour = GetPixel(dc, rect.right / 2, rect.bottom / 2);
    ReleaseDC(button, dc);
    return colour;
}

class ColourSchemeDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue::ApplyProfileDefaults(current, 0x00C8D0D4);
        catalogue::ApplyProfileDefaults(other, 0x00C8D0D4);
        std::memcpy(original, current.colours, sizeof original);
    }
    INT_PTR Run(const std::function<void(HWND)>& script) {
        views::win32::ColourSchemeRequest request{current, {&current, &other}, folder.path()};
        INT_PTR result = 0;
        testing_support::RunDialogScript([&] { result = views::win32::RunColourSchemeDialog(host, request); }, script);
        return result;
    }

    testing_support::TempFolder folder;
    testing_support::FakePaneHost host;
    catalogue::GameProfile current;
    catalogue::GameProfile other;
    uint32_t original[catalogue::kSchemeColours] = {};
};

TEST_F(ColourSchemeDialogTest, DefaultsDrawTheDarkGreenSelectionBarAndCancelRestoresEveryColour) {
    INT_PTR result = Run([&](HWND dialog) {
        EXPECT_EQ(DrawnColour(dialog, IDC_SCHEME_SELECTION), 0x00FF9797u);  // a new profile's
        EXPECT_EQ(DrawnColour(dialog, IDC_SCHEME_FAVOURITE_TEXT), 0x0000FF00u);
        PressButton(dialog, IDC_SCHEME_DEFAULTS);
        EXPECT_EQ(current.colours[5], 0x00008000u);
        EXPECT_EQ(DrawnColour(dialog, IDC_SCHEME_SELECTION), 0x00008000u);
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(std::memcmp(current.colours, original, sizeof original), 0);
}

TEST_F(ColourSchemeDialogTest, ApplyToAllGamesAsksAndOnlyYesChangesTheOtherProfiles) {
    for (int answer : {IDNO, IDYES}) {
        INT_PTR result = Run([&](HWND dialog) {
            PressButton(dialog, IDC_SCHEME_DEFAULTS);
            CheckDlgButton(dialog, IDC_SCHEME_APPLY_ALL, BST_CHECKED);
            testing_support::PressInto(
                dialog, IDOK,
                testing_support::AnswerMessage("Are you sure you want to apply\nthis colour scheme to all games?",
                                               base::kAppTitle, answer));
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(current.colours[5], 0x00008000u);
        EXPECT_EQ(other.colours[5], answer == IDYES ? 0x00008000u : 0x00FF9797u) << answer;
    }
}

TEST_F(ColourSchemeDialogTest, SaveAsksAboutTheFileItWritesAndNoLeavesThatFileAlone) {
    testing_support::WriteBytes(folder.File("sky-zox.vxc"), "kept");
    Run([&](HWND dialog) {
        PressInto(dialog, IDC_SCHEME_SAVE, [&](HWND chooser) {
            // Typed without the ".vxc" the save adds, then with it; No keeps the file and the chooser.
            for (auto [typed, answer] : {std::pair("sky-zox", IDNO), {"SKY-ZOX.VXC", IDYES}}) {
                EXPECT_EQ(testing_support::ReadBytes(folder.File("sky-zox.vxc")), "kept");
                SetDlgItemTextA(chooser, 1148, folder.File(typed).c_str());  // the chooser's file name
                PressInto(chooser, IDOK,
                          testing_support::AnswerMessage(folder.File(answer == IDNO ? "sky-zox.vxc" : typed) +
                                                             " already exists.\nDo you want to replace it?",
                                                         base::kAppTitle, answer));
            }
        });
        EXPECT_EQ(testing_support::ReadBytes(folder.File("sky-zox.vxc")).size(), 64u);
        PressButton(dialog, IDCANCEL);
    });
}

}  // namespace
