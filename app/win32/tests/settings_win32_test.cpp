// Registry and INI access on real Win32 (under Wine): the routines, placement saving, start-up reads.
#include <gtest/gtest.h>
#include <windows.h>

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
};

TEST_F(RegistryTest, BothKeySpellingsReachTheSameKey) {
    WriteRegDword(HKEY_CURRENT_USER, 250, base::kGeometryKey, "WSP");
    DWORD value = 0;
    ASSERT_EQ(ReadRegDword(HKEY_CURRENT_USER, &value, base::kRegistryKey, "WSP"), 0);
    EXPECT_EQ(value, 250u);
    WriteRegString(HKEY_CURRENT_USER, "C:\\Vexar", base::kRegistryKey, "InstallDir");
    char text[256];
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kGeometryKey, "installdir"), 8u);
    EXPECT_STREQ(text, "C:\\Vexar");
}

TEST_F(RegistryTest, MissingValuesAndWrongTypesLeaveTheDestinationAlone) {
    DWORD value = 1234;
    EXPECT_NE(ReadRegDword(HKEY_CURRENT_USER, &value, base::kRegistryKey, "FSF"), 0);
    EXPECT_EQ(value, 1234u);
    WriteRegString(HKEY_CURRENT_USER, "1", base::kRegistryKey, "FSF");
    EXPECT_NE(ReadRegDword(HKEY_CURRENT_USER, &value, base::kRegistryKey, "FSF"), 0);
    EXPECT_EQ(value, 1234u);
    char text[256] = "untouched";
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, "Nope"), 0u);
}

TEST_F(RegistryTest, LongTextIsCutAndTerminated) {
    std::string longText(400, 'x');
    WriteRegString(HKEY_CURRENT_USER, longText.c_str(), base::kRegistryKey, "InstallDir");
    char text[256];
    memset(text, 'Q', sizeof text);
    size_t n = ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, "InstallDir");
    EXPECT_EQ(n, 0u);  // does not fit the 255-byte buffer: treated as unreadable
    WriteRegString(HKEY_CURRENT_USER, std::string(254, 'y').c_str(), base::kRegistryKey, "InstallDir");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, text, base::kRegistryKey, "InstallDir"), 254u);
    EXPECT_EQ(text[254], '\0');
}

TEST_F(RegistryTest, DwordUnderSeIsNotReadAsTextButTextIs) {
    Win32Settings store("C:\\nowhere");
    WriteRegDword(HKEY_CURRENT_USER, 1, base::kRegistryKey, "SE");
    EXPECT_EQ(ReadStartupSettings(store).hideEmpty, 0u);
    WriteRegString(HKEY_CURRENT_USER, "1", base::kRegistryKey, "SE");
    EXPECT_EQ(ReadStartupSettings(store).hideEmpty, 1u);
    WriteRegDword(HKEY_CURRENT_USER, 0xFFFFFFFF, base::kRegistryKey, "SB");
    EXPECT_EQ(ReadStartupSettings(store).showBots, 0xFFFFFFFFu);
}

class PlacementTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VEXARPLACEMENTTEST";
        RegisterClassA(&wc);
        window = CreateWindowA("VEXARPLACEMENTTEST", "t", WS_OVERLAPPEDWINDOW, 50, 100, 800, 600, nullptr, nullptr,
                               wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        RegistryTest::TearDown();
    }
    DWORD Read(const char* name) {
        DWORD v = 0xDEADBEEF;
        ReadRegDword(HKEY_CURRENT_USER, &v, base::kGeometryKey, name);
        return v;
    }
    HWND window = nullptr;
};

TEST_F(PlacementTest, NormalWindowStoresCornersAndShowCommand) {
    ShowWindow(window, SW_SHOWNORMAL);
    SplitterValues s{210, 310, 320};
    SaveWindowPlacement(window, "WXY", "WWH", "WST", &s);
    EXPECT_EQ(Read("WXY"), (100u << 16) | 50u);
    EXPECT_EQ(Read("WWH"), (700u << 16) | 850u);
    EXPECT_EQ(Read("WST"), DWORD(SW_SHOWNORMAL));
    EXPECT_EQ(Read("WSP"), 210u);
    EXPECT_EQ(Read("WSPSD"), 310u);
    EXPECT_EQ(Read("WSPPL"), 320u);
}

