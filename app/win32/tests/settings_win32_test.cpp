// Registry and INI access on real Win32 (under Wine): the routines, placement saving, the install folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/startup_settings.h"
#include "app/win32/registry.h"
#include "app/win32/win32_settings.h"
#include "testing/temp_folder.h"

namespace {

using namespace app;
using namespace app::win32;

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX"); }
    DWORD Read(const char* name, DWORD absent = 0xDEADBEEF) {
        ReadRegDword(HKEY_CURRENT_USER, &absent, base::kGeometryKey, name);
        return absent;
    }
};

TEST_F(RegistryTest, BothKeySpellingsReachTheSameKeyAndTheInstallFolderIsReadFromIt) {
    WriteRegDword(HKEY_CURRENT_USER, 250, base::kGeometryKey, "WSP");
    DWORD value = 0;
    ASSERT_EQ(ReadRegDword(HKEY_CURRENT_USER, &value, base::kRegistryKey, "WSP"), 0);
    EXPECT_EQ(value, 250u);
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(FindInstallFolder(), current);  // no InstallDir: the current directory
    WriteRegString(HKEY_CURRENT_USER, "C:\\Vexar", base::kRegistryKey, "InstallDir");
    char text[256];
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kGeometryKey, "installdir"), 8u);
    EXPECT_STREQ(text, "C:\\Vexar");
    EXPECT_EQ(FindInstallFolder(), "C:\\Vexar");
}

TEST_F(RegistryTest, MissingValuesWrongTypesAndTooLongTextsLeaveTheDestinationAlone) {
    DWORD value = 1234;
    EXPECT_NE(ReadRegDword(HKEY_CURRENT_USER, &value, base::kRegistryKey, "FSF"), 0);
    WriteRegString(HKEY_CURRENT_USER, "1", base::kRegistryKey, "FSF");
    EXPECT_NE(ReadRegDword(HKEY_CURRENT_USER, &value, base::kRegistryKey, "FSF"), 0);
    EXPECT_EQ(value, 1234u);
    char text[256] = "untouched";
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, "Nope"), 0u);
    Win32Settings store("C:\\nowhere");  // a DWORD where text belongs is no text
    WriteRegDword(HKEY_CURRENT_USER, 1, base::kRegistryKey, "SE");
    EXPECT_EQ(store.ReadString(base::kRegistryKey, "SE"), std::nullopt);
    // A text that does not fit the 255-byte buffer is unreadable; one that fits is terminated.
    WriteRegString(HKEY_CURRENT_USER, std::string(400, 'x').c_str(), base::kRegistryKey, "InstallDir");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, "InstallDir"), 0u);
    std::memset(text, 'Q', sizeof text);
    WriteRegString(HKEY_CURRENT_USER, std::string(254, 'y').c_str(), base::kRegistryKey, "InstallDir");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, "InstallDir"), 254u);
    EXPECT_EQ(text[254], '\0');
}

TEST_F(RegistryTest, PlacementOfANormalWindowIsStoredAMinimisedOneKeepsTheStoredOne) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VEXARPLACEMENTTEST";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("VEXARPLACEMENTTEST", "t", WS_OVERLAPPEDWINDOW, 50, 100, 800, 600, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SplitterValues s{210, 310, 320};
    SaveWindowPlacement(window, "WXY", "WWH", "WST", &s);
    EXPECT_EQ(std::tuple(Read("WXY"), Read("WWH"), Read("WST")),
              std::tuple((100u << 16) | 50u, (700u << 16) | 850u, DWORD(SW_SHOWNORMAL)));
    EXPECT_EQ(std::tuple(Read("WSP"), Read("WSPSD"), Read("WSPPL")), std::tuple(210u, 310u, 320u));

    // A maximised main window is checked end to end; a minimised one keeps the stored placement, and
    // without splitters (the other windows) none are written.
    ShowWindow(window, SW_SHOWMINIMIZED);
    SaveWindowPlacement(window, "WXY", "WWH", "WST", nullptr);
    EXPECT_EQ(std::tuple(Read("WXY"), Read("WST"), Read("WSP")),
              std::tuple((100u << 16) | 50u, DWORD(SW_SHOWNORMAL), 210u));
    DestroyWindow(window);
}

TEST(IniAccess, ReadsWritesAndIgnoresCaseOfSectionsAndKeys) {
    testing_support::TempFolder dir;
    Win32Settings store(dir.path());
    EXPECT_EQ(store.ReadIni("vexar.ini", "games", "active", "0", 255), "0");
    store.WriteIni("vexar.ini", "games", "active", "3");
    store.WriteIni("vexar.ini", "WINDOW", "USETRAY", "1");
    EXPECT_EQ(store.ReadIni("vexar.ini", "GAMES", "Active", "0", 255), "3");
    const std::string file = testing_support::ReadBytes(dir.File("vexar.ini"));
    EXPECT_TRUE(file.find("[games]") != std::string::npos && file.find("active=3") != std::string::npos);
    store.WriteIni("vexar.ini", "weblinks", "url000", std::string(100, 'u').c_str());
    EXPECT_EQ(store.ReadIni("vexar.ini", "weblinks", "url000", "", 30).size(), 29u);
    store.WriteIni("q3a.ini", "playernicks", "nick0", "^1Me");
    EXPECT_EQ(store.ReadIni("q3a.ini", "playernicks", "nick0", "", 255), "^1Me");
    // The start-up reads go through the same store.
    store.WriteIni("vexar.ini", "window", "state", "2");
    StartupSettings s = ReadStartupSettings(store);
    EXPECT_EQ(std::pair(s.useTray, s.windowState), std::pair(true, 2));
}

}  // namespace
