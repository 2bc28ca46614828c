// The main window's saves on real Win32 (under Wine): a change written by the save timer once no
// refresh holds the records, a message held until the handler is over, the end of the session, and
// the tray icon of a hidden window after the taskbar was made again.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/win32/frame/app_messages.h"
#include "app/win32/frame/shell.h"
#include "app/win32/frame/tray.h"
#include "app/win32/settings/saves.h"
#include "base/file_io.h"
#include "testing/win32/shell_fixture.h"

namespace {

using namespace app::win32;
using catalogue::StoredFile;
using testing_support::ShellTest;

class SavesTest : public ShellTest {
  protected:
    int64_t Size(const char* name) { return base::FileSize(folder.File(name)); }
    void Wait(DWORD ms) {
        Sleep(ms);
        Pump();
    }
};

TEST_F(SavesTest, AChangeIsWrittenByTheTimerOnceNoRefreshHoldsTheRecordsAndTheSessionsEndWritesTheRest) {
    StartShell();
    sink.shown.clear();  // the offer of a master query for the empty list
    catalogue::GameProfile& p = *CurrentProfile(*shell);
    ASSERT_EQ(Size("GS001.vexar"), 0);  // read at the start, and created empty
    catalogue::findOrCreateServer(p.servers, catalogue::MakeServerTemplate("10.0.0.1", 27960));
    NoteStoredChange(*shell, p, StoredFile::kServerList);
    ctx.refreshBusy = true;
    Wait(app::kSaveDelayMs + 300);
    EXPECT_EQ(Size("GS001.vexar"), 0);  // held by the refresh
    ctx.refreshBusy = false;
    Wait(app::kHeldRecheckMs + 300);
    EXPECT_EQ(Size("GS001.vexar"), 1640);

    // A column the user resized reaches the profile once the header has finished with it.
    views::win32::PaneSet panes = PanesOf(*shell, &p);
    SendMessageA(panes.serverList, LVM_SETCOLUMNWIDTH, 3, 123);
    NMHEADERA resized = {};
    resized.hdr = {reinterpret_cast<HWND>(SendMessageA(panes.serverList, LVM_GETHEADER, 0, 0)), 0,
                   static_cast<UINT>(HDN_ENDTRACKA)};
    resized.iItem = 3;
    SendMessageA(panes.server, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&resized));
    Pump();
    EXPECT_EQ(p.columnWidth[3], 123u);

    // The session ends (the rest is checked end to end): a session that goes on changes nothing; one
    // that ends writes what waited, holding the columns, without a word.
    catalogue::findOrCreateServer(p.servers, catalogue::MakeServerTemplate("10.0.0.2", 27960));
    NoteStoredChange(*shell, p, StoredFile::kServerList);
    SendMessageA(main, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(Size("GS001.vexar"), 1640);
    SendMessageA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(Size("GS001.vexar"), 2 * 1640);
    const std::string profiles = testing_support::ReadBytes(folder.File("gamesets.vexar"));
    EXPECT_EQ(profiles.substr(8 + 604 + 3 * 4, 4), std::string("\x7B\0\0\0", 4));
    EXPECT_TRUE(sink.shown.empty());  // nothing asked or shown
}

TEST_F(SavesTest, AWindowHiddenInTheTrayGetsItsIconBackFromANewTaskbar) {
    WriteIni("WINDOW", "USETRAY", "1");
    StartShell();
    auto removeIcon = [this] { return TrayIcon(main, WM_APP_TRAY, NIM_DELETE, kTrayIconId, nullptr, nullptr); };
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(main, taskbarCreated, 0, 0);
    EXPECT_FALSE(removeIcon());  // on the task bar: no icon
    ShowWindow(main, SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(removeIcon());  // the old taskbar had it, the new one has not
    EXPECT_FALSE(removeIcon());
    SendMessageA(main, taskbarCreated, 0, 0);
    EXPECT_TRUE(removeIcon());
}

}  // namespace
