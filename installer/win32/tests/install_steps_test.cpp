// The installer's steps on real Win32: a damaged installer, and the folders it takes as typed.
#include <gtest/gtest.h>

#include <windows.h>

#include "installer/win32/install_steps.h"
#include "testing/temp_folder.h"

namespace {

using namespace installer::win32;

TEST(InstallSteps, ADamagedInstallerWritesNothingAndOnlyWholePathsAreTaken) {
    // This test program carries no payload: as an installer it is a damaged one.
    testing_support::TempFolder folder;
    std::string error;
    EXPECT_FALSE(HasWholePayload(GetModuleHandleA(nullptr), error));
    EXPECT_EQ(error, "The installer is damaged: it does not hold vexar.exe.");
    EXPECT_FALSE(WritePayloadFile(GetModuleHandleA(nullptr), folder.path(), kPayload[2], error));
    EXPECT_EQ(error, "The installer is damaged: it does not hold sky-zox.vxc.");
    EXPECT_EQ(GetFileAttributesA(folder.File("Colour Schemes").c_str()), INVALID_FILE_ATTRIBUTES);

    // Relative folders would be taken from the installer's working folder.
    for (auto [typed, taken] : {std::pair("C:\\Games\\..\\Vexar\\\\", "C:\\Vexar"),
                                {"d:/Games/Vexar", "d:\\Games\\Vexar"},
                                {"C:\\", "C:\\"},
                                {"\\\\lab\\share\\Vexar\\", "\\\\lab\\share\\Vexar"}})
        EXPECT_EQ(FullInstallFolder(typed), taken) << typed;
    for (const char* relative : {"Vexar", "C:Vexar", "\\Vexar", ".\\Vexar", "\\\\\\Vexar"})
        EXPECT_EQ(FullInstallFolder(relative), "") << relative;
}

}  // namespace
