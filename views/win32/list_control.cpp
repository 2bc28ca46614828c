// Owner-data list control helpers.
#include "views/win32/list_control.h"

#include <cstring>

#include "views/win32/pane_messages.h"

namespace views::win32 {

void InsertColumnAtZero(HWND list, const char* caption, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    if (caption && *caption) {
        column.mask |= LVCF_TEXT;
        column.pszText = const_cast<char*>(caption);
    }
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

void SetHeaderImage(HWND list, int column, int image) {
    if (column < 0)
        return;
    LVCOLUMNA c = {};
    c.mask = LVCF_FMT | LVCF_IMAGE;
    c.fmt = LVCFMT_LEFT | (image >= 0 ? LVCFMT_IMAGE : 0);
    c.iImage = image;
    SendMessageA(list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
    // Some list controls keep the header's image flag as it was at insertion: the header item is
    // set as well, keeping its text.
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    if (!header)
        return;
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (!SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item)))
        return;
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt = image >= 0 ? (item.fmt | HDF_IMAGE) : (item.fmt & ~HDF_IMAGE);
    item.iImage = image >= 0 ? image : 0;
    SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
}

void SetRowCount(HWND list, int count) {
    if (static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) == count)
        return;
    SendMessageA(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void RedrawRow(HWND list, int row) {
    // Only a row on the page is worth the invalidation.
    if (row < 0 || !IsWindowVisible(list))
        return;
    int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    int page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    if (row >= top && row <= top + page)
        SendMessageA(list, LVM_REDRAWITEMS, row, row);
}

int SelectedCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

int FirstSelectedRow(HWND list) {
    // The count first: looking for a selected row in a long list without one walks every row.
    if (SelectedCount(list) <= 0)
        return -1;
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    int count = SelectedCount(list);
    if (count <= 0)
        return rows;
    rows.reserve(static_cast<size_t>(count));
    if (count >= static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) {
        for (int row = 0; row < count; ++row)
            rows.push_back(row);
        return rows;
    }
    int row = -1;
    while (static_cast<int>(rows.size()) < count) {
        row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0)
            break;
        rows.push_back(row);
    }
    return rows;
}

bool IsRowSelected(HWND list, int row) {
    return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void SelectRow(HWND list, int row, bool selected) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void SelectAndFocusRow(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void SelectAllRows(HWND list, bool selected) {
    SelectRow(list, -1, selected);
}

void RestoreSelectionRows(HWND list, const SavedSelection& saved, const std::vector<int>& rows, int focusRow) {
    if (saved.all) {
        SelectAllRows(list, true);
    } else if (!rows.empty()) {
        SelectAllRows(list, false);
        for (int row : rows) {
            if (row >= 0)
                SelectRow(list, row, true);
        }
    }
    if (focusRow >= 0) {
        LVITEMA item = {};
        item.stateMask = LVIS_FOCUSED;
        item.state = LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, focusRow, reinterpret_cast<LPARAM>(&item));
    }
}

namespace {

constexpr UINT_PTR kResumeDrawingTimer = 0x5658;  // on the list; its own timers use small numbers

void CALLBACK PostResumeDrawing(HWND list, UINT, UINT_PTR id, DWORD) {
    KillTimer(list, id);
    PostMessageA(GetParent(list), PM_RESUME_DRAWING, 0, 0);
}

}  // namespace

void ListDrawing::Suspend() {
    if (!list_)
        return;
    Begin();
    Hurry();
}

void ListDrawing::SuspendForRow(int row) {
    if (!list_)
        return;
    Begin();
    if (OnPage(row))
        Hurry();
}

void ListDrawing::Begin() {
    if (suspended_)
        return;
    suspended_ = true;
    soon_ = false;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    // Not every list control passes WM_SETREDRAW on to the default procedure, which is what marks
    // the window as not to be drawn.
    DefWindowProcA(list_, WM_SETREDRAW, FALSE, 0);
    // Asked once the drawing stopped: the control may bring its rows up to date first.
    pageFirst_ = static_cast<int>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
    pageLast_ = pageFirst_ + static_cast<int>(SendMessageA(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    SetTimer(list_, kResumeDrawingTimer, kOffPageResumeDelayMs, PostResumeDrawing);
}

void ListDrawing::Hurry() {
    if (!suspended_ || soon_)
        return;
    soon_ = true;
    SetTimer(list_, kResumeDrawingTimer, kResumeDrawingDelayMs, PostResumeDrawing);
}

void ListDrawing::RedrawRow(int row) {
    if (!suspended_)
        views::win32::RedrawRow(list_, row);
    else if (OnPage(row))
        Hurry();
}

void ListDrawing::Resume() {
    if (!suspended_)
        return;
    suspended_ = false;
    DefWindowProcA(list_, WM_SETREDRAW, TRUE, 0);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) {
        CloseClipboard();
        return false;
    }
    if (void* bytes = GlobalLock(block)) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(block);
    }
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block);
    CloseClipboard();
    return true;
}

}  // namespace views::win32
