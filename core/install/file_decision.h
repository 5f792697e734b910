// Whether an installed file must be downloaded again.
//
// The installation thread gathers the facts about a local file (attributes,
// size, last-write time) through the system and hands them here together with
// what the update list expects; the decision itself touches nothing. The
// checksum is the expensive fact, so it is asked for through a callback and
// only when size and time already match and the name is a program file.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/base/time_value.h"

namespace ld {

// Needs-update codes stored in file records. Checks run in this order and
// stop at the first difference, so exactly one code is set.
enum NeedsUpdateCode : uint32_t {
  kUpToDate = 0,
  kFileMissing = 1,      // the file's attributes cannot be read
  kSizeDiffers = 2,      // low 32 bits of the size differ
  kTimeDiffers = 4,      // year, month, day, hour or minute differ
  kChecksumDiffers = 8,  // program files (".exe", ".dll") only
};

// What the caller found on disk. `last_write_time` is a time value (seconds
// since 1970 UTC) made from the file's last-write time read as a local
// date-time; on Windows that is the file-time conversion of the time-value
// helpers.
struct LocalFileFacts {
  bool exists = false;
  uint32_t size = 0;  // low 32 bits of the file size
  TimeValue last_write_time = 0;
};

// What the update list says about the file.
struct ExpectedFile {
  uint32_t size = 0;
  uint32_t checksum = 0;
  TimeValue time = 0;  // time value of the listed modification time
};

// Computes the local file's byte sum; called at most once per decision.
using ChecksumFn = std::function<uint32_t()>;

// The needs-update code for the file at `local_path`. The path only decides
// (by its last dot) whether the checksum is compared. Called on the
// installation thread (and by the tools); pure apart from `checksum`.
uint32_t DecideNeedsUpdate(const LocalFileFacts& facts, const ExpectedFile& expected,
                           std::string_view local_path, const ChecksumFn& checksum);

// True when the text after the last dot of the whole path is "exe" or "dll"
// in any case. A path without a dot, or with an extension longer than 31
// characters, is not a program file.
bool IsProgramFile(std::string_view path);

// True when both time values fall in the same local minute (year, month, day,
// hour and minute equal; seconds ignored). A time the C library cannot break
// down is never the same minute as anything, so such a file is fetched again.
bool SameLocalMinute(TimeValue a, TimeValue b);

}  // namespace ld
