#include "starter/platform/folders.h"

#include <windows.h>

#include "starter/platform/system_libraries.h"
#include "starter/platform/win_handle.h"

namespace ld {
namespace {

constexpr DWORD kFolderCreateFlag = 0x8000;  // CSIDL_FLAG_CREATE
constexpr DWORD kCurrentFolderPath = 0;      // SHGFP_TYPE_CURRENT

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

std::string EnvironmentValue(const char* name) {
  char buffer[MAX_PATH];
  DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  if (length == 0) return std::string();
  if (length < sizeof(buffer)) return std::string(buffer, length);
  // Longer than the buffer: ask again with the size it told us.
  std::string value(length, '\0');
  length = ::GetEnvironmentVariableA(name, &value[0], length);
  value.resize(length < value.size() ? length : 0);
  return value;
}

std::string FallbackFolder() {
  std::string value = EnvironmentValue("HOME");
  if (value.empty()) value = EnvironmentValue("TMP");
  if (value.empty()) value = "/tmp";
  return value;
}

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

}  // namespace

std::string SpecialFolderFrom(const char* library, int folder_id) {
  ModuleHandle module(LoadSystemLibrary(library));
  if (module) {
    auto get_folder_path = GetProc<GetFolderPathFn>(module.Get(), "SHGetFolderPathA");
    if (get_folder_path != nullptr) {
      char path[MAX_PATH] = {};
      HRESULT result = get_folder_path(nullptr, folder_id | static_cast<int>(kFolderCreateFlag),
                                       nullptr, kCurrentFolderPath, path);
      if (result == S_OK) return path;
    }
  }
  return FallbackFolder();
}

std::string SpecialFolder(int folder_id) { return SpecialFolderFrom("SHFolder.dll", folder_id); }

std::string StarterDataFolderUnder(const std::string& base) {
  std::string folder = base.empty() ? std::string("C:\\") : base;
  // "C:\" would otherwise become "C:\\Ludoria".
  if (folder.back() != '\\') folder += '\\';
  folder += "Ludoria";
  if (!IsDirectory(folder)) CreateFolder(folder);
  DWORD attributes = Attributes(folder);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    ::SetFileAttributesA(folder.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }
  return folder;
}

std::string StarterDataFolder() { return StarterDataFolderUnder(SpecialFolder(kAppDataFolderId)); }

bool FileExists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool IsPlainFile(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool DeleteFileForced(const std::string& path) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::DeleteFileA(path.c_str()) != FALSE;
}

bool CreateFolder(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (folder.empty()) return false;
  if (IsDirectory(folder)) return true;
  if (IsPlainFile(folder)) DeleteFileForced(folder);

  std::size_t slash = folder.find_last_of('\\');
  if (slash != std::string::npos && slash > 0) {
    // Each level removes one component, so the recursion ends.
    CreateFolder(folder.substr(0, slash));
  }
  if (::CreateDirectoryA(folder.c_str(), nullptr)) return true;
  return IsDirectory(folder);
}

}  // namespace ld