TEST_F(PlacementTest, MaximisedWindowLeavesGeometryAloneButWritesSplitters) {
    WriteRegDword(HKEY_CURRENT_USER, 1, base::kGeometryKey, "WXY");
    WriteRegDword(HKEY_CURRENT_USER, 2, base::kGeometryKey, "WWH");
    WriteRegDword(HKEY_CURRENT_USER, 3, base::kGeometryKey, "WST");
    ShowWindow(window, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(window));
    SplitterValues s{111, 222, 333};
    SaveWindowPlacement(window, "WXY", "WWH", "WST", &s);
    EXPECT_EQ(Read("WXY"), 1u);
    EXPECT_EQ(Read("WWH"), 2u);
    EXPECT_EQ(Read("WST"), 3u);
    EXPECT_EQ(Read("WSP"), 111u);
    EXPECT_EQ(Read("WSPPL"), 333u);
}

TEST_F(PlacementTest, MinimisedWindowLeavesGeometryAlone) {
    ShowWindow(window, SW_SHOWMINIMIZED);
    SaveWindowPlacement(window, "RCWXY", "RCWWH", "RCWST", nullptr);
    EXPECT_EQ(Read("RCWXY"), 0xDEADBEEFu);
    EXPECT_EQ(Read("WSP"), 0xDEADBEEFu);  // no splitters for other windows
}

TEST(IniAccess, ReadsWritesAndIgnoresCaseOfSectionsAndKeys) {
    testing_support::TempFolder dir;
    Win32Settings store(dir.path());
    EXPECT_EQ(store.ReadIni("vexar.ini", "games", "active", "0", 255), "0");
    store.WriteIni("vexar.ini", "games", "active", "3");
    store.WriteIni("vexar.ini", "WINDOW", "USETRAY", "1");
    EXPECT_EQ(store.ReadIni("vexar.ini", "GAMES", "Active", "0", 255), "3");
    EXPECT_EQ(store.ReadIni("vexar.ini", "window", "usetray", "", 29), "1");
    std::string file = testing_support::ReadBytes(dir.File("vexar.ini"));
    EXPECT_NE(file.find("[games]"), std::string::npos);
    EXPECT_NE(file.find("active=3"), std::string::npos);

    store.WriteIni("vexar.ini", "weblinks", "url000", std::string(100, 'u').c_str());
    EXPECT_EQ(store.ReadIni("vexar.ini", "weblinks", "url000", "", 30).size(), 29u);
    EXPECT_EQ(store.ReadIni("q3a.ini", "playernicks", "LNI", "0", 255), "0");
    store.WriteIni("q3a.ini", "playernicks", "nick0", "^1Me");
    EXPECT_EQ(store.ReadIni("q3a.ini", "playernicks", "nick0", "", 255), "^1Me");
    EXPECT_TRUE(testing_support::ReadBytes(dir.File("q3a.ini")).find("nick0=^1Me") != std::string::npos);
}

TEST(IniAccess, StartupReadsTrayAndWindowState) {
    testing_support::TempFolder dir;
    testing_support::WriteBytes(dir.File("vexar.ini"),
                                "[WINDOW]\r\nUSETRAY=1\r\nstate=2\r\n[TRAY]\r\nAUTOREFRESH=0\r\n");
    Win32Settings store(dir.path());
    StartupSettings s = ReadStartupSettings(store);
    EXPECT_TRUE(s.useTray);
    EXPECT_FALSE(s.autoRefreshMinimised);
    EXPECT_EQ(s.windowState, 2);
}

TEST_F(RegistryTest, InstallFolderComesFromInstallDirElseTheCurrentDirectory) {
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(FindInstallFolder(), current);
    WriteRegString(HKEY_CURRENT_USER, "C:\\Games\\Vexar", base::kRegistryKey, "InstallDir");
    EXPECT_EQ(FindInstallFolder(), "C:\\Games\\Vexar");
}

}  // namespace
