// What the remote-control window keeps between runs: each game's command history in its file, the
// window's placement in RCWXY, RCWWH and RCWST.
#include "base/file_io.h"
#include "base/settings_index.h"
#include "base/win32/window_placement.h"
#include "rcon/console_placement.h"
#include "rcon/win32/console_window.h"

namespace rcon::win32 {

namespace {

std::string HistoryPath(const Window& w, uint32_t kind) {
    const char* file = w.host.catalogue.rconCommandsFileOf(kind);
    return file ? base::JoinPath(w.host.installFolder, std::string("user_") + file) : std::string();
}

}  // namespace

void SaveHistory(Window& w) {
    std::string path = HistoryPath(w, w.historyKind);
    if (path.empty())
        return;
    std::string text = w.history.Save();
    base::AtomicFileWriter file(path);
    if (file.Write(text.data(), text.size()))
        file.Commit();
}

void LoadHistory(Window& w, uint32_t kind) {
    w.historyKind = kind;
    base::FileReader file(HistoryPath(w, kind));
    // One byte beyond the bound tells the history that the file was cut there.
    std::string text(kHistoryFileBytes + 1, '\0');
    text.resize(file.IsOpen() ? file.Read(text.data(), text.size()) : 0);
    w.history.Load(text);
    FillHistoryBox(w);
}

void StorePlacement(Window& w) {
    base::win32::SaveWindowPlacement(w.host.settings, w.window, base::reg::kRconPlacement,
                                     base::win32::PlacementRule::kRememberMaximised);
}

void RestorePlacement(Window& w) {
    using namespace base::reg;
    base::SettingsStore& s = w.host.settings;
    ScreenArea screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ConsolePlacement p = RestoreConsolePlacement(s.ReadDword(kRconWindowXY.keyPath, kRconWindowXY.name),
                                                 s.ReadDword(kRconWindowWH.keyPath, kRconWindowWH.name),
                                                 s.ReadDword(kRconWindowState.keyPath, kRconWindowState.name), screen);
    WINDOWPLACEMENT placement = {sizeof placement};
    GetWindowPlacement(w.window, &placement);
    RECT& r = placement.rcNormalPosition;
    if (p.storedPosition) {
        int width = p.storedSize ? p.width : r.right - r.left, height = p.storedSize ? p.height : r.bottom - r.top;
        r = {p.x, p.y, p.x + width, p.y + height};
    }
    placement.showCmd = p.maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    SetWindowPlacement(w.window, &placement);
}

}  // namespace rcon::win32
