// The program files of the install folder's root known to be correct: each
// entry holds the full path, the size and the byte sum the update list gave
// (or that were measured right after the file was unpacked). The game start
// checks every entry again just before it runs the game, so a program file
// changed or removed after the installation is caught.
//
// The list grows over the whole run and is changed only on the installation
// driver thread; nothing here locks. Pure; no system calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/update_list/update_list_records.h"

namespace ld {

struct ExecutableEntry {
  std::string path;  // "<install folder>\<name>"
  uint32_t size = 0;
  uint32_t checksum = 0;

  bool operator==(const ExecutableEntry& o) const {
    return path == o.path && size == o.size && checksum == o.checksum;
  }
};

using ExecutableList = std::vector<ExecutableEntry>;

// True for a record that lies in the install folder's root (directory path
// exactly "\") and names a program file (".exe" or ".dll", any case).
bool IsRootProgramRecord(const FileRecord& record);

// "<install_folder>\<name>", as the entries spell their paths.
std::string RootProgramPath(const std::string& install_folder, const std::string& name);

}  // namespace ld
