// The program's process handle and memory blocks inside that process.
#include "testing/driver/remote_buffer.h"

#include <utility>
#include <vector>

namespace driver {

namespace {

bool IsWow64(HANDLE process, const char* whose) {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(process, &wow64))
        FailCall(whose);
    return wow64 != FALSE;
}

}  // namespace

ProcessHandle ProcessHandle::OfWindow(HWND window) {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(window, &pid))
        FailCall("GetWindowThreadProcessId");
    constexpr DWORD kAccess =
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION;
    OwnedHandle process(OpenProcess(kAccess, FALSE, pid));
    if (!process)
        FailCall("OpenProcess");
    if (IsWow64(process.get(), "IsWow64Process(program)") != IsWow64(GetCurrentProcess(), "IsWow64Process(driver)"))
        Fail("the program and the driver are built for different architectures");
    return ProcessHandle(std::move(process));
}

RemoteBuffer::RemoteBuffer(HWND window, size_t size) : process_(ProcessHandle::OfWindow(window)), size_(size) {
    address_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_)
        FailCall("VirtualAllocEx");
}

RemoteBuffer::~RemoteBuffer() {
    Free();
}

RemoteBuffer::RemoteBuffer(RemoteBuffer&& other) noexcept
    : process_(std::move(other.process_)),
      address_(std::exchange(other.address_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

RemoteBuffer& RemoteBuffer::operator=(RemoteBuffer&& other) noexcept {
    if (this != &other) {
        Free();
        process_ = std::move(other.process_);
        address_ = std::exchange(other.address_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void RemoteBuffer::Free() {
    // A failure here cannot be acted on: the memory stays with the program until it exits.
    if (address_ && !VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE))
        ReportReleaseFailure("VirtualFreeEx");
    address_ = nullptr;
}

void RemoteBuffer::CheckRange(size_t offset, size_t size) const {
    if (!address_ || offset > size_ || size > size_ - offset)
        Fail("access of %lu bytes at %lu outside a remote buffer of %lu bytes", static_cast<unsigned long>(size),
             static_cast<unsigned long>(offset), static_cast<unsigned long>(size_));
}

void RemoteBuffer::WriteBytes(size_t offset, const void* data, size_t size) {
    CheckRange(offset, size);
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_.Get(), Address(offset), data, size, &written))
        FailCall("WriteProcessMemory");
    if (written != size)
        Fail("WriteProcessMemory wrote %lu of %lu bytes", static_cast<unsigned long>(written),
             static_cast<unsigned long>(size));
}

void RemoteBuffer::ReadBytes(size_t offset, void* data, size_t size) const {
    CheckRange(offset, size);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_.Get(), Address(offset), data, size, &read))
        FailCall("ReadProcessMemory");
    if (read != size)
        Fail("ReadProcessMemory read %lu of %lu bytes", static_cast<unsigned long>(read),
             static_cast<unsigned long>(size));
}

std::string RemoteBuffer::ReadText(size_t offset, size_t capacity) const {
    std::vector<char> text(capacity + 1, '\0');
    ReadBytes(offset, text.data(), capacity);
    return text.data();
}

}  // namespace driver
