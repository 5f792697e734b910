#include "core/base/time_value.h"

#include <ctime>
#include <limits>

namespace ld {
namespace {

// Breaks down with the re-entrant variant of each platform; the plain
// localtime() shares one buffer between threads.
bool LocalTm(std::time_t t, std::tm* out) {
#if defined(_WIN32)
  return localtime_s(out, &t) == 0;
#else
  return localtime_r(&t, out) != nullptr;
#endif
}

}  // namespace

TimeValue TimeFromFields(int year, int month, int day, int hour, int minute, int second,
                         int daylight) {
  std::tm tm = {};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = daylight < 0 ? -1 : (daylight > 0 ? 1 : 0);
  std::time_t t = std::mktime(&tm);
  // mktime reports failure as -1, which is also one second before 1970 UTC;
  // neither is a time this system records, so both become "no time".
  if (t == static_cast<std::time_t>(-1)) return 0;
  const TimeValue value = static_cast<TimeValue>(t);
  return (value < 0 || value > kLatestTime) ? 0 : value;
}

bool BreakDownLocalTime(TimeValue value, BrokenDownTime* out) {
  if (out == nullptr) return false;
  if (value < 0 || value > kLatestTime ||
      value > static_cast<TimeValue>(std::numeric_limits<std::time_t>::max()))
    return false;
  std::tm tm = {};
  if (!LocalTm(static_cast<std::time_t>(value), &tm)) return false;
  const long year = static_cast<long>(tm.tm_year) + 1900;
  if (year < 0 || year > 0xFFFF) return false;
  out->year = static_cast<uint16_t>(year);
  out->month = static_cast<uint16_t>(tm.tm_mon + 1);
  out->day_of_week = static_cast<uint16_t>(tm.tm_wday);
  out->day = static_cast<uint16_t>(tm.tm_mday);
  out->hour = static_cast<uint16_t>(tm.tm_hour);
  out->minute = static_cast<uint16_t>(tm.tm_min);
  // A leap second (60) is folded into the last second of its minute.
  out->second = static_cast<uint16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);
  out->milliseconds = 0;
  return true;
}

bool SameMinute(const BrokenDownTime& a, const BrokenDownTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute;
}

const char* KoreanDayName(int day_of_week) {
  static const char* const kNames[7] = {"일", "월", "화", "수", "목", "금", "토"};
  if (day_of_week < 0 || day_of_week > 6) return "";
  return kNames[day_of_week];
}

}  // namespace ld
