#include "core/ui/install_path_check.h"

#include <vector>

#include "core/base/ascii.h"

namespace ld {

std::string TrimTrailingBackslashes(std::string path) {
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

bool IsUnderSystemFolder(const std::string& path, const std::string& windows_folder,
                         const std::string& program_files_folder) {
  auto under = [&path](const std::string& folder) {
    return !folder.empty() && StartsWithIgnoreAsciiCase(path, folder);
  };
  return under(windows_folder) || under(program_files_folder);
}

bool CheckInstallPath(const std::string& given, PathFacts& facts) {
  std::string path = given;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  if (path.size() < 2 || path[1] != ':') return false;
  if (!facts.DriveExists(path.substr(0, 2))) return false;
  if (path.size() == 2) return true;
  if (path[2] != '\\') return false;

  // Every prefix ending before a backslash (past the drive's own), then the
  // whole path.
  std::vector<std::string> folders;
  for (std::size_t i = 3; i < path.size(); ++i) {
    if (path[i] == '\\' && path[i - 1] != '\\') folders.push_back(path.substr(0, i));
  }
  folders.push_back(path);

  std::vector<std::string> made;
  bool ok = true;
  for (const std::string& folder : folders) {
    const PathFacts::Kind kind = facts.KindOf(folder);
    if (kind == PathFacts::Kind::kFolder) continue;
    if (kind == PathFacts::Kind::kFile || !facts.MakeFolder(folder)) {
      ok = false;
      break;
    }
    made.push_back(folder);
  }
  if (!ok) {
    for (auto it = made.rbegin(); it != made.rend(); ++it) facts.RemoveFolder(*it);
  }
  return ok;
}

}  // namespace ld
