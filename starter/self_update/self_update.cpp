#include "starter/self_update/self_update.h"

#include <windows.h>
#include <wininet.h>

#include "core/launch/zone.h"
#include "core/self_update/version_info.h"
#include "core/settings/server_endpoints.h"
#include "starter/app/starter_app.h"
#include "starter/download/downloader.h"
#include "starter/install/delete_with_report.h"
#include "starter/net/internet_open.h"
#include "starter/platform/file_version.h"
#include "starter/platform/folders.h"
#include "starter/platform/process_launcher.h"
#include "starter/platform/win_handle.h"

namespace ld {
namespace {

constexpr DWORD kVersionReadBlock = 32;
constexpr DWORD kProgramReadBlock = 40960;
constexpr DWORD kOwnPathMax = 520;
constexpr int kShowClone = 5;

// Held from the clone's start until this process ends (or the start failed).
KernelHandle& SelfUpdateLock() {
  static KernelHandle lock;
  return lock;
}

// The self-update's own sessions: the system's proxy settings, so that a
// starter behind a proxy still learns of its successor.
InternetHandle OpenSelfUpdateSession() {
  InternetHandle session(
      ::InternetOpenA(kSelfUpdateAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (session) SetReceiveTimeout(session.Get(), kSelfUpdateReceiveTimeoutMs);
  return session;
}

std::string OwnPath() {
  char path[kOwnPathMax + 1] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, kOwnPathMax);
  if (length == 0 || length >= kOwnPathMax) return std::string();
  return std::string(path, length);
}

// The system's temporary folder with its trailing backslash; "C:\" when it
// cannot be read, the starter data folder when it is no folder.
std::string TemporaryFolder() {
  char temp[262] = {};
  const DWORD length = ::GetTempPathA(261, temp);
  std::string folder = (length == 0 || length > 261) ? std::string("C:\\") : std::string(temp);
  if (!IsDirectory(folder)) folder = StarterDataFolder() + "\\";
  return folder;
}

// The version file the check reads: its fixed name when that is free, a
// fresh temporary name when an old copy cannot be deleted.
std::string VersionFileTarget(const std::string& folder, bool kind_mode, bool* temporary) {
  const std::string fixed = folder + kVersionInfoFileName;
  *temporary = false;
  if (!FileExists(fixed) || DeleteWithReport(fixed, kind_mode)) return fixed;
  char fresh[MAX_PATH + 1] = {};
  if (::GetTempFileNameA(folder.c_str(), "dat", 0, fresh) == 0) return fixed;
  *temporary = true;
  return fresh;
}

}  // namespace

int CheckSelfUpdate(cStarterApp& app, const std::string& command_line) {
  const char zone = ZoneValue(command_line, app.flags().format());
  const std::string root = StarterDistributionRoot(app.options().hosts, zone);

  const std::string own_path = OwnPath();
  if (own_path.empty()) return kSelfUpdateNoOwnPath;
  std::string file_name;
  if (!ProgramFileName(own_path, &file_name)) return kSelfUpdateNoFolder;
  const FileVersion own = ReadFileVersion(own_path);
  if (!own.found) return kSelfUpdateNoOwnVersion;

  const std::string folder = TemporaryFolder();
  bool temporary = false;
  const std::string version_file = VersionFileTarget(folder, app.flags().kind_mode, &temporary);
  {
    InternetHandle session = OpenSelfUpdateSession();
    if (session &&
        !DownloadFile(session.Get(), kVersionReadBlock, version_file,
                      StarterFileAddress(root, kVersionInfoFileName), nullptr, nullptr, false)) {
      if (temporary) DeleteFileForced(version_file);
      return kSelfUpdateNoVersionFile;
    }
  }
  PublishedVersion published;
  const bool read = ReadVersionInfoFile(version_file, &published);
  if (temporary) DeleteFileForced(version_file);
  if (!read) return kSelfUpdateVersionFileUnreadable;

  app.published_version_text() = VersionText(published);
  if (!NeedsUpdate(published, PackedVersion{own.high, own.low})) return kSelfUpdateNotNeeded;

  const std::string program = folder + file_name;
  DeleteFileForced(program);
  {
    InternetHandle session = OpenSelfUpdateSession();
    if (!session) return kSelfUpdateNoSession;
    if (!DownloadFile(session.Get(), kProgramReadBlock, program,
                      StarterFileAddress(root, file_name), nullptr, nullptr, false)) {
      return kSelfUpdateNoProgram;
    }
  }
  const DWORD attributes = ::GetFileAttributesA(program.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    ::SetFileAttributesA(program.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }

  std::string arguments;
  if (!CloneArguments(command_line, &arguments)) return kSelfUpdateNoAddress;

  SelfUpdateLock().Reset(::CreateMutexA(nullptr, TRUE, kSelfUpdateLockName));
  if (LaunchProcess(nullptr, program.c_str(), arguments.c_str(), kShowClone) != 0) {
    return kSelfUpdateCloneStarted;
  }
  ReleaseSelfUpdateLock();
  DeleteFileForced(program);
  return kSelfUpdateCloneNotStarted;
}

int WaitForOldStarter() {
  KernelHandle lock(::OpenMutexA(SYNCHRONIZE, FALSE, kSelfUpdateLockName));
  if (!lock) return 1;
  const DWORD waited = ::WaitForSingleObject(lock.Get(), kCloneWaitMs);
  if (waited == WAIT_TIMEOUT) return 2;
  // Obtained (or abandoned by an old starter that ended): let it go at once,
  // the lock only orders the old starter's end before the copy.
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) ::ReleaseMutex(lock.Get());
  return 1;
}

void CopyCloneOverInstalledStarter() {
  ::Sleep(100);
  const std::string own_path = OwnPath();
  std::string file_name;
  if (own_path.empty() || !ProgramFileName(own_path, &file_name)) return;
  // Keep the name's case as the file has it: the copy replaces the installed
  // starter the manual installer wrote.
  const std::string name = own_path.substr(own_path.rfind('\\') + 1);
  const std::string target = StarterDataFolder() + "\\" + name;
  ::CopyFileA(own_path.c_str(), target.c_str(), FALSE);
}

void ReleaseSelfUpdateLock() {
  KernelHandle& lock = SelfUpdateLock();
  if (!lock) return;
  ::ReleaseMutex(lock.Get());
  lock.Reset();
}

bool CheckShellLibraries(RuntimeLibraryVersions* versions) {
  versions->shell_utility = LibraryVersion("Shlwapi.dll");
  versions->shell = LibraryVersion("Shell32.dll");
  versions->common_controls = LibraryVersion("Comctl32.dll");
  return versions->shell_utility >= kMinimumShellUtilityVersion;
}

}  // namespace ld
