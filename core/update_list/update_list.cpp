#include "core/update_list/update_list.h"

namespace ld {

bool UpdateList::IsNewerLayout() const {
  // std::string compares bytes as unsigned char, which is the order the
  // servers' version texts have always been compared in.
  return version.compare(kUpdateListNewerLayoutVersion) >= 0;
}

const UpdateDirEntry* UpdateList::InstallDir(std::size_t index) const {
  return index < install.size() ? &install[index] : nullptr;
}

const UpdateDirEntry* UpdateList::SetupInstallDir(std::size_t index) const {
  return index < setup_install.size() ? &setup_install[index] : nullptr;
}

void UpdateList::Clear() { *this = UpdateList(); }

bool UpdateList::operator==(const UpdateList& o) const {
  return project_name == o.project_name && publication_time == o.publication_time &&
         total_checksum == o.total_checksum && total_file_count == o.total_file_count &&
         total_zip_size == o.total_zip_size && download_url == o.download_url &&
         version == o.version && install == o.install && uninstall == o.uninstall &&
         setup_install == o.setup_install;
}

}  // namespace ld
