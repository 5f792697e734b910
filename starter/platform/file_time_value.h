// Time values from file times, the one conversion the file check, the
// verification and the unpacking share: a file's UTC time as the local
// date-time the update lists are written in.
//
// Any thread; no state. Failures give 0 ("no time").
#pragma once

#include <windows.h>

#include "core/base/time_value.h"

namespace ld {

// The file time turned into local file time (FileTimeToLocalFileTime, which
// applies the offset in force now, not the one of that date), broken down and
// read back as a local date-time, the C library deciding on daylight saving.
// A year before 1900 or a failed conversion gives 0.
TimeValue TimeFromFileTime(const FILETIME& file_time);

}  // namespace ld
