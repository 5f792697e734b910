// One package the launch needs (the game itself or a base package): its
// update list, the install records built from it and what the installation
// learns about it. The installation driver thread owns the list of
// descriptors for the run; nothing here is shared between threads, except
// that download workers write the needs-update facts of their own records
// while the driver waits for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/update_list/update_list.h"
#include "core/update_list/update_list_records.h"

namespace ld {

struct PackageDescriptor {
  bool is_game = false;  // kind 0: the launched game's own package
  std::string name;      // the game id, or "base2005", "tbbase" ...
  // "downloadurl" of the update list, copied once the list is fetched.
  std::string download_address;
  UpdateList update_list;
  // One record per file of the install list, in list order. Download items
  // point into this vector, so it must not grow once the download list is
  // built.
  std::vector<FileRecord> records;
  std::vector<FileRecord> setup_records;
  uint32_t bytes_to_download = 0;  // set while checking files; 0 = nothing to do
  uint32_t setup_total = 0;        // sum of the setup records' compressed sizes
  uint32_t setup_entry_count = 0;  // entries of the first setup archive opened
  bool setup_selected = false;
};

}  // namespace ld
