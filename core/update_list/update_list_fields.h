// Values inside update-list fields: decimal numbers and date-times.
// Pure functions and a per-parser cache; callers own their instances, so any
// thread may use its own.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/time_value.h"

namespace ld {

// A decimal number as the lists have always stored them: optional sign,
// digits up to the first non-digit, clamped to the signed 32-bit range;
// no digits give 0. Callers that want unsigned values cast the result, so
// -1 stands for 4294967295.
int32_t ParseListNumber(std::string_view field);

// Broken-down fields of a date-time field, before conversion.
struct ListDateTimeFields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

enum class ListDateTimeForm {
  kRejected,  // empty field: the entry is dropped
  kUnread,    // any length but 13 or 15: kept with time 0
  kRead,      // "YYMMDD-HHMMSS" (year + 2000) or "YYYYMMDD-HHMMSS"
};

// Splits a date-time field by position. Each part is read as a decimal number
// (digits up to the first non-digit); the hyphen's place is not examined.
ListDateTimeForm SplitListDateTime(std::string_view field, ListDateTimeFields* out);

// Converts local date-times to time values with the same results as
// TimeFromFields(..., -1), asking the C library (which may read the zone files
// on every call) as little as it can: the first time of a local day is
// converted directly; from the second on, a day whose midnight and next
// midnight lie 86400 s apart has one offset throughout, so its times are
// midnight plus the time of day. Days with a daylight-saving change, and
// fields out of their usual ranges, go to TimeFromFields each time. Any span
// of kSlots consecutive days stays cached at once. Not thread-safe; one per
// parser.
class LocalTimeCache {
 public:
  TimeValue FromFields(const ListDateTimeFields& f);

 private:
  enum class DayKind : uint8_t { kSeenOnce, kUniform, kMixed };
  struct Slot {
    int64_t day = INT64_MIN;  // days since 1970-01-01 of the local date
    TimeValue midnight = 0;
    DayKind kind = DayKind::kSeenOnce;
  };
  static constexpr int kSlots = 2048;
  std::vector<Slot> slots_;  // allocated on first use
};

// The time of a date-time field: kRejected and kUnread as above, else the
// converted local time in *time (0 for kUnread).
ListDateTimeForm ParseListDateTime(std::string_view field, LocalTimeCache* cache, TimeValue* time);

}  // namespace ld
