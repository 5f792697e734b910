// One package published into a download-server tree:
//   <root>/hul/newhul/<package>.hul            the update list
//   <root>/dist/<package>/[<dir>/]<name>.zip   one zip per file (the folder
//                                              part only in the newer layout)
//   <root>/dist/<package>/[<dir>/]<name>       setup archives, as they are
// Files lie where the starter's remote-address rule asks for them when the
// list's download address (or, for "base2005" and an empty address, the
// launch string's distribution address) names <root>/dist as served.
//
// Threads: ldtool's main thread. Failures return false with *error set;
// names are checked before anything is written, and every file is written
// through a temporary file and renamed, so a failed run leaves each file of
// the tree either old or new, never half written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/time_value.h"

namespace ld::tool {

struct PackageOptions {
  std::string package;            // list and folder name, e.g. "TABLA"
  std::string from;               // the game folder
  std::string root;               // the tree
  std::string version = "1.5.0";  // "version" of the list
  std::string download_url;       // "downloadurl"; may be empty
  std::string project_name;       // "prjname"; empty: the package name
  bool has_pubdate = false;       // else the newest file time
  TimeValue pubdate = 0;
  // "[<dir>/]name" paths below the install folder, or below "<WINDOWS>",
  // "<SYSTEM>" or "<TEMP>", listed under [UNINSTALL].
  std::vector<std::string> uninstall;
  // "[LISTPATH=]SOURCE": an archive file copied as is, or a folder zipped
  // into one; LISTPATH ("/redist/dx.zip") defaults to "/" + SOURCE's name
  // (+ ".zip" for a folder). Listed under [SETUP_INSTALL].
  std::vector<std::string> setup;
};

struct PackageSummary {
  std::string list_path;
  uint32_t files = 0;
  uint32_t dirs = 0;
  uint64_t zip_bytes = 0;
  uint32_t setup_archives = 0;
};

bool PublishPackage(const PackageOptions& options, PackageSummary* summary, std::string* error);

// Writes bytes to path through a temporary file and a rename, creating the
// parent folders. Shared by the publish steps.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace ld::tool
