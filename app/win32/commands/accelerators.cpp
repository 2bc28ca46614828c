// Only the main window and its children take the main window's accelerators.
#include "app/win32/commands/accelerators.h"

namespace app::win32 {

bool TranslateMainAccelerators(HWND main, HACCEL table, MSG& msg) {
    if (!table || !msg.hwnd || (msg.hwnd != main && !IsChild(main, msg.hwnd)))
        return false;
    return TranslateAcceleratorA(main, table, &msg) != 0;
}

}  // namespace app::win32
