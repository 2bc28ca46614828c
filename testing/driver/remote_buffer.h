// Memory inside the program's process, for messages whose parameters point to structures.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <type_traits>

#include "testing/driver/support.h"

namespace driver {

// The process that owns a window, opened to allocate, read and write its memory.
class ProcessHandle {
  public:
    // Fails unless the process runs with the driver's own pointer size: the structures the driver
    // writes into it (LVITEMA, TCITEMA) are laid out as the driver's own.
    static ProcessHandle OfWindow(HWND window);

    HANDLE Get() const { return handle_.get(); }

  private:
    explicit ProcessHandle(OwnedHandle handle) : handle_(std::move(handle)) {}

    OwnedHandle handle_;
};

// A block of memory allocated in the process of a window, freed when the buffer goes away.
// Addresses inside it are the other process's: they go into messages and into the structures
// written there, never dereferenced here.
class RemoteBuffer {
  public:
    RemoteBuffer(HWND window, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    RemoteBuffer(RemoteBuffer&& other) noexcept;
    RemoteBuffer& operator=(RemoteBuffer&& other) noexcept;

    // The other process's address of the byte at offset.
    template <typename T = void>
    T* Address(size_t offset = 0) const {
        CheckRange(offset, 0);
        return reinterpret_cast<T*>(static_cast<char*>(address_) + offset);
    }
    LPARAM AsLParam(size_t offset = 0) const { return reinterpret_cast<LPARAM>(Address(offset)); }

    template <typename T>
    void Write(size_t offset, const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        WriteBytes(offset, &value, sizeof value);
    }
    template <typename T>
    T Read(size_t offset) const {
        static_assert(std::is_trivially_copyable_v<T>);
        T value;
        ReadBytes(offset, &value, sizeof value);
        return value;
    }
    void WriteBytes(size_t offset, const void* data, size_t size);
    void ReadBytes(size_t offset, void* data, size_t size) const;
    // The text at offset in a field of capacity bytes, up to its first NUL.
    std::string ReadText(size_t offset, size_t capacity) const;

  private:
    void CheckRange(size_t offset, size_t size) const;
    void Free();

    ProcessHandle process_;
    void* address_ = nullptr;
    size_t size_ = 0;
};

}  // namespace driver
