// The in-memory update list of one package (".hul"): header values and the
// three ordered lists of directory entries. The parser (update_list_parser.h)
// fills it, the writer (update_list_writer.h) turns it back into text, and the
// package descriptor owns one per package.
//
// A document is a plain value: it is not shared between threads. The
// installation driver thread builds and reads it; ldtool uses it on its main
// thread. Nothing here fails or touches the system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/time_value.h"

namespace ld {

// Longest directory path or file name an entry holds (a 100-byte field in
// the stored layout); the parser rejects longer ones.
inline constexpr std::size_t kUpdateListMaxName = 99;

// Version assumed when a list names none.
inline constexpr const char kUpdateListDefaultVersion[] = "1.0.0";

// Lists whose version text is at least this one, compared byte by byte, use
// the newer layout (the remote address of a file includes its directory).
inline constexpr const char kUpdateListNewerLayoutVersion[] = "1.5.0";

struct UpdateFileEntry {
  std::string name;       // at most kUpdateListMaxName bytes
  uint32_t checksum = 0;  // unsigned byte sum of the file
  uint32_t size = 0;      // bytes
  uint32_t zip_size = 0;  // bytes of its zip on the server
  TimeValue time = 0;     // local date-time of the list as seconds since 1970 UTC; 0 = none
  // Uninstall entries carry only the name; their numbers stay 0.

  bool operator==(const UpdateFileEntry& o) const {
    return name == o.name && checksum == o.checksum && size == o.size && zip_size == o.zip_size &&
           time == o.time;
  }
  bool operator!=(const UpdateFileEntry& o) const { return !(*this == o); }
};

struct UpdateDirEntry {
  // Relative paths keep their leading backslash ("\data\img"); paths with a
  // root are absolute ("C:\WINDOWS\Fonts"). Never contains '/'.
  std::string path;
  std::vector<UpdateFileEntry> files;

  bool operator==(const UpdateDirEntry& o) const { return path == o.path && files == o.files; }
  bool operator!=(const UpdateDirEntry& o) const { return !(*this == o); }
};

class UpdateList {
 public:
  UpdateList() = default;

  // Header values; each stays at its default when the list lacks the key.
  std::string project_name;                         // "prjname"
  TimeValue publication_time = 0;                   // "pubdate"
  int32_t total_checksum = 0;                       // "tchksum"
  int32_t total_file_count = 0;                     // "tfileno"
  int32_t total_zip_size = 0;                       // "tzipsize"
  std::string download_url;                         // "downloadurl", quotes removed
  std::string version = kUpdateListDefaultVersion;  // "version"

  // Sections in file order.
  std::vector<UpdateDirEntry> install;        // "[INSTALL]"
  std::vector<UpdateDirEntry> uninstall;      // "[UNINSTALL]"
  std::vector<UpdateDirEntry> setup_install;  // "[SETUP_INSTALL]"

  // Version at least "1.5.0" byte by byte, so "1.10.0" counts as older and
  // "2.0" as newer.
  bool IsNewerLayout() const;

  std::size_t InstallDirCount() const { return install.size(); }
  std::size_t SetupInstallDirCount() const { return setup_install.size(); }
  // nullptr when index is out of range.
  const UpdateDirEntry* InstallDir(std::size_t index) const;
  const UpdateDirEntry* SetupInstallDir(std::size_t index) const;

  // Frees every entry and resets the header values (numbers and times 0,
  // version "1.0.0").
  void Clear();

  bool operator==(const UpdateList& o) const;
  bool operator!=(const UpdateList& o) const { return !(*this == o); }
};

}  // namespace ld
