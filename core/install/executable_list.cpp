#include "core/install/executable_list.h"

#include "core/install/file_decision.h"

namespace ld {

bool IsRootProgramRecord(const FileRecord& record) {
  return record.dir_path == "\\" && IsProgramFile(record.name);
}

std::string RootProgramPath(const std::string& install_folder, const std::string& name) {
  return install_folder + "\\" + name;
}

}  // namespace ld
