#include "starter/platform/file_version.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "starter/platform/system_libraries.h"
#include "starter/platform/win_handle.h"

namespace ld {

FileVersion ReadFileVersion(const std::string& path) {
  FileVersion version;
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return version;
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return version;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT info_size = 0;
  if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &info_size) ||
      info == nullptr || info_size < sizeof(VS_FIXEDFILEINFO)) {
    return version;
  }
  version.found = true;
  version.high = info->dwFileVersionMS;
  version.low = info->dwFileVersionLS;
  return version;
}

std::uint32_t LibraryVersion(const char* library) {
  ModuleHandle module(LoadSystemLibrary(library));
  if (!module) return 0;
  auto get_version = GetProc<DLLGETVERSIONPROC>(module.Get(), "DllGetVersion");
  if (get_version == nullptr) return 0;
  DLLVERSIONINFO info = {};
  info.cbSize = sizeof(info);  // the 20-byte record every version of the export accepts
  if (FAILED(get_version(&info))) return 0;
  return info.dwMajorVersion * 65536u + info.dwMinorVersion;
}

}  // namespace ld
