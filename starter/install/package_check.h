// Which files of a package must be fetched, whether the disk can hold them,
// and the download list that fetches them.
//
// Threads: the installation driver thread, before a package's download batch
// starts (the batch's workers then write only their own items). Facts come
// from the file system; the decisions are core's (core/install/file_decision.h,
// core/install/install_paths.h). Nothing here shows a message; failures are results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/install/executable_list.h"
#include "core/install/install_paths.h"
#include "core/install/package_descriptor.h"
#include "core/update_list/update_list_records.h"

namespace ld {

class cStarterApp;
class DownloadBatch;

// The needs-update code of `record` for the file at `local_path`: 1 missing,
// 2 size, 4 time (to the minute, read as local time), 8 byte sum (".exe" and
// ".dll" only, measured only when size and time match), 0 up to date.
uint32_t CompareFile(const FileRecord& record, const std::string& local_path);

// Sets every record's needs-update code and returns the sum of the
// compressed sizes of those that need one (wrapping like the 32-bit field it
// is). When `install_folder` is not a directory every record is missing. An
// up-to-date program file of the folder's root goes to `executables` with
// the size and byte sum of its record.
uint32_t CheckPackageFiles(const std::string& install_folder, std::vector<FileRecord>* records,
                           ExecutableList* executables);

// 1 when the drive of `install_folder` has room for every package's bytes
// to download (their setup totals when `setup` is set), 0 when not, -1 when
// the folder has no drive part (no ":\"), which the caller lets pass.
int CheckPackagesDiskSpace(const std::string& install_folder,
                           const std::vector<PackageDescriptor>& packages, bool setup);

// Adds one download item to `batch` for every record whose code is not 0, in
// record order, with its target folder created (a plain file in the way is
// deleted). Items point at the records, which must not move until the batch
// is done. False when the stop flag is seen before the list is complete;
// the items added so far stay.
bool BuildDownloadList(cStarterApp& app, const PackageSource& source,
                       const std::string& install_folder, std::vector<FileRecord>* records,
                       DownloadBatch* batch);

}  // namespace ld
