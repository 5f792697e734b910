#include "core/update_list/update_list_fields.h"

#include <cstddef>
#include <limits>

namespace ld {
namespace {

// Digits of text[from, from + len) up to the first non-digit.
int ReadPart(std::string_view text, std::size_t from, std::size_t len) {
  int value = 0;
  for (std::size_t i = from; i < from + len; ++i) {
    const unsigned d = static_cast<unsigned char>(text[i]) - '0';
    if (d > 9) break;
    value = value * 10 + static_cast<int>(d);
  }
  return value;
}

// Days from 1970-01-01 to a proleptic Gregorian date (month 1..12).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

int32_t ParseListNumber(std::string_view field) {
  std::size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  // Accumulates in 64 bits and stops growing once past the 32-bit range, so
  // any number of digits clamps instead of overflowing.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t value = 0;
  for (; i < field.size(); ++i) {
    const unsigned d = static_cast<unsigned char>(field[i]) - '0';
    if (d > 9) break;
    if (value <= kLimit) value = value * 10 + d;
  }
  if (negative) {
    value = -value;
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
  }
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

ListDateTimeForm SplitListDateTime(std::string_view field, ListDateTimeFields* out) {
  if (field.empty()) return ListDateTimeForm::kRejected;
  if (field.size() == 13) {
    // The short form's two-digit year always lies below 2001, so it is read
    // as 20YY.
    out->year = ReadPart(field, 0, 2) + 2000;
    out->month = ReadPart(field, 2, 2);
    out->day = ReadPart(field, 4, 2);
    out->hour = ReadPart(field, 7, 2);
    out->minute = ReadPart(field, 9, 2);
    out->second = ReadPart(field, 11, 2);
    return ListDateTimeForm::kRead;
  }
  if (field.size() == 15) {
    out->year = ReadPart(field, 0, 4);
    out->month = ReadPart(field, 4, 2);
    out->day = ReadPart(field, 6, 2);
    out->hour = ReadPart(field, 9, 2);
    out->minute = ReadPart(field, 11, 2);
    out->second = ReadPart(field, 13, 2);
    return ListDateTimeForm::kRead;
  }
  return ListDateTimeForm::kUnread;
}

TimeValue LocalTimeCache::FromFields(const ListDateTimeFields& f) {
  const bool usual = f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 31 && f.hour >= 0 &&
                     f.hour <= 23 && f.minute >= 0 && f.minute <= 59 && f.second >= 0 &&
                     f.second <= 59 && f.year >= 0 && f.year <= 9999;
  if (!usual) return TimeFromFields(f.year, f.month, f.day, f.hour, f.minute, f.second, -1);
  if (slots_.empty()) slots_.resize(kSlots);
  // Day 31 of a 30-day month gets the number of the 1st of the next, which is
  // also where the C library's normalisation puts it.
  const int64_t day = DaysFromCivil(f.year, f.month, f.day);
  Slot& slot = slots_[static_cast<std::size_t>(((day % kSlots) + kSlots) % kSlots)];
  if (slot.day != day) {
    // A day met once costs one conversion, as without the cache.
    slot.day = day;
    slot.kind = DayKind::kSeenOnce;
    return TimeFromFields(f.year, f.month, f.day, f.hour, f.minute, f.second, -1);
  }
  if (slot.kind == DayKind::kSeenOnce) {
    slot.midnight = TimeFromFields(f.year, f.month, f.day, 0, 0, 0, -1);
    const TimeValue next = TimeFromFields(f.year, f.month, f.day + 1, 0, 0, 0, -1);
    // 0 is the conversion's failure value; such days are never shortcut.
    slot.kind = slot.midnight != 0 && next != 0 && next - slot.midnight == 86400 ? DayKind::kUniform
                                                                                 : DayKind::kMixed;
  }
  if (slot.kind != DayKind::kUniform)
    return TimeFromFields(f.year, f.month, f.day, f.hour, f.minute, f.second, -1);
  return slot.midnight + f.hour * 3600 + f.minute * 60 + f.second;
}

ListDateTimeForm ParseListDateTime(std::string_view field, LocalTimeCache* cache, TimeValue* time) {
  *time = 0;
  ListDateTimeFields f;
  const ListDateTimeForm form = SplitListDateTime(field, &f);
  if (form == ListDateTimeForm::kRead) *time = cache->FromFields(f);
  return form;
}

}  // namespace ld
