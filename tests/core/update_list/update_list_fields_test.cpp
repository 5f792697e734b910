#include "core/update_list/update_list_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/core/support/test_support.h"

namespace ld {
namespace {

TEST(ListNumber, SignedClampThenUnsigned) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"17", 17},
      {"+17", 17},
      {"12abc", 12},
      {"1 2", 1},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999999999", 2147483647},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"-99999999999999999999999999", INT32_MIN},
      {"--1", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseListNumber(c.text), c.value) << "'" << c.text << "'";
  EXPECT_EQ(static_cast<uint32_t>(ParseListNumber("-1")), 4294967295u);
}

TEST(ListDateTime, SplitsByPosition) {
  const struct {
    const char* text;
    ListDateTimeForm form;
    ListDateTimeFields f;
  } cases[] = {
      {"20070315-123456", ListDateTimeForm::kRead, {2007, 3, 15, 12, 34, 56}},
      {"070315-123456", ListDateTimeForm::kRead, {2007, 3, 15, 12, 34, 56}},
      {"990101-000000", ListDateTimeForm::kRead, {2099, 1, 1, 0, 0, 0}},
      {"00000000-000000", ListDateTimeForm::kRead, {0, 0, 0, 0, 0, 0}},
      // The hyphen's place is not examined; a part stops at a non-digit.
      {"20070315x123456", ListDateTimeForm::kRead, {2007, 3, 15, 12, 34, 56}},
      {"2007031-1234567", ListDateTimeForm::kRead, {2007, 3, 1, 23, 45, 67}},
      {"2007-03-15 12:3", ListDateTimeForm::kRead, {2007, 0, 3, 5, 12, 0}},
      {"", ListDateTimeForm::kRejected, {}},
      {"0", ListDateTimeForm::kUnread, {}},
      {"2007-03-15", ListDateTimeForm::kUnread, {}},
      {"20070315-12345", ListDateTimeForm::kUnread, {}},
      {"20070315-1234567", ListDateTimeForm::kUnread, {}},
  };
  for (const auto& c : cases) {
    ListDateTimeFields f;
    EXPECT_EQ(SplitListDateTime(c.text, &f), c.form) << c.text;
    if (c.form != ListDateTimeForm::kRead) continue;
    EXPECT_EQ(std::tie(f.year, f.month, f.day, f.hour, f.minute, f.second),
              std::tie(c.f.year, c.f.month, c.f.day, c.f.hour, c.f.minute, c.f.second))
        << c.text;
  }
}

TEST(ListDateTime, ParseGivesLocalTime) {
  LocalTimeCache cache;
  TimeValue t = 1;
  EXPECT_EQ(ParseListDateTime("20070315-123456", &cache, &t), ListDateTimeForm::kRead);
  EXPECT_EQ(t, TimeFromFields(2007, 3, 15, 12, 34, 56));
  EXPECT_EQ(ParseListDateTime("2007-03-15", &cache, &t), ListDateTimeForm::kUnread);
  EXPECT_EQ(t, 0);
  t = 1;
  EXPECT_EQ(ParseListDateTime("", &cache, &t), ListDateTimeForm::kRejected);
  EXPECT_EQ(t, 0);
}

// The cache must agree with TimeFromFields everywhere but in a repeated local
// hour, where either answer is right and the C library's own choice may
// depend on earlier calls.
void ExpectCacheAgrees() {
  LocalTimeCache cache;
  int compared = 0;
  for (int year = 2006; year <= 2008; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 31; ++day) {
        for (int hour : {0, 1, 2, 3, 12, 23}) {
          const ListDateTimeFields f{year, month, day, hour, 30, 15};
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
          ASSERT_EQ(cache.FromFields(f), direct)
              << year << "-" << month << "-" << day << " " << hour << ":30:15";
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 6000);
  // Out-of-range fields are normalised the same way.
  EXPECT_EQ(cache.FromFields({2007, 13, 1, 12, 0, 0}), TimeFromFields(2008, 1, 1, 12, 0, 0));
  EXPECT_EQ(cache.FromFields({2007, 3, 0, 12, 0, 0}), TimeFromFields(2007, 2, 28, 12, 0, 0));
  EXPECT_EQ(cache.FromFields({2007, 3, 15, 12, 99, 0}), TimeFromFields(2007, 3, 15, 13, 39, 0));
}

TEST(LocalTimeCache, AgreesWithTimeFromFields) { ExpectCacheAgrees(); }

#ifndef _WIN32
// Zones with daylight saving, including changes at midnight and by half an
// hour, exercise the days the cache must not shortcut.
TEST(LocalTimeCache, AgreesAcrossDaylightSavingZones) {
  for (const char* zone : {"America/New_York", "Europe/Berlin", "America/Santiago",
                           "Australia/Lord_Howe", "Asia/Seoul"}) {
    test::ScopedZone scoped(zone);
    SCOPED_TRACE(zone);
    ExpectCacheAgrees();
  }
}
#endif

}  // namespace
}  // namespace ld
