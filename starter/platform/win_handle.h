// Owning wrappers for Win32 handles. Each wrapper closes its handle exactly
// once, when it is destroyed or reset; moving transfers ownership. They carry
// no thread affinity of their own: a wrapper belongs to whoever holds it, and
// the usual rule of the wrapped handle applies (window-related GDI objects on
// the thread that uses them). Closing never throws and its failure is ignored,
// as there is nothing useful a destructor could do about it.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include <utility>

namespace ld {

// Traits: `Type`, `Invalid()` and `Close(Type)`. A handle type with two
// "empty" values (NULL and INVALID_HANDLE_VALUE for kernel objects) names the
// one its creating function returns on failure; Valid() also rejects the other.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type Get() const noexcept { return handle_; }
  bool Valid() const noexcept { return Traits::IsValid(handle_); }
  explicit operator bool() const noexcept { return Valid(); }

  // Gives up ownership without closing.
  Type Release() noexcept {
    Type handle = handle_;
    handle_ = Traits::Invalid();
    return handle;
  }

  // Closes the held handle (if any) and takes `handle`.
  void Reset(Type handle = Traits::Invalid()) noexcept {
    if (Traits::IsValid(handle_) && handle_ != handle) Traits::Close(handle_);
    handle_ = handle;
  }

  // For out-parameters: closes the held handle and returns the slot to fill,
  // e.g. RegOpenKeyExA(..., key.Put()).
  Type* Put() noexcept {
    Reset();
    return &handle_;
  }

 private:
  Type handle_ = Traits::Invalid();
};

namespace handle_traits {

// Kernel objects whose creator returns NULL on failure (events, mutexes,
// threads, processes, file mappings, tokens).
struct Kernel {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Files opened with CreateFileA, which returns INVALID_HANDLE_VALUE on failure.
struct File {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct Find {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::FindClose(h); }
};

// Registry keys; the predefined roots (HKEY_CURRENT_USER ...) must never be
// put into a wrapper.
struct RegKey {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

// Libraries loaded with LoadLibraryA (not GetModuleHandleA, which takes no
// reference).
struct Module {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

struct Internet {
  using Type = HINTERNET;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::InternetCloseHandle(h); }
};

// Pens, brushes, fonts, bitmaps, regions (DeleteObject). Never wrap stock
// objects or objects still selected into a device context.
struct GdiObject {
  using Type = HGDIOBJ;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};

struct Icon {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

// Memory handed out by the shell (PIDLs, SHGetMalloc allocations).
struct CoTaskMem {
  using Type = void*;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::CoTaskMemFree(h); }
};

}  // namespace handle_traits

using KernelHandle = UniqueHandle<handle_traits::Kernel>;
using FileHandle = UniqueHandle<handle_traits::File>;
using FindHandle = UniqueHandle<handle_traits::Find>;
using RegistryKey = UniqueHandle<handle_traits::RegKey>;
using ModuleHandle = UniqueHandle<handle_traits::Module>;
using InternetHandle = UniqueHandle<handle_traits::Internet>;
using GdiObjectHandle = UniqueHandle<handle_traits::GdiObject>;
using IconHandle = UniqueHandle<handle_traits::Icon>;
using CoTaskMemHandle = UniqueHandle<handle_traits::CoTaskMem>;

// GetProcAddress typed as the export's function type (the detour through a
// plain function pointer keeps the compiler from warning about the cast).
template <typename Fn>
Fn GetProc(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// Maps a view of a file (UnmapViewOfFile on release).
class MappedView {
 public:
  MappedView() noexcept = default;
  explicit MappedView(void* view) noexcept : view_(view) {}
  ~MappedView() { Reset(); }
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;
  MappedView(MappedView&& other) noexcept : view_(std::exchange(other.view_, nullptr)) {}
  MappedView& operator=(MappedView&& other) noexcept {
    if (this != &other) {
      Reset();
      view_ = std::exchange(other.view_, nullptr);
    }
    return *this;
  }
  void* Get() const noexcept { return view_; }
  explicit operator bool() const noexcept { return view_ != nullptr; }
  void Reset() noexcept {
    if (view_ != nullptr) ::UnmapViewOfFile(view_);
    view_ = nullptr;
  }

 private:
  void* view_ = nullptr;
};

}  // namespace ld
