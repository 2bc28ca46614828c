// Banner strip, About box and the product version reader.
#include "app/win32/frame/banner_bar.h"

#include <winver.h>

#include "app/win32/commands/weblinks.h"
#include "app/win32/frame/logo_bar.h"
#include "app/win32/frame/shell.h"
#include "base/win32/handles.h"
#include "resources/resource.h"

namespace app::win32 {

LRESULT CALLBACK BannerBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        KeepShellIn(window, lParam);
    Shell* found = ShellOf(window);
    if (!found)
        return DefWindowProcA(window, message, wParam, lParam);
    Shell& shell = *found;
    switch (message) {
        case WM_CREATE: {
            HWND picture =
                CreateWindowExA(0, "STATIC", "VEXAR", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY | SS_SUNKEN, 5, 5,
                                468, 60, window, nullptr, shell.instance, nullptr);
            HBITMAP banner = LoadBitmapA(shell.instance, MAKEINTRESOURCEA(IDB_BANNER));
            SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner));
            SetPropA(window, "picture", picture);
            SetPropA(window, "bitmap", banner);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_PAINT: {
            base::win32::PaintScope paint(window);
            RECT r;
            GetClientRect(window, &r);
            FillWithBackground(shell, paint.dc(), r);
            DrawEdge(paint.dc(), &r, EDGE_ETCHED, BF_RECT);
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == 0)
                OpenTarget(shell.ctx->endpoints.bannerSite);
            return 0;
        case WM_DESTROY: {
            if (HWND picture = static_cast<HWND>(RemovePropA(window, "picture")))
                DestroyWindow(picture);
            base::win32::GdiObject banner(RemovePropA(window, "bitmap"));
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            break;
    }
    return FALSE;
}

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc, 0);
}

std::string ReadProductVersion() {
    char path[257] = {};
    GetModuleFileNameA(nullptr, path, 256);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return std::string();
    std::string version;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return version;
    void* data = GlobalLock(block);
    if (data && GetFileVersionInfoA(path, 0, size, data)) {
        char* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(data, "\\StringFileInfo\\080904b0\\ProductVersion", reinterpret_cast<void**>(&value),
                           &length) &&
            value && length > 0 && value[0])
            version = value;
    }
    GlobalUnlock(block);
    GlobalFree(block);
    return version;
}

}  // namespace app::win32
