#pragma once
// Move-only owners of the Win32 handles the program creates: each is released exactly once.
#include <windows.h>

#include <utility>

namespace netvane::win32 {

template <typename Handle, typename Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Traits::Invalid());
    }
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  void Reset() {
    if (handle_ != Traits::Invalid()) Traits::Release(handle_);
    handle_ = Traits::Invalid();
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Release(HANDLE handle) { CloseHandle(handle); }
};
struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Release(HANDLE handle) { CloseHandle(handle); }
};
template <typename Object>
struct GdiObjectTraits {
  static Object Invalid() { return nullptr; }
  static void Release(Object object) { DeleteObject(object); }
};
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Release(HDC dc) { DeleteDC(dc); }
};

using ScopedHandle = Scoped<HANDLE, KernelHandleTraits>;      // processes, threads
using ScopedFile = Scoped<HANDLE, FileHandleTraits>;          // CreateFile
template <typename Object>
using ScopedGdi = Scoped<Object, GdiObjectTraits<Object>>;    // fonts, bitmaps, brushes
using ScopedMemoryDc = Scoped<HDC, MemoryDcTraits>;           // CreateCompatibleDC

// A window's device context, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for a scope, then the previous one put back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace netvane::win32
