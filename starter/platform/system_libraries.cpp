#include "starter/platform/system_libraries.h"

#include <delayimp.h>

#include <string>

namespace ld {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// Present once Windows knows the LOAD_LIBRARY_SEARCH_* flags (Windows 8, and
// Windows 7 with its loader update).
SetDefaultDllDirectoriesFn SetDefaultDllDirectoriesOfSystem() {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
}

// The delay-load helper asks here before it loads a library of a delay
// import; a library returned here is used as it is. Returning nullptr lets
// the helper try LoadLibraryA itself, which after
// RestrictLibrarySearchToSystemFolder searches the system folder only.
FARPROC WINAPI LoadDelayImportedLibrary(unsigned note, PDelayLoadInfo info) {
  if (note != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr) return nullptr;
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(info->szDll));
}

}  // namespace

bool RestrictLibrarySearchToSystemFolder() {
  SetDefaultDllDirectoriesFn set_default = SetDefaultDllDirectoriesOfSystem();
  if (set_default != nullptr && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  ::SetDllDirectoryA("");
  return false;
}

HMODULE LoadSystemLibrary(const char* name) {
  if (SetDefaultDllDirectoriesOfSystem() != nullptr) {
    return ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // An older loader: the full path, and the library's own dependencies from
  // its folder first.
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace ld

// The helper reads this variable; MSVC's declares it const.
extern "C" {
#if defined(_MSC_VER)
const
#endif
    PfnDliHook __pfnDliNotifyHook2 = ld::LoadDelayImportedLibrary;
}
