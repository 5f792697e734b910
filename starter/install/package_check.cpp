#include "starter/install/package_check.h"

#include <windows.h>

#include "core/install/file_decision.h"
#include "starter/install/download_batch.h"
#include "starter/platform/file_time_value.h"
#include "starter/platform/folders.h"
#include "starter/platform/memory_map_file.h"
#include "starter/app/starter_app.h"

namespace ld {

uint32_t CompareFile(const FileRecord& record, const std::string& local_path) {
  LocalFileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (::GetFileAttributesExA(local_path.c_str(), GetFileExInfoStandard, &data)) {
    facts.exists = true;
    facts.size = data.nFileSizeLow;
    facts.last_write_time = TimeFromFileTime(data.ftLastWriteTime);
  }
  ExpectedFile expected;
  expected.size = record.size;
  expected.checksum = record.checksum;
  expected.time = record.time;
  return DecideNeedsUpdate(facts, expected, local_path,
                           [&local_path] { return MappedFileChecksum(local_path); });
}

uint32_t CheckPackageFiles(const std::string& install_folder, std::vector<FileRecord>* records,
                           ExecutableList* executables) {
  uint32_t bytes = 0;
  const bool folder_there = IsDirectory(install_folder);
  for (FileRecord& record : *records) {
    record.needs_update =
        folder_there ? CompareFile(record, FinalPath(install_folder, record.dir_path, record.name))
                     : static_cast<uint32_t>(kFileMissing);
    if (record.needs_update != kUpToDate) {
      bytes += record.zip_size;
    } else if (executables != nullptr && IsRootProgramRecord(record)) {
      executables->push_back(
          {RootProgramPath(install_folder, record.name), record.size, record.checksum});
    }
  }
  return bytes;
}

int CheckPackagesDiskSpace(const std::string& install_folder,
                           const std::vector<PackageDescriptor>& packages, bool setup) {
  std::vector<uint32_t> sums;
  sums.reserve(packages.size());
  for (const PackageDescriptor& package : packages) {
    sums.push_back(setup ? package.setup_total : package.bytes_to_download);
  }
  return CheckDiskSpace(install_folder, sums, [](const std::string& drive, uint64_t* free_bytes) {
    ULARGE_INTEGER caller, total, free;
    if (!::GetDiskFreeSpaceExA(drive.c_str(), &caller, &total, &free)) return false;
    *free_bytes = free.QuadPart;
    return true;
  });
}

bool BuildDownloadList(cStarterApp& app, const PackageSource& source,
                       const std::string& install_folder, std::vector<FileRecord>* records,
                       DownloadBatch* batch) {
  for (FileRecord& record : *records) {
    if (app.StopRequested()) return false;
    if (record.needs_update == kUpToDate) continue;
    DownloadItem item;
    item.record = &record;
    item.display_name = record.name;
    item.final_path = FinalPath(install_folder, record.dir_path, record.name);
    item.remote_address = RemoteFileAddress(source, record.dir_path, record.name);
    item.zip_path = item.final_path + ".zip";
    item.target_folder = TargetFolder(install_folder, record.dir_path);
    item.expected_size = record.zip_size;
    // A folder that cannot be made shows up as a file the verification
    // cannot find.
    CreateFolder(item.target_folder);
    batch->AddItem(std::move(item));
  }
  return true;
}

}  // namespace ld
