// Owner drawing of list cells.
#include "views/win32/cell_drawing.h"

#include <algorithm>
#include <cstring>

#include "base/win32/handles.h"
#include "views/win32/colour_painter.h"

namespace views::win32 {

RECT CellIconRect(HWND list, int row, int column) {
    RECT r = {};
    if (column == 0) {
        r.left = LVIR_ICON;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    r.top = column;
    r.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    r.right = std::min<LONG>(r.right, r.left + GetSystemMetrics(SM_CXSMICON));
    return r;
}

RECT CellLabelRect(HWND list, int row, int column) {
    RECT r = {};
    if (column == 0) {
        r.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    r.top = column;
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return r;
}

HGDIOBJ ListFont(HWND list) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0));
    return font ? font : GetStockObject(ANSI_VAR_FONT);
}

void FillCell(HDC dc, const RECT& r, COLORREF colour) {
    base::win32::GdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void DrawCellText(HDC dc, const RECT& cell, int indent, const char* text, size_t maxChars) {
    RECT clip = cell;
    clip.left += indent;
    if (clip.left >= clip.right)
        return;
    size_t n = text ? strnlen(text, maxChars) : 0;
    ExtTextOutA(dc, clip.left, clip.top, ETO_CLIPPED, &clip, text, static_cast<UINT>(n), nullptr);
}

namespace {

// Icon cells lie on the window colour, whatever the row's state.
void DrawIconCell(HDC dc, HWND list, const IconList& icons, int row, int column, int icon) {
    RECT r = CellIconRect(list, row, column);
    if (icon >= 0 && icons)
        icons.Draw(dc, icon, r.left, r.top, GetSysColor(COLOR_WINDOW));
    else
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
}

void DispInfo(NMLVDISPINFOA& info, const ListRows& rows) {
    LVITEMA& item = info.item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynA(item.pszText, rows.CellText(item.iItem, item.iSubItem), item.cchTextMax);
    if (item.mask & LVIF_IMAGE)
        item.iImage = rows.RowImage(item.iItem);
    if (item.mask & LVIF_PARAM)
        item.lParam = reinterpret_cast<LPARAM>(rows.RowItem(item.iItem));
}

LRESULT CustomDraw(const NMLVCUSTOMDRAW& cd, const ListRows& rows, const IconList& icons, bool focusMarks) {
    switch (cd.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            break;
        default:
            return CDRF_DODEFAULT;
    }
    HWND list = cd.nmcd.hdr.hwndFrom;
    HDC dc = cd.nmcd.hdc;
    const int row = static_cast<int>(cd.nmcd.dwItemSpec);
    const int column = cd.iSubItem;
    UINT mask = LVIS_SELECTED | (focusMarks ? LVIS_FOCUSED : 0);
    bool selected = (SendMessageA(list, LVM_GETITEMSTATE, row, mask) & mask) != 0;
    CellPaint p = rows.PaintCell(row, column, selected);

    switch (p.kind) {
        case CellKind::kIcon:
        case CellKind::kBlankIcon:
            DrawIconCell(dc, list, icons, row, column, p.kind == CellKind::kIcon ? p.icon : kNoIcon);
            return CDRF_SKIPDEFAULT;
        case CellKind::kIconAndColourText:
            DrawIconCell(dc, list, icons, row, column, p.icon);
            break;
        default:
            break;
    }
    RECT label = CellLabelRect(list, row, column);
    base::win32::SelectedObject font(dc, ListFont(list));
    FillCell(dc, label, p.fill);
    SetBkColor(dc, p.textBackground);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, p.textColour);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    switch (p.kind) {
        case CellKind::kIconAndColourText:
        case CellKind::kColourText:
            DrawColourName(dc, label, p.indent, p.text, p.dialect);
            break;
        case CellKind::kText:
            DrawCellText(dc, label, p.indent, p.text, p.textLimit);
            break;
        default:
            break;
    }
    return CDRF_SKIPDEFAULT;
}

}  // namespace

bool HandleListNotify(const NMHDR& header,
                      const ListRows& rows,
                      const IconList& icons,
                      LRESULT& result,
                      bool focusMarks) {
    switch (header.code) {
        case NM_CUSTOMDRAW:
            result = CustomDraw(reinterpret_cast<const NMLVCUSTOMDRAW&>(header), rows, icons, focusMarks);
            return true;
        case LVN_GETDISPINFOA:
            DispInfo(const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)), rows);
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace views::win32
