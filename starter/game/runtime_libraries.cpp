#include "starter/game/runtime_libraries.h"

#include <windows.h>

#include "starter/platform/folders.h"

namespace ld {
namespace {

std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  const UINT n = ::GetSystemDirectoryA(folder, sizeof(folder));
  return n > 0 && n < sizeof(folder) ? std::string(folder, n) : std::string();
}

// Where the loader's search would find the library; empty when nowhere.
std::string LoaderPath(const char* name) {
  char path[MAX_PATH] = {};
  char* file_part = nullptr;
  const DWORD n = ::SearchPathA(nullptr, name, nullptr, sizeof(path), path, &file_part);
  return n > 0 && n < sizeof(path) ? std::string(path, n) : std::string();
}

FileVersion VersionAt(const std::string& path) {
  return path.empty() ? FileVersion() : ReadFileVersion(path);
}

}  // namespace

bool IsNewerVersion(const FileVersion& a, const FileVersion& b) {
  return a.high > b.high || (a.high == b.high && a.low > b.low);
}

void ReadRuntimeLibraryVersions(const std::string& install_folder,
                                RuntimeLibraryVersions* versions) {
  const std::string system = SystemFolder();
  for (int i = 0; i < 3; ++i) {
    versions->system_runtime[i] = VersionAt(system + "\\" + kSystemRuntimeNames[i]);
    versions->loaded_runtime[i] = VersionAt(LoaderPath(kSystemRuntimeNames[i]));
    versions->system_private[i] = VersionAt(system + "\\" + kPrivateRuntimeNames[i]);
    versions->game_private[i] =
        VersionAt(install_folder + "\\Sysfiles\\" + kPrivateRuntimeNames[i]);
  }
}

void InstallPrivateRuntimeLibraries(const std::string& install_folder,
                                    RuntimeLibraryVersions* versions) {
  ReadRuntimeLibraryVersions(install_folder, versions);
  for (int i = 0; i < 3; ++i) {
    const std::string beside_game = install_folder + "\\" + kPrivateRuntimeNames[i];
    if (IsNewerVersion(versions->game_private[i], versions->system_private[i])) {
      const std::string private_copy = install_folder + "\\Sysfiles\\" + kPrivateRuntimeNames[i];
      ::CopyFileA(private_copy.c_str(), beside_game.c_str(), FALSE);
    } else if (FileExists(beside_game)) {
      DeleteFileForced(beside_game);
    }
  }
}

}  // namespace ld
