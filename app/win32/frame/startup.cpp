// Start-up of the shell: window classes, image lists, the main window and its fixed children.
#include <windows.h>

#include <commctrl.h>

#include "app/master_hosts.h"
#include "app/win32/commands/commands.h"
#include "app/win32/commands/weblinks.h"
#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/banner_bar.h"
#include "app/win32/frame/logo_bar.h"
#include "app/win32/frame/main_layout.h"
#include "app/win32/frame/main_window.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tabs.h"
#include "base/app_title.h"
#include "base/text.h"
#include "base/win32/handles.h"
#include "rcon/win32/remote_control.h"
#include "resources/resource.h"
#include "views/win32/pane_images.h"
#include "views/win32/pane_messages.h"
#include "views/win32/panes.h"

namespace app::win32 {

namespace {

void RegisterClass(HINSTANCE instance,
                   const char* name,
                   WNDPROC proc,
                   HICON icon,
                   HBRUSH background,
                   const char* menu) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

}  // namespace

void RegisterWindowClasses(HINSTANCE instance) {
    HICON programIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VEXAR));
    HICON standard = LoadIconA(nullptr, IDI_APPLICATION);
    const char* mainMenu = MAKEINTRESOURCEA(IDR_MAINMENU);
    RegisterClass(instance, kLogoBarClass, LogoBarProc, programIcon, nullptr, mainMenu);
    RegisterClass(instance, kBannerBarClass, BannerBarProc, standard, nullptr, nullptr);
    RegisterClass(instance, base::kMainWindowClass, MainWindowProc, programIcon, nullptr, mainMenu);
    views::win32::RegisterPaneClasses(instance);
    rcon::win32::RegisterRemoteControlClass(instance);
}

void PrepareContext(AppContext& ctx, std::unique_ptr<base::SettingsStore> settings, std::string installFolder) {
    ctx.installFolder = std::move(installFolder);
    ctx.settings = std::move(settings);
    StartupSettings startup = ReadStartupSettings(*ctx.settings);
    ctx.autoRefreshMinimised = startup.autoRefreshMinimised;
    ctx.useTray = startup.useTray;
    ctx.windowState = startup.windowState;
    ctx.display = DisplayOptionsFrom(startup);
    SplitterPositions s = ReadSplitterPositions(*ctx.settings);
    ctx.splitters = MakeSplitters(s.vertical, s.second, s.players);
    ctx.endpoints = ReadEndpoints(*ctx.settings);
    ctx.refreshBusy = false;
    ctx.profiles = std::make_unique<catalogue::ProfileList>(ctx.installFolder, GetSysColor(COLOR_BTNFACE));
    ctx.catalogue.freeCatalogue();
}

HWND OpenMainWindow(Shell& shell) {
    AppContext& ctx = *shell.ctx;
    base::MessageSink& sink = *shell.sink;
    HINSTANCE instance = shell.instance;

    // Window rectangle from the stored corners against the screen.
    auto wxy = ctx.settings->ReadDword(base::reg::kWindowXY.keyPath, base::reg::kWindowXY.name);
    auto wwh = ctx.settings->ReadDword(base::reg::kWindowWH.keyPath, base::reg::kWindowWH.name);
    WindowRect rect = ComputeWindowRect(wxy, wwh, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));

    shell.images = views::win32::LoadPaneImages(instance);

    HWND main = CreateWindowExA(0, base::kMainWindowClass, base::kAppTitle, WS_OVERLAPPEDWINDOW, rect.x, rect.y,
                                rect.width, rect.height, nullptr, nullptr, instance, &shell);
    if (!main)
        return nullptr;
    shell.tab = CreateTabControl(shell);

    shell.logoBar =
        CreateWindowExA(0, kLogoBarClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 620, 42, main, nullptr, instance, &shell);
    shell.logoPicture = CreateWindowExA(0, "STATIC", "VEXAR", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY | SS_SUNKEN,
                                        622, 2, 122, 40, shell.logoBar, nullptr, instance, nullptr);
    shell.logoBitmap.Reset(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_LOGO)));
    SendMessageA(shell.logoPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shell.logoBitmap.get()));
    shell.bannerBar =
        CreateWindowExA(0, kBannerBarClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 620, 42, main, nullptr, instance, &shell);
    shell.toolbar = CreateToolbar(instance, shell.logoBar);
    if (!shell.toolbar) {
        sink.Tell("Unable to create Toolbar!", base::MessageIcon::kNone);
        sink.Tell("Error creating child window!", base::MessageIcon::kNone);
    }

    BuildWebLinksMenu(shell, GetSubMenu(GetMenu(main), 4));

    bool imported = catalogue::StartCatalogueAndProfiles(ctx.catalogue, *ctx.profiles, sink);
    LoadMasterHosts(*ctx.profiles, *ctx.settings);
    for (const auto& p : ctx.profiles->profiles())
        AddTabForProfile(shell, *p);
    ctx.profiles->SetCurrent(ctx.profiles->head());
    if (imported)
        SendToPane(PanesOf(shell, ctx.profiles->head()).buddy, views::win32::PM_BUDDIES_RELOAD);

    SetStartupMenuMarks(shell);
    ShowCommandStates(shell);
    ShowWindow(main, ctx.windowState == 2 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(main);
    FitSplittersToClient(shell);

    int active = base::ReadIniDecimal(*ctx.settings, base::ini::kActiveTab);
    SelectStartupTab(shell, active);

    if (base::ReadDwordOr(*ctx.settings, base::reg::kFirstRunDone) == 0) {
        sink.Tell(
            "This is the first time you have run this new version of Vexar!,\na Master server refresh must now "
            "be started...",
            base::MessageIcon::kNone);
        SendMessageA(main, WM_APP_MASTERQUERY, 0, 0);
        base::WriteDwordValue(*ctx.settings, base::reg::kFirstRunDone, 1);
    }

    shell.accelerators.Reset(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS)));
    shell.largeIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VEXAR));
    return main;
}

}  // namespace app::win32
