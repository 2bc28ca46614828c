// Small helpers over an owner-data report list control: rows, selection, headers, clipboard.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace views::win32 {

// The list controls of the panes hold no rows of their own (LVS_OWNERDATA): the pane's model has
// them, and the control only knows their number, which the pane keeps equal to the model's.

// Inserts a left-aligned column without a header image at position 0 (so that inserting from the
// last column to the first gives them in order).
void InsertColumnAtZero(HWND list, const char* caption, int width);
// Header image of a column (LVCF_IMAGE); image -1 takes the image away.
void SetHeaderImage(HWND list, int column, int image);

// Sets the number of rows without scrolling and without invalidating rows that stay.
void SetRowCount(HWND list, int count);
// Invalidates one row (nothing when it is not visible).
void RedrawRow(HWND list, int row);

int SelectedCount(HWND list);
// The lowest selected row, or -1.
int FirstSelectedRow(HWND list);
// Every selected row, lowest first.
std::vector<int> SelectedRows(HWND list);
bool IsRowSelected(HWND list, int row);
void SelectRow(HWND list, int row, bool selected);
// Selects and focuses a row and scrolls it into view.
void SelectAndFocusRow(HWND list, int row);
void SelectAllRows(HWND list, bool selected);

// The selection kept by identity across a reordering of the rows.
struct SavedSelection {
    std::vector<const void*> items;
    const void* focused = nullptr;
    bool all = false;
};
template <class ItemAt>
SavedSelection SaveSelection(HWND list, int rowCount, ItemAt itemAt) {
    SavedSelection saved;
    int count = SelectedCount(list);
    if (count > 0 && count >= rowCount) {
        saved.all = true;
    } else if (count > 0) {
        for (int row : SelectedRows(list))
            saved.items.push_back(itemAt(row));
    }
    int focus = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focus >= 0)
        saved.focused = itemAt(focus);
    return saved;
}
void RestoreSelectionRows(HWND list, const SavedSelection& saved, const std::vector<int>& rows, int focusRow);
template <class RowOf>
void RestoreSelection(HWND list, const SavedSelection& saved, RowOf rowOf) {
    std::vector<int> rows;
    rows.reserve(saved.items.size());
    for (const void* item : saved.items)
        rows.push_back(rowOf(item));
    RestoreSelectionRows(list, saved, rows, saved.focused ? rowOf(saved.focused) : -1);
}

// Keeps a list from drawing during a burst of changes. Each change of a visible list's rows or
// scroll range costs a repaint of its scroll bars (under Wine, a round trip to the X server), so
// thousands of rows offered one by one would take minutes. Suspend() stops the drawing (as
// WM_SETREDRAW does) and, kResumeDrawingDelayMs later, PM_RESUME_DRAWING reaches the list's parent,
// which calls Resume(): the list is then redrawn once. Rows that trickle in (a classic refresh
// answers a few dozen servers a second) thus cost a handful of repaints a second, not one each.
//
// Drawing a list again is dear under Wine (the scroll bars alone take several milliseconds, a page
// of rows as long). Rows added or changed off the page change nothing to see but the scroll bars
// and the pane's counts, so a burst of only such changes (SuspendForRow(), RedrawRow()) waits
// kOffPageResumeDelayMs instead; a row on the page, any other change (Suspend()) and the user's
// input (Hurry()) bring the drawing back after kResumeDrawingDelayMs.
constexpr UINT kResumeDrawingDelayMs = 100;
constexpr UINT kOffPageResumeDelayMs = 500;

class ListDrawing {
  public:
    explicit ListDrawing(HWND list) : list_(list) {}
    void Suspend();
    // Suspends for a change of one row only (an append, say).
    void SuspendForRow(int row);
    // The row's cells changed: drawn at once, or with the rest when the drawing comes back.
    void RedrawRow(int row);
    // While suspended: the drawing comes back kResumeDrawingDelayMs from the first change at most.
    void Hurry();
    void Resume();
    bool suspended() const { return suspended_; }

  private:
    void Begin();
    bool OnPage(int row) const { return row >= pageFirst_ && row <= pageLast_; }

    HWND list_;
    bool suspended_ = false;
    bool soon_ = false;  // the timer runs for kResumeDrawingDelayMs
    int pageFirst_ = 0;  // the rows on the page when the drawing stopped
    int pageLast_ = -1;
};

// Puts text on the clipboard as CF_TEXT with owner as the clipboard's owner. False when the
// clipboard could not be opened (nothing changed) or the block could not be allocated (the
// clipboard is then left empty).
bool PutTextOnClipboard(HWND owner, const std::string& text);

}  // namespace views::win32
