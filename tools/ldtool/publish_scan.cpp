#include "tools/ldtool/publish_scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/base/ascii.h"

namespace ld::tool {
namespace fs = std::filesystem;

namespace {

bool Walk(const fs::path& folder, const std::string& rel, std::vector<SourceFile>* files,
          std::string* error) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) {
    *error = "cannot read folder " + folder.string() + ": " + ec.message();
    return false;
  }
  std::vector<std::string> names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    names.push_back(it->path().filename().string());
  }
  if (ec) {
    *error = "cannot read folder " + folder.string() + ": " + ec.message();
    return false;
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> subfolders;
  for (const std::string& name : names) {
    fs::path full = folder / name;
    struct stat st {};
    if (lstat(full.c_str(), &st) != 0) {
      *error = "cannot read " + full.string();
      return false;
    }
    if (S_ISDIR(st.st_mode)) {
      subfolders.push_back(name);
    } else if (S_ISREG(st.st_mode)) {
      if (static_cast<uint64_t>(st.st_size) > 0xFFFFFFFFull) {
        *error = full.string() + " is 4 GiB or larger; update lists hold 32-bit sizes";
        return false;
      }
      files->push_back({rel, name, full.string(), static_cast<uint64_t>(st.st_size),
                        static_cast<TimeValue>(st.st_mtime)});
    }
  }
  for (const std::string& name : subfolders) {
    if (!Walk(folder / name, rel.empty() ? name : rel + "/" + name, files, error)) return false;
  }
  return true;
}

}  // namespace

bool ScanSourceFolder(const std::string& root, bool flat_names, std::vector<SourceFile>* files,
                      std::string* error) {
  files->clear();
  std::error_code ec;
  if (!fs::is_directory(root, ec)) {
    *error = root + " is not a folder";
    return false;
  }
  if (!Walk(root, "", files, error)) return false;
  // Walk visits a folder's files before its subfolders, so sorting by
  // (folder, name) gives every folder one contiguous run, top folder first.
  std::stable_sort(files->begin(), files->end(), [](const SourceFile& a, const SourceFile& b) {
    return a.dir != b.dir ? a.dir < b.dir : a.name < b.name;
  });
  std::map<std::string, const SourceFile*> seen;
  for (const SourceFile& f : *files) {
    std::string key = AsciiLowered(flat_names ? f.name : f.dir + "/" + f.name);
    auto [it, fresh] = seen.emplace(key, &f);
    if (!fresh) {
      const SourceFile& other = *it->second;
      *error = "'" + other.dir + "/" + other.name + "' and '" + f.dir + "/" + f.name + "' " +
               (flat_names ? "would share one zip in the older layout (version below 1.5.0)"
                           : "differ only in case");
      return false;
    }
  }
  return true;
}

}  // namespace ld::tool
