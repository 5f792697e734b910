#include "core/base/time_value.h"

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "core/base/timestamp_text.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using TimeValueTest = test::KstZoneTest;

BrokenDownTime Fields(int y, int mo, int dow, int d, int h, int mi, int s, int ms = 0) {
  BrokenDownTime t;
  t.year = static_cast<uint16_t>(y);
  t.month = static_cast<uint16_t>(mo);
  t.day_of_week = static_cast<uint16_t>(dow);
  t.day = static_cast<uint16_t>(d);
  t.hour = static_cast<uint16_t>(h);
  t.minute = static_cast<uint16_t>(mi);
  t.second = static_cast<uint16_t>(s);
  t.milliseconds = static_cast<uint16_t>(ms);
  return t;
}

// 2007-03-04 05:06:07 in UTC+9.
constexpr TimeValue kSample = 1172952367;

TEST_F(TimeValueTest, FieldsAreLocalTime) {
  EXPECT_EQ(TimeFromFields(2007, 3, 4, 5, 6, 7), kSample);
  EXPECT_EQ(TimeFromFields(1970, 1, 1, 9, 0, 1), 1);
  EXPECT_EQ(TimeFromFields(2038, 1, 19, 12, 14, 8), 2147483648LL);  // past 32 bits
}

TEST_F(TimeValueTest, OutOfRangeFieldsAreNormalised) {
  struct Case {
    int fields[6];
    int same_as[6];
  };
  const Case kCases[] = {
      {{2007, 13, 1, 0, 0, 0}, {2008, 1, 1, 0, 0, 0}},       // month 13
      {{2007, 0, 15, 0, 0, 0}, {2006, 12, 15, 0, 0, 0}},     // month 0
      {{2007, 3, 0, 12, 0, 0}, {2007, 2, 28, 12, 0, 0}},     // day 0
      {{2007, 2, 29, 0, 0, 0}, {2007, 3, 1, 0, 0, 0}},       // no 29th
      {{2007, 12, 31, 24, 0, 0}, {2008, 1, 1, 0, 0, 0}},     // hour 24
      {{2007, 6, 1, 0, 0, -1}, {2007, 5, 31, 23, 59, 59}},   // negative second
      {{2007, 6, 1, 10, 90, 75}, {2007, 6, 1, 11, 31, 15}},  // minute and second carry
      {{2007, 25, 1, 0, 0, 0}, {2009, 1, 1, 0, 0, 0}},       // two years ahead
  };
  for (const Case& c : kCases) {
    const int* f = c.fields;
    const int* g = c.same_as;
    EXPECT_EQ(TimeFromFields(f[0], f[1], f[2], f[3], f[4], f[5]),
              TimeFromFields(g[0], g[1], g[2], g[3], g[4], g[5]))
        << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3] << ":" << f[4] << ":" << f[5];
  }
}

TEST_F(TimeValueTest, BreakDownGivesLocalFieldsAndWeekday) {
  BrokenDownTime t;
  t.milliseconds = 999;
  ASSERT_TRUE(BreakDownLocalTime(kSample, &t));
  const BrokenDownTime want = Fields(2007, 3, 0, 4, 5, 6, 7);  // a Sunday
  EXPECT_EQ(
      std::tie(t.year, t.month, t.day, t.day_of_week, t.hour, t.minute, t.second, t.milliseconds),
      std::tie(want.year, want.month, want.day, want.day_of_week, want.hour, want.minute,
               want.second, want.milliseconds));

  ASSERT_TRUE(BreakDownLocalTime(kSample + 6 * 86400, &t));
  EXPECT_EQ(t.day_of_week, 6);
  EXPECT_EQ(t.day, 10);
  EXPECT_FALSE(BreakDownLocalTime(kSample, nullptr));
}

