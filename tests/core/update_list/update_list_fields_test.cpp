#include "core/update_list/update_list_fields.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/support/test_support.h"

namespace ld {
namespace {

TEST(UpdateListFields, NumbersAndDateTimes) {
  std::string numbers;
  for (const char* text :
       {"", "abc", "-", "--1", "+17", "12abc", "1 2", "2147483647", "2147483648",
        "99999999999999999999999999", "-2147483649", "-99999999999999999999999999"})
    numbers += std::to_string(ParseListNumber(text)) + " ";
  EXPECT_EQ(numbers, "0 0 0 0 17 12 1 2147483647 2147483647 2147483647 -2147483648 -2147483648 ");

  // Form (R read, U unread, X rejected) and the fields read; the hyphen's
  // place is not examined and a part stops at a non-digit.
  std::string dates;
  for (const char* text :
       {"20070315-123456", "070315-123456", "990101-000000", "00000000-000000", "2007031-1234567",
        "2007-03-15 12:3", "", "0", "2007-03-15", "20070315-12345", "20070315-1234567"}) {
    ListDateTimeFields f;
    const ListDateTimeForm form = SplitListDateTime(text, &f);
    dates += std::string("XUR").substr(static_cast<int>(form), 1);
    for (int v : {f.year, f.month, f.day, f.hour, f.minute, f.second})
      if (form == ListDateTimeForm::kRead) dates += " " + std::to_string(v);
    dates += "|";
  }
  EXPECT_EQ(dates,
            "R 2007 3 15 12 34 56|R 2007 3 15 12 34 56|R 2099 1 1 0 0 0|R 0 0 0 0 0 0|"
            "R 2007 3 1 23 45 67|R 2007 0 3 5 12 0|X|U|U|U|U|");
  LocalTimeCache cache;
  TimeValue t = 1;
  EXPECT_EQ(ParseListDateTime("", &cache, &t), ListDateTimeForm::kRejected);
  EXPECT_EQ(t, 0);
}

// The cache must agree with TimeFromFields everywhere but in a repeated local
// hour, where either answer is right and the C library's own choice may
// depend on earlier calls.
void ExpectCacheAgrees() {
  LocalTimeCache cache;
  int compared = 0;
  for (int year = 2006; year <= 2008; ++year)
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= 31; ++day)
        for (int hour : {0, 1, 2, 3, 12, 23}) {
          const TimeValue direct = TimeFromFields(year, month, day, hour, 30, 15);
          // Skips local times that occur twice (a clock set back by half an
          // hour or an hour).
          bool repeated = false;
          for (TimeValue delta : {-3600, -1800, 1800, 3600}) {
            BrokenDownTime other;
            repeated = repeated || (BreakDownLocalTime(direct + delta, &other) &&
                                    other.day == day && other.hour == hour && other.minute == 30);
          }
          if (repeated) continue;
          ASSERT_EQ(cache.FromFields({year, month, day, hour, 30, 15}), direct)
              << year << "-" << month << "-" << day << " " << hour << ":30:15";
          ++compared;
        }
  EXPECT_GT(compared, 6000);
  // Out-of-range fields are normalised the same way.
  EXPECT_EQ(cache.FromFields({2007, 13, 1, 12, 0, 0}), TimeFromFields(2008, 1, 1, 12, 0, 0));
  EXPECT_EQ(cache.FromFields({2007, 3, 0, 12, 0, 0}), TimeFromFields(2007, 2, 28, 12, 0, 0));
  EXPECT_EQ(cache.FromFields({2007, 3, 15, 12, 99, 0}), TimeFromFields(2007, 3, 15, 13, 39, 0));
}

TEST(LocalTimeCache, AgreesWithTimeFromFields) {
  ExpectCacheAgrees();
#ifndef _WIN32
  // Zones with daylight saving, including changes at midnight and by half an
  // hour, exercise the days the cache must not shortcut.
  for (const char* zone : {"America/New_York", "Europe/Berlin", "America/Santiago",
                           "Australia/Lord_Howe", "Asia/Seoul"}) {
    test::ScopedZone scoped(zone);
    SCOPED_TRACE(zone);
    ExpectCacheAgrees();
  }
#endif
}

}  // namespace
}  // namespace ld
