// The timestamp text shown in verification reports, in the launch-string
// analysis and on the installation window. Pure; any thread may call it.
#pragma once

#include <string>

#include "core/base/time_value.h"

namespace ld {

// "<label>: " (only when label is not empty), then
// "%04d-%02d-%02d.%s %02d:%02d:%02d" with year, month, day, Korean day name,
// hour, minute, second, and " [millisecond:%u]" when with_milliseconds.
// A day of week outside 0..6 gives an empty day name rather than garbage.
// Encoding: the day name is code page 949 in Windows builds, UTF-8 natively;
// the label is copied as given.
std::string TimestampText(const BrokenDownTime& time, const std::string& label,
                          bool with_milliseconds);

}  // namespace ld