TEST_F(TimeValueTest, OutsideTheConvertibleRangeIsNoTime) {
  EXPECT_EQ(TimeFromFields(1969, 12, 31, 0, 0, 0), 0);
  EXPECT_EQ(TimeFromFields(1899, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(TimeFromFields(3001, 1, 2, 0, 0, 0), 0);
  EXPECT_EQ(TimeFromFields(3000, 12, 31, 12, 0, 0), 32535140400);
  BrokenDownTime t;
  t.year = 77;
  EXPECT_FALSE(BreakDownLocalTime(-1, &t));
  EXPECT_FALSE(BreakDownLocalTime(kLatestTime + 1, &t));
  EXPECT_EQ(t.year, 77);
  ASSERT_TRUE(BreakDownLocalTime(kLatestTime, &t));
  EXPECT_EQ(t.year, 3001);  // nine hours east of UTC
}

TEST_F(TimeValueTest, RoundTripThroughFields) {
  for (TimeValue v : {TimeValue{1}, kSample, TimeValue{951782400}, TimeValue{1709208000},
                      TimeValue{2147483647}, TimeValue{4102444800}}) {
    BrokenDownTime t;
    ASSERT_TRUE(BreakDownLocalTime(v, &t)) << v;
    EXPECT_EQ(TimeFromFields(t.year, t.month, t.day, t.hour, t.minute, t.second), v);
  }
}

TEST(SameMinuteTest, ComparesDownToTheMinute) {
  const BrokenDownTime base = Fields(2007, 3, 0, 4, 12, 0, 0);
  struct Case {
    BrokenDownTime other;
    bool same;
  };
  const Case kCases[] = {
      {Fields(2007, 3, 0, 4, 12, 0, 59, 999), true},
      {Fields(2007, 3, 5, 4, 12, 0, 30), true},  // day of week ignored
      {Fields(2007, 3, 0, 4, 12, 1, 0), false},
      {Fields(2007, 3, 0, 4, 13, 0, 0), false},
      {Fields(2007, 3, 0, 5, 12, 0, 0), false},
      {Fields(2007, 4, 0, 4, 12, 0, 0), false},
      {Fields(2008, 3, 0, 4, 12, 0, 0), false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(SameMinute(base, c.other), c.same) << c.other.minute << ":" << c.other.second;
    EXPECT_EQ(SameMinute(c.other, base), c.same);
  }
  // 12:00:59 and 12:01:00 are one second apart but not the same minute.
  EXPECT_FALSE(SameMinute(Fields(2007, 3, 0, 4, 12, 0, 59), Fields(2007, 3, 0, 4, 12, 1, 0)));
}

TEST(TimestampTextTest, Forms) {
  const BrokenDownTime t = Fields(2007, 3, 0, 4, 5, 6, 7, 8);
  struct Case {
    const char* label;
    bool ms;
    std::string expected;
  };
  const Case kCases[] = {
      {"UTC", true, "UTC: 2007-03-04.일 05:06:07 [millisecond:8]"},
      {"", false, "2007-03-04.일 05:06:07"},
      {"", true, "2007-03-04.일 05:06:07 [millisecond:8]"},
      {"Local", false, "Local: 2007-03-04.일 05:06:07"},
  };
  for (const Case& c : kCases) EXPECT_EQ(TimestampText(t, c.label, c.ms), c.expected);

  EXPECT_EQ(TimestampText(Fields(999, 12, 6, 31, 23, 59, 59, 65535), "", true),
            "0999-12-31.토 23:59:59 [millisecond:65535]");
  // A day of week out of range must not read past the name table.
  EXPECT_EQ(TimestampText(Fields(2007, 3, 9, 4, 5, 6, 7), "", false), "2007-03-04. 05:06:07");
}

TEST(KoreanDayNameTest, NamesAndEncoding) {
  EXPECT_STREQ(KoreanDayName(1), "월");
  EXPECT_STREQ(KoreanDayName(6), "토");
  EXPECT_STREQ(KoreanDayName(-1), "");
  EXPECT_STREQ(KoreanDayName(7), "");
#if defined(_WIN32)
  // Windows builds carry the names in code page 949.
  EXPECT_EQ(std::string(KoreanDayName(0)), "\xC0\xCF");
  EXPECT_EQ(std::string(KoreanDayName(6)), "\xC5\xE4");
#else
  EXPECT_EQ(std::string(KoreanDayName(0)), "\xEC\x9D\xBC");
#endif
}

}  // namespace
}  // namespace ld
