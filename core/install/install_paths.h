// Where package files go on disk and where they come from on the server.
//
// Pure text rules shared by the installation thread (file check, download
// list, setup archives) and the publishing tool, which must lay out the server
// tree exactly as these addresses ask for it. Paths are ANSI byte strings with
// "\" separators; addresses use "/".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ld {

// Local path of a listed file. `install_folder` is F, `dir` the record's
// directory path D (empty, "\", a relative path such as "\data", or an
// absolute path holding ":\"), `name` the file name N:
//   D empty or "\"   -> F\N
//   D absolute       -> D\N
//   D relative       -> F + D + "\" + N
// A relative D without its leading "\" (update lists never hold one) gets
// one, so the file cannot land beside the install folder.
std::string FinalPath(std::string_view install_folder, std::string_view dir, std::string_view name);

// Folder the file is unpacked into: F for an empty D, F + "\" for D "\", D
// when absolute, F + D when relative (leading "\" added as above).
std::string TargetFolder(std::string_view install_folder, std::string_view dir);

// True when the package is "base2005" in any case; such a package is always
// fetched from the launch string's distribution address.
bool IsBase2005(std::string_view package_name);

// Where a package's files are fetched from.
struct PackageSource {
  std::string name;                  // package name, e.g. "TABLA"
  std::string download_address;      // from the package's update list; may be empty
  std::string distribution_address;  // from the launch string (k89e, or root + "/dist")
  bool newer_layout = false;         // update list version >= "1.5.0"
};

// The base address: the package's download address unless the package is
// "base2005" or that address is at most one character long; then the
// distribution address.
std::string RemoteBase(const PackageSource& source);

// Address of a file's zip: base/<package>[/<dir>]/<name>.zip. The directory
// part (D with "\" turned to "/") is present only in the newer layout and
// left out when it would be just "/". A directory with a drive (a Windows,
// system or temporary folder root) names a folder of the user's machine, not
// of the server, so it is left out too and such files lie beside the
// package's root files.
std::string RemoteFileAddress(const PackageSource& source, std::string_view dir,
                              std::string_view name);

// Address of a setup archive: as RemoteFileAddress without ".zip".
std::string RemoteSetupAddress(const PackageSource& source, std::string_view dir,
                               std::string_view name);

// Folder creation, planned here and carried out by the caller.
//
// Creating a folder ignores one trailing "\", accepts an existing directory at
// once, deletes a plain file standing where a folder is needed, and creates
// the parent (text before the last "\") first in the same way.
enum class PathKind { kMissing, kDirectory, kFile };
using PathKindFn = std::function<PathKind(const std::string& path)>;

struct FolderStep {
  std::string path;
  bool delete_file_first = false;  // a plain file stands at `path`
};

// The steps that create `path`, outermost parent first; empty when `path`
// is already a directory (or empty). `kind_of` is asked about `path` and its
// parents until a directory is found. The caller runs every step in order
// (a failed step does not stop the next) and succeeds when the last step's
// folder was made.
std::vector<FolderStep> PlanCreateFolder(std::string_view path, const PathKindFn& kind_of);

// Disk space.
//
// The drive part of the install folder: the text up to and including its
// first ":\". Nothing when there is no ":\" or the drive part would be
// longer than 9 characters (the check then reports -1).
std::optional<std::string> DrivePart(std::string_view install_folder);

// 1 when `free_bytes` covers `need_bytes`, else 0: enough when at least
// 4 TiB are free, or when whole free KiB reach the needed KiB rounded up.
// Callers sum their 32-bit package sums into `need_bytes` in 64 bits.
int EnoughDiskSpace(uint64_t free_bytes, uint64_t need_bytes);

// Asks the system for the free bytes of a drive part such as "C:\"; false on
// failure (the space then counts as 0 bytes).
using FreeSpaceFn = std::function<bool(const std::string& drive, uint64_t* free_bytes)>;

// The whole check: 1 enough, 0 not enough, -1 no drive part in the folder.
int CheckDiskSpace(std::string_view install_folder, const std::vector<uint32_t>& package_sums,
                   const FreeSpaceFn& free_space);

}  // namespace ld
