#include "tools/ldtool/publish_package.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/base/ascii.h"
#include "core/base/checksum.h"
#include "core/install/install_paths.h"
#include "core/update_list/update_list.h"
#include "core/update_list/update_list_folders.h"
#include "core/update_list/update_list_writer.h"
#include "tools/ldtool/publish_scan.h"
#include "tools/ldtool/zip_writer.h"

namespace ld::tool {
namespace fs = std::filesystem;

namespace {

// The download-address rule gives "dist/<package>/..." for this source, i.e.
// the tree path below the root.
PackageSource TreeSource(const std::string& package, bool newer) {
  PackageSource source;
  source.name = package;
  source.distribution_address = "dist";
  source.newer_layout = newer;
  return source;
}

// "/data/img" -> "\data\img", "" -> "\", "<WINDOWS>/Fonts" -> folder + "\Fonts".
bool ListDir(std::string dir, const UpdateListFolders& folders, std::string* out,
             std::string* error) {
  std::replace(dir.begin(), dir.end(), '\\', '/');
  while (!dir.empty() && dir.back() == '/') dir.pop_back();
  struct Root {
    const char* token;
    const std::string& folder;
  } roots[] = {
      {"<WINDOWS>", folders.windows}, {"<SYSTEM>", folders.system}, {"<TEMP>", folders.temp}};
  for (const Root& r : roots) {
    std::string token = r.token;
    if (dir.compare(0, token.size(), token) == 0) {
      std::string rest = dir.substr(token.size());
      if (!rest.empty() && rest[0] != '/') break;
      std::replace(rest.begin(), rest.end(), '/', '\\');
      *out = r.folder + rest;
      return true;
    }
  }
  if (!dir.empty() && dir[0] == '<') {
    *error = "unknown root in '" + dir + "' (use <WINDOWS>, <SYSTEM> or <TEMP>)";
    return false;
  }
  if (dir.empty() || dir[0] != '/') dir.insert(dir.begin(), '/');
  std::replace(dir.begin(), dir.end(), '/', '\\');
  *out = dir;
  return true;
}

// Splits "a/b/name" into a list directory and a name.
bool SplitListPath(const std::string& text, const UpdateListFolders& folders, std::string* dir,
                   std::string* name, std::string* error) {
  std::string path = text;
  std::replace(path.begin(), path.end(), '\\', '/');
  size_t slash = path.rfind('/');
  *name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name->empty()) {
    *error = "'" + text + "' names no file";
    return false;
  }
  return ListDir(slash == std::string::npos ? "" : path.substr(0, slash), folders, dir, error);
}

size_t DirIndex(std::vector<UpdateDirEntry>& dirs, const std::string& path) {
  for (size_t i = 0; i < dirs.size(); ++i)
    if (dirs[i].path == path) return i;
  dirs.push_back({path, {}});
  return dirs.size() - 1;
}

UpdateDirEntry& DirEntry(std::vector<UpdateDirEntry>& dirs, const std::string& path) {
  return dirs[DirIndex(dirs, path)];
}

bool FileSize32(const std::string& path, uint32_t* size, std::string* error) {
  std::error_code ec;
  std::uintmax_t n = fs::file_size(path, ec);
  if (ec || n > 0xFFFFFFFFull) {
    *error = "cannot size " + path;
    return false;
  }
  *size = static_cast<uint32_t>(n);
  return true;
}

// A setup archive in the tree: copied, or a folder zipped.
bool PlaceSetupArchive(const std::string& source, const std::string& target, std::string* error) {
  std::error_code ec;
  if (fs::is_directory(source, ec)) {
    std::vector<SourceFile> files;
    if (!ScanSourceFolder(source, false, &files, error)) return false;
    std::vector<ZipSource> entries;
    for (const SourceFile& f : files)
      entries.push_back({f.dir.empty() ? f.name : f.dir + "/" + f.name, f.path, f.time});
    return WriteZip(target, entries, error);
  }
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    *error = "cannot read setup archive " + source;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return WriteFileAtomically(target, bytes, error);
}

struct SetupItem {
  std::string dir, name, source;
};

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::string tmp = path + ".tmp-publish";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(tmp, ec);
      *error = "cannot write " + tmp;
      return false;
    }
  }
  fs::rename(tmp, path, ec);
  if (ec) {
    fs::remove(tmp, ec);
    *error = "cannot rename " + tmp + " to " + path;
    return false;
  }
  return true;
}

