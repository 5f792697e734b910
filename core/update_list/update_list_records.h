// Installation records built from an update list: one per file to install,
// consumed by package installation (which clears needs_update for files that
// are already up to date), and the paths the uninstall list names.
//
// Pure functions over a document; the installation driver thread calls them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/time_value.h"
#include "core/update_list/update_list.h"

namespace ld {

// Longest directory path or file name a record holds (a 261-byte field).
inline constexpr std::size_t kFileRecordMaxPath = 260;

struct FileRecord {
  uint32_t needs_update = 1;
  uint32_t size = 0;
  uint32_t zip_size = 0;
  uint32_t checksum = 0;
  TimeValue time = 0;
  std::string dir_path;  // as in the directory entry ("\data", "C:\WINDOWS\Fonts")
  std::string name;

  bool operator==(const FileRecord& o) const {
    return needs_update == o.needs_update && size == o.size && zip_size == o.zip_size &&
           checksum == o.checksum && time == o.time && dir_path == o.dir_path && name == o.name;
  }
};

// One record per file of the install list, in list order, with the entry's
// time; appended to *records.
void AppendInstallRecords(const UpdateList& list, std::vector<FileRecord>* records);

// One record per file of the setup-install list, in list order, time 0;
// appended to *records. Returns the sum of their compressed sizes (wrapping
// like the 32-bit field it is).
uint32_t AppendSetupInstallRecords(const UpdateList& list, std::vector<FileRecord>* records);

// "base" + directory path + "\" + name for every file of the uninstall list,
// in list order; the caller deletes them (attributes to normal first) and
// ignores failures.
std::vector<std::string> UninstallPaths(const UpdateList& list, const std::string& base);

}  // namespace ld
