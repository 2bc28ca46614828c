// The server list pane's owner drawing, row texts of its owner-data list, and info tips.
#include <cstring>
#include <string>

#include "app/win32/shell.h"
#include "views/server_columns.h"
#include "views/win32/cell_drawing.h"
#include "views/win32/colour_painter.h"
#include "views/win32/list_control.h"
#include "views/win32/server_pane.h"

namespace views::win32 {

namespace {

// Text cells are drawn cut at this many characters.
constexpr size_t kCellTextLimit = 254;

void CopyCut(char* destination, int size, const char* text) {
    if (!destination || size <= 0)
        return;
    lstrcpynA(destination, text ? text : "", size);
}

}  // namespace

LRESULT ServerCustomDraw(ServerPane& pane, const NMLVCUSTOMDRAW& cd) {
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
    HDC dc = cd.nmcd.hdc;
    const int row = static_cast<int>(cd.nmcd.dwItemSpec);
    const int column = cd.iSubItem;
    const ServerCellPaint p = pane.model.PaintCell(row, column, IsRowSelected(pane.list, row));
    switch (p.kind) {
        case ServerCellKind::kFlagIcon: {
            RECT r = CellIconRect(pane.list, row, column);
            if (HIMAGELIST icons = app::win32::TheShell().paneIconsA)
                ImageList_Draw(icons, p.image, dc, r.left, r.top, ILD_TRANSPARENT);
            return CDRF_SKIPDEFAULT;
        }
        case ServerCellKind::kFlagBlank: {
            RECT r = CellIconRect(pane.list, row, column);
            FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
            return CDRF_SKIPDEFAULT;
        }
        case ServerCellKind::kColourName:
        case ServerCellKind::kText:
            break;
    }
    RECT label = CellLabelRect(pane.list, row, column);
    HGDIOBJ oldFont = SelectListFont(dc, pane.list);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    FillCell(dc, label, p.fill);
    SetBkColor(dc, p.textBackground);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, p.textColour);
    if (p.kind == ServerCellKind::kColourName) {
        const catalogue::ServerRecord* record = pane.model.RecordAt(row);
        DrawColourName(dc, label, p.indent, record ? record->hostName : "");
    } else {
        DrawCellText(dc, label, p.indent, pane.model.rows().Text(row, column), kCellTextLimit);
    }
    SelectObject(dc, oldFont);
    return CDRF_SKIPDEFAULT;
}

void ServerDispInfo(ServerPane& pane, NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    if (item.mask & LVIF_TEXT)
        CopyCut(item.pszText, item.cchTextMax, pane.model.rows().Text(item.iItem, item.iSubItem));
    if (item.mask & LVIF_IMAGE)
        item.iImage = -1;  // every cell is drawn by the pane
    if (item.mask & LVIF_PARAM)
        item.lParam = reinterpret_cast<LPARAM>(pane.model.RecordAt(item.iItem));
}

void ServerInfoTip(ServerPane& pane, NMLVGETINFOTIPA& tip) {
    if (!tip.pszText || tip.cchTextMax <= 0)
        return;
    const catalogue::ServerRecord* record = pane.model.RecordAt(tip.iItem);
    if (!record) {
        size_t used = strnlen(tip.pszText, static_cast<size_t>(tip.cchTextMax));
        if (used + 1 < static_cast<size_t>(tip.cchTextMax))
            lstrcpynA(tip.pszText + used, kNoInfoTip, tip.cchTextMax - static_cast<int>(used));
        return;
    }
    std::string text = views::ServerInfoTip(*record);
    CopyCut(tip.pszText, tip.cchTextMax, text.c_str());
}

}  // namespace views::win32
