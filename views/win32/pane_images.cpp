// The panes' image lists, built from the icon resources.
#include "views/win32/pane_images.h"

#include <commctrl.h>

#include <iterator>

#include "catalogue/catalogue.h"
#include "resources/resource.h"

namespace views::win32 {

namespace {

const int kGameIcons[] = {IDI_GAME_EF, IDI_GAME_RTCW, IDI_GAME_Q3A,  IDI_GAME_JK2, IDI_GAME_HL,
                          IDI_GAME_SOF2, IDI_GAME_MOHAA, IDI_GAME_CCR, IDI_GAME_UT, IDI_GAME_OA,
                          IDI_GAME_IOQ3, IDI_GAME_URT, IDI_GAME_ETL, IDI_GAME_XON, IDI_GAME_NEX,
                          IDI_GAME_HLS,  IDI_GAME_CSS,  IDI_GAME_TF2,  IDI_GAME_CS2, IDI_GAME_DODS,
                          IDI_GAME_GMOD, IDI_GAME_L4D2};
static_assert(std::size(kGameIcons) == catalogue::kGameIconCount);
const int kServerIcons[] = {IDI_SERVER,   IDI_SERVER_FULL,     IDI_LOCK,      IDI_SORT_MARKER,
                            IDI_NO_REPLY, IDI_SORT_DESCENDING, IDI_FAVOURITE, IDI_AUTO_REFRESH};
const int kListIcons[] = {IDI_SORT_MARKER, IDI_BOT, IDI_FAVOURITE, IDI_BUDDY_OFFLINE};

template <size_t N>
HIMAGELIST Build(HINSTANCE instance, const int (&icons)[N], UINT colourFlags) {
    int cx = GetSystemMetrics(SM_CXSMICON);
    int cy = GetSystemMetrics(SM_CYSMICON);
    HIMAGELIST list = ImageList_Create(cx, cy, colourFlags | ILC_MASK, static_cast<int>(N), 0);
    for (int id : icons) {
        base::win32::Icon icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy, 0)));
        ImageList_AddIcon(list, icon.get());
    }
    return list;
}

}  // namespace

PaneImages LoadPaneImages(HINSTANCE instance) {
    PaneImages images;
    images.games = IconList(Build(instance, kGameIcons, ILC_COLOR8));
    images.servers = IconList(Build(instance, kServerIcons, ILC_COLOR32));
    images.lists = IconList(Build(instance, kListIcons, ILC_COLOR32));
    return images;
}

}  // namespace views::win32
