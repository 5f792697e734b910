#include "core/install/zip_entry_path.h"

namespace ld {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// An element Windows would read as "..": only dots and blanks, at least two
// dots (trailing dots and blanks are trimmed from path elements).
bool ClimbsOut(std::string_view element) {
  int dots = 0;
  for (char c : element) {
    if (c == '.') {
      ++dots;
    } else if (c != ' ') {
      return false;
    }
  }
  return dots >= 2 || (dots == 0 && !element.empty());
}

}  // namespace

bool IsSafeZipEntryName(std::string_view stored_name) {
  if (stored_name.empty() || IsSeparator(stored_name.front())) return false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= stored_name.size(); ++i) {
    if (i < stored_name.size()) {
      const unsigned char c = static_cast<unsigned char>(stored_name[i]);
      if (c < 0x20 || c == ':') return false;
      if (!IsSeparator(stored_name[i])) continue;
    }
    if (ClimbsOut(stored_name.substr(start, i - start))) return false;
    start = i + 1;
  }
  return true;
}

bool IsFolderZipEntry(std::string_view stored_name) {
  return !stored_name.empty() && IsSeparator(stored_name.back());
}

std::optional<std::string> ZipEntryOutputPath(std::string_view target_folder,
                                              std::string_view stored_name) {
  if (!IsSafeZipEntryName(stored_name)) return std::nullopt;
  std::string path(target_folder);
  if (!path.empty() && !IsSeparator(path.back())) path += '\\';
  std::string_view name = stored_name;
  while (!name.empty() && IsSeparator(name.back())) name.remove_suffix(1);
  for (char c : name) path += IsSeparator(c) ? '\\' : c;
  return path;
}

}  // namespace ld