bool PublishPackage(const PackageOptions& options, PackageSummary* summary, std::string* error) {
  const UpdateListFolders folders;
  UpdateList list;
  list.version = options.version;
  list.project_name = options.project_name.empty() ? options.package : options.project_name;
  list.download_url = options.download_url;
  const bool newer = list.IsNewerLayout();
  const PackageSource source = TreeSource(options.package, newer);

  std::vector<SourceFile> files;
  if (!ScanSourceFolder(options.from, !newer, &files, error)) return false;

  // 1. The whole list with zip sizes still 0, written to text once so every
  //    name the format cannot carry is refused before the tree is touched.
  FileChecksummer checksummer;
  TimeValue newest = 0;
  std::vector<std::vector<const SourceFile*>> sources;  // parallel to list.install
  for (const SourceFile& f : files) {
    // The starter gives an unpacked file the zip entry's time; a clamped time
    // would differ from the list and the file would be fetched on every run.
    if (!ZipCanCarryTime(f.time)) {
      *error = f.path + ": its modification time cannot be stored in a zip (before 1980?)";
      return false;
    }
    std::string dir;
    if (!ListDir(f.dir, folders, &dir, error)) return false;
    UpdateFileEntry entry;
    entry.name = f.name;
    entry.size = static_cast<uint32_t>(f.size);
    entry.checksum = checksummer.Sum(f.path);
    entry.time = f.time;
    size_t at = DirIndex(list.install, dir);
    list.install[at].files.push_back(entry);
    sources.resize(list.install.size());
    sources[at].push_back(&f);
    newest = std::max(newest, f.time);
  }
  list.publication_time = options.has_pubdate ? options.pubdate : newest;
  for (const std::string& u : options.uninstall) {
    std::string dir, name;
    if (!SplitListPath(u, folders, &dir, &name, error)) return false;
    UpdateFileEntry entry;
    entry.name = name;
    DirEntry(list.uninstall, dir).files.push_back(entry);
  }
  std::vector<SetupItem> setups;
  for (const std::string& s : options.setup) {
    size_t eq = s.find('=');
    std::string src = eq == std::string::npos ? s : s.substr(eq + 1);
    std::string list_path;
    if (eq != std::string::npos) {
      list_path = s.substr(0, eq);
    } else {
      std::error_code ec;
      list_path = "/" + fs::path(src).filename().string();
      if (fs::is_directory(src, ec)) list_path += ".zip";
    }
    SetupItem item;
    item.source = src;
    if (!SplitListPath(list_path, folders, &item.dir, &item.name, error)) return false;
    setups.push_back(item);
    DirEntry(list.setup_install, item.dir).files.push_back({item.name, 0, 0, 0, 0});
  }
  std::string text;
  if (!WriteUpdateListText(list, folders, &text, error)) return false;
  // Two listed files must never share one place in the tree (a setup archive
  // "x.zip" beside the zip of a file "x", or a setup archive listed twice).
  std::set<std::string> targets;
  for (const UpdateDirEntry& dir : list.install)
    for (const UpdateFileEntry& e : dir.files)
      targets.insert(AsciiLowered(RemoteFileAddress(source, dir.path, e.name)));
  for (const SetupItem& item : setups) {
    if (!targets.insert(AsciiLowered(RemoteSetupAddress(source, item.dir, item.name))).second) {
      *error =
          "setup archive '" + item.name + "' would share its place in the tree with another file";
      return false;
    }
  }

  // 2. One zip per file, where the remote-address rule looks for it.
  const fs::path root(options.root);
  uint32_t total_checksum = 0, total_zip = 0;
  *summary = PackageSummary();
  for (size_t di = 0; di < list.install.size(); ++di) {
    UpdateDirEntry& dir = list.install[di];
    ++summary->dirs;
    for (size_t fi = 0; fi < dir.files.size(); ++fi) {
      UpdateFileEntry& entry = dir.files[fi];
      const SourceFile* src = sources[di][fi];
      std::string zip = (root / RemoteFileAddress(source, dir.path, entry.name)).string();
      std::error_code ec;
      fs::create_directories(fs::path(zip).parent_path(), ec);
      if (!WriteZip(zip, {{entry.name, src->path, src->time}}, error)) return false;
      if (!FileSize32(zip, &entry.zip_size, error)) return false;
      total_checksum += entry.checksum;
      total_zip += entry.zip_size;
      summary->zip_bytes += entry.zip_size;
      ++summary->files;
    }
  }
  list.total_checksum = static_cast<int32_t>(total_checksum);
  list.total_file_count = static_cast<int32_t>(summary->files);
  list.total_zip_size = static_cast<int32_t>(total_zip);

  // 3. Setup archives, listed with their own size (they are fetched as they
  //    are) and no time: the starter builds setup records without one.
  for (const SetupItem& item : setups) {
    std::string target = (root / RemoteSetupAddress(source, item.dir, item.name)).string();
    std::error_code ec;
    fs::create_directories(fs::path(target).parent_path(), ec);
    if (!PlaceSetupArchive(item.source, target, error)) return false;
    for (UpdateFileEntry& e : DirEntry(list.setup_install, item.dir).files) {
      if (e.name != item.name) continue;
      if (!FileSize32(target, &e.size, error)) return false;
      e.zip_size = e.size;
      e.checksum = FileChecksum(target);
    }
    ++summary->setup_archives;
  }

  // 4. The list last, so a starter never reads a list whose zips are missing.
  if (!WriteUpdateListText(list, folders, &text, error)) return false;
  summary->list_path = (root / "hul" / "newhul" / (options.package + ".hul")).string();
  return WriteFileAtomically(summary->list_path, text, error);
}

}  // namespace ld::tool
