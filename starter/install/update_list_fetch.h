// The fetch of one package's update list (".hul") from the download server
// of the zone into the local update-list folder, and the install records
// built from it.
//
// Threads: the installation driver thread only. Failures are told to the
// user here (message or error box) and to the remote log; the caller gets
// false and decides what follows.
#pragma once

#include <string>

#include "core/install/package_descriptor.h"
#include "core/update_list/update_list_folders.h"

namespace ld {

class cStarterApp;

// What a fetch needs to know, taken once per run from the application.
struct ListFetchSettings {
  std::string list_folder;  // the update-list folder, "<starter data>\HUL"
  std::string hul_root;     // update-list address of the launch string, no trailing "/"
  bool kind_mode = false;   // detailed texts, deletion question on failures
  UpdateListFolders roots;  // folders of "<WINDOWS>", "<SYSTEM>", "<TEMP>" lines
};

// The settings of this run: the update-list folder (created, hidden), the
// launch record's update-list address, kind mode and the system folders.
ListFetchSettings CurrentListFetchSettings(cStarterApp& app);

// "<starter data>\HUL" below `starter_data_folder`, created with its missing
// parents when it is not a directory and marked hidden. Returns the path even
// when creation failed.
std::string UpdateListFolderUnder(const std::string& starter_data_folder);

// The Windows, system and temporary folders of this machine.
UpdateListFolders SystemListFolders();

// Where a download of `file_name` into the update-list folder goes: the
// path itself once nothing stands there (what stood there is removed, in
// kind mode with the deletion question on failure), or, when that cannot be
// removed, a fresh (empty) temporary file in the folder whose name begins
// with `temp_prefix`. *own_path tells which.
std::string PrepareDownloadTarget(const std::string& folder, const std::string& file_name,
                                  const std::string& temp_prefix, bool kind_mode, bool* own_path);

// Downloads "<hul_root>/newhul/<name>.hul" into the update-list folder with
// the handle download (10240-byte pieces, 30000 ms receive time-out), then
// the URL moniker, and loads it into the package. On success the package
// holds the list, its download address and one record per install-list file.
// Failures: no internet handle (code 0x30003, "Internet Open Error", error
// box); both downloads failed (string 177 or 178, code 0x18000D with the
// package name); the local file cannot be read (LoadFetchedList).
bool FetchUpdateList(const ListFetchSettings& settings, PackageDescriptor* package);

// Loads the downloaded list at `path` into the package and builds its
// records. When the file cannot be read: code 181 (the game's list) or 182
// (a base package's list) with "IDS_AHF_FAIL_GAMEREADING" or
// "IDS_AHF_FAIL_BASEREADING" to the remote log and the error box with that
// code; false.
// Removes what a failed download left at the list's own path (`own_path` as
// PrepareDownloadTarget answered), so that only a finished download is read.
void RemoveFailedDownload(const std::string& target, bool own_path);

bool LoadFetchedList(const ListFetchSettings& settings, const std::string& path,
                     PackageDescriptor* package);

}  // namespace ld
