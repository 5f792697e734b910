#include "core/update_list/update_list_records.h"

namespace ld {
namespace {

FileRecord MakeRecord(const UpdateDirEntry& dir, const UpdateFileEntry& file) {
  FileRecord r;
  r.needs_update = 1;
  r.size = file.size;
  r.zip_size = file.zip_size;
  r.checksum = file.checksum;
  r.time = file.time;
  // Entries are at most 99 bytes, so they always fit a record's field; the
  // cut only guards documents built by hand.
  r.dir_path = dir.path.substr(0, kFileRecordMaxPath);
  r.name = file.name.substr(0, kFileRecordMaxPath);
  return r;
}

}  // namespace

void AppendInstallRecords(const UpdateList& list, std::vector<FileRecord>* records) {
  for (const UpdateDirEntry& dir : list.install)
    for (const UpdateFileEntry& file : dir.files) records->push_back(MakeRecord(dir, file));
}

uint32_t AppendSetupInstallRecords(const UpdateList& list, std::vector<FileRecord>* records) {
  uint32_t total = 0;
  for (const UpdateDirEntry& dir : list.setup_install) {
    for (const UpdateFileEntry& file : dir.files) {
      FileRecord r = MakeRecord(dir, file);
      r.time = 0;
      total += r.zip_size;
      records->push_back(std::move(r));
    }
  }
  return total;
}

std::vector<std::string> UninstallPaths(const UpdateList& list, const std::string& base) {
  std::vector<std::string> paths;
  for (const UpdateDirEntry& dir : list.uninstall)
    for (const UpdateFileEntry& file : dir.files)
      paths.push_back(base + dir.path + "\\" + file.name);
  return paths;
}

}  // namespace ld
