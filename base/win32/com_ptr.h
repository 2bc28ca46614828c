// The owner of a COM interface pointer: released when it goes or is reset.
#pragma once

#include <utility>

namespace base::win32 {

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    // For the creating call's out parameter; whatever was held is released first.
    T** Out() {
        Reset();
        return &p_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }

  private:
    T* p_ = nullptr;
};

}  // namespace base::win32
