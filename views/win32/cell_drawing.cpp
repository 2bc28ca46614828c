// Owner drawing of list cells.
#include "views/win32/cell_drawing.h"

#include <algorithm>
#include <cstring>

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

HGDIOBJ SelectListFont(HDC dc, HWND list) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0));
    if (!font)
        font = GetStockObject(ANSI_VAR_FONT);
    return SelectObject(dc, font);
}

void FillCell(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
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

constexpr size_t kPaneTextLimit = 255;

void DrawIconCell(HDC dc, HWND list, HIMAGELIST icons, int row, int icon) {
    RECT r = CellIconRect(list, row, 0);
    if (icon >= 0 && icons)
        ImageList_Draw(icons, icon, dc, r.left, r.top, ILD_TRANSPARENT);
    else
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace

LRESULT ListPaneCustomDraw(const NMLVCUSTOMDRAW& cd, HIMAGELIST icons, const PaneCellSource& cell, bool focusMarks) {
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
    PaneCellPaint p = cell(row, column, selected);

    if (p.kind == PaneCellKind::kIconAndColourText)
        DrawIconCell(dc, list, icons, row, p.icon);
    RECT label = CellLabelRect(list, row, column);
    HGDIOBJ oldFont = SelectListFont(dc, list);
    FillCell(dc, label, p.fill);
    SetBkColor(dc, p.textBackground);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, p.textColour);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    switch (p.kind) {
        case PaneCellKind::kIconAndColourText:
        case PaneCellKind::kColourText:
            DrawColourName(dc, label, p.indent, p.text);
            break;
        case PaneCellKind::kText:
            DrawCellText(dc, label, p.indent, p.text, kPaneTextLimit);
            break;
        case PaneCellKind::kFillOnly:
            break;
    }
    SelectObject(dc, oldFont);
    return CDRF_SKIPDEFAULT;
}

}  // namespace views::win32
