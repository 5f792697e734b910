// Time values shared by reporting, verification and the installation window:
// seconds since 1970 UTC, their broken-down local form and the timestamp text.
//
// Every function here is pure apart from reading the process's local time
// zone through the C library (mktime/localtime), so any thread may call them;
// callers must not change the TZ environment variable concurrently.
#pragma once

#include <cstdint>
#include <string>

namespace ld {

// Signed seconds since 1970-01-01 00:00:00 UTC; 0 means "no time".
using TimeValue = int64_t;

// The range the Windows C library converts (up to 3000-12-31 23:59:59 UTC).
// Native builds keep to it too, so the same input gives the same answer on
// every platform.
inline constexpr TimeValue kLatestTime = 32535215999;

// Same fields and order as the Windows SYSTEMTIME, so the Windows side can
// copy one into the other member by member.
struct BrokenDownTime {
  uint16_t year = 0;
  uint16_t month = 0;        // 1..12
  uint16_t day_of_week = 0;  // 0 = Sunday
  uint16_t day = 0;          // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Reads the fields as local time and returns the time value. daylight -1 lets
// the C library decide whether daylight saving applies, 0 forces standard
// time, 1 forces daylight time. Out-of-range fields are normalised (month 13 is
// January of the next year, day 0 the last day of the month before). Returns 0
// when the time falls outside 0..kLatestTime or cannot be converted.
TimeValue TimeFromFields(int year, int month, int day, int hour, int minute, int second,
                         int daylight = -1);

// Breaks a time value down into local time, milliseconds 0 and the day of
// week filled. False (and *out untouched) outside 0..kLatestTime or when the
// C library cannot break it down.
bool BreakDownLocalTime(TimeValue value, BrokenDownTime* out);

// Year, month, day, hour and minute equal; day of week, seconds and
// milliseconds are ignored. Used to compare file times with update lists.
bool SameMinute(const BrokenDownTime& a, const BrokenDownTime& b);

// Korean day name ("일" for Sunday ... "토" for Saturday), "" outside 0..6.
// Encoding: code page 949 in Windows builds, UTF-8 in native builds.
const char* KoreanDayName(int day_of_week);

}  // namespace ld
