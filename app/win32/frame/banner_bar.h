// The bottom strip (class SBVEXAR) with the banner picture, the About box and the product version.
#pragma once

#include <windows.h>

#include <string>

namespace app::win32 {

constexpr char kBannerBarClass[] = "SBVEXAR";

LRESULT CALLBACK BannerBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The About box (dialog 106), modal.
void ShowAboutBox(HINSTANCE instance, HWND owner);
INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// ProductVersion of the running program's version resource; empty when there is none.
std::string ReadProductVersion();

}  // namespace app::win32
