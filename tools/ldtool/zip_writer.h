// Deterministic zips for the download-server tree: the same inputs always give
// the same bytes (entry order, times, attributes and compression are fixed),
// so publishing an unchanged folder again leaves the tree byte-identical.
//
// Entry times are the files' modification times as local date-times in the
// zip format (two-second steps, 1980 to 2107; earlier or later times are
// clamped), which is what the starter gives the unpacked file back.
//
// Threads: ldtool's main thread. Each function writes to a temporary file
// beside zip_path and renames it over zip_path on success, so a server that
// is running never serves half a zip; on failure nothing is left behind and
// *error says why.
#pragma once

#include <string>
#include <vector>

#include "core/base/time_value.h"

namespace ld::tool {

struct ZipSource {
  std::string entry_name;   // stored name, '/' separated, no leading '/'
  std::string source_path;  // file whose bytes are stored
  TimeValue time = 0;       // modification time to record
};

// True when a zip entry can carry the time as it is (local years 1980 to
// 2107); other times are clamped by WriteZip.
bool ZipCanCarryTime(TimeValue time);

// Writes the entries in the given order, deflated at the best level.
bool WriteZip(const std::string& zip_path, const std::vector<ZipSource>& entries,
              std::string* error);

}  // namespace ld::tool
