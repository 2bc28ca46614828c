// Owners of Win32 handles: each closes its handle with the matching function when it goes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace base::win32 {

// One handle of type H, closed with Close(h) unless it is the empty value: H{}, or what Empty()
// returns for the kinds whose failures give another one (INVALID_HANDLE_VALUE, INVALID_SOCKET).
// Movable, not copyable.
template <typename H, auto Close, H (*Empty)() = nullptr>
class Owned {
  public:
    Owned() = default;
    explicit Owned(H handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    static H EmptyValue() {
        if constexpr (Empty == nullptr)
            return H{};
        else
            return Empty();
    }
    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != EmptyValue(); }
    H Release() { return std::exchange(handle_, EmptyValue()); }
    void Reset(H handle = EmptyValue()) {
        if (handle_ != EmptyValue())
            Close(handle_);
        handle_ = handle;
    }

  private:
    H handle_ = EmptyValue();
};

inline void CloseGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void CloseKernelHandle(HANDLE handle) {
    CloseHandle(handle);
}
inline void CloseRegistryKey(HKEY key) {
    RegCloseKey(key);
}
inline void CloseMenu(HMENU menu) {
    DestroyMenu(menu);
}
inline void CloseImageList(HIMAGELIST list) {
    ImageList_Destroy(list);
}
inline void CloseAccelerators(HACCEL table) {
    DestroyAcceleratorTable(table);
}
inline void CloseIcon(HICON icon) {
    DestroyIcon(icon);
}
inline void CloseMemoryDc(HDC dc) {
    DeleteDC(dc);
}
inline HANDLE InvalidFileHandle() {
    return INVALID_HANDLE_VALUE;
}
inline void CloseFileSearch(HANDLE search) {
    FindClose(search);
}

using GdiObject = Owned<HGDIOBJ, CloseGdiObject>;
using KernelHandle = Owned<HANDLE, CloseKernelHandle>;
// A handle of CreateFile, which fails with INVALID_HANDLE_VALUE.
using FileHandle = Owned<HANDLE, CloseKernelHandle, InvalidFileHandle>;
// A search of FindFirstFile, closed with FindClose.
using FileSearch = Owned<HANDLE, CloseFileSearch, InvalidFileHandle>;
using RegistryKey = Owned<HKEY, CloseRegistryKey>;
using Menu = Owned<HMENU, CloseMenu>;
using ImageList = Owned<HIMAGELIST, CloseImageList>;
using Accelerators = Owned<HACCEL, CloseAccelerators>;
using Icon = Owned<HICON, CloseIcon>;
// A DC of CreateCompatibleDC; whatever is selected into it when it goes stays valid.
using MemoryDc = Owned<HDC, CloseMemoryDc>;

// An object selected into a device context for the life of this value; the former one is
// selected back at the end.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), former_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (former_)
            SelectObject(dc_, former_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ former_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace base::win32
