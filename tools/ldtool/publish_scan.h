// The game folder that `ldtool publish` turns into a package: every regular
// file below it, in a fixed order so that two runs over the same folder give
// the same update list and the same tree.
//
// Threads: ldtool's main thread. Failures (unreadable folder, a name the
// starter's install folder could not hold apart) are returned as false with a
// message in *error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/time_value.h"

namespace ld::tool {

struct SourceFile {
  std::string dir;   // relative folder with '/' separators, "" for the top
  std::string name;  // file name
  std::string path;  // full path on this machine
  uint64_t size = 0;
  TimeValue time = 0;  // last modification, seconds since 1970 UTC
};

// Files sorted by folder then name (byte order); the top folder comes first.
// Symbolic links and anything that is not a regular file or folder are
// skipped. Fails when two names of one folder differ only in ASCII case (the
// Windows install folder would keep one of them) or, with flat_names (the
// older layout, where all files of a package lie side by side on the server),
// when two files anywhere share a name without regard to case. Files of 4 GiB
// or more fail too: the list holds 32-bit sizes.
bool ScanSourceFolder(const std::string& root, bool flat_names, std::vector<SourceFile>* files,
                      std::string* error);

}  // namespace ld::tool
