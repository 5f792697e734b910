// Owners of the installer's kernel, internet and GDI handles: each closes
// its handle once, when it goes out of scope.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace ld::installer {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (Traits::Valid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelTraits {
  static HANDLE Invalid() { return nullptr; }
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct InternetTraits {
  static HINTERNET Invalid() { return nullptr; }
  static bool Valid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
template <typename Object>
struct GdiTraits {
  static Object Invalid() { return nullptr; }
  static bool Valid(Object h) { return h != nullptr; }
  static void Close(Object h) { ::DeleteObject(h); }
};

using KernelHandle = UniqueHandle<HANDLE, KernelTraits>;
using InternetHandle = UniqueHandle<HINTERNET, InternetTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using FontHandle = UniqueHandle<HFONT, GdiTraits<HFONT>>;

}  // namespace ld::installer
