// Actions on list and tab controls, read and set through structures placed in the program's memory.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "testing/driver/actions.h"
#include "testing/driver/inside_query.h"
#include "testing/driver/program_windows.h"
#include "testing/driver/remote_buffer.h"
#include "testing/driver/support.h"

namespace driver {

namespace {

// Time allowed to the program to show its panes after start-up.
constexpr DWORD kPaneWaitMs = 5000;
// Room for one cell's or one tab's text, with its NUL.
constexpr size_t kTextCapacity = 512;

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        printf("%s\n", line.c_str());
}

int ItemCount(HWND list) {
    return static_cast<int>(SendOrFail(list, LVM_GETITEMCOUNT, 0, 0));
}

// The number of columns of a list control (1 when it has no header).
int ColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendOrFail(list, LVM_GETHEADER, 0, 0));
    if (!header)
        return 1;
    int columns = static_cast<int>(SendOrFail(header, HDM_GETITEMCOUNT, 0, 0));
    if (columns < 0)
        Fail("HDM_GETITEMCOUNT failed");
    return columns;
}

// Every row of a list control, cells separated by tabs.
std::vector<std::string> ListRows(HWND list) {
    int columns = ColumnCount(list);
    int rows = ItemCount(list);
    // An LVITEMA followed by its text field.
    constexpr size_t kTextOffset = sizeof(LVITEMA);
    RemoteBuffer remote(list, kTextOffset + kTextCapacity);
    std::vector<std::string> lines;
    for (int row = 0; row < rows; ++row) {
        std::string line;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = remote.Address<char>(kTextOffset);
            item.cchTextMax = kTextCapacity;
            remote.Write(0, item);
            remote.Write(kTextOffset, '\0');
            SendOrFail(list, LVM_GETITEMTEXTA, row, remote.AsLParam());
            if (column)
                line += '\t';
            line += remote.ReadText(kTextOffset, kTextCapacity);
        }
        lines.push_back(line);
    }
    return lines;
}

// The captions of a list control's columns in the order of their cells in ListRows (which is not
// the order the user may have dragged them into), separated by tabs, then the rows.
std::vector<std::string> ListTable(HWND list) {
    int columns = ColumnCount(list);
    // An LVCOLUMNA followed by its text field.
    constexpr size_t kTextOffset = sizeof(LVCOLUMNA);
    RemoteBuffer remote(list, kTextOffset + kTextCapacity);
    std::string captions;
    for (int column = 0; column < columns; ++column) {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT;
        c.pszText = remote.Address<char>(kTextOffset);
        c.cchTextMax = kTextCapacity;
        remote.Write(0, c);
        remote.Write(kTextOffset, '\0');
        if (!SendOrFail(list, LVM_GETCOLUMNA, column, remote.AsLParam()))
            Fail("LVM_GETCOLUMN failed for column %d", column);
        if (column)
            captions += '\t';
        captions += remote.ReadText(kTextOffset, kTextCapacity);
    }
    std::vector<std::string> lines = ListRows(list);
    lines.insert(lines.begin(), captions);
    return lines;
}

HWND RequirePaneList(const char* paneClass) {
    // The panes are shown once the first tab is activated, a moment after the main window exists.
    HWND main = RequireMain();
    HWND list = nullptr;
    WaitUntil(kPaneWaitMs, kPollMs, [&] { return (list = PaneList(main, paneClass)) != nullptr; });
    if (!list)
        Fail("no list in a visible pane of class %s", paneClass);
    return list;
}

}  // namespace

int Rows(const Args& args) {
    PrintLines(ListRows(RequirePaneList(args.Text(0))));
    return 0;
}

int Table(const Args& args) {
    PrintLines(ListTable(RequirePaneList(args.Text(0))));
    return 0;
}

int DlgRows(const Args& args) {
    PrintLines(ListRows(RequireDialogControl(args.Text(0), args.Number<int>(1, 0, 0xFFFF))));
    return 0;
}

int DlgTable(const Args& args) {
    PrintLines(ListTable(RequireDialogControl(args.Text(0), args.Number<int>(1, 0, 0xFFFF))));
    return 0;
}

namespace {

void SelectListRow(HWND list, int row) {
    int rows = ItemCount(list);
    if (row >= rows)
        Fail("no row %d: the list has %d", row, rows);
    RemoteBuffer remote(list, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    remote.Write(0, item);
    if (!SendOrFail(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.AsLParam()))
        Fail("LVM_SETITEMSTATE refused to clear the selection");
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, item);
    if (!SendOrFail(list, LVM_SETITEMSTATE, row, remote.AsLParam()))
        Fail("LVM_SETITEMSTATE refused to select row %d", row);
}

}  // namespace

