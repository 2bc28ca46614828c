// The settings road on the real registry and INI files: typed values written and read back, values
// that are missing, of the wrong type, too short or too long, and the window placement saver.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/win32/settings/win32_settings.h"
#include "base/settings_index.h"
#include "base/win32/window_placement.h"
#include "testing/temp_folder.h"

namespace {

using namespace base;

class SettingsRoadTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\ZORBEX"); }
    // A registry value of any type, as another program or an older version may have left it.
    static void Raw(const RegistryValue& v, DWORD type, const std::string& bytes) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, v.keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExA(key, v.name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
        RegCloseKey(key);
    }
    void Ini(const IniKey& k, const char* text) { WritePrivateProfileStringA(k.section, k.key, text, Path().c_str()); }
    std::string Path() const { return store.IniPath(kIniFile); }
    static std::string Shown(const std::optional<std::string>& v) { return v ? "'" + *v + "'" : "none"; }
    static std::string Shown(const std::optional<int32_t>& v) { return v ? std::to_string(*v) : "none"; }

    testing_support::TempFolder folder;
    app::win32::Win32Settings store{folder.path()};
};

TEST_F(SettingsRoadTest, TypedValuesComeBackAndBadOnesReadAsTheirDefault) {
    const std::string dword250("\xFA\0\0\0", 4);
    using Read = std::function<std::string()>;
    const Read splitter = [&] { return std::to_string(ReadDwordOr(store, reg::kSplitter)); };
    const Read hideEmpty = [&] { return Shown(ReadDecimalText(store, reg::kHideEmpty)); };
    const Read folder = [&] { return Shown(ReadText(store, reg::kInstallDir)); };
    const Read tray = [&] { return std::to_string(ReadIniFlag(store, ini::kUseTray)); };
    const struct {
        const char* what;
        std::function<void()> write;
        Read read;
        std::string expected;
    } cases[] = {
        {"dword missing", [] {}, splitter, "200"},
        {"dword", [&] { WriteDwordValue(store, reg::kSplitter, 250); }, splitter, "250"},
        {"dword by the other spelling", [&] { store.WriteDword(kRegistryKey, "wsp", 250); }, splitter, "250"},
        {"dword too short", [] { Raw(reg::kSplitter, REG_BINARY, "\xFA\0"); }, splitter, "200"},
        {"dword as binary", [&] { Raw(reg::kSplitter, REG_BINARY, dword250); }, splitter, "200"},
        {"dword as text", [] { Raw(reg::kSplitter, REG_SZ, std::string("1", 2)); }, splitter, "200"},
        {"decimal", [&] { WriteDecimalText(store, reg::kHideEmpty, 1); }, hideEmpty, "1"},
        {"decimal as dword", [&] { Raw(reg::kHideEmpty, REG_DWORD, dword250); }, hideEmpty, "none"},
        {"decimal malformed", [] { Raw(reg::kHideEmpty, REG_SZ, std::string("x1", 3)); }, hideEmpty, "0"},
        {"decimal empty", [] { Raw(reg::kHideEmpty, REG_SZ, std::string("", 1)); }, hideEmpty, "none"},
        {"text", [&] { EXPECT_TRUE(WriteText(store, reg::kInstallDir, "C:\\Vexar")); }, folder, "'C:\\Vexar'"},
        {"text unterminated", [] { Raw(reg::kInstallDir, REG_SZ, "C:\\V"); }, folder, "'C:\\V'"},
        {"text as dword", [&] { Raw(reg::kInstallDir, REG_DWORD, dword250); }, folder, "none"},
        {"text too long", [&] { WriteText(store, reg::kInstallDir, std::string(400, 'x')); }, folder, "none"},
        {"text longest", [&] { WriteText(store, reg::kInstallDir, std::string(254, 'y')); },
         [&] { return std::to_string(ReadText(store, reg::kInstallDir)->size()); }, "254"},
        {"flag missing", [] {}, tray, "0"},
        {"flag", [&] { WriteIniFlag(store, ini::kUseTray, true); }, tray, "1"},
        {"flag in other case", [&] { store.WriteIni(kIniFile, "window", "usetray", "1"); }, tray, "1"},
        {"flag not starting with 1", [&] { Ini(ini::kUseTray, "yes1"); }, tray, "0"},
        {"flag cut to its buffer", [&] { Ini(ini::kUseTray, std::string(40, '1').c_str()); },
         [&] { return std::to_string(ReadIniText(store, ini::kUseTray).size()); }, "28"},
        {"decimal key", [&] { WriteIniDecimal(store, ini::kActiveTab, 7); },
         [&] { return std::to_string(ReadIniDecimal(store, ini::kActiveTab)); }, "7"},
        {"decimal key malformed", [&] { Ini(ini::kWindowStateRead, "max"); },
         [&] { return std::to_string(ReadIniDecimal(store, ini::kWindowStateRead)); }, "0"},
        {"text key missing", [] {}, [&] { return ReadIniText(store, ini::kDdeServer); }, "mIRC"},
        {"numbered key", [&] { WriteIniText(store, ini::kWebLinkUrl, 3, "http://a/"); },
         [&] { return ReadIniText(store, ini::kWebLinkUrl, 3) + "|" + ReadIniText(store, ini::kWebLinkUrl, 4); },
         "http://a/|"},
        // A game without an INI file of its own (none or empty) reads the caller's fallback.
        {"game file key", [&] { WriteIniText(store, ini::kIrcTemplate, "hi", "q3a.ini"); },
         [&] {
             return ReadIniText(store, ini::kIrcTemplate, "q3a.ini", "fb") + "|" +
                    ReadIniText(store, ini::kIrcTemplate) + "|" + ReadIniText(store, ini::kIrcTemplate, "", "fb") +
                    "|" + ReadIniText(store, ini::kIrcTemplate, "ef.ini", "fb");
         },
         "hi||fb|fb"},
    };
    for (const auto& c : cases) {
        SetUp();
        DeleteFileA(Path().c_str());
        c.write();
        EXPECT_EQ(c.read(), c.expected) << c.what;
    }
}

// Maximised windows are checked where they close: end to end (main) and with the console window.
TEST_F(SettingsRoadTest, PlacementKeepsSignedCornersAndAMinimisedWindowNeverComesBackMinimised) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VEXARPLACEMENTTEST";
    RegisterClassA(&wc);
    HWND window = CreateWindowA(wc.lpszClassName, "t", WS_OVERLAPPEDWINDOW, -7, 100, 800, 600, nullptr, nullptr,
                                wc.hInstance, nullptr);
    auto stored = [&](const PlacementValues& v) {
        return std::tuple(ReadDwordOr(store, v.position), ReadDwordOr(store, v.farCorner), ReadDwordOr(store, v.show));
    };
    const auto normal = std::tuple(0x640000u | 0xFFF9u, (700u << 16) | 793u, uint32_t(SW_SHOWNORMAL));
    ShowWindow(window, SW_SHOWNORMAL);
    EXPECT_TRUE(win32::SaveWindowPlacement(store, window, reg::kMainPlacement, win32::PlacementRule::kNormalOnly));
    ShowWindow(window, SW_SHOWMINIMIZED);
    EXPECT_FALSE(win32::SaveWindowPlacement(store, window, reg::kMainPlacement, win32::PlacementRule::kNormalOnly));
    win32::SaveWindowPlacement(store, window, reg::kRconPlacement, win32::PlacementRule::kRememberMaximised);
    EXPECT_EQ(std::pair(stored(reg::kMainPlacement), stored(reg::kRconPlacement)), std::pair(normal, normal));
    DestroyWindow(window);
}

}  // namespace
