#include "core/base/time_value.h"

#include <gtest/gtest.h>

#include "core/base/timestamp_text.h"
#include "tests/core/support/test_support.h"

namespace ld {
namespace {

using TimeValueTest = test::KstZoneTest;

// 2007-03-04 05:06:07 in UTC+9, a Sunday.
constexpr TimeValue kSample = 1172952367;

TEST_F(TimeValueTest, FieldsAreLocalTimeWithinTheConvertibleRange) {
  EXPECT_EQ(TimeFromFields(2007, 3, 4, 5, 6, 7), kSample);
  EXPECT_EQ(TimeFromFields(2038, 1, 19, 12, 14, 8), 2147483648LL);  // past 32 bits
  EXPECT_EQ(TimeFromFields(3000, 12, 31, 12, 0, 0), 32535140400);
  for (int year : {1969, 1899, 3001}) EXPECT_EQ(TimeFromFields(year, 12, 31, 12, 0, 0), 0) << year;
  // Out-of-range fields are normalised.
  EXPECT_EQ(TimeFromFields(2007, 13, 1, 0, 0, 0), TimeFromFields(2008, 1, 1, 0, 0, 0));

  BrokenDownTime t;
  t.milliseconds = 999;
  ASSERT_TRUE(BreakDownLocalTime(kSample + 6 * 86400, &t));
  EXPECT_EQ(TimestampText(t, "", true), "2007-03-10.토 05:06:07 [millisecond:0]");
  EXPECT_FALSE(BreakDownLocalTime(kSample, nullptr));
  t.year = 77;
  EXPECT_FALSE(BreakDownLocalTime(-1, &t) || BreakDownLocalTime(kLatestTime + 1, &t));
  EXPECT_EQ(t.year, 77);  // untouched
  ASSERT_TRUE(BreakDownLocalTime(kLatestTime, &t));
  EXPECT_EQ(t.year, 3001);  // nine hours east of UTC
}

TEST(TimeValue, SameMinuteAndTimestampText) {
  const BrokenDownTime a{2007, 3, 0, 4, 12, 0, 0, 0};
  EXPECT_TRUE(SameMinute(a, {2007, 3, 5, 4, 12, 0, 59, 999}));  // weekday and seconds ignored
  for (int field = 0; field < 5; ++field) {
    BrokenDownTime b = a;
    uint16_t* const fields[] = {&b.year, &b.month, &b.day, &b.hour, &b.minute};
    ++*fields[field];
    EXPECT_FALSE(SameMinute(a, b) || SameMinute(b, a)) << field;
  }

  const BrokenDownTime t{2007, 3, 0, 4, 5, 6, 7, 8};
  EXPECT_EQ(TimestampText(t, "UTC", true), "UTC: 2007-03-04.일 05:06:07 [millisecond:8]");
  EXPECT_EQ(TimestampText({999, 12, 6, 31, 23, 59, 59, 65535}, "", true),
            "0999-12-31.토 23:59:59 [millisecond:65535]");
  // A day of week out of range must not read past the name table.
  EXPECT_EQ(TimestampText({2007, 3, 9, 4, 5, 6, 7, 0}, "", false), "2007-03-04. 05:06:07");
}

}  // namespace
}  // namespace ld
