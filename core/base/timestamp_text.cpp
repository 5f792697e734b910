#include "core/base/timestamp_text.h"

#include <cstdio>

namespace ld {

std::string TimestampText(const BrokenDownTime& time, const std::string& label,
                          bool with_milliseconds) {
  std::string text;
  if (!label.empty()) text = label + ": ";
  // Fits the widest fields (5-digit values, 6-byte day name) with room to spare.
  char buffer[96];
  int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d.%s %02d:%02d:%02d", time.year,
                        time.month, time.day, KoreanDayName(time.day_of_week), time.hour,
                        time.minute, time.second);
  if (n > 0) text.append(buffer, static_cast<size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
  if (with_milliseconds) {
    n = std::snprintf(buffer, sizeof buffer, " [millisecond:%u]",
                      static_cast<unsigned>(time.milliseconds));
    if (n > 0) text.append(buffer, static_cast<size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
  }
  return text;
}

}  // namespace ld