int SelectRow(const Args& args) {
    SelectListRow(RequirePaneList(args.Text(0)), args.Number<int>(1, 0));
    return 0;
}

int Tabs(const Args& args) {
    HWND tab = TabControl(RequireMain());
    std::vector<std::string> lines;
    lines.push_back(std::to_string(SendOrFail(tab, TCM_GETCURSEL, 0, 0)));
    int count = static_cast<int>(SendOrFail(tab, TCM_GETITEMCOUNT, 0, 0));
    // A TCITEMA followed by its text field.
    constexpr size_t kTextOffset = sizeof(TCITEMA);
    RemoteBuffer remote(tab, kTextOffset + kTextCapacity);
    for (int i = 0; i < count; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = remote.Address<char>(kTextOffset);
        item.cchTextMax = kTextCapacity;
        remote.Write(0, item);
        remote.Write(kTextOffset, '\0');
        if (!SendOrFail(tab, TCM_GETITEMA, i, remote.AsLParam()))
            Fail("TCM_GETITEM failed for tab %d", i);
        lines.push_back(remote.ReadText(kTextOffset, kTextCapacity));
    }
    PrintLines(lines);
    return 0;
}

int SelectTab(const Args& args) {
    int index = args.Number<int>(0, 0);
    HWND tab = TabControl(RequireMain());
    int count = static_cast<int>(SendOrFail(tab, TCM_GETITEMCOUNT, 0, 0));
    if (index >= count)
        Fail("no tab %d: there are %d", index, count);
    // A click on the tab, so that the control itself sends its notifications (which may refuse the
    // change, or ask a question in a modal message box).
    RemoteBuffer remote(tab, sizeof(RECT));
    if (!SendOrFail(tab, TCM_GETITEMRECT, index, remote.AsLParam()))
        Fail("TCM_GETITEMRECT failed for tab %d", index);
    RECT r = remote.Read<RECT>(0);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    DWORD thread = ThreadOf(tab);
    PostOrFail(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostOrFail(tab, WM_LBUTTONUP, 0, at);
    WaitUntilTaken(thread);
    // A question asked meanwhile runs its own message loop, which still answers this.
    LRESULT current = SendOrFail(tab, TCM_GETCURSEL, 0, 0);
    printf("%s\n", current == index ? "selected" : "refused");
    return 0;
}

namespace {

// The top-level window of the program with that class, waited for a moment.
HWND RequireTopLevel(const char* windowClass) {
    HWND window = nullptr;
    WaitUntil(kPaneWaitMs, kPollMs, [&] { return (window = FindWindowA(windowClass, nullptr)) != nullptr; });
    if (!window)
        Fail("no window of class %s", windowClass);
    return window;
}

HWND RequireVisibleChild(HWND parent, const char* childClass) {
    for (HWND child : ChildrenOf(parent)) {
        if (HasClass(child, childClass) && IsWindowVisible(child))
            return child;
    }
    Fail("no visible %s in the window", childClass);
}

}  // namespace

int WindowRows(const Args& args) {
    PrintLines(ListRows(RequireVisibleChild(RequireTopLevel(args.Text(0)), WC_LISTVIEWA)));
    return 0;
}

int WindowTable(const Args& args) {
    PrintLines(ListTable(RequireVisibleChild(RequireTopLevel(args.Text(0)), WC_LISTVIEWA)));
    return 0;
}

int WindowSelectRow(const Args& args) {
    SelectListRow(RequireVisibleChild(RequireTopLevel(args.Text(0)), WC_LISTVIEWA), args.Number<int>(1, 0));
    return 0;
}

int WindowChildText(const Args& args) {
    printf("%s\n", WindowText(RequireVisibleChild(RequireTopLevel(args.Text(0)), args.Text(1))).c_str());
    return 0;
}

int WindowSetItemText(const Args& args) {
    std::string text = args.Text(2);
    HWND child = GetDlgItem(RequireTopLevel(args.Text(0)), args.Number<int>(1, 0, 0xFFFF));
    if (!child)
        Fail("no child window %s", args.Text(1));
    SendOrFail(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

int WindowCommand(const Args& args) {
    HWND window = RequireTopLevel(args.Text(0));
    DWORD thread = ThreadOf(window);
    PostOrFail(window, WM_COMMAND, args.Number<WORD>(1), 0);
    WaitUntilTaken(thread);
    return 0;
}

}  // namespace driver
