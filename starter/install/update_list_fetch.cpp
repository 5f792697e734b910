#include "starter/install/update_list_fetch.h"

#include <windows.h>

#include "core/install/download_rules.h"
#include "core/base/error_codes.h"
#include "core/update_list/update_list_parser.h"
#include "core/update_list/update_list_records.h"
#include "starter/install/delete_with_report.h"
#include "starter/download/download_log.h"
#include "starter/download/downloader.h"
#include "starter/platform/folders.h"
#include "starter/net/internet_open.h"
#include "starter/report/message_boxes.h"
#include "starter/app/starter_app.h"
#include "starter/platform/string_table.h"
#include "starter/download/url_moniker_download.h"

namespace ld {
namespace {

constexpr DWORD kUpdateListPiece = 10240;

std::string FolderFrom(UINT(WINAPI* getter)(LPSTR, UINT), const std::string& fallback) {
  char path[MAX_PATH + 1] = {};
  UINT length = getter(path, sizeof path);
  if (length == 0 || length >= sizeof path) return fallback;
  return path;
}

UINT WINAPI TempPath(LPSTR buffer, UINT size) { return ::GetTempPathA(size, buffer); }

// ErrorBox shows the Windows error its caller left; logging must not
// replace it.
void LogKeepingError(std::uint32_t code, const std::string& text) {
  const DWORD error = ::GetLastError();
  LogDownloadEvent(code, text);
  ::SetLastError(error);
}

}  // namespace

std::string UpdateListFolderUnder(const std::string& starter_data_folder) {
  const std::string folder = starter_data_folder + "\\HUL";
  if (!IsDirectory(folder)) CreateFolder(folder);
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    ::SetFileAttributesA(folder.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }
  return folder;
}

UpdateListFolders SystemListFolders() {
  UpdateListFolders folders;
  folders.windows = FolderFrom(::GetWindowsDirectoryA, folders.windows);
  folders.system = FolderFrom(::GetSystemDirectoryA, folders.system);
  folders.temp = FolderFrom(TempPath, folders.temp);
  return folders;
}

ListFetchSettings CurrentListFetchSettings(cStarterApp& app) {
  ListFetchSettings settings;
  // Made once per run: the folder is created and marked hidden on the way.
  if (app.update_list_folder().empty()) {
    app.update_list_folder() = UpdateListFolderUnder(StarterDataFolder());
  }
  settings.list_folder = app.update_list_folder();
  settings.hul_root = app.launch_record().hul_root;
  settings.kind_mode = app.flags().kind_mode;
  settings.roots = SystemListFolders();
  return settings;
}

std::string PrepareDownloadTarget(const std::string& folder, const std::string& file_name,
                                  const std::string& temp_prefix, bool kind_mode, bool* own_path) {
  const std::string path = folder + "\\" + file_name;
  *own_path = true;
  if (!FileExists(path) || DeleteWithReport(path, kind_mode)) return path;
  char temp[MAX_PATH + 1] = {};
  if (::GetTempFileNameA(folder.c_str(), temp_prefix.c_str(), 0, temp) == 0) return path;
  *own_path = false;
  return temp;
}

// After both routes failed: a file the moniker left at the list's own path
// is no download, and must not be read as one.
void RemoveFailedDownload(const std::string& target, bool own_path) {
  if (own_path && IsPlainFile(target)) DeleteFileForced(target);
}

bool LoadFetchedList(const ListFetchSettings& settings, const std::string& path,
                     PackageDescriptor* package) {
  if (!LoadUpdateList(path, settings.roots, &package->update_list)) {
    const DWORD error = ::GetLastError() != 0 ? ::GetLastError() : ERROR_FILE_NOT_FOUND;
    const std::uint32_t code =
        package->is_game ? error_code::kGameUpdateListDamaged : error_code::kBaseUpdateListDamaged;
    LogDownloadEvent(code,
                     package->is_game ? "IDS_AHF_FAIL_GAMEREADING" : "IDS_AHF_FAIL_BASEREADING");
    ::SetLastError(error);
    ErrorBox(code);
    return false;
  }
  package->download_address = package->update_list.download_url;
  AppendInstallRecords(package->update_list, &package->records);
  return true;
}

bool FetchUpdateList(const ListFetchSettings& settings, PackageDescriptor* package) {
  const std::string& name = package->name;
  bool own_path = true;
  const std::string target = PrepareDownloadTarget(settings.list_folder, name + ".hul", name,
                                                   settings.kind_mode, &own_path);

  InternetHandle internet = OpenDownloadHandle();
  if (!internet) {
    LogKeepingError(error_code::kNoInternet, "Internet Open Error");
    ErrorBox(error_code::kNoInternet);
    return false;
  }
  SetReceiveTimeout(internet.Get(), kUpdateListReceiveTimeoutMs);
  const std::string address = UpdateListAddress(settings.hul_root, name);

  bool downloaded =
      DownloadFile(internet.Get(), kUpdateListPiece, target, address, nullptr, nullptr, false);
  if (!downloaded) downloaded = SUCCEEDED(UrlDownload(address, target));
  if (!downloaded) {
    RemoveFailedDownload(target, own_path);
    const bool local_file =
        ClassifyUpdateListFailure(FileExists(target), own_path) == UpdateListFailure::kLocalFile;
    const std::string text =
        UpdateListFailureText(LoadText(local_file ? IDS_FAIL_HUL_CREATE : IDS_FAIL_HUL_DOWNLOAD),
                              settings.kind_mode, local_file ? target : address);
    LogDownloadEvent(error_code::kUpdateListUnreadable, name);
    ErrorBoxWithText(error_code::kUpdateListUnreadable, text, name.c_str());
    return false;
  }
  internet.Reset();
  return LoadFetchedList(settings, target, package);
}

}  // namespace ld
